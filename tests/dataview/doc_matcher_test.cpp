// The cell search's matcher finds exactly what the text document's search finds in the same
// text, for every mode and flag.
#include <gtest/gtest.h>

#include "dataview/doc_matcher.h"
#include "editor/doc_search.h"
#include "editor/text_doc.h"

namespace dataview {
namespace {

std::string ranges_text(const std::vector<match_range>& r)
{
    std::string s;
    for (const auto& m : r) s += "(" + std::to_string(m.start) + "," + std::to_string(m.end) + ")";
    return s;
}

TEST(doc_matcher, agrees_with_the_document_search)
{
    const char* texts[] = {"",         "abc",           "ABC abc aBc", "id, rid, id_x", "aaaa",          "a\tb",
                           "x\ny\nx",  "a.b c;d",       "\xe4\xb8\xad\xe6\x96\x87" "abc", "\xff\xfe bad a",
                           "Id ID iD", "0x00c8 0b1100"};
    const char* patterns[] = {"a",   "aa",  "ABC", "id", "\\t", "\\x41", "^a",  "a*",  "\\w+",
                              "(",   "x$",  "\\W", "",   ".",   "\\u4e2d", "c8", "[a-c]+", "(?i)b"};
    for (const char* t : texts) {
        for (const char* p : patterns) {
            for (unsigned mode : {0u, 1u, 2u}) {
                for (unsigned flags : {0u, 1u, 16u, 17u}) {
                    search_options o;
                    o.target = p;
                    o.mode = mode;
                    o.flags = flags;
                    std::vector<match_range> got;
                    make_doc_matcher(o)->find_all(t, got);

                    ruv::text_doc d;
                    ruv::doc_init(d, kk::adt::cstr_view(t));
                    std::vector<ruv::byte_range> want_ranges;
                    ruv::doc_find_all(d, kk::adt::cstr_view(p), want_ranges, mode, static_cast<kk::u16>(flags));
                    ruv::doc_free(d);
                    std::vector<match_range> want;
                    for (const auto& r : want_ranges) want.push_back({r.start, r.end});
                    EXPECT_EQ(ranges_text(got), ranges_text(want))
                        << "text \"" << t << "\" pattern \"" << p << "\" mode " << mode << " flags " << flags;
                }
            }
        }
    }
}

TEST(doc_matcher, a_runaway_pattern_ends)
{
    search_options o;
    o.target = "(a+)+b";
    o.mode = 2;
    std::vector<match_range> got;
    make_doc_matcher(o)->find_all(std::string(40, 'a'), got);
    EXPECT_TRUE(got.empty());
}

}  // namespace
}  // namespace dataview
