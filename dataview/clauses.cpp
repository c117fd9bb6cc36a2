#include "dataview/clauses.h"

#include <QByteArray>

#include <cmath>

#include "dataview/sql_quote.h"
#include "dataview/view_query.h"
#include "query/tab_data_model.h"

namespace dataview {

namespace {

bool is_calendar_type(std::string_view t) { return t == "date" || t == "time" || t == "datetime"; }
bool is_real_type(std::string_view t) { return t == "float" || t == "double"; }

// An integer's value in plain decimal.
std::string plain_decimal(std::string_view type_name, const QVariant& value)
{
    QByteArray digits;
    if (!type_name.empty() && type_name[0] == 'u') digits = QByteArray::number(value.toULongLong());
    else digits = QByteArray::number(value.toLongLong());
    return digits.toStdString();
}

// The write-back's literal of the value: exactly the value, whatever the grid shows.
bool exact_literal(std::string_view type_name, const QVariant& value, std::string& out)
{
    kk::adt::string::string lit;
    if (!sql_value_literal(value, kk::adt::text_view{type_name.data(), type_name.size()}, lit)) return false;
    out.assign(lit.data ? lit.data : "", lit.size);
    return true;
}

}  // namespace

literal value_literal(std::string_view cell_text, std::string_view type_name, const QVariant& value)
{
    std::string exact;
    if (is_real_type(type_name) && value.isValid()) {
        const double d = type_name == "float" ? static_cast<double>(value.toFloat()) : value.toDouble();
        if (std::isnan(d)) return {{}, literal_problem::not_a_number};
        if (std::isinf(d)) return {{}, literal_problem::infinite};
        // The shown text has a fixed number of decimals: the value's own shortest text.
        if (exact_literal(type_name, value, exact)) return {exact};
    }
    // A date or time by its calendar texts with every digit it holds (the grid shows
    // milliseconds), the zero date included.
    if (is_calendar_type(type_name) && value.isValid() && exact_literal(type_name, value, exact)) return {exact};
    if (type_name == "string" || is_calendar_type(type_name)) {
        std::string quoted = type_name == "string" ? quoted_text(cell_text)
                                                   : "\"" + std::string(cell_text) + "\"";
        // A character the grammar's string literal cannot carry as it stands still fits escaped.
        if (!is_sql_constant(quoted)) quoted = hex_text_literal(cell_text);
        return {quoted};
    }
    if (is_sql_constant(cell_text) || !value.isValid()) return {std::string(cell_text)};
    return {plain_decimal(type_name, value)};
}

clause filter_clause(filter_kind kind, const cell_input& cell)
{
    const std::string name = quoted_name(cell.field);
    auto compare = [&](const char* op) -> clause {
        literal v = value_literal(cell.cell_text, cell.type_name, cell.value);
        if (v.problem != literal_problem::none) return {{}, v.problem};
        return {name + op + v.text};
    };
    auto between = [&](const char* low_op, const char* high_op) -> clause {
        const std::string high = value_literal("3", cell.type_name, QVariant()).text;
        const std::string low = value_literal("1", cell.type_name, QVariant()).text;
        return {low + low_op + name + high_op + high};
    };
    switch (kind) {
    case filter_kind::eq: return compare(" == ");
    case filter_kind::nq: return compare(" != ");
    case filter_kind::lt: return compare(" < ");
    case filter_kind::le: return compare(" <= ");
    case filter_kind::gt: return compare(" > ");
    case filter_kind::ge: return compare(" >= ");
    case filter_kind::ltgt: return between(" < ", " < ");
    case filter_kind::legt: return between(" < ", " <= ");
    case filter_kind::ltge: return between(" <= ", " < ");
    case filter_kind::lege: return between(" <= ", " <= ");
    case filter_kind::min: return {name + " min"};
    case filter_kind::max: return {name + " max"};
    case filter_kind::min_k: return {name + " min 3"};
    case filter_kind::max_k: return {name + " max 3"};
    case filter_kind::in_set: return {name + " in (1, 2, 3)"};
    case filter_kind::in_tab: return {name + " in (select id from tab where id min 3)"};
    case filter_kind::fst: return {" first"};
    case filter_kind::lst: return {" last"};
    case filter_kind::fst_k: return {" first 3"};
    case filter_kind::lst_k: return {" last 3"};
    case filter_kind::nth_k: return {" nth 3"};
    case filter_kind::range: return {" range 2 5"};
    case filter_kind::this_cell:
    case filter_kind::append_cell: return compare("==");
    }
    return {};
}

clause post_clause(post_kind kind, std::string_view field)
{
    const std::string f = quoted_name(field);
    // The other row's field: the underscore belongs to the name, so a name that needs
    // brackets keeps it inside them ([_a b], not _[a b], which is no name).
    auto other = [&] { return quoted_name("_" + std::string(field)); };
    switch (kind) {
    case post_kind::asc: return {"order by " + f + " asc"};
    case post_kind::dsc: return {"order by " + f + " desc"};
    case post_kind::prj: return {"project " + f};
    case post_kind::epj: return {"project except " + f};
    case post_kind::ren: return {"rename " + f + " newname"};
    case post_kind::com: return {"recompute " + f + " += 1"};
    case post_kind::grp: return {"group sum(" + f + ") by id, name"};
    case post_kind::fst: return {"first"};
    case post_kind::lst: return {"last"};
    case post_kind::fst_k: return {"first 3"};
    case post_kind::lst_k: return {"last 3"};
    case post_kind::nth_k: return {"nth 2"};
    case post_kind::range: return {"range 2 5"};
    case post_kind::line_inr: return {"inner on " + f + "== 10"};
    case post_kind::line_adj: return {"adj on " + f + " > " + other() + " + 10"};
    case post_kind::line_int: return {"all_each on " + f + "== " + other()};
    case post_kind::exts: return {"exists (select id from tab where id == nid)"};
    case post_kind::nxts: return {"not exists (select id from tab where id == nid)"};
    }
    return {};
}

merged merge_filter(filter_kind kind, std::string_view current, std::string_view clause_text, filter_merge mode)
{
    if (kind == filter_kind::this_cell) return {std::string(clause_text)};
    if (kind == filter_kind::append_cell) mode = filter_merge::and_;
    if (mode != filter_merge::and_ && mode != filter_merge::or_) return {std::string(clause_text)};
    // Blanks alone are no filter (the statement leaves them out): joined, "&&" would begin it.
    if (filter_is_empty(current)) return {std::string(clause_text)};
    if (const open_part open = open_at_end(current); open != open_part::none) return {{}, open};
    std::string out(current);
    // A text that ends in a line comment would take the clause into the comment.
    if (ends_in_line_comment(current)) out += '\n';
    out += mode == filter_merge::and_ ? " && " : " || ";
    out += clause_text;
    return {out};
}

merged merge_post(std::string_view current, std::string_view clause_text, post_merge mode)
{
    if (mode != post_merge::append || current.empty()) return {std::string(clause_text)};
    if (const open_part open = open_at_end(current); open != open_part::none) return {{}, open};
    std::string out(current);
    // After a line comment the clause starts on a line of its own.
    out += ends_in_line_comment(current) ? '\n' : ' ';
    out += clause_text;
    return {out};
}

}  // namespace dataview
