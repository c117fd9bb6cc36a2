#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "client/unpack_datas.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/peer_wire.h"

namespace {

using namespace peer;

struct decoded {
  kk::datas d;
  bool ok = false;
  const char* why = nullptr;
  explicit decoded(const std::string& body) { ok = kk::unpack_datas(d, body.data(), body.size(), &why); }
  ~decoded() { kk::free_datas(d); }
  std::string col(uint64_t c) const { return std::string(d.cols[c].data, d.cols[c].size); }
  kk::val at(uint64_t r, uint64_t c) const { return d.rows[r].vals[c]; }
};

TEST(unpack, empty_body_and_names_without_rows) {
  decoded empty("");
  ASSERT_TRUE(empty.ok);
  EXPECT_EQ(empty.d.cols.size, 0u);
  EXPECT_EQ(empty.d.rows.size, 0u);

  // u64 1, u64 2, "id", u64 0: no descriptors follow and none are read.
  // No columns but rows: each row is its id alone.
  decoded ids(u64le(0) + u64le(2) + u64le(5) + u64le(6));
  ASSERT_TRUE(ids.ok);
  ASSERT_EQ(ids.d.rows.size, 2u);
  EXPECT_EQ(ids.d.rows[1].sid, 6u);
  EXPECT_EQ(ids.d.rows[1].vals.size, 0u);

  decoded names(u64le(1) + u64le(2) + "id" + u64le(0));
  ASSERT_TRUE(names.ok);
  ASSERT_EQ(names.d.cols.size, 1u);
  EXPECT_EQ(names.col(0), "id");
  EXPECT_EQ(names.d.rows.size, 0u);
}

TEST(unpack, rows_take_their_descriptor_and_bytes) {
  decoded r(encode_payload({{{"n", d_u16}, {"", d_string}, {"t", d_time}},
                            {{7, {u16(513), text(""), time(12, 30, 45, 1000000)}},
                             {~0ull, {u16(65535), text("xyz"), time(0, 0, 0, 0)}}}}));
  ASSERT_TRUE(r.ok) << r.why;
  ASSERT_EQ(r.d.rows.size, 2u);
  EXPECT_EQ(r.col(1), "");
  EXPECT_EQ(r.d.rows[0].sid, 7u);
  EXPECT_EQ(r.d.rows[1].sid, ~0ull);
  const kk::val& n = r.at(0, 0);
  EXPECT_EQ(n.size, 1);
  EXPECT_EQ(n.sign, 1);
  EXPECT_EQ(n.type, 0);
  EXPECT_EQ(kk::val_as_u16(n), 513);
  EXPECT_EQ(kk::val_as_u16(r.at(1, 0)), 65535);
  // An empty text is a text with no block.
  EXPECT_EQ(r.at(0, 1).type, 2);
  EXPECT_EQ(r.at(0, 1).len, 0);
  EXPECT_EQ(r.at(0, 1).text, nullptr);
  EXPECT_EQ(std::string(r.at(1, 1).text, r.at(1, 1).len), "xyz");
  // A time lands in bytes 4..10; the date bytes stay zero.
  const kk::val& t = r.at(0, 2);
  const unsigned char want[11] = {0, 0, 0, 0, 12, 30, 45, 0x40, 0x42, 0x0f, 0};
  EXPECT_EQ(std::memcmp(t.data, want, 11), 0);
}

TEST(unpack, widths_follow_the_descriptor_codes) {
  // (size, sign, type), the wire bytes of one value, and the bytes expected in `data`.
  struct {
    desc d;
    std::string wire;
    std::string data;
  } cases[] = {
      {{0, 0, 0}, "\x81", "\x81"},
      {{3, 0, 0}, u64le(0x0102030405060708ull), u64le(0x0102030405060708ull)},
      {{9, 7, 0}, u64le(5), u64le(5)},  // an unknown integer size reads 8 bytes
      {{2, 2, 1}, f32(1.5f).bytes, f32(1.5f).bytes},
      {{3, 2, 1}, f64(1.5).bytes, f64(1.5).bytes},
      {{0, 2, 1}, f64(2.5).bytes, f64(2.5).bytes},  // any float size but 2 is a double
      {{5, 2, 3}, date(2024, 2, 29).bytes, date(2024, 2, 29).bytes},
      {{5, 2, 5}, datetime(9999, 12, 31, 23, 59, 59, 999999999).bytes,
       datetime(9999, 12, 31, 23, 59, 59, 999999999).bytes},
      {{5, 2, 6}, "", ""},    // null consumes nothing
      {{1, 1, 200}, "", ""},  // nor does an unknown type
  };
  for (const auto& c : cases) {
    // The sentinel column after the value shows that exactly its bytes were consumed.
    decoded r(encode_payload({{{"v", c.d}, {"s", d_u08}}, {{1, {cell{c.wire}, u08(0x5a)}}}}));
    ASSERT_TRUE(r.ok) << hex(c.wire);
    const kk::val& v = r.at(0, 0);
    EXPECT_EQ(v.size, c.d.size);
    EXPECT_EQ(v.sign, c.d.sign);
    EXPECT_EQ(v.type, c.d.type);
    std::string data(reinterpret_cast<const char*>(v.data), 11);
    EXPECT_EQ(hex(data.substr(0, c.data.size())), hex(c.data));
    EXPECT_EQ(data.substr(c.data.size()), std::string(11 - c.data.size(), '\0'));
    EXPECT_EQ(kk::val_as_u08(r.at(0, 1)), 0x5a) << hex(c.wire);
  }
}

TEST(unpack, every_cut_of_a_valid_body_fails_cleanly) {
  std::string body = encode_payload(demo_result());
  for (size_t n = 1; n < body.size(); ++n) {
    // A copy of exactly n bytes, so the sanitizer sees any read past the cut.
    std::string cut = body.substr(0, n);
    decoded r(cut);
    EXPECT_FALSE(r.ok) << n;
    EXPECT_NE(r.why, nullptr);
    EXPECT_EQ(r.d.rows.size, 0u);
    EXPECT_EQ(r.d.cols.size, 0u);
  }
  decoded whole(body);
  EXPECT_TRUE(whole.ok);
  // Bytes after the last row are not part of any value.
  decoded padded(body + "junk");
  EXPECT_TRUE(padded.ok);
}

TEST(unpack, lying_counts_are_refused_before_allocating) {
  const uint64_t huge = ~0ull;
  struct {
    const char* what;
    std::string body;
    const char* why;
  } cases[] = {
      {"column count", u64le(huge), "column count"},
      {"column count times 8 wraps", u64le(1ull << 61) + std::string(64, '\0'), "column count"},
      {"name length", u64le(1) + u64le(huge) + "x", "column name"},
      {"name longer than the rest", u64le(1) + u64le(3) + "ab", "column name"},
      {"row count", u64le(1) + u64le(1) + "a" + u64le(huge) + from_hex("03 01 00"), "row count"},
      {"row count times row size wraps", u64le(1) + u64le(1) + "a" + u64le(1ull << 61) + from_hex("03 01 00") + u64le(0) + u64le(0), "row count"},
      {"rows of null columns still need their ids",
       u64le(1) + u64le(1) + "a" + u64le(1000000) + from_hex("05 02 06") + u64le(1), "row count"},
      {"descriptors missing", u64le(2) + u64le(1) + "a" + u64le(1) + "b" + u64le(1) + "\x03\x01", "column descriptors"},
      {"text length", u64le(1) + u64le(1) + "a" + u64le(1) + from_hex("04 02 02") + u64le(1) + u16le(65535) + "abc", "text value"},
  };
  // Many null-typed columns over rows of bare ids: 13 MB of wire, but 4.2 * 10^9 cells.
  std::string nulls = u64le(4096);
  for (int c = 0; c < 4096; ++c) nulls += u64le(1) + "n";
  nulls += u64le(1 << 20);
  for (int c = 0; c < 4096; ++c) nulls += from_hex("05 02 06");
  for (int r = 0; r < (1 << 20); ++r) nulls += u64le(r);
  decoded amplified(nulls);
  EXPECT_FALSE(amplified.ok);
  EXPECT_STREQ(amplified.why, "cell count");
  for (const auto& c : cases) {
    decoded r(c.body);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_STREQ(r.why, c.why) << c.what;
  }
}

TEST(unpack, null_columns_of_an_ordinary_result_are_kept) {
  result r{{{"a", d_null}, {"b", d_null}, {"c", d_null}, {"d", d_null}, {"e", d_null}, {"f", d_null},
            {"g", d_null}, {"h", d_null}, {"i", d_null}, {"j", d_null}, {"k", d_u08}},
           {}};
  for (uint64_t i = 0; i < 20000; ++i)
    r.rows.push_back({i, {none(), none(), none(), none(), none(), none(), none(), none(), none(), none(), u08(1)}});
  decoded d(encode_payload(r));
  ASSERT_TRUE(d.ok) << d.why;
  EXPECT_EQ(d.d.rows.size, 20000u);
  EXPECT_EQ(d.at(19999, 9).type, 6);
}

TEST(unpack, texts_up_to_65535_bytes) {
  std::string big;
  for (int i = 0; i < 65535; ++i) big.push_back(static_cast<char>(i * 7));
  decoded r(encode_payload({{{"t", d_string}}, {{1, {text(big)}}, {2, {text(std::string(1, '\0'))}}}}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.at(0, 0).len, 65535);
  EXPECT_EQ(std::string(r.at(0, 0).text, 65535), big);
  EXPECT_EQ(std::string(r.at(1, 0).text, r.at(1, 0).len), std::string(1, '\0'));
}

TEST(unpack, mutated_bodies_decode_or_fail_but_never_overrun) {
  const std::string body = encode_payload(demo_result());
  std::mt19937 rng(20240229);
  for (int round = 0; round < 3000; ++round) {
    std::string m = body;
    int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      size_t at = rng() % m.size();
      switch (rng() % 3) {
        case 0: m[at] = static_cast<char>(rng()); break;
        case 1: m.resize(at); break;
        default: m[at] = static_cast<char>(0xFF); break;
      }
      if (m.empty()) break;
    }
    decoded r(m);
    if (!r.ok) continue;
    for (uint64_t i = 0; i < r.d.rows.size; ++i) ASSERT_EQ(r.d.rows[i].vals.size, r.d.cols.size) << round;
  }
}

}  // namespace
