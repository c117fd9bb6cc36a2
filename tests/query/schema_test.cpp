// Schema statement builders: exact texts on the wire, refusals that send nothing, replies
// read into lists, and every text parsed whole by the program's grammar.
#include <functional>

#include "query/db_ctx.h"
#include "query/schema_sql.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;
using kk::adt::string::string;

namespace {

text_list list_of(std::initializer_list<const char*> items) {
  text_list l;
  for (const char* i : items) l.push_back(kk::adt::string_from_cstr(i));
  return l;
}

struct built_case {
  const char* what;
  std::function<bool(db_ctx*)> call;
  const char* expected;  // null: refused, nothing sent
};

TEST(schema_builders, exact_texts_and_refusals) {
  const built_case cases[] = {
      {"create two fields",
       [](db_ctx* c) {
         return sql_create_table(c, str("t"), list_of({"a", "b"}), list_of({"i32", "string"}), list_of({"true", "false"}));
       },
       "create table t ( a i32( true ), b string( false ) );"},
      {"create one field",
       [](db_ctx* c) { return sql_create_table(c, str("my table"), list_of({"1st"}), list_of({"datetime"}), list_of({""})); },
       "create table [my table] ( [1st] datetime(  ) );"},
      {"add", [](db_ctx* c) { return sql_alter_add(c, str("t"), str("f"), str("u08"), str("true")); },
       "alter table t add f u08 ( true );"},
      {"modify", [](db_ctx* c) { return sql_alter_modify(c, str("t"), str("a b"), str("double"), str("false")); },
       "alter table t modify [a b] double ( false );"},
      {"rename", [](db_ctx* c) { return sql_alter_rename(c, str("t"), str("old one"), str("2new")); },
       "alter table t rename [old one] [2new];"},
      {"drop field", [](db_ctx* c) { return sql_alter_drop(c, str("t"), str("x]")); },
       "alter table t drop [\\x78\\x5d];"},
      {"drop", [](db_ctx* c) { return sql_drop_table(c, str("my table")); }, "drop table [my table];"},
      {"drop digits", [](db_ctx* c) { return sql_drop_table(c, str("2024")); }, "drop table [2024];"},
      {"truncate", [](db_ctx* c) { return sql_truncate_table(c, str("t")); }, "truncate table t;"},
      // Refusals: nothing reaches the server.
      {"create without fields",
       [](db_ctx* c) { return sql_create_table(c, str("t"), list_of({}), list_of({}), list_of({})); }, nullptr},
      {"create lists of unequal length",
       [](db_ctx* c) { return sql_create_table(c, str("t"), list_of({"a", "b"}), list_of({"i32"}), list_of({"", ""})); },
       nullptr},
      {"create unknown type",
       [](db_ctx* c) { return sql_create_table(c, str("t"), list_of({"a"}), list_of({"int"}), list_of({""})); }, nullptr},
      {"create bad attribute",
       [](db_ctx* c) { return sql_create_table(c, str("t"), list_of({"a"}), list_of({"i32"}), list_of({"x ); drop table t; ("})); },
       nullptr},
      {"create empty field name",
       [](db_ctx* c) { return sql_create_table(c, str("t"), list_of({""}), list_of({"i32"}), list_of({""})); }, nullptr},
      {"create empty table",
       [](db_ctx* c) { return sql_create_table(c, str(""), list_of({"a"}), list_of({"i32"}), list_of({""})); }, nullptr},
      {"add type with injection", [](db_ctx* c) { return sql_alter_add(c, str("t"), str("f"), str("i32 ( ); drop table t"), str("")); },
       nullptr},
      {"add empty field", [](db_ctx* c) { return sql_alter_add(c, str("t"), str(""), str("i32"), str("")); }, nullptr},
      {"modify empty table", [](db_ctx* c) { return sql_alter_modify(c, str(""), str("f"), str("i32"), str("")); }, nullptr},
      {"rename to nothing", [](db_ctx* c) { return sql_alter_rename(c, str("t"), str("a"), str("")); }, nullptr},
      {"drop empty field", [](db_ctx* c) { return sql_alter_drop(c, str("t"), str("")); }, nullptr},
      {"drop empty table", [](db_ctx* c) { return sql_drop_table(c, str("")); }, nullptr},
      {"truncate empty table", [](db_ctx* c) { return sql_truncate_table(c, str("")); }, nullptr},
  };
  for (const auto& k : cases) {
    server srv;
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    db_ctx ctx(str("db"), nullptr);
    const bool ok = k.call(&ctx);
    const auto sent = srv.statements();
    if (!k.expected) {
      EXPECT_FALSE(ok) << k.what;
      EXPECT_TRUE(sent.empty()) << k.what << ": " << (sent.empty() ? "" : sent[0]);
      continue;
    }
    EXPECT_TRUE(ok) << k.what;
    ASSERT_EQ(sent.size(), 1u) << k.what;
    EXPECT_EQ(sent[0], k.expected) << k.what;
    EXPECT_TRUE(parses_whole(sent[0])) << k.what << ": " << sent[0];
  }
}

TEST(schema_builders, a_failed_statement_is_false) {
  server srv;  // every statement answered FAIL
  db_ctx ctx(str("db"), nullptr);
  EXPECT_FALSE(sql_drop_table(&ctx, str("t")));
  EXPECT_FALSE(sql_alter_drop(&ctx, str("t"), str("f")));
  EXPECT_EQ(srv.statements().size(), 2u);
}

peer::result text_rows(std::vector<std::vector<std::string>> rows, size_t cols) {
  peer::result r;
  for (size_t c = 0; c < cols; ++c) r.cols.push_back({"c" + std::to_string(c), peer::d_string});
  uint64_t id = 1;
  for (auto& row : rows) {
    peer::row pr{id++, {}};
    for (auto& v : row) pr.cells.push_back(peer::text(v));
    r.rows.push_back(pr);
  }
  return r;
}

std::vector<std::string> texts(const text_list& l) {
  std::vector<std::string> out;
  for (auto* n = l.head; n; n = n->next) out.push_back(std_of(n->value));
  return out;
}

TEST(sql_fields_of, reads_name_type_and_attributes_per_field) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({{"id", "u64", "Yes"}, {"[a b]", "string", ""}}, 3))));
  db_ctx ctx(str("db"), nullptr);
  text_list names, types, attrs;
  EXPECT_TRUE(sql_fields_of(&ctx, str("my t"), names, types, attrs));
  EXPECT_EQ(srv.statements(), std::vector<std::string>{"fields_of [my t];"});
  EXPECT_EQ(texts(names), (std::vector<std::string>{"id", "[a b]"}));
  EXPECT_EQ(texts(types), (std::vector<std::string>{"u64", "string"}));
  EXPECT_EQ(texts(attrs), (std::vector<std::string>{"Yes", ""}));
}

TEST(sql_fields_of, refuses_a_reply_of_the_wrong_shape_and_an_empty_name) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({{"id", "u64"}}, 2))));
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({}, 3))));
  db_ctx ctx(str("db"), nullptr);
  text_list names, types, attrs;
  EXPECT_FALSE(sql_fields_of(&ctx, str("t"), names, types, attrs));
  EXPECT_EQ(names.count + types.count + attrs.count, 0u);
  EXPECT_FALSE(sql_fields_of(&ctx, str("t"), names, types, attrs)) << "no fields";
  EXPECT_FALSE(sql_fields_of(&ctx, str(""), names, types, attrs));
  EXPECT_EQ(srv.statements().size(), 2u) << "fields_of ; is never sent";
}

TEST(sql_show_tables, reads_the_first_column_and_counts_what_was_there) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({{"a"}, {"b c"}}, 1))));
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({}, 1))));
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({}, 1))));
  srv.peer.push_reply(peer::send(peer::ok_reply(text_rows({{"f1", "i32", ""}}, 3))));
  db_ctx ctx(str("db"), nullptr);
  kk::adt::vector<string> names;
  EXPECT_TRUE(sql_show_tables(&ctx, names));
  ASSERT_EQ(names.size, 2u);
  EXPECT_EQ(std_of(names[1]), "b c");
  kk::adt::vector<string> none;
  EXPECT_FALSE(sql_show_tables(&ctx, none)) << "an empty database";
  EXPECT_TRUE(sql_show_tables(&ctx, names)) << "entries already there count";
  kk::adt::vector<string> fields;
  EXPECT_TRUE(sql_field_names(&ctx, str("t"), fields));
  ASSERT_EQ(fields.size, 1u);
  EXPECT_EQ(std_of(fields[0]), "f1");
  EXPECT_EQ(srv.statements(),
            (std::vector<std::string>{"show tables;", "show tables;", "show tables;", "fields_of t;"}));
}

}  // namespace
