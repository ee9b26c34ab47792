#include "files/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

namespace quillora {
namespace {

namespace fs = std::filesystem;

// The file a path names, through any symbolic links; the path itself when
// it names no link.
fs::path ResolvedTarget(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (error) return path;
  if (!fs::is_symlink(fs::symlink_status(absolute, error))) return absolute;
  const fs::path resolved = fs::weakly_canonical(absolute, error);
  return error ? absolute : resolved;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a new, empty file beside `target` that no other writer uses.
int CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target.parent_path() / ("." + target.filename().string() + "." +
                                        std::to_string(::getpid()) + "-" +
                                        std::to_string(counter++) + ".tmp");
    const int fd = ::open(temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Flushes the folder, so that the rename itself survives a power cut. Not
// every file system supports it; a failure changes nothing already done.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileContent ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return {};
  if (error || status.type() != fs::file_type::regular) {
    return {FileContent::State::kUnusable, {}};
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxBytes) return {FileContent::State::kUnusable, {}};
  }
  if (!in.eof()) return {FileContent::State::kUnusable, {}};
  return {FileContent::State::kRead, std::move(bytes)};
}

bool MayReplaceFile(const fs::path& path) {
  const fs::path target = ResolvedTarget(path);
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return errno == ENOENT;
  return S_ISREG(old.st_mode) && (old.st_mode & 0222) != 0 &&
         ::access(target.c_str(), W_OK) == 0;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view content) {
  if (!MayReplaceFile(path)) return false;
  const fs::path target = ResolvedTarget(path);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;

  fs::path temporary;
  const int fd = CreateTemporaryBeside(target, temporary);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, content);
  if (ok && existed) {
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    // Keep the owner too where allowed (a superuser saving a user's file);
    // an ordinary user cannot and need not.
    if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncFolder(target.parent_path());
  return true;
}

}  // namespace quillora
