#pragma once
// Filter and post-processing clauses built from the current cell of a data view, and
// their merge into the text a combo box already holds. Plain functions: the view reads the
// cell's field name, display text, value and column type and hands them in.
#include <QVariant>

#include <string>
#include <string_view>

#include "dataview/sql_quote.h"

namespace dataview {

// The 22 builders of the "filter" submenu in menu order, then "filter this" and
// "append filter".
enum class filter_kind {
    eq, nq, lt, le, gt, ge,
    ltgt, legt, ltge, lege,
    min, max, min_k, max_k,
    in_set, in_tab,
    fst, lst, fst_k, lst_k, nth_k, range,
    this_cell, append_cell,
};
inline constexpr int filter_kind_count = 24;

// The 18 builders of the "post processing" submenu in menu order.
enum class post_kind {
    asc, dsc, prj, epj, ren, com, grp,
    fst, lst, fst_k, lst_k, nth_k, range,
    line_inr, line_adj, line_int, exts, nxts,
};
inline constexpr int post_kind_count = 18;

enum class filter_merge { none, replace, and_, or_ };
enum class post_merge { none, replace, append };

// Why a cell's value has no literal.
enum class literal_problem { none, not_a_number, infinite };

struct literal {
    std::string text;
    literal_problem problem = literal_problem::none;
};

// The literal of a value for a column type, a text that reads back as exactly the value:
// strings quoted (quote_text), integers as shown (in the display mode); floating-point
// numbers and dates, times and datetimes by the write-back's literal of the value
// (sql_value_literal: the shortest float-shaped text, "f" for a float; the calendar texts
// with every digit the value holds, the zero date included). Where the shown text of an
// integer is no constant of the grammar (a grouped binary u08 text), it is written in plain
// decimal, and a string in the hexadecimal escape form; a NaN or infinite value has no
// literal (problem set). `value` may be invalid: then the text alone decides (the fixed
// operands of the ranges), a date or time text between double quotes.
literal value_literal(std::string_view cell_text, std::string_view type_name, const QVariant& value);

// What a builder reads of the current cell.
struct cell_input {
    std::string field;      // the field's name as the server reported it (UTF-8)
    std::string cell_text;  // the cell's display text in the current number display mode
    std::string type_name;  // "u08" ... "datetime"
    QVariant value;         // the cell's value
};

struct clause {
    std::string text;  // empty when problem is set
    literal_problem problem = literal_problem::none;
};

// The clause of a builder. Only the comparisons and "filter this" / "append filter" take the
// cell's value; they alone can report a problem.
clause filter_clause(filter_kind kind, const cell_input& cell);
clause post_clause(post_kind kind, std::string_view field);

// A merge's outcome: the new combo text, or, when the clause would be joined to a current
// text that leaves something open at its end (open_at_end: a string, a character, a
// bracketed name, a block comment, a parenthesis), what is open and no text: whatever
// follows could close it, and the clause would be read into it.
struct merged {
    std::string text;
    open_part open = open_part::none;
};

// The new combo text: "replace" and no mode give the clause; "&&" and " || " join the
// current text (untrimmed) and the clause with " && " / " || " when the current text is not
// empty (filter_is_empty: blanks alone give the clause alone). "filter this" always replaces, "append filter" always joins with " && ". A current
// text that ends in a line comment gets a line break first.
merged merge_filter(filter_kind kind, std::string_view current, std::string_view clause_text, filter_merge mode);
// "append" joins with one blank when the current text is not empty (a line break after a
// line comment).
merged merge_post(std::string_view current, std::string_view clause_text, post_merge mode);

}  // namespace dataview
