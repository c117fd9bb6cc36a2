#include "grammar/ebnf_tokens.h"

#include "grammar/startup_product.h"

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

constinit startup_product<token_table> tokens;
}  // namespace

const adt::string::string* ebnf_token_strings() { return tokens.get().s; }
void ebnf_token_strings_build() { tokens.build(); }
void ebnf_token_strings_release() noexcept { tokens.release(); }

}  // namespace kk::grammar
