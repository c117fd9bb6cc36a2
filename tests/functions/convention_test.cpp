#include <new>
#include <set>
#include <stdexcept>
#include <string>

#include "function_test_support.h"
#include "functions/function_call.h"

namespace kk::functions::test {
namespace {

TEST(convention, shorter_columns_repeat_their_last_value_and_row_id) {
  column c = col({vi32(1), vtxt("two")}, 40);
  EXPECT_TRUE(same(column_value_at(&c, 0), vi32(1)));
  EXPECT_TRUE(same(column_value_at(&c, 1), vtxt("two")));
  EXPECT_TRUE(same(column_value_at(&c, 9), vtxt("two")));
  EXPECT_EQ(column_row_id_at(&c, 0), 40u);
  EXPECT_EQ(column_row_id_at(&c, 9), 41u);

  const column empty;
  EXPECT_EQ(column_value_at(&empty, 0).type, val_type_null);
  EXPECT_EQ(column_row_id_at(&empty, 3), 0u);

  // The value is a copy of its own: the column's text block is not shared.
  val copy = column_value_at(&c, 5);
  EXPECT_NE(copy.text, c.values[1].text);
}

bool throws_bad_alloc(column* r, const column_list*) {
  column_push(*r, vi32(1));
  throw std::bad_alloc();
}
bool throws_range(column*, const column_list*) { throw std::out_of_range("stod argument out of range"); }
bool succeeds(column*, const column_list*) { return true; }

// Nothing raised inside a function leaves its entry; rows written before stay.
TEST(convention, entries_turn_exceptions_and_missing_pointers_into_false) {
  column r;
  column_list none{nullptr, 0};
  EXPECT_FALSE(forward<throws_bad_alloc>(nullptr, &r, &none));
  EXPECT_EQ(r.values.size, 1u);
  EXPECT_FALSE(forward<throws_range>(nullptr, &r, &none));
  EXPECT_TRUE(forward<succeeds>(nullptr, &r, &none));
  EXPECT_FALSE(forward<succeeds>(nullptr, nullptr, &none));
  EXPECT_FALSE(forward<succeeds>(nullptr, &r, nullptr));
  column_list dangling{nullptr, 2};
  EXPECT_FALSE(forward<succeeds>(nullptr, &r, &dangling));
}

// A caller may convert a column in place: the function reads the arguments as they were.
TEST(convention, a_result_that_is_an_argument_reads_the_old_values) {
  std::vector<column> args = {col({vtxt("1.5"), vtxt("-2"), vtxt("abc")})};
  column_list list{args.data(), 1};
  EXPECT_TRUE(find_sql_function("x2i32")(nullptr, &args[0], &list));
  ASSERT_EQ(args[0].values.size, 3u);
  EXPECT_TRUE(same(args[0].values[1], vi32(-2)));
  EXPECT_TRUE(same(args[0].values[2], vi32(0)));

  // pow's shorter base broadcasts its last value: that value must not be overwritten by the
  // row written in its place before the later rows read it.
  std::vector<column> pw = {col({vdbl(2.0), vdbl(3.0)}), col({vi32(1), vi32(2), vi32(3)})};
  column_list pl{pw.data(), 2};
  EXPECT_TRUE(find_sql_function("pow")(nullptr, &pw[0], &pl));
  ASSERT_EQ(pw[0].values.size, 3u);
  EXPECT_TRUE(same(pw[0].values[1], vdbl(9.0)));
  EXPECT_TRUE(same(pw[0].values[2], vdbl(27.0)));
}

// Count parameters are unsigned integers of any width; wider values saturate rather than
// wrap when narrowed.
TEST(convention, parameters_saturate_when_narrowed) {
  const struct {
    val v;
    u64 as_u64;
    u32 as_u32;
    u8 as_u08;
  } cases[] = {
      {vu08(200), 200, 200, 200},
      {vu16(300), 300, 300, 255},
      {vu32(0xffffffffu), 0xffffffffu, 0xffffffffu, 255},
      {vu64(0x100000001ull), 0x100000001ull, 0xffffffffu, 255},
      {vu64(7), 7, 7, 7},
  };
  for (const auto& c : cases) {
    column k = col({c.v});
    EXPECT_EQ(param_u64(k), c.as_u64) << show(c.v);
    EXPECT_EQ(param_u32(k), c.as_u32) << show(c.v);
    EXPECT_EQ(param_u08(k), c.as_u08) << show(c.v);
  }
}

TEST(convention, first_value_kind_checks) {
  EXPECT_TRUE(kind_in(vu16(1), kind_unsigned));
  EXPECT_FALSE(kind_in(vi16(1), kind_unsigned));
  EXPECT_FALSE(kind_in(vtxt("1"), kind_unsigned));
  EXPECT_TRUE(kind_in(vi16(1), kind_number));
  EXPECT_TRUE(kind_in(vnull(), kind_any));
  val malformed = vi32(1);
  malformed.type = 9;
  EXPECT_FALSE(kind_in(malformed, kind_any));

  // Only the first value is looked at.
  column c = col({vtxt("a"), vi32(2)});
  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(first_kind_is(c, kind_text, "ucase"));
  EXPECT_FALSE(first_kind_is(c, kind_number, "ucase"));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "unsupport type in function ucase\n");
}

TEST(convention, registry_finds_exact_names_only) {
  const char* names[] = {"x2i08", "x2i16", "x2i32", "x2i64", "x2u08", "x2u16", "x2u32",
                         "x2u64", "x2flt", "x2dbl", "x2str", "x2date", "x2time", "x2datetime",
                         "raw2hex", "hex2raw", "abs", "ceil", "round", "exp", "floor",
                         "pow", "pi", "e", "sqrt", "log", "log2", "log10", "log1p",
                         "sin", "cos", "tan", "asin", "acos", "atan"};
  for (const char* n : names) EXPECT_NE(find_sql_function(n), nullptr) << n;
  EXPECT_EQ(find_sql_function("ab"), nullptr);
  EXPECT_EQ(find_sql_function("ABS"), nullptr);
  EXPECT_EQ(find_sql_function("abs "), nullptr);
  EXPECT_EQ(find_sql_function(""), nullptr);
  EXPECT_EQ(find_sql_function(adt::text_view{"absolute", 3}), find_sql_function("abs"));
  EXPECT_EQ(find_sql_function(adt::text_view{"abs\0", 4}), nullptr);

  std::set<std::string> seen;
  for (const sql_function_def& d : sql_function_defs()) {
    EXPECT_TRUE(seen.insert(d.name).second) << d.name << " is registered twice";
    EXPECT_NE(d.entry, nullptr) << d.name;
  }
}

}  // namespace
}  // namespace kk::functions::test
