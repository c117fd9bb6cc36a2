#include "dataview/sql_quote.h"

#include <vector>

#include "adt/text.h"
#include "grammar/ebnf_kind.h"
#include "grammar/grammar_node.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
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
    const grammar_node* rule = lib->rules->slots[rule_ref_base + sql::rule_constant].rule;
    if (!rule) return false;
    parse_farthest = nullptr;
    kk::u64 remaining = text.size();
    parse_node* tree = grammar_match(rule, text.data(), &remaining, lib->rules);
    const bool whole = tree && node_end(tree) == text.data() + text.size();
    grammar_free_tree(tree);
    return whole;
}

bool ends_in_line_comment(std::string_view text)
{
    return sql_ends_in_line_comment(kk::adt::text_view{text.data(), text.size()});
}

namespace {

// The end of one match of a rule at p (at most end - p bytes), or null.
const char* rule_end(kk::u16 r, const char* p, const char* end)
{
    using namespace kk::grammar;
    const kk::sql_library* lib = kk::sql_library_instance();
    const grammar_node* rule = lib->rules->slots[rule_ref_base + r].rule;
    if (!rule) return nullptr;
    parse_farthest = nullptr;
    kk::u64 left = static_cast<kk::u64>(end - p);
    parse_node* t = grammar_match(rule, p, &left, lib->rules);
    const char* e = t ? node_end(t) : nullptr;
    grammar_free_tree(t);
    return e;
}

}  // namespace

open_part open_at_end(std::string_view text)
{
    namespace sql = kk::grammar::sql;
    const kk::sql_library* lib = kk::sql_library_instance();
    if (text.empty() || !lib || !lib->rules) return open_part::none;
    const char* p = text.data();
    const char* const end = p + text.size();
    size_t depth = 0;
    // Token by token where a token opens (each read by its own rule, so that what it holds
    // opens nothing), byte by byte elsewhere. The first terminator closes a token, so one
    // that closes within the text closes at the same place in anything that extends it.
    while (p < end) {
        const char c = *p;
        const char next = p + 1 < end ? p[1] : '\0';
        kk::u16 rule = sql::rule_count;
        open_part part = open_part::none;
        if (c == '#' || (c == '/' && (next == '/' || next == '*'))) {
            rule = sql::rule_comment;
            part = open_part::comment;
        } else if (c == '"' || (c == '@' && next == '"')) {
            rule = sql::rule_string;
            part = open_part::string;
        } else if (c == '\'') {
            rule = sql::rule_character;
            part = open_part::character;
        } else if (c == '[') {
            rule = sql::rule_field_or_table_string;
            part = open_part::name;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        }
        if (rule == sql::rule_count) {
            ++p;
            continue;
        }
        const char* e = rule_end(rule, p, end);
        if (!e || e == p) return part;
        p = e;
    }
    return depth > 0 ? open_part::parenthesis : open_part::none;
}

condition_span where_condition(std::string_view filter)
{
    using namespace kk::grammar;
    condition_span span;
    const kk::sql_library* lib = kk::sql_library_instance();
    if (filter.empty() || !lib || !lib->rules) return span;
    const char* const begin = filter.data();
    const char* const end = begin + filter.size();
    // The blanks and comments before the condition.
    const char* p = begin;
    if (const grammar_node* igs = lib->rules->slots[rule_ref_base + sql::rule_igs].rule) {
        parse_farthest = nullptr;
        kk::u64 left = filter.size();
        parse_node* t = grammar_match(igs, p, &left, lib->rules);
        if (t) p = node_end(t);
        grammar_free_tree(t);
    }
    span.start = span.end = static_cast<size_t>(p - begin);
    const grammar_node* cond = lib->rules->slots[rule_ref_base + sql::rule_where_cond].rule;
    if (!cond || p == end) return span;
    parse_farthest = nullptr;
    kk::u64 left = static_cast<kk::u64>(end - p);
    parse_node* tree = grammar_match(cond, p, &left, lib->rules);
    if (!tree) return span;
    span.end = static_cast<size_t>(node_end(tree) - begin);
    // The condition's own "||" chain: the "&&" chains directly in it, not those inside
    // parentheses (which sit in a nested condition of a chain).
    std::vector<parse_node*> ors, ands;
    collect_nodes_if(tree, [](kk::u16 id) { return id == sql::id_where_or_expr; }, ors);
    if (!ors.empty())
        for (kk::u64 i = 0; i < child_count(ors.front()); ++i)
            collect_nodes_if(child_at(ors.front(), i), [](kk::u16 id) { return id == sql::id_where_and_expr; }, ands);
    span.top_level_or = ands.size() >= 2;
    grammar_free_tree(tree);
    return span;
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
