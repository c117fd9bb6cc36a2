// Result sets through the flat interface against a reference decoder of the result body:
// a plain, separate reading of the wire format that keeps every cell as its own record.
// Whatever the library's layout, every accessor must give what the reference holds, and a
// body it refuses must be refused for the same reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "client/ruv_sql_lib_mem.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

namespace {

using namespace peer;

struct ref_cell {
  uint8_t size = 0, sign = 0, type = 0;
  unsigned char data[11] = {};
  std::string text;
};

struct ref_result {
  bool ok = false;
  std::string why;
  std::vector<std::string> names;
  std::vector<uint64_t> sids;
  std::vector<std::vector<ref_cell>> rows;
};

// Fixed wire bytes of a value and where they go in the cell; -1: a text.
void wire_of(const ref_cell& c, int& width, int& offset) {
  offset = 0;
  switch (c.type) {
    case 0: width = c.size == 0 ? 1 : c.size == 1 ? 2 : c.size == 2 ? 4 : 8; break;
    case 1: width = c.size == 2 ? 4 : 8; break;
    case 2: width = -1; break;
    case 3: width = 4; break;
    case 4: width = 7, offset = 4; break;
    case 5: width = 11; break;
    default: width = 0; break;
  }
}

ref_result reference(const std::string& body) {
  ref_result r;
  size_t at = 0;
  const size_t n = body.size();
  auto left = [&] { return n - at; };
  auto get64 = [&](uint64_t& v) {
    if (left() < 8) return false;
    v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | uint8_t(body[at + i]);
    at += 8;
    return true;
  };
  auto refuse = [&](const char* why) {
    ref_result f;
    f.why = why;
    return f;
  };
  if (n == 0) return r.ok = true, r;
  uint64_t ncols, nrows;
  if (!get64(ncols) || ncols > left() / 8) return refuse("column count");
  for (uint64_t c = 0; c < ncols; ++c) {
    uint64_t len;
    if (!get64(len) || len > left()) return refuse("column name");
    r.names.push_back(body.substr(at, len));
    at += len;
  }
  if (!get64(nrows)) return refuse("row count");
  if (nrows == 0) return r.ok = true, r;
  if (ncols > left() / 3) return refuse("column descriptors");
  std::vector<ref_cell> heads(ncols);
  uint64_t row_min = 8;
  for (auto& h : heads) {
    h.size = uint8_t(body[at]), h.sign = uint8_t(body[at + 1]), h.type = uint8_t(body[at + 2]);
    at += 3;
    int w, o;
    wire_of(h, w, o);
    row_min += w < 0 ? 2 : w;
  }
  if (nrows > left() / row_min) return refuse("row count");
  if (ncols && nrows > (n + (uint64_t(1) << 22)) / ncols) return refuse("cell count");
  for (uint64_t i = 0; i < nrows; ++i) {
    uint64_t sid;
    if (!get64(sid)) return refuse("row");
    r.sids.push_back(sid);
    std::vector<ref_cell> row;
    for (const ref_cell& h : heads) {
      ref_cell c = h;
      int w, o;
      wire_of(c, w, o);
      if (left() < size_t(w < 0 ? 2 : w)) return refuse("row");
      if (w < 0) {
        size_t len = uint8_t(body[at]) | size_t(uint8_t(body[at + 1])) << 8;
        at += 2;
        if (len > left()) return refuse("text value");
        c.text = body.substr(at, len);
        at += len;
      } else {
        std::memcpy(c.data + o, body.data() + at, size_t(w));
        at += size_t(w);
      }
      row.push_back(c);
    }
    r.rows.push_back(std::move(row));
  }
  r.ok = true;
  return r;
}

template <class T>
T bytes_as(const unsigned char* p) {
  T x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

// Every accessor of one cell against its reference record.
void expect_cell(const val* v, const ref_cell& c, const std::string& where) {
  ASSERT_NE(v, nullptr) << where;
  EXPECT_EQ(val_size(v), c.size == 0 ? 1u : c.size == 1 ? 2u : c.size == 2 ? 4u : 8u) << where;
  EXPECT_EQ(val_type(v), c.type <= 5 ? int(c.type) : -1) << where;
  EXPECT_EQ(val_sign(v), c.sign != 0) << where;
  EXPECT_EQ(as_int8(v), bytes_as<int8_t>(c.data)) << where;
  EXPECT_EQ(as_uint8(v), bytes_as<uint8_t>(c.data)) << where;
  EXPECT_EQ(as_int16(v), bytes_as<int16_t>(c.data)) << where;
  EXPECT_EQ(as_uint16(v), bytes_as<uint16_t>(c.data)) << where;
  EXPECT_EQ(as_int32(v), bytes_as<int32_t>(c.data)) << where;
  EXPECT_EQ(as_uint32(v), bytes_as<uint32_t>(c.data)) << where;
  EXPECT_EQ(as_int64(v), bytes_as<int64_t>(c.data)) << where;
  EXPECT_EQ(as_uint64(v), bytes_as<uint64_t>(c.data)) << where;
  const float f = as_float(v), rf = bytes_as<float>(c.data);
  const double d = as_double(v), rd = bytes_as<double>(c.data);
  EXPECT_EQ(std::memcmp(&f, &rf, sizeof f), 0) << where;
  EXPECT_EQ(std::memcmp(&d, &rd, sizeof d), 0) << where;
  uint32_t f7[7] = {99, 99, 99, 99, 99, 99, 99};
  as_datetime(&f7[0], &f7[1], &f7[2], &f7[3], &f7[4], &f7[5], &f7[6], v);
  const uint32_t want7[7] = {bytes_as<uint16_t>(c.data), c.data[2], c.data[3], c.data[4],
                             c.data[5], c.data[6], bytes_as<uint32_t>(c.data + 7)};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f7[i], want7[i]) << where << " field " << i;
  uint32_t y = 0, mo = 0, dd = 0, h = 0, mi = 0, s = 0, ns = 0;
  as_date(&y, &mo, &dd, v);
  as_time(&h, &mi, &s, &ns, v);
  EXPECT_EQ(y, want7[0]) << where;
  EXPECT_EQ(dd, want7[2]) << where;
  EXPECT_EQ(ns, want7[6]) << where;
  char* p = reinterpret_cast<char*>(1);
  uint64_t n = 77;
  as_str(&p, &n, v);
  if (c.type == 6) {
    EXPECT_EQ(p, nullptr) << where;
    EXPECT_EQ(n, 0u) << where;
  } else {
    ASSERT_NE(p, nullptr) << where;
    EXPECT_EQ(std::string(p, n), c.type == 2 ? c.text : std::string()) << where;
    std::free(p);
  }
}

void expect_same(const datas* d, const ref_result& r, const std::string& what) {
  ASSERT_EQ(cols_of(d), r.names.size()) << what;
  ASSERT_EQ(rows_of(d), r.rows.size()) << what;
  for (size_t c = 0; c < r.names.size(); ++c) {
    uint32_t len = 12345;
    const char* name = col_name(&len, d, int32_t(c));
    ASSERT_NE(name, nullptr) << what;
    EXPECT_EQ(std::string(name, len), r.names[c]) << what;
    EXPECT_EQ(name[len], '\0') << what;
  }
  uint32_t untouched = 12345;
  EXPECT_EQ(col_name(&untouched, d, int32_t(r.names.size())), nullptr) << what;
  EXPECT_EQ(col_name(&untouched, d, -1), nullptr) << what;
  EXPECT_EQ(untouched, 12345u) << what;
  for (size_t i = 0; i < r.rows.size(); ++i) {
    EXPECT_EQ(sid_of(d, i), r.sids[i]) << what;
    for (size_t c = 0; c < r.rows[i].size(); ++c)
      expect_cell(at(i, c, d), r.rows[i][c], what + " cell " + std::to_string(i) + "," + std::to_string(c));
    EXPECT_EQ(at(i, r.names.size(), d), nullptr) << what;
  }
  EXPECT_EQ(at(r.rows.size(), 0, d), nullptr) << what;
  EXPECT_EQ(sid_of(d, r.rows.size()), 0u) << what;
}

class differential : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(connect_to_server("127.0.0.1", peer_.port(), "user", "pw")); }
  void TearDown() override { exit_to_server(); }

  // The body as an OK reply through exec, against the reference.
  void check(const std::string& body, const std::string& what) {
    const ref_result want = reference(body);
    peer_.push_reply(send(reply_frame(status_ok, body)));
    testing::internal::CaptureStdout();
    datas* d = exec("q", 1);
    const std::string said = testing::internal::GetCapturedStdout();
    if (!want.ok) {
      EXPECT_EQ(d, nullptr) << what;
      EXPECT_EQ(said, "exec failed(bad result: " + want.why + ").\n") << what;
      del_datas(d);
      return;
    }
    ASSERT_NE(d, nullptr) << what << ": " << said;
    EXPECT_EQ(said, "") << what;
    expect_same(d, want, what);
    del_datas(d);
  }
  test_peer peer_;
};

// Every column type, empty and longest texts, texts of NUL bytes, null columns and codes
// no kind has, over rows enough for a result block of its own mapping.
result mixed(uint64_t nrows) {
  result r{{{"i08", d_i08}, {"u16", d_u16}, {"i32", d_i32}, {"u64", d_u64}, {"f", d_float}, {"d", d_double},
            {"s", d_string}, {"", d_string}, {"date", d_date}, {"time", d_time}, {"dt", d_datetime},
            {"nothing", d_null}, {"odd", {7, 9, 200}}, {"i64", d_i64}},
           {}};
  const std::string longest(65535, 'L');
  for (uint64_t i = 0; i < nrows; ++i) {
    std::string t = i % 5 == 0 ? std::string() : "text " + std::to_string(i);
    if (i % 97 == 3) t = std::string(3, '\0');
    r.rows.push_back({i * 31 + 7,
                      {i08(int8_t(i)), u16(uint16_t(i * 3)), i32(int32_t(-i * 1001)), u64(~i), f32(float(i) / 7),
                       f64(-double(i) / 3), text(t), text(i == 1 ? longest : i % 2 ? "" : "x"),
                       date(uint16_t(1900 + i % 300), uint8_t(1 + i % 12), uint8_t(1 + i % 28)),
                       time(uint8_t(i % 24), uint8_t(i % 60), uint8_t(i % 61), uint32_t(i * 999)),
                       datetime(2024, 2, 29, 23, 59, 59, uint32_t(999999999 - i)), none(), none(),
                       i64(int64_t(i) << 40)}});
  }
  return r;
}

TEST_F(differential, a_big_result_of_every_column_type) {
  // 60000 rows of 14 cells: a 27 MB block, mapped by itself.
  check(encode_payload(mixed(60000)), "big");
}

TEST_F(differential, odd_shapes) {
  const struct {
    const char* what;
    std::string body;
  } cases[] = {
      {"no body", ""},
      {"no columns, no rows", u64le(0) + u64le(0)},
      {"names without rows", u64le(3) + u64le(1) + "a" + u64le(0) + u64le(2) + "\xC3\xA9" + u64le(0)},
      {"rows without columns", u64le(0) + u64le(3) + u64le(9) + u64le(8) + u64le(7)},
      {"null columns only", encode_payload({{{"x", d_null}, {"y", d_null}}, {{1, {none(), none()}}, {2, {none(), none()}}}})},
      {"one empty text", encode_payload({{{"t", d_string}}, {{5, {text("")}}}})},
      {"junk after the rows", encode_payload(mixed(3)) + "junk"},
      {"the demo result", encode_payload(demo_result())},
      {"small mixed", encode_payload(mixed(40))},
  };
  for (const auto& c : cases) check(c.body, c.what);
}

TEST_F(differential, cut_and_mutated_bodies_fail_for_the_same_reasons) {
  const std::string body = encode_payload(mixed(6));
  for (size_t n = 0; n < body.size(); n += n < 200 ? 1 : 97) check(body.substr(0, n), "cut at " + std::to_string(n));
  const std::string small = encode_payload(demo_result());
  for (size_t n = 0; n < small.size(); ++n) check(small.substr(0, n), "demo cut at " + std::to_string(n));
  // Counts and lengths that lie, cells of null columns beyond the allowance.
  check(u64le(1) + u64le(1) + "a" + u64le(~0ull) + from_hex("03 01 00"), "row count");
  check(u64le(2) + u64le(1) + "a" + u64le(1) + "b" + u64le(1) + "\x03\x01", "descriptors");
  std::string nulls = u64le(2048);
  for (int c = 0; c < 2048; ++c) nulls += u64le(0);
  nulls += u64le(1 << 13);
  for (int c = 0; c < 2048; ++c) nulls += from_hex("05 02 06");
  for (int r = 0; r < (1 << 13); ++r) nulls += u64le(r);
  check(nulls, "null cells");
  std::mt19937 rng(77);
  for (int round = 0; round < 400; ++round) {
    std::string m = small;
    for (int e = 0; e < 3; ++e) m[rng() % m.size()] = static_cast<char>(rng() % 3 ? rng() : 0xFF);
    check(m, "mutation " + std::to_string(round));
  }
}

// Results are released and made again, big ones and small ones in turn; each one's cells
// and names stay as they were while later results come and go.
TEST_F(differential, results_are_released_and_made_again) {
  const std::string big = encode_payload(mixed(60000));
  const std::string small = encode_payload(mixed(40));
  const ref_result big_ref = reference(big), small_ref = reference(small);
  ASSERT_TRUE(big_ref.ok);
  for (int round = 0; round < 3; ++round) {
    peer_.push_reply(send(reply_frame(status_ok, big)));
    datas* held = exec("q", 1);
    ASSERT_NE(held, nullptr);
    const val* cell = at(1, 7, held);
    uint32_t len = 0;
    const char* name = col_name(&len, held, 6);
    for (int i = 0; i < 3; ++i) {
      peer_.push_reply(send(reply_frame(status_ok, i == 1 ? big : small)));
      datas* d = exec("q", 1);
      ASSERT_NE(d, nullptr);
      del_datas(d);
    }
    expect_cell(cell, big_ref.rows[1][7], "held cell");
    EXPECT_EQ(std::string(name, len), "s");
    expect_same(held, big_ref, "held, round " + std::to_string(round));
    del_datas(held);
  }
  check(small, "after the rounds");
}

}  // namespace
