#pragma once
// Search and replace over the cells of a grid: the walks of Next, Previous, Find All,
// Replace and Replace All over a scope (the current row, the current column or every
// cell), the found marks and the messages. Plain object over two small interfaces, so the
// dialog stays a thin form and tests need no window.
#include <QCoreApplication>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace dataview {

struct match_range {
    int start;
    int end;  // exclusive
};

// Finds the matches of one search in a text. Built once per operation, so a regular
// expression is compiled once however many cells are searched.
class text_matcher {
public:
    virtual ~text_matcher() = default;
    // Appends every match in text, ascending, non-overlapping; nothing for an invalid pattern.
    virtual void find_all(std::string_view text, std::vector<match_range>& out) = 0;
};

// What the search needs of a grid and its model.
class search_grid {
public:
    virtual ~search_grid() = default;
    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual bool column_hidden(int column) const = 0;
    virtual std::string cell_text(int row, int column) const = 0;  // display text, UTF-8
    // The current cell; false when there is none.
    virtual bool current(int& row, int& column) const = 0;
    virtual void set_current(int row, int column) = 0;
    // The found mark of a cell; nothing is repainted here.
    virtual void set_found(int row, int column, bool on) = 0;
    virtual bool found(int row, int column) const = 0;
    // Repaints the found marks: one refresh of the cells' backgrounds.
    virtual void refresh_found() = 0;
    // The model does not let the user edit the column's cells (a read-only result): the
    // search never stores into them.
    virtual bool read_only(int column) const = 0;
    // Converts a text into the column's value and stores it as an edit; false when the
    // text is no value of the column or the model refuses it (nothing stored then).
    virtual bool store_text(int row, int column, std::string_view text) = 0;
};

enum class search_scope { row, column, none };

struct search_options {
    std::string target;       // UTF-8
    unsigned mode = 0;        // 0 plain, 1 with escapes, 2 regular expression
    unsigned flags = 0;       // 1 ignore case, 16 whole words
    search_scope scope = search_scope::none;
    std::string replacement;  // UTF-8
};

using matcher_factory = std::unique_ptr<text_matcher> (*)(const search_options&);

class cell_search {
    Q_DECLARE_TR_FUNCTIONS(search_tab_dlg)
public:
    // Boxes go through the prompt seam with `parent` as their parent.
    cell_search(search_grid& grid, matcher_factory make_matcher, QWidget* parent = nullptr);

    void next(const search_options& o);
    void prev(const search_options& o);
    // Marks every matching cell of the scope, makes the first current; returns the count of
    // matching cells. Reports it unless notinfo.
    int search_all(const search_options& o, bool notinfo);
    // Replaces the first match of the current cell; false when nothing was stored. A cell
    // the user may not edit is left as it is, and the user is told why.
    bool replace(const search_options& o);
    // Replaces every match in every cell of the scope that the user may edit; the count of
    // cells stored. When every matching cell is one the user may not edit, the box says so.
    int replace_all(const search_options& o);
    void clear_marks();
    // The target text changed: marks cleared, wrap state reset, a silent Find All.
    void target_changed(const search_options& o);

    bool wrapped = false;

private:
    // The scope's cells in walk order from its start; empty when the scope cannot be walked.
    std::vector<std::pair<int, int>> scope_cells(search_scope scope) const;
    bool examine(text_matcher& m, int row, int column);
    // Walks cells [from, end) forward or (end, from] backward; the first match becomes current.
    bool walk(text_matcher& m, const std::vector<std::pair<int, int>>& cells, long from, bool forward);
    long index_of(const std::vector<std::pair<int, int>>& cells, int row, int column) const;

    search_grid& grid_;
    matcher_factory make_matcher_;
    QWidget* parent_;
    std::vector<match_range> ranges_;  // reused for every cell
};

// The text with every given match replaced by the replacement.
std::string replace_ranges(std::string_view text, const std::vector<match_range>& ranges,
                           std::string_view replacement);

}  // namespace dataview
