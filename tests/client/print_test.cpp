#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/print_datas.h"
#include "client/unpack_datas.h"
#include "tests/peer/peer_wire.h"

namespace {

using namespace peer;

struct collect : kk::text_sink {
  std::string all;
  std::vector<size_t> pieces;
  void write(const char* p, uint64_t n) override {
    all.append(p, n);
    pieces.push_back(n);
  }
};

collect printed(const result& r) {
  std::string body = encode_payload(r);
  kk::datas d;
  collect out;
  EXPECT_TRUE(kk::unpack_datas(d, body.data(), body.size(), nullptr));
  kk::print_datas(d, out);
  kk::free_datas(d);
  return out;
}

TEST(print, tables) {
  struct {
    const char* what;
    result r;
    const char* want;
  } cases[] = {
      {"widths from the widest entry",
       {{{"id", d_u08}, {"name", d_string}}, {{1, {u08(1), text("ab")}}, {2, {u08(22), text("xyz")}}}},
       "\n|-id-|-name-| \n| 1  | ab   |\n| 22 | xyz  |\n"},
      {"a name narrower than its values is centred, the odd dash after it",
       {{{"n", d_string}, {"ab", d_i32}}, {{1, {text("abcd"), i32(-12345)}}}},
       "\n|--n---|---ab---| \n| abcd | -12345 |\n"},
      {"a name wider than every value",
       {{{"longname", d_i08}}, {{1, {i08(-1)}}}},
       "\n|-longname-| \n| -1       |\n"},
      {"columns without rows", {{{"a", d_u64}, {"b", d_date}}, {}}, "\n|-a-|-b-| \n"},
      {"wide characters count two columns, a tab none",
       {{{"\xE5\x90\x8D", d_string}}, {{1, {text("\xC3\xA9")}}, {2, {text("a\tb")}}, {3, {text("\xE4\xB8\xAD\xE6\x96\x87")}}}},
       "\n|--\xE5\x90\x8D--| \n| \xC3\xA9   |\n| a\tb   |\n| \xE4\xB8\xAD\xE6\x96\x87 |\n"},
      {"null and malformed cells are empty",
       {{{"x", d_null}, {"y", {9, 9, 9}}, {"z", d_u16}}, {{1, {none(), none(), u16(7)}}}},
       "\n|-x-|-y-|-z-| \n|   |   | 7 |\n"},
      {"floats, dates and times in their text forms",
       {{{"f", d_float}, {"d", d_date}, {"t", d_time}},
        {{1, {f32(1.5f), date(2024, 2, 29), time(8, 15, 43, 500000000)}}}},
       "\n|------f------|-----d------|-----t------| \n| 1.500000000 | 2024-02-29 | 08:15:43.5 |\n"},
  };
  for (auto& c : cases) EXPECT_EQ(printed(c.r).all, c.want) << c.what;
  EXPECT_EQ(printed({}).all, "");  // no columns: nothing at all
}

TEST(print, written_in_pieces_of_about_4096_bytes) {
  result r{{{"n", d_u32}, {"t", d_string}}, {}};
  for (uint32_t i = 0; i < 2000; ++i) r.rows.push_back({i, {u32(i), text(std::string(i % 50, 'x'))}});
  collect out = printed(r);
  std::string want = "\n|--n---|-" + std::string(24, '-') + "t" + std::string(24, '-') + "-| \n";
  for (uint32_t i = 0; i < 2000; ++i) {
    std::string n = std::to_string(i), t(i % 50, 'x');
    want += "| " + n + std::string(4 - n.size(), ' ') + " | " + t + std::string(49 - t.size(), ' ') + " |\n";
  }
  EXPECT_TRUE(out.all == want) << out.all.substr(0, 300);
  ASSERT_GT(out.pieces.size(), 20u);
  for (size_t i = 0; i + 1 < out.pieces.size(); ++i) {
    EXPECT_GT(out.pieces[i], 4096u);
    EXPECT_LE(out.pieces[i], 4096u + 61u);  // one line past the mark at most
  }
}

TEST(print, display_width) {
  struct {
    std::string text;
    uint64_t width;
  } cases[] = {
      {"", 0},
      {"abc", 3},
      {"a\tb\n\x7f", 2},
      {"\xC3\xA9", 2},
      {"\xE4\xB8\xAD", 2},
      {"\xF0\x9F\x98\x80!", 3},
      {"ab\xFF" "cd", 2},      // no lead byte: the walk ends
      {"a\xC3" "A", 1},        // a continuation byte that is none
      {"a\xE4\xB8", 1},        // cut short by the end
      {"a\x80" "b", 1},        // a stray continuation byte
      {std::string("a\0b", 3), 2},
  };
  for (const auto& c : cases) EXPECT_EQ(kk::text_display_width(c.text.data(), c.text.size()), c.width) << hex(c.text);
}

}  // namespace
