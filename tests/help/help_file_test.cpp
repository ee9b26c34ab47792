// The help as it lies beside the program: qz.chm read back with chmlib's
// extract_chmLib, and the plain-HTML copy, both checked against the pages
// in the source tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSources = QUILLORA_HELP_SOURCES;
const fs::path kProgramFolder = QUILLORA_PROGRAM_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pages and the style sheet, as the source tree holds them.
std::vector<std::string> WebFiles() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kSources)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".html" || extension == ".css") {
      names.push_back(entry.path().filename().string());
    }
  }
  return names;
}

std::set<std::string> Pages() {
  std::set<std::string> pages;
  for (const std::string& name : WebFiles()) {
    if (name.ends_with(".html")) pages.insert(name);
  }
  return pages;
}

std::vector<std::string> AllMatches(const std::string& text,
                                    const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end;
       it != end; ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

// Name and target of each entry of a contents or index file.
std::vector<std::pair<std::string, std::string>> SitemapEntries(
    const std::string& sitemap) {
  static const std::regex entry(
      R"re(<param name="Name" value="([^"]*)">\s*<param name="Local" value="([^"]*)">)re",
      std::regex::icase);
  std::vector<std::pair<std::string, std::string>> entries;
  for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), entry), end;
       it != end; ++it) {
    entries.emplace_back((*it)[1], (*it)[2]);
  }
  return entries;
}

// Whether `target` ("page.html", "page.html#anchor" or, within `from`,
// "#anchor") names a page of the help and, where given, an element of that
// page with that id.
bool Resolves(const std::string& target, const std::string& from = "") {
  const std::size_t hash = target.find('#');
  const std::string page = hash == 0 ? from : target.substr(0, hash);
  if (!Pages().contains(page)) return false;
  if (hash == std::string::npos) return true;
  const std::string id = target.substr(hash + 1);
  return ReadFile(kSources / page).find("id=\"" + id + "\"") !=
         std::string::npos;
}

class HelpFileTest : public testing::Test {
 protected:
  // Extracts qz.chm once for all the tests.
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/quillora-chm-XXXXXX";
    extracted_ = new fs::path(mkdtemp(pattern));
    const std::string command = std::string("'") + QUILLORA_EXTRACT_CHMLIB +
                                "' '" + (kProgramFolder / "qz.chm").string() +
                                "' '" + extracted_->string() + "' >/dev/null";
    extractStatus_ = std::system(command.c_str());
  }
  static void TearDownTestSuite() {
    fs::remove_all(*extracted_);
    delete extracted_;
  }

  void SetUp() override {
    ASSERT_EQ(extractStatus_, 0) << "qz.chm is no CHM that chmlib can read";
  }

  static fs::path* extracted_;
  static int extractStatus_;
};

fs::path* HelpFileTest::extracted_ = nullptr;
int HelpFileTest::extractStatus_ = -1;

TEST_F(HelpFileTest, HoldsEveryPageUnchanged) {
  ASSERT_GE(WebFiles().size(), 10u);
  for (const std::string& name : WebFiles()) {
    const fs::path inside = *extracted_ / name;
    ASSERT_TRUE(fs::exists(inside)) << name << " is not in qz.chm";
    EXPECT_EQ(ReadFile(inside), ReadFile(kSources / name)) << name;
  }
}

TEST_F(HelpFileTest, OpensAtTheContentsPageWithItsTitleContentsAndIndex) {
  // #SYSTEM: a version word, then records of a 16-bit code, a 16-bit
  // length and that many bytes, the texts ending in a NUL.
  const std::string system = ReadFile(*extracted_ / "#SYSTEM");
  std::map<int, std::string> records;
  for (std::size_t at = 4; at + 4 <= system.size();) {
    auto word = [&](std::size_t i) {
      return static_cast<unsigned char>(system[i]) |
             static_cast<unsigned char>(system[i + 1]) << 8;
    };
    const int code = word(at), length = word(at + 2);
    ASSERT_LE(at + 4 + length, system.size()) << "a #SYSTEM record overruns";
    std::string value = system.substr(at + 4, length);
    records[code] = value.substr(0, value.find('\0'));
    at += 4 + length;
  }
  EXPECT_EQ(records[0], "qz.hhc");
  EXPECT_EQ(records[1], "qz.hhk");
  EXPECT_EQ(records[2], "contents.html");
  EXPECT_EQ(records[3], "Quillora Help");
}

TEST_F(HelpFileTest, ContentsListEveryPageOnceUnderItsTitle) {
  const auto entries = SitemapEntries(ReadFile(*extracted_ / "qz.hhc"));
  std::multiset<std::string> listed;
  static const std::regex title("<title>([^<]*)</title>");
  for (const auto& [name, page] : entries) {
    listed.insert(page);
    const auto titles = AllMatches(ReadFile(kSources / page), title);
    ASSERT_EQ(titles.size(), 1u) << page;
    EXPECT_EQ(name, titles[0]) << page;
  }
  const std::set<std::string> pages = Pages();
  EXPECT_EQ(listed, std::multiset<std::string>(pages.begin(), pages.end()));
  EXPECT_EQ(entries.front().second, "contents.html");
}

TEST_F(HelpFileTest, EveryIndexEntryAndLinkLeadsToAPlaceThatExists) {
  const auto index = SitemapEntries(ReadFile(*extracted_ / "qz.hhk"));
  EXPECT_GE(index.size(), 30u);
  // The plain pages' index lists the same entries, in the same order.
  static const std::regex termLink(R"re(<li><a href="([^"]*)">([^<]*)</a>)re");
  std::vector<std::pair<std::string, std::string>> terms;
  const std::string termsPage = ReadFile(kSources / "terms.html");
  for (std::sregex_iterator it(termsPage.begin(), termsPage.end(), termLink),
       end;
       it != end; ++it) {
    terms.emplace_back((*it)[2], (*it)[1]);
  }
  EXPECT_EQ(terms, index);
  for (const auto& [name, target] : index) {
    EXPECT_TRUE(Resolves(target)) << "index entry " << name << ": " << target;
  }

  static const std::regex href(R"re(href="([^"]*)")re");
  for (const std::string& page : Pages()) {
    for (const std::string& target :
         AllMatches(ReadFile(kSources / page), href)) {
      if (target == "style.css") continue;
      EXPECT_TRUE(Resolves(target, page)) << page << " links to " << target;
    }
  }
}

TEST(PlainHelpTest, ThePagesLieBesideTheProgramAsInTheSources) {
  EXPECT_TRUE(fs::is_regular_file(kProgramFolder / "qz.chm"));
  for (const std::string& name : WebFiles()) {
    const fs::path copy = kProgramFolder / "help" / name;
    ASSERT_TRUE(fs::exists(copy)) << copy;
    EXPECT_EQ(ReadFile(copy), ReadFile(kSources / name)) << name;
  }
}

}  // namespace
