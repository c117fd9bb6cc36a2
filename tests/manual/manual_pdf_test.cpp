// The built manuals as a PDF reader sees them (poppler's pdfinfo and pdftotext): each is a
// PDF titled as its source; the contents on the first page name every chapter and section
// with the page it stands on; every function's call form is in the text, in every language;
// and the text of the Chinese and Japanese manuals comes out as the characters of their
// sources (glyphs embedded with their Unicode mapping); every font a manual embeds is named
// in the licences text that ships with it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "docs/manual/manual_gen.h"

namespace {

using namespace ruv::manual;

std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

std::vector<std::string> split(const std::string& s, char c) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i)
    if (i == s.size() || s[i] == c) {
      out.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  return out;
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

// The value of one "Key: value" line of pdfinfo's report.
std::string info_field(const std::string& info, const std::string& key) {
  for (const std::string& line : split(info, '\n'))
    if (line.rfind(key + ":", 0) == 0) return trim(line.substr(key.size() + 1));
  return "<none>";
}

// One built manual: its source rendered again, and the PDF's pages as text.
struct manual {
  std::string folder;
  document doc;
  std::string info;                // pdfinfo's report
  std::vector<std::string> pages;  // text of each page
};

struct language {
  const char* source;
  const char* folder;
};
const language languages[] = {{"en", "en"}, {"zh", "zh"}, {"fr", "fr"}, {"ja", "jp"}};

class manual_pdf : public testing::TestWithParam<language> {
 protected:
  static dialect* d;
  static reference* ref;
  static void SetUpTestSuite() {
    d = new dialect;
    ref = new reference(read_reference(read_file(RUV_MANUAL_SOURCE_DIR "/examples.txt")));
  }
  static void TearDownTestSuite() {
    delete ref;
    delete d;
  }
  manual load(const language& l) {
    manual m;
    m.folder = l.folder;
    m.doc = render(read_file(std::string(RUV_MANUAL_SOURCE_DIR "/") + l.source + ".md"), *ref, *d);
    const std::string pdf = std::string(RUV_MANUAL_BUILD_DIR "/") + l.folder + "/ruv_cli.pdf";
    m.info = run("pdfinfo -enc UTF-8 '" + pdf + "'");
    std::string text = run("pdftotext -enc UTF-8 -layout '" + pdf + "' -");
    m.pages = split(text, '\f');
    if (!m.pages.empty() && trim(m.pages.back()).empty()) m.pages.pop_back();
    return m;
  }
};
dialect* manual_pdf::d = nullptr;
reference* manual_pdf::ref = nullptr;

TEST_P(manual_pdf, is_a_pdf_titled_as_its_source) {
  const manual m = load(GetParam());
  const std::string pdf = std::string(RUV_MANUAL_BUILD_DIR "/") + m.folder + "/ruv_cli.pdf";
  EXPECT_EQ(read_file(pdf).substr(0, 5), "%PDF-");
  ASSERT_FALSE(m.info.empty()) << "pdfinfo (poppler-utils, scripts/deps.sh) gives nothing for " << pdf;
  EXPECT_EQ(info_field(m.info, "Title"), m.doc.title) << m.info;
  EXPECT_EQ(info_field(m.info, "Pages"), std::to_string(m.pages.size())) << m.info;
  EXPECT_EQ(info_field(m.info, "Page size"), "595 x 842 pts (A4)") << m.info;
}

// The contents list each chapter and section with a page number, in order, and the heading
// stands on that page.
TEST_P(manual_pdf, the_contents_give_the_page_of_every_heading) {
  const manual m = load(GetParam());
  ASSERT_GT(m.pages.size(), 1u);
  const std::vector<std::string> toc = split(m.pages[0], '\n');
  std::size_t from = 0;
  int last_page = 1;
  for (const heading& h : m.doc.headings) {
    int page = 0;
    for (; from < toc.size() && !page; ++from) {
      const std::string line = trim(toc[from]);
      if (line.rfind(h.text, 0) != 0) continue;
      const std::size_t sp = line.find_last_of(' ');
      if (sp != std::string::npos) page = std::atoi(line.c_str() + sp + 1);
    }
    ASSERT_GT(page, 0) << "the contents do not list \"" << h.text << "\" with a page";
    EXPECT_GE(page, last_page) << h.text;
    last_page = page;
    ASSERT_LE(std::size_t(page), m.pages.size()) << h.text;
    bool found = false;
    for (const std::string& line : split(m.pages[std::size_t(page) - 1], '\n')) found = found || trim(line) == h.text;
    EXPECT_TRUE(found) << "\"" << h.text << "\" is not a line of page " << page;
  }
}

TEST_P(manual_pdf, every_function_has_its_call_form_in_the_text) {
  const manual m = load(GetParam());
  std::string all;
  for (const std::string& p : m.pages) all += p;
  for (const std::string& f : d->functions()) {
    const function_ref* r = ref->function(f);
    ASSERT_NE(r, nullptr) << f;
    EXPECT_NE(all.find(f + "(" + r->args + ") \u2192"), std::string::npos) << f;
  }
}

// The families of the fonts embedded in a PDF as pdffonts names them ("ABCDEF+NotoSans-Bold"
// is NotoSans), without blanks.
std::vector<std::string> embedded_families(const std::string& pdf) {
  std::vector<std::string> out;
  const std::vector<std::string> lines = split(run("pdffonts '" + pdf + "'"), '\n');
  for (std::size_t i = 2; i < lines.size(); ++i) {  // after the heading and its rule
    std::string name = lines[i].substr(0, lines[i].find(' '));
    if (name.empty()) continue;
    if (const auto plus = name.find('+'); plus != std::string::npos) name.erase(0, plus + 1);
    name = name.substr(0, name.find('-'));
    bool seen = false;
    for (const std::string& f : out) seen = seen || f == name;
    if (!seen) out.push_back(name);
  }
  return out;
}

TEST_P(manual_pdf, the_licences_text_names_every_font_it_embeds) {
  std::string licences;
  for (char c : read_file(RUV_LICENCES_TEXT))
    if (c != ' ' && c != '\n') licences += c;
  ASSERT_FALSE(licences.empty());
  const std::string pdf = std::string(RUV_MANUAL_BUILD_DIR "/") + GetParam().folder + "/ruv_cli.pdf";
  const std::vector<std::string> families = embedded_families(pdf);
  ASSERT_FALSE(families.empty()) << "pdffonts (poppler-utils, scripts/deps.sh) names no font in " << pdf;
  for (const std::string& f : families) EXPECT_NE(licences.find(f), std::string::npos) << f << " is embedded in " << pdf;
}

INSTANTIATE_TEST_SUITE_P(languages, manual_pdf, testing::ValuesIn(languages),
                         [](const testing::TestParamInfo<language>& i) { return std::string(i.param.folder); });

}  // namespace
