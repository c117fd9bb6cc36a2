#include "grammar/ebnf_tokens.h"

namespace kk::grammar {

const ebnf_token_text ebnf_token_texts[ebnf_token_count] = {
    {"'", 1},  {"'", 1},  {"\"", 1}, {"\"", 1}, {"`", 1},  {"`", 1},  {"(", 1},
    {")", 1},  {"{", 1},  {"}", 1},  {"<", 1},  {">", 1},  {"[", 1},  {"]", 1},
    {"~", 1},  {",", 1},  {"=", 1},  {"|", 1},  {".", 1},  {"!", 1},  {"(*", 2},
    {"*)", 2}, {"//", 2}, {"\n", 1}, {"/*", 2}, {"*/", 2}, {";", 1},
};

namespace {
struct token_table {
  adt::string::string s[ebnf_token_count];
  token_table() {
    for (u64 i = 0; i < ebnf_token_count; ++i)
      s[i] = adt::string_from_bytes(ebnf_token_texts[i].text, ebnf_token_texts[i].size);
  }
};
}  // namespace

const adt::string::string* ebnf_token_strings() {
  static const token_table table;
  return table.s;
}

}  // namespace kk::grammar
