#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "contract_test.h"
#include "functions/text_functions.h"
#include "grammar/regex_engine.h"
#include "sqllib/sql_library.h"

namespace kk::functions::test {
namespace {

const std::string e_acute = "\xc3\xa9";

std::vector<contract_case> text_cases() {
  const std::string msg = "unsupport type in function ";
  const std::vector<val> texts = {vtxt("Ab c"), vtxt(""), vtxt(" x" + e_acute + " "), vtxt("abcabc")};
  std::vector<contract_case> cases;
  for (const char* name : {"lcase", "ucase", "length"})
    cases.push_back({name, 1, {kind_text}, msg + name + "\n", 1, false, result_shape::one_arg_scalar, {texts}});
  for (const char* name : {"trim_l", "trim_r", "trim"})
    cases.push_back({name, 1, {kind_text}, "", 1, false, result_shape::one_arg_scalar, {texts}});
  for (const char* name : {"concat", "starts", "contain", "ends", "find_first", "find_last", "find_first_of",
                           "find_last_of"})
    cases.push_back({name, 2, {kind_text, kind_text}, msg + name + "\n", 2, false, result_shape::many_arg_scalar,
                     {texts, {vtxt("bc")}}});
  cases.push_back({"substr", 3, {kind_any, kind_integer, kind_integer}, "", 3, false, result_shape::many_arg_scalar,
                   {texts, {vi32(1)}, {vu08(2)}}});
  cases.push_back({"replace", 4, {kind_text, kind_integer, kind_integer, kind_text}, "", 4, false,
                   result_shape::many_arg_scalar, {{vtxt("abcd"), vtxt("xyz")}, {vi32(1)}, {vu08(1)}, {vtxt("Q")}}});
  // Row ids follow the first argument; a third argument is optional.
  cases.push_back({"fuzzy_match", 2, {kind_text, kind_text}, msg + "fuzzy_match\n", 2, false,
                   result_shape::own_shape, {texts, {vtxt("bc")}}, true});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(text, function_contract, ::testing::ValuesIn(text_cases()),
                         [](const auto& info) { return std::string(info.param.name) + "_" + std::to_string(info.index); });

// What one function gives for one row of arguments.
struct row_case {
  const char* name;
  std::vector<val> args;
  val want;
};

void expect_rows(const std::vector<row_case>& cases) {
  for (const row_case& c : cases) {
    std::vector<column> args;
    for (const val& a : c.args) args.push_back(col({a}));
    column r;
    call_outcome out = call(c.name, r, args);
    const std::string what = std::string(c.name) + "(" + (c.args.empty() ? "" : show(c.args[0])) + ", ...)";
    ASSERT_TRUE(out.ok) << what << " printed " << out.printed;
    ASSERT_EQ(r.values.size, 1u) << what;
    EXPECT_TRUE(same(r.values[0], c.want)) << what << ": " << show(r.values[0]) << " vs " << show(c.want);
  }
}

const u64 npos = ~0ull;

TEST(text_functions, exact_results_on_ascii_multibyte_and_empty_texts) {
  const std::string cafe = "caf" + e_acute;
  expect_rows({
      {"lcase", {vtxt("AbC-Z@[")}, vtxt("abc-z@[")},
      {"lcase", {vtxt("\xc3\x89")}, vtxt("\xc3\x89")},
      {"lcase", {vtxt("")}, vtxt("")},
      {"ucase", {vtxt("abc-z`{")}, vtxt("ABC-Z`{")},
      {"ucase", {vtxt(cafe)}, vtxt("CAF" + e_acute)},
      {"ucase", {vtxt("")}, vtxt("")},
      {"length", {vtxt(e_acute)}, vu64(2)},
      {"length", {vtxt("")}, vu64(0)},
      {"concat", {vtxt("ab"), vtxt(e_acute)}, vtxt("ab" + e_acute)},
      {"concat", {vtxt(""), vtxt("")}, vtxt("")},
      {"starts", {vtxt("abc"), vtxt("")}, vu08(1)},
      {"starts", {vtxt("abc"), vtxt("ab")}, vu08(1)},
      {"starts", {vtxt("ab"), vtxt("abc")}, vu08(0)},
      {"starts", {vtxt(cafe), vtxt("caf\xc3")}, vu08(1)},
      {"ends", {vtxt("abc"), vtxt("")}, vu08(1)},
      {"ends", {vtxt(cafe), vtxt(e_acute)}, vu08(1)},
      {"ends", {vtxt("abc"), vtxt("ab")}, vu08(0)},
      {"contain", {vtxt("abc"), vtxt("")}, vu08(0)},
      {"contain", {vtxt(""), vtxt("")}, vu08(0)},
      {"contain", {vtxt(cafe), vtxt("f" + e_acute)}, vu08(1)},
      {"contain", {vtxt("abc"), vtxt("B")}, vu08(0)},
      {"find_first", {vtxt("abcabc"), vtxt("bc")}, vu64(1)},
      {"find_last", {vtxt("abcabc"), vtxt("bc")}, vu64(4)},
      {"find_first", {vtxt("abc"), vtxt("x")}, vu64(npos)},
      {"find_first", {vtxt("abc"), vtxt("")}, vu64(npos)},
      {"find_last", {vtxt(""), vtxt("a")}, vu64(npos)},
      {"find_first", {vtxt(cafe + cafe), vtxt(e_acute)}, vu64(3)},
      {"find_last", {vtxt(cafe + cafe), vtxt(e_acute)}, vu64(8)},
      {"find_first_of", {vtxt("hello"), vtxt("lo")}, vu64(2)},
      {"find_last_of", {vtxt("hello"), vtxt("lo")}, vu64(3)},
      {"find_first_of", {vtxt("hello"), vtxt("")}, vu64(npos)},
      {"find_last_of", {vtxt(""), vtxt("a")}, vu64(npos)},
      {"find_first_of", {vtxt(cafe), vtxt("\xa9")}, vu64(4)},
      {"substr", {vtxt("abcdef"), vi32(2), vi32(3)}, vtxt("cde")},
      {"substr", {vtxt("abcdef"), vi32(4), vi32(10)}, vtxt("ef")},
      {"substr", {vtxt("abc"), vi32(5), vi32(1)}, vtxt("")},
      {"substr", {vtxt(cafe), vi32(3), vi32(1)}, vtxt("\xc3")},
      {"substr", {vtxt(""), vi32(0), vi32(1)}, vtxt("")},
      {"substr", {vi32(77), vi32(0), vi32(1)}, vtxt("")},
      {"replace", {vtxt("abcdef"), vi32(1), vi32(2), vtxt("XYZ")}, vtxt("aXYZdef")},
      {"replace", {vtxt("abc"), vi32(1), vi32(0), vtxt("X")}, vtxt("abc")},
      {"replace", {vtxt("abc"), vi32(3), vi32(0), vtxt("X")}, vtxt("abc")},
      {"replace", {vtxt(cafe), vi32(3), vi32(2), vtxt("e")}, vtxt("cafe")},
      {"replace", {vtxt("abc"), vi32(0), vi32(3), vtxt("")}, vtxt("")},
      {"trim", {vtxt("  ab\t")}, vtxt("ab\t")},
      {"trim", {vtxt("   ")}, vtxt("")},
      {"trim", {vtxt("")}, vtxt("")},
      {"trim_l", {vtxt("  a b  ")}, vtxt("a b  ")},
      {"trim_r", {vtxt("  a b  ")}, vtxt("  a b")},
      {"trim_r", {vtxt("\na \n")}, vtxt("\na \n")},
      {"trim", {vtxt(" " + e_acute + " ")}, vtxt(e_acute)},
  });
}

// Positions and counts are added in 64 bits: a count of 2^32 - 1 cuts at the end of the
// text instead of wrapping into a short window.
TEST(text_functions, positions_do_not_wrap) {
  const u32 big = 4294967295u;
  expect_rows({
      {"substr", {vtxt("abcdef"), vi32(2), vu32(big)}, vtxt("cdef")},
      {"substr", {vtxt("abcdef"), vu32(big), vu32(2)}, vtxt("")},
      {"substr", {vtxt("abcdef"), vi32(-1), vi32(2)}, vtxt("")},
  });
  // Only first values are tested for their kind; a later text position is parsed.
  std::vector<column> args = {col({vtxt("abcdef")}), col({vi32(0), vtxt("2")}), col({vi32(1), vtxt("3")})};
  column r;
  ASSERT_TRUE(call("substr", r, args).ok);
  ASSERT_EQ(r.values.size, 2u);
  EXPECT_TRUE(same(r.values[1], vtxt("cde"))) << show(r.values[1]);
}

TEST(text_functions, replace_outside_the_text_fails_keeping_the_rows_done) {
  const u32 big = 4294967295u;
  for (const std::vector<val>& pk : std::vector<std::vector<val>>{{vi32(2), vi32(5)},
                                                                    {vi32(4), vi32(0)},
                                                                    {vi32(1), vu32(big)},
                                                                    {vu32(big), vi32(2)}}) {
    std::vector<column> args = {col({vtxt("abcdef"), vtxt("abc")}), col({vi32(0), pk[0]}), col({vi32(1), pk[1]}),
                                col({vtxt("X")})};
    column r;
    call_outcome out = call("replace", r, args);
    EXPECT_FALSE(out.ok) << show(pk[0]) << " " << show(pk[1]);
    EXPECT_EQ(out.printed, "");
    ASSERT_GE(r.values.size, 1u);
    EXPECT_TRUE(same(r.values[0], vtxt("Xbcdef")));
  }
}

TEST(text_functions, results_too_long_for_a_cell_are_null_for_that_row) {
  const std::string big(40000, 'x');
  std::vector<column> args = {col({vtxt(big), vtxt("a")}), col({vtxt(big)})};
  column r;
  ASSERT_TRUE(call("concat", r, args).ok);
  ASSERT_EQ(r.values.size, 2u);
  EXPECT_EQ(r.values[0].type, val_type_null);
  EXPECT_EQ(r.values[1].len, 40001u);
  std::vector<column> rep = {col({vtxt(big), vtxt("ab")}), col({vi32(0)}), col({vi32(1)}), col({vtxt(big)})};
  ASSERT_TRUE(call("replace", r, rep).ok);
  ASSERT_EQ(r.values.size, 2u);
  EXPECT_EQ(r.values[0].type, val_type_null);
  EXPECT_EQ(r.values[1].len, 40001u);
  // Exactly 65535 bytes still fit.
  std::vector<column> edge = {col({vtxt(std::string(65535 - 3, 'y'))}), col({vtxt("abc")})};
  ASSERT_TRUE(call("concat", r, edge).ok);
  EXPECT_EQ(r.values[0].len, 65535u);
}

TEST(text_functions, fuzzy_match_distances_and_thresholds) {
  expect_rows({
      {"fuzzy_match", {vtxt("hello world"), vtxt("wrld")}, vu08(1)},
      {"fuzzy_match", {vtxt("abc"), vtxt("xyz"), vu08(1)}, vu08(0)},
      {"fuzzy_match", {vtxt("abc"), vtxt("xyz"), vu08(3)}, vu08(1)},
      {"fuzzy_match", {vtxt("abc"), vtxt("")}, vu08(0)},
      {"fuzzy_match", {vtxt(""), vtxt("a")}, vu08(0)},
      {"fuzzy_match", {vtxt("xabcx"), vtxt("abc"), vu08(0)}, vu08(1)},  // 0: half of |p| = 1
      {"fuzzy_match", {vtxt("ab"), vtxt("abcd")}, vu08(1)},             // shorter a: d = 2 <= 2
      {"fuzzy_match", {vtxt("ab"), vtxt("abcde")}, vu08(0)},            // d = 3 > 2
      // A threshold of 300 saturates at 255 instead of wrapping to 44.
      {"fuzzy_match", {vtxt("x"), vtxt(std::string(100, 'y')), vu16(300)}, vu08(1)},
      // Arguments past the third are ignored.
      {"fuzzy_match", {vtxt("abc"), vtxt("xyz"), vu08(1), vtxt("any")}, vu08(0)},
  });
  // The third argument's first value must be an unsigned integer, and it may not be empty.
  for (const std::vector<column>& bad : std::vector<std::vector<column>>{
           {col({vtxt("a")}), col({vtxt("a")}), col({vi32(1)})},
           {col({vtxt("a")}), col({vtxt("a")}), col({vtxt("1")})}}) {
    std::vector<column> args = bad;
    column r;
    call_outcome out = call("fuzzy_match", r, args);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.printed, "unsupport type in function fuzzy_match\n");
  }
  std::vector<column> empty_third = {col({vtxt("a")}), col({vtxt("a")}), column{}};
  column r;
  EXPECT_FALSE(call("fuzzy_match", r, empty_third).ok);
  std::vector<u32> r0(16), r1(16);
  struct dist_case {
    const char* a;
    const char* b;
    u64 limit;
    u64 want;
  };
  for (const dist_case& c : std::vector<dist_case>{{"kitten", "sitting", 10, 3},
                                                    {"kitten", "sitting", 2, 3},
                                                    {"", "abc", 9, 3},
                                                    {"abc", "abc", 0, 0},
                                                    {"flaw", "lawn", 9, 2},
                                                    {"abcdef", "ghijkl", 1, 2}}) {
    EXPECT_EQ(edit_distance_within(c.a, std::strlen(c.a), c.b, std::strlen(c.b), c.limit, r0.data(), r1.data()),
              c.want)
        << c.a << " / " << c.b;
  }
}

// The banded, early-stopping distance against the full table on random short texts over a
// small alphabet: equal whenever the distance is within the limit, above it otherwise.
TEST(text_functions, edit_distance_within_matches_the_full_table) {
  std::mt19937 rng(99);
  std::vector<u32> r0(40), r1(40);
  for (int round = 0; round < 3000; ++round) {
    std::string a(rng() % 12, 'a'), b(rng() % 12, 'a');
    for (char& c : a) c = char('a' + rng() % 3);
    for (char& c : b) c = char('a' + rng() % 3);
    std::vector<std::vector<u64>> t(a.size() + 1, std::vector<u64>(b.size() + 1));
    for (u64 i = 0; i <= a.size(); ++i)
      for (u64 j = 0; j <= b.size(); ++j)
        t[i][j] = i == 0 ? j : j == 0 ? i
                  : std::min({t[i - 1][j] + 1, t[i][j - 1] + 1, t[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
    const u64 full = t[a.size()][b.size()];
    const u64 limit = rng() % 14;
    const u64 got = edit_distance_within(a.data(), a.size(), b.data(), b.size(), limit, r0.data(), r1.data());
    if (full <= limit) EXPECT_EQ(got, full) << a << " / " << b << " limit " << limit;
    else EXPECT_GT(got, limit) << a << " / " << b << " limit " << limit;
  }
}

TEST(text_functions, fuzzy_match_keeps_the_first_arguments_row_ids) {
  std::vector<column> args = {col({vtxt("hello"), vtxt("help"), vtxt("zzz")}, 40), col({vtxt("hel")})};
  column r;
  ASSERT_TRUE(call("fuzzy_match", r, args).ok);
  ASSERT_EQ(r.values.size, 3u);
  EXPECT_EQ(std::vector<u64>(r.ids.begin(), r.ids.end()), (std::vector<u64>{40, 41, 42}));
  EXPECT_TRUE(same(r.values[2], vu08(0)));
  // A shorter first argument repeats its last row id.
  std::vector<column> longer = {col({vtxt("hello")}, 40), col({vtxt("hel"), vtxt("xyz")})};
  ASSERT_TRUE(call("fuzzy_match", r, longer).ok);
  EXPECT_EQ(std::vector<u64>(r.ids.begin(), r.ids.end()), (std::vector<u64>{40, 40}));
}

// ------------------------------------------------------------------ reg_match

struct library_fixture : ::testing::Test {
  sql_library lib;
  void SetUp() override { ASSERT_TRUE(lib.context.regex_ready = grammar::regex_engine_init(&lib.context.regex)); }
  void TearDown() override { grammar::regex_engine_free(&lib.context.regex); }

  call_outcome match(column& r, std::vector<column>& args, sql_library* self) {
    sql_function f = find_sql_function("reg_match");
    EXPECT_NE(f, nullptr);
    column_list list{args.data(), args.size()};
    ::testing::internal::CaptureStdout();
    const bool ok = f(self, &r, &list);
    return {ok, ::testing::internal::GetCapturedStdout()};
  }
};

TEST_F(library_fixture, reg_match_matches_whole_texts_through_the_library_engine) {
  std::vector<column> args = {col({vtxt("abc"), vtxt("abd"), vtxt("ab")}, 20), col({vtxt("ab.")})};
  column r;
  call_outcome out = match(r, args, &lib);
  ASSERT_TRUE(out.ok) << out.printed;
  ASSERT_EQ(r.values.size, 3u);
  EXPECT_EQ(std::vector<u64>(r.ids.begin(), r.ids.end()), (std::vector<u64>{20, 21, 22}));
  EXPECT_TRUE(same(r.values[0], vi32(1)));
  EXPECT_TRUE(same(r.values[1], vi32(1)));
  EXPECT_TRUE(same(r.values[2], vi32(0)));
  EXPECT_EQ(std::string(lib.context.regex.pattern.data, lib.context.regex.pattern.size), "ab.") << "the engine caches by bytes";

  std::vector<column> prefix = {col({vtxt("abc"), vtxt("abd")}), col({vtxt("ab")})};
  ASSERT_TRUE(match(r, prefix, &lib).ok);
  EXPECT_TRUE(same(r.values[0], vi32(0)));
  EXPECT_TRUE(same(r.values[1], vi32(0)));

  // A pattern per row, an invalid one among them, and a multi-byte subject (the engine
  // reads a pattern's dot as one code point).
  std::vector<column> per_row = {col({vtxt("aaa"), vtxt("x"), vtxt(e_acute), vtxt("")}),
                                 col({vtxt("a*"), vtxt("("), vtxt("."), vtxt("a*")})};
  ASSERT_TRUE(match(r, per_row, &lib).ok);
  ASSERT_EQ(r.values.size, 4u);
  EXPECT_TRUE(same(r.values[0], vi32(1)));
  EXPECT_TRUE(same(r.values[1], vi32(0)));
  EXPECT_TRUE(same(r.values[2], vi32(1)));
  EXPECT_TRUE(same(r.values[3], vi32(1)));
}

// The cache compares pattern bytes: a pattern cell rewritten in place (same block, same
// address) is compiled again.
TEST_F(library_fixture, reg_match_cache_is_keyed_by_pattern_bytes) {
  std::vector<column> args = {col({vtxt("ab")}), col({vtxt("a.")})};
  column r;
  ASSERT_TRUE(match(r, args, &lib).ok);
  EXPECT_TRUE(same(r.values[0], vi32(1)));
  char* block = args[1].values[0].text;
  block[0] = 'x';
  ASSERT_TRUE(match(r, args, &lib).ok);
  EXPECT_EQ(args[1].values[0].text, block);
  EXPECT_TRUE(same(r.values[0], vi32(0))) << "x. does not match ab";
  block[0] = 'a';
  ASSERT_TRUE(match(r, args, &lib).ok);
  EXPECT_TRUE(same(r.values[0], vi32(1)));
}

TEST_F(library_fixture, reg_match_checks) {
  column r = col({vtxt("old")}, 7);
  std::vector<column> empty_subjects = {column{}, col({vi32(1)})};
  call_outcome out = match(r, empty_subjects, &lib);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.printed, "");
  EXPECT_EQ(r.values.size, 0u) << "an empty first argument gives an empty result";

  struct bad {
    std::vector<column> args;
    std::string printed;
  };
  std::vector<bad> cases;
  cases.push_back({{col({vi32(1)}), col({vtxt("a")})}, "unsupport function reg_match\n"});
  cases.push_back({{col({vtxt("a")}), col({vi32(1)})}, "unsupport function reg_match\n"});
  cases.push_back({{col({vtxt("a")}), column{}}, "unsupport function reg_match\n"});
  cases.push_back({{col({vtxt("a")})}, ""});
  cases.push_back({{col({vtxt("a")}), col({vtxt("a")}), col({vtxt("a")})}, ""});
  for (bad& c : cases) {
    column s = col({vtxt("old")}, 7);
    out = match(s, c.args, &lib);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.printed, c.printed);
    EXPECT_EQ(s.values.size, 1u);
  }
  // Without a library object there is no engine: the call fails.
  std::vector<column> args = {col({vtxt("a")}), col({vtxt("a")})};
  column s;
  EXPECT_FALSE(match(s, args, nullptr).ok);
}

// The result column may be the pattern column itself: every row still sees its pattern.
TEST_F(library_fixture, reg_match_into_its_own_argument) {
  std::vector<column> args = {col({vtxt("ab"), vtxt("cd"), vtxt("cx")}), col({vtxt("a."), vtxt("c.")})};
  call_outcome out = match(args[1], args, &lib);
  ASSERT_TRUE(out.ok);
  ASSERT_EQ(args[1].values.size, 3u);
  EXPECT_TRUE(same(args[1].values[0], vi32(1)));
  EXPECT_TRUE(same(args[1].values[1], vi32(1)));
  EXPECT_TRUE(same(args[1].values[2], vi32(1)));
}

}  // namespace
}  // namespace kk::functions::test
