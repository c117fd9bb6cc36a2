#include "dataview/sql_quote.h"

#include "adt/text.h"
#include "grammar/matcher.h"
#include "grammar/sql_library.h"
#include "grammar/sql_rules.h"
#include "query/sql_parse.h"

namespace dataview {

namespace {
std::string std_of(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }
}  // namespace

std::string quoted_name(std::string_view name) { return std_of(quote_name(kk::adt::text_view{name.data(), name.size()})); }

std::string quoted_text(std::string_view text) { return std_of(quote_text(kk::adt::text_view{text.data(), text.size()})); }

bool is_sql_constant(std::string_view text)
{
    using namespace kk::grammar;
    const kk::sql_library* lib = kk::sql_library_instance();
    if (text.empty() || !lib || !lib->rules) return false;
    const grammar_node* rule = lib->rules->slots[1024 + sql::rule_constant].rule;
    if (!rule) return false;
    parse_farthest = nullptr;
    kk::u64 remaining = text.size();
    parse_node* tree = grammar_match(rule, text.data(), &remaining, lib->rules);
    const bool whole = tree && node_end(tree) == text.data() + text.size();
    grammar_free_tree(tree);
    return whole;
}

std::string hex_text_literal(std::string_view text)
{
    const kk::u32 count = static_cast<kk::u32>(text.size());
    const kk::adt::string::string hex = kk::adt::raw_to_hex_text(text.data(), count, kk::adt::cstr_view("\\x"));
    std::string out;
    out.reserve(hex.size + 2);
    out += '"';
    out.append(hex.data ? hex.data : "", hex.size);
    out += '"';
    return out;
}

}  // namespace dataview
