// The catalogue server's statement reader on its own.
#include <gtest/gtest.h>

#include "tests/peer/cat_parse.h"

namespace {

using namespace peer::sql;

TEST(cat_parse, statement_forms_the_client_sends_and_forms_it_refuses) {
  using K = statement::kind_t;
  struct {
    const char* text;
    bool ok;
    K kind;
  } cases[] = {
      {"show tables;", true, K::show_tables},
      {"fields_of [my table];", true, K::fields_of},
      {"create table t ( a i32( true ), b string(  ) );", true, K::create},
      {"create table t ( a i32( true, false ) );", true, K::create},
      {"alter table t add c u08 ( true );", true, K::alter},
      {"alter table t modify c u16 (  );", true, K::alter},
      {"alter table t rename [a b] c;", true, K::alter},
      {"alter table t drop a;", true, K::alter},
      {"drop table [2024];", true, K::drop},
      {"truncate table t;", true, K::truncate},
      {"atom_exec  update t set b = \"x\" where __id == 5; insert into t ( a, b ) values ( \"abc\", \"abc\" );"
       "delete from t where __id == 7; commit;",
       true, K::atom},
      {"atom_exec  commit;", true, K::atom},
      {"update t set b = \"x\" where __id == 5", true, K::update},
      {"select a, b from t where first 1000 && a == 1 order by a asc;", true, K::select},
      {"select * from t where first 5 && (a==1 || b != \"q\") project except b rename a z first 3;", true, K::select},
      {"select * from t export as csv split by \",\" path+=\"/tmp/x.csv\";", true, K::select},
      {"select * from t where a == 1 export as csvs split by \"\t\" as raw;", true, K::select},
      {"save t as bin as raw;", true, K::save},
      {"save t as sql path=\"p\";", true, K::save},
      {"backup as bin path+=\"p\";", true, K::backup},
      {"restore from sql from raw \"\\x61\\x62\\x0a\";", true, K::restore},
      {"load t from bin path=\"p\";", true, K::load},
      {"import t from csvs split by \";\" from raw \"\\x61\";", true, K::import},
      {"select * from t /* a /* nested */ comment */ where a == 1 # to the end", true, K::select},
      {"insert into t ( a ) values ( 1 ), ( 2 ) ( 3 );", true, K::insert},
      // Refused: not the dialect, or beyond what the catalogue evaluates.
      {"SELECT * from t;", false, K::select},
      {"select  from t where first 1000;", false, K::select},
      {"select * from t;\r\n", false, K::select},  // a carriage return is no blank
      {"select * from t; select * from u;", false, K::select},
      {"select * from t where a == 1 group sum(a) by id, name;", false, K::select},
      {"select * from t order by a rand;", false, K::select},
      {"select * from t where a == any (1, 2);", false, K::select},
      {"select a + 1 from t;", false, K::select},
      {"update t set a += 1 where __id == 1;", false, K::update},
      {"insert into t ( a ) select a from u;", false, K::insert},
      {"fields_of ;", false, K::fields_of},
      {"select * from t /* open", false, K::select},
      {"select * from t where a == \"open;", false, K::select},
      {"update t set a = 18446744073709551616;", false, K::update},
      {"rows_of t;", false, K::select},
  };
  for (const auto& c : cases) {
    auto st = parse_statement(c.text);
    EXPECT_EQ(st.has_value(), c.ok) << c.text;
    if (st && c.ok) {
      EXPECT_EQ(st->kind, c.kind) << c.text;
    }
  }
}

TEST(cat_parse, names_and_strings_are_decoded) {
  auto st = parse_statement("insert into [\\x61\\x5d\\x62] ( [a b], _x1 ) values ( \"p\" \"\\\"q\\n\" @\"d(r\"s)d\", \"\\u00e9\\U0001F600\" );");
  ASSERT_TRUE(st);
  const auto& ins = std::get<insert_stmt>(st->body);
  EXPECT_EQ(ins.table, "a]b");
  ASSERT_EQ(ins.fields.size(), 2u);
  EXPECT_EQ(ins.fields[0], "a b");
  EXPECT_EQ(ins.fields[1], "_x1");
  ASSERT_EQ(ins.rows.size(), 1u);
  EXPECT_EQ(ins.rows[0][0].bytes, "p\"q\nr\"s");
  EXPECT_EQ(ins.rows[0][1].bytes, "\xC3\xA9\xF0\x9F\x98\x80");
  // A name may not hold a raw newline or '['; a string may not hold a raw newline.
  EXPECT_FALSE(parse_statement("drop table [a\nb];"));
  EXPECT_FALSE(parse_statement("drop table [a[b];"));
  EXPECT_FALSE(parse_statement("update t set a = \"x\ny\";"));
  EXPECT_FALSE(parse_statement("update t set a = \"\\q\";"));
}

TEST(cat_parse, numbers_keep_sign_base_and_kind) {
  auto st = parse_statement("update t set a = -0x80, b = 0b101u1, c = +1.5e3f, d = 18446744073709551615, e = -0, f = .5");
  // ".5" is no number of the dialect: a fraction needs its digits before the point.
  EXPECT_FALSE(st);
  st = parse_statement("update t set a = -0x80, b = 0b101u1, c = +1.5e3f, d = 18446744073709551615, e = -0, f = 7.");
  ASSERT_TRUE(st);
  const auto& u = std::get<update_stmt>(st->body);
  ASSERT_EQ(u.sets.size(), 6u);
  EXPECT_EQ(u.sets[0].value.kind, literal::integer);
  EXPECT_TRUE(u.sets[0].value.negative);
  EXPECT_EQ(u.sets[0].value.magnitude, 0x80u);
  EXPECT_EQ(u.sets[1].value.magnitude, 5u);
  EXPECT_EQ(u.sets[2].value.kind, literal::real);
  EXPECT_EQ(u.sets[2].value.number, 1500.0);
  EXPECT_EQ(u.sets[3].value.magnitude, 18446744073709551615ull);
  EXPECT_FALSE(u.sets[4].value.negative);
  EXPECT_EQ(u.sets[5].value.kind, literal::real);
  EXPECT_EQ(u.sets[5].value.number, 7.0);
  // A sign apart from its digits is no part of the number.
  EXPECT_FALSE(parse_statement("update t set a = - 1"));
  EXPECT_FALSE(parse_statement("update t set a = 12ab"));
}

TEST(cat_parse, where_structure_and_precedence) {
  auto st = parse_statement("select * from t where first 10 && a == 1 || (b < 2 && 1 <= c < 3) || d not in (1, 2) && e max");
  ASSERT_TRUE(st);
  const auto& w = *std::get<select_stmt>(st->body).where;
  ASSERT_EQ(w.kind, cond::any_of);
  ASSERT_EQ(w.kids.size(), 3u);
  EXPECT_EQ(w.kids[0].kind, cond::all_of);
  EXPECT_EQ(w.kids[0].kids[0].kind, cond::position);
  EXPECT_EQ(w.kids[0].kids[0].a, 10u);
  EXPECT_EQ(w.kids[1].kind, cond::all_of);
  EXPECT_EQ(w.kids[1].kids[1].kind, cond::between);
  EXPECT_EQ(w.kids[1].kids[1].op, "<=");
  EXPECT_EQ(w.kids[1].kids[1].op2, "<");
  EXPECT_EQ(w.kids[2].kids[0].kind, cond::in_set);
  EXPECT_TRUE(w.kids[2].kids[0].negate);
  EXPECT_EQ(w.kids[2].kids[1].kind, cond::extreme);
  EXPECT_EQ(w.kids[2].kids[1].a, 1u);
  // A field named like a position word is still a field before a comparison.
  st = parse_statement("select * from t where first == 2");
  ASSERT_TRUE(st);
  EXPECT_EQ(std::get<select_stmt>(st->body).where->kind, cond::compare);
  // Mixed directions of a range are refused.
  EXPECT_FALSE(parse_statement("select * from t where 1 < a > 3"));
}

TEST(cat_parse, scripts_of_several_statements) {
  auto s = parse_script("create table t ( a i32(  ) );\ninsert into t ( a ) values ( 1 );\n# done\n");
  ASSERT_TRUE(s);
  ASSERT_EQ(s->size(), 2u);
  EXPECT_EQ((*s)[1].kind, statement::insert);
  EXPECT_FALSE(parse_script("create table t ( a i32(  ) ); nonsense;"));
  EXPECT_FALSE(parse_script("\xff\xfe binary"));
}

}  // namespace
