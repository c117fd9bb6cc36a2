// The flat interface through the shared library, against the scripted peer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "client/ruv_sql_lib_mem.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

namespace {

using namespace peer;

struct result_ptr {
  datas* d;
  explicit result_ptr(datas* p) : d(p) {}
  ~result_ptr() { del_datas(d); }
  result_ptr(const result_ptr&) = delete;
  result_ptr& operator=(const result_ptr&) = delete;
};

std::string str_of(const val* v) {
  char* p = nullptr;
  uint64_t n = 77;
  as_str(&p, &n, v);
  std::string s(p, n);
  std::free(p);
  return s;
}

class exports : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(connect_to_server("127.0.0.1", peer_.port(), "user", "pw")); }
  void TearDown() override { exit_to_server(); }
  datas* run(const result& r) {
    peer_.push_reply(send(ok_reply(r)));
    return exec("q", 1);
  }
  test_peer peer_;
};

TEST_F(exports, every_column_type_at_its_bounds) {
  result_ptr r(run(demo_result()));
  ASSERT_NE(r.d, nullptr);
  ASSERT_EQ(rows_of(r.d), 2u);
  ASSERT_EQ(cols_of(r.d), 15u);
  const char* names[] = {"i08", "u08", "i16", "u16", "i32", "u32", "i64", "u64", "float",
                         "double", "string", "date", "time", "datetime", "nothing"};
  for (int c = 0; c < 15; ++c) {
    uint32_t len = 0;
    const char* name = col_name(&len, r.d, c);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name, len), names[c]);
  }
  EXPECT_EQ(sid_of(r.d, 0), 1u);
  EXPECT_EQ(sid_of(r.d, 1), 2u);

  // Kind, width and sign of each column as the exports report them.
  struct {
    int32_t type;
    uint32_t size;
    bool sign;
  } shape[] = {{0, 1, 0}, {0, 1, 1}, {0, 2, 0}, {0, 2, 1}, {0, 4, 0}, {0, 4, 1}, {0, 8, 0}, {0, 8, 1},
               {1, 4, 1}, {1, 8, 1}, {2, 8, 1}, {3, 8, 1}, {4, 8, 1}, {5, 8, 1}, {-1, 8, 1}};
  for (int c = 0; c < 15; ++c) {
    const val* v = at(0, c, r.d);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(val_type(v), shape[c].type) << c;
    EXPECT_EQ(val_size(v), shape[c].size) << c;
    EXPECT_EQ(val_sign(v), shape[c].sign) << c;
  }

  const val* lo[15];
  const val* hi[15];
  for (int c = 0; c < 15; ++c) {
    lo[c] = at(0, c, r.d);
    hi[c] = at(1, c, r.d);
  }
  EXPECT_EQ(as_int8(lo[0]), -128);
  EXPECT_EQ(as_int8(hi[0]), 127);
  EXPECT_EQ(as_uint8(hi[1]), 255);
  EXPECT_EQ(as_int8(hi[1]), -1);  // one payload, two readings
  EXPECT_EQ(as_int16(lo[2]), -32768);
  EXPECT_EQ(as_uint16(hi[3]), 65535);
  EXPECT_EQ(as_int32(lo[4]), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(as_uint32(hi[5]), 4294967295u);
  EXPECT_EQ(as_int64(lo[6]), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(as_int64(hi[6]), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(as_uint64(hi[7]), 18446744073709551615ull);
  EXPECT_EQ(as_uint64(lo[7]), 0u);
  EXPECT_EQ(as_float(lo[8]), -1.5f);
  EXPECT_EQ(as_float(hi[8]), 3.25f);
  EXPECT_EQ(as_double(lo[9]), 0.1);
  EXPECT_EQ(as_double(hi[9]), -2.5e300);
  EXPECT_EQ(str_of(lo[10]), "");
  EXPECT_EQ(str_of(hi[10]), "h\xC3\xA9llo \xE4\xB8\xAD");

  uint32_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ns = 0;
  as_date(&y, &mo, &d, hi[11]);
  EXPECT_EQ(y * 10000 + mo * 100 + d, 20240229u);
  as_time(&h, &mi, &s, &ns, hi[12]);
  EXPECT_EQ(h * 10000 + mi * 100 + s, 235959u);
  EXPECT_EQ(ns, 999999999u);
  as_datetime(&y, &mo, &d, &h, &mi, &s, &ns, hi[13]);
  EXPECT_EQ(y * 10000 + mo * 100 + d, 99991231u);
  EXPECT_EQ(h * 10000 + mi * 100 + s, 235959u);
  EXPECT_EQ(ns, 999999999u);
  // A datetime gives its date through as_date and its time through as_time.
  as_date(&y, &mo, &d, lo[13]);
  as_time(&h, &mi, &s, &ns, lo[13]);
  EXPECT_EQ(y * 10000 + mo * 100 + d, 19700101u);
  EXPECT_EQ(h + mi + s + ns, 0u);

  // A null cell: as_str gives null and 0.
  char* p = reinterpret_cast<char*>(1);
  uint64_t n = 9;
  as_str(&p, &n, lo[14]);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(n, 0u);
}

TEST_F(exports, large_texts_and_empty_results) {
  std::string big;
  for (int i = 0; i < 65535; ++i) big.push_back(static_cast<char>((i * 131) & 0xFF));
  result_ptr t(run({{{"t", d_string}}, {{9, {text(big)}}, {10, {text("abc")}}}}));
  ASSERT_NE(t.d, nullptr);
  EXPECT_EQ(str_of(at(0, 0, t.d)), big);
  EXPECT_EQ(str_of(at(1, 0, t.d)), "abc");

  result_ptr none(run({{{"a", d_i32}, {"b", d_string}}, {}}));
  ASSERT_NE(none.d, nullptr);
  EXPECT_EQ(rows_of(none.d), 0u);
  EXPECT_EQ(cols_of(none.d), 2u);
  EXPECT_EQ(at(0, 0, none.d), nullptr);

  peer_.push_reply(send(reply_frame(status_ok, {})));
  result_ptr empty(exec("create table x;", 15));
  ASSERT_NE(empty.d, nullptr);
  EXPECT_EQ(rows_of(empty.d), 0u);
  EXPECT_EQ(cols_of(empty.d), 0u);

  peer_.push_reply(send(fail_reply()));
  EXPECT_EQ(exec("bad", 3), nullptr);
}

TEST_F(exports, accessors_check_their_arguments) {
  result_ptr r(run({{{"a", d_u08}, {"b", d_u08}}, {{5, {u08(1), u08(2)}}}}));
  ASSERT_NE(r.d, nullptr);
  uint32_t len = 1234;
  EXPECT_EQ(col_name(&len, r.d, -1), nullptr);
  EXPECT_EQ(col_name(&len, r.d, 2), nullptr);
  EXPECT_EQ(col_name(&len, nullptr, 0), nullptr);
  EXPECT_EQ(len, 1234u);  // untouched
  EXPECT_EQ(at(1, 0, r.d), nullptr);
  EXPECT_EQ(at(0, 2, r.d), nullptr);
  EXPECT_EQ(at(~0ull, 0, r.d), nullptr);
  EXPECT_EQ(at(0, 0, nullptr), nullptr);
  EXPECT_EQ(sid_of(r.d, 0), 5u);
  EXPECT_EQ(sid_of(r.d, 1), 0u);
  EXPECT_EQ(sid_of(nullptr, 0), 0u);
  EXPECT_EQ(rows_of(nullptr), 0u);
  EXPECT_EQ(cols_of(nullptr), 0u);
  del_datas(nullptr);
  // A null cell pointer: nothing is written.
  char* p = reinterpret_cast<char*>(1);
  uint64_t n = 9;
  as_str(&p, &n, nullptr);
  EXPECT_EQ(p, reinterpret_cast<char*>(1));
  EXPECT_EQ(n, 9u);
  EXPECT_EQ(val_type(nullptr), -1);
  EXPECT_EQ(as_int64(nullptr), 0);
}

TEST_F(exports, print_writes_the_table_to_standard_output) {
  result_ptr r(run({{{"id", d_u08}, {"name", d_string}}, {{1, {u08(1), text("ab")}}, {2, {u08(22), text("xyz")}}}}));
  ASSERT_NE(r.d, nullptr);
  testing::internal::CaptureStdout();
  print(nullptr);
  print(r.d);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n|-id-|-name-| \n| 1  | ab   |\n| 22 | xyz  |\n");
}

}  // namespace
