// Reading a whole file, and replacing one without ever leaving it half
// written.
//
// A replacement writes the new content to a temporary file in the same
// folder, flushes it to the disk, gives it the old file's permissions and
// renames it over the old file, which the system does in one step: at any
// moment the file holds either all of its old content or all of its new
// one. On any failure the old file is left as it was and the temporary file
// is removed. POSIX only.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillora {

struct FileContent {
  enum class State {
    kRead,     // `bytes` holds the whole file
    kMissing,  // no file of that name
    kUnusable  // not a regular file, unreadable, or larger than the limit
  };
  State state = State::kMissing;
  std::string bytes;
};

// Reads the regular file `path` if it holds at most `maxBytes` bytes.
FileContent ReadWholeFile(const std::filesystem::path& path,
                          std::size_t maxBytes);

// Whether `path` may be replaced: it does not exist (its folder decides), or
// it is a regular file that we may write to and that is not marked read-only
// (a file without any write permission counts as read-only even for the
// superuser).
bool MayReplaceFile(const std::filesystem::path& path);

// Replaces (or creates) the file `path` with `content` as described above.
// A symbolic link is followed: the file it points to is replaced and the
// link stays. Returns false, with nothing changed, on any failure: a
// read-only file, a missing or unwritable folder, a full disk.
bool ReplaceFileAtomically(const std::filesystem::path& path,
                           std::string_view content);

}  // namespace quillora
