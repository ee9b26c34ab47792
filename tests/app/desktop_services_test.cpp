// The desktop's "open" action as the program really runs it, against
// stand-in xdg-open and xdg-mime scripts that record what they were handed.
// PATH holds nothing but the stand-ins, so no real desktop program starts.
#include "toolkit/desktop_services.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quillora {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The arguments a stand-in recorded, once its record appears; none when it
// does not appear within a few seconds.
std::optional<std::vector<std::string>> AwaitRecord(const fs::path& record) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fs::exists(record)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // One argument after the other, each ended by a NUL.
  const std::string text = ReadFile(record);
  std::vector<std::string> arguments;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\0', start)) != std::string::npos;
       start = end + 1) {
    arguments.push_back(text.substr(start, end - start));
  }
  return arguments;
}

bool HasChildren() {
  return !(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

class DesktopServicesTest : public testing::Test {
 protected:
  DesktopServicesTest() {
    char pattern[] = "/tmp/quillora-desktop-XXXXXX";
    folder_ = mkdtemp(pattern);
    if (const char* path = std::getenv("PATH")) savedPath_ = path;
    setenv("PATH", folder_.c_str(), 1);
    services_ = CreateXdgDesktopServices();
  }
  ~DesktopServicesTest() override {
    setenv("PATH", savedPath_.c_str(), 1);
    fs::remove_all(folder_);
  }

  // A stand-in program `name` on PATH that records its arguments into
  // `name`.record and runs `extra` (shell text) first. It uses only the
  // shell's own commands and programs named by full path.
  fs::path StandIn(const std::string& name, const std::string& extra = "") {
    const fs::path record = folder_ / (name + ".record");
    const fs::path program = folder_ / name;
    std::ofstream(program) << "#!/bin/sh\n"
                           << extra << "\n"
                           << "for a in \"$@\"; do printf '%s\\0' \"$a\"; "
                           << "done > '" << record.string() << ".part'\n"
                           << "/bin/mv '" << record.string() << ".part' '"
                           << record.string() << "'\n";
    fs::permissions(program, fs::perms::owner_all);
    return record;
  }

  fs::path folder_;
  std::string savedPath_;
  std::unique_ptr<DesktopServices> services_;
};

TEST_F(DesktopServicesTest, OpenHandsTheExactTargetAsOneArgument) {
  const fs::path record = StandIn("xdg-open");
  const std::string targets[] = {
      "https://www.example.org/quillora/",
      "mailto:support@example.org?subject=Quillora%20user",
      // Blanks, quotes and shell text arrive as they are and run nothing.
      "/tmp/My Melodies/it's \"$(touch " + (folder_ / "ran").string() +
          ")\" `id`; a&b.chm",
  };
  for (const std::string& target : targets) {
    services_->Open(target);
    const auto arguments = AwaitRecord(record);
    ASSERT_TRUE(arguments) << "xdg-open was not run for " << target;
    EXPECT_EQ(*arguments, std::vector<std::string>{target});
    fs::remove(record);
  }
  EXPECT_FALSE(fs::exists(folder_ / "ran"));
}

TEST_F(DesktopServicesTest, OpenReturnsAtOnceAndLeavesNoChildBehind) {
  // The handler keeps running until the test lets it go, as a browser
  // would; its chatter and failure status must reach no one.
  const fs::path go = folder_ / "go";
  const fs::path record =
      StandIn("xdg-open",
              "echo chatter; echo complaint >&2\n"
              "n=0; while [ ! -e '" +
                  go.string() +
                  "' ] && [ $n -lt 1000 ]; do /bin/sleep 0.01; "
                  "n=$((n+1)); done");
  ASSERT_FALSE(HasChildren());
  services_->Open("https://www.example.org/quillora/");
  // Returned while the handler still waits, and it is no child of ours.
  EXPECT_FALSE(fs::exists(record));
  EXPECT_FALSE(HasChildren());
  std::ofstream(go) << "";
  EXPECT_TRUE(AwaitRecord(record));
  EXPECT_FALSE(HasChildren());
}

TEST_F(DesktopServicesTest, AMissingHandlerIsIgnoredSilently) {
  // PATH holds no xdg-open at all.
  services_->Open("https://www.example.org/quillora/");
  EXPECT_FALSE(HasChildren());
}

struct HelpCase {
  const char* name;
  bool xdgMimePresent;
  const char* viewerType;  // the type xdg-mime names a viewer for, if any
  bool opensDocument;
  const char* typesAsked;  // the types xdg-mime was asked about, in order
};

class HelpChoiceTest : public DesktopServicesTest,
                       public testing::WithParamInterface<HelpCase> {};

TEST_P(HelpChoiceTest, OpensTheChmOnlyWhereTheDesktopHasAViewer) {
  const HelpCase& c = GetParam();
  const fs::path asked = folder_ / "types-asked";
  if (c.xdgMimePresent) {
    StandIn("xdg-mime", "printf '%s\\n' \"$3\" >> '" + asked.string() +
                            "'\n"
                            "[ \"$1 $2 $3\" = 'query default " +
                            c.viewerType + "' ] && echo viewer.desktop");
  }
  const fs::path openRecord = StandIn("xdg-open");
  const std::string document = "/opt/quillora/qz.chm";
  const std::string fallback = "/opt/quillora/help/contents.html";

  services_->OpenWithHandlerOr(
      document, {"application/vnd.ms-htmlhelp", "application/x-chm"}, fallback);
  const auto opened = AwaitRecord(openRecord);
  ASSERT_TRUE(opened);
  EXPECT_EQ(*opened,
            std::vector<std::string>{c.opensDocument ? document : fallback});
  EXPECT_EQ(ReadFile(asked), c.typesAsked);
  EXPECT_FALSE(HasChildren());
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, HelpChoiceTest,
    testing::Values(
        HelpCase{"viewer_for_the_type", true, "application/vnd.ms-htmlhelp",
                 true, "application/vnd.ms-htmlhelp\n"},
        HelpCase{"viewer_for_the_alias", true, "application/x-chm", true,
                 "application/vnd.ms-htmlhelp\napplication/x-chm\n"},
        HelpCase{"no_viewer", true, "", false,
                 "application/vnd.ms-htmlhelp\napplication/x-chm\n"},
        HelpCase{"no_xdg_mime", false, "", false, ""}),
    [](const testing::TestParamInfo<HelpCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace quillora
