// The help pages: every link leads to a page of the doc folder and, with "#name", to an anchor
// on it; every page can be reached from the index.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Page {
  std::set<std::string> anchors;
  std::vector<std::string> links;
};

std::map<std::string, Page> readPages() {
  static const std::regex anchor(R"(<a\s+name="([^"]+)\")", std::regex::icase);
  static const std::regex link(R"(href="([^"]*)\")", std::regex::icase);
  std::map<std::string, Page> pages;
  for (const fs::directory_entry &entry : fs::directory_iterator(MORVO_SOURCE_DIR "/doc")) {
    if (entry.path().extension() != ".html")
      continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    Page &page = pages[entry.path().filename().string()];
    for (std::sregex_iterator i(html.begin(), html.end(), anchor), end; i != end; ++i)
      page.anchors.insert((*i)[1]);
    for (std::sregex_iterator i(html.begin(), html.end(), link), end; i != end; ++i)
      page.links.push_back((*i)[1]);
  }
  return pages;
}

TEST(HelpPages, EveryLinkLeadsToAnExistingPageAndAnchor) {
  const std::map<std::string, Page> pages = readPages();
  ASSERT_TRUE(pages.count("index.html"));
  ASSERT_TRUE(pages.count("hot_keys.html")); // the "Hot keys" command opens it
  for (const auto &[name, page] : pages)
    for (const std::string &target : page.links) {
      const size_t hash = target.find('#');
      const std::string file = hash == 0 ? name : target.substr(0, hash);
      const auto found = pages.find(file);
      ASSERT_NE(found, pages.end()) << name << " links to " << target;
      if (hash != std::string::npos) {
        EXPECT_TRUE(found->second.anchors.count(target.substr(hash + 1)))
            << name << " links to " << target;
      }
    }
}

TEST(HelpPages, EveryPageCanBeReachedFromTheIndex) {
  const std::map<std::string, Page> pages = readPages();
  std::set<std::string> reached{"index.html"};
  std::vector<std::string> open{"index.html"};
  while (!open.empty()) {
    const std::string name = open.back();
    open.pop_back();
    for (const std::string &target : pages.at(name).links) {
      const std::string file = target.substr(0, target.find('#'));
      if (pages.count(file) && reached.insert(file).second)
        open.push_back(file);
    }
  }
  for (const auto &entry : pages)
    EXPECT_TRUE(reached.count(entry.first)) << entry.first << " is not linked";
}

} // namespace
