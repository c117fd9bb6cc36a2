#include "dataview/cell_search.h"

#include <algorithm>

#include "ui_base/seams.h"

namespace dataview {

namespace {
using cell_list = std::vector<std::pair<int, int>>;

}  // namespace

std::string replace_ranges(std::string_view text, const std::vector<match_range>& ranges,
                           std::string_view replacement)
{
    std::string out;
    out.reserve(text.size() + ranges.size() * replacement.size());
    size_t at = 0;
    for (const match_range& r : ranges) {
        out.append(text.substr(at, static_cast<size_t>(r.start) - at));
        out.append(replacement);
        at = static_cast<size_t>(r.end);
    }
    out.append(text.substr(at));
    return out;
}

cell_search::cell_search(search_grid& grid, matcher_factory make_matcher, QWidget* parent)
    : grid_(grid), make_matcher_(make_matcher), parent_(parent)
{
}

cell_list cell_search::scope_cells(search_scope scope) const
{
    cell_list cells;
    const int rows = grid_.rows(), cols = grid_.columns();
    int r0 = -1, c0 = -1;
    const bool has_current = grid_.current(r0, c0) && r0 >= 0 && r0 < rows && c0 >= 0 && c0 < cols;
    switch (scope) {
    case search_scope::row:
        if (!has_current) break;
        for (int c = 0; c < cols; ++c)
            if (!grid_.column_hidden(c)) cells.emplace_back(r0, c);
        break;
    case search_scope::column:
        if (!has_current || grid_.column_hidden(c0)) break;
        cells.reserve(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) cells.emplace_back(r, c0);
        break;
    case search_scope::none: {
        std::vector<int> shown;
        for (int c = 0; c < cols; ++c)
            if (!grid_.column_hidden(c)) shown.push_back(c);
        cells.reserve(static_cast<size_t>(rows) * shown.size());
        for (int r = 0; r < rows; ++r)
            for (int c : shown) cells.emplace_back(r, c);
        break;
    }
    }
    return cells;
}

bool cell_search::examine(text_matcher& m, int row, int column)
{
    ranges_.clear();
    m.find_all(grid_.cell_text(row, column), ranges_);
    const bool hit = !ranges_.empty();
    if (hit || grid_.found(row, column)) grid_.set_found(row, column, hit);
    return hit;
}

bool cell_search::walk(text_matcher& m, const cell_list& cells, long from, bool forward)
{
    const long n = static_cast<long>(cells.size());
    for (long i = from; forward ? i < n : i >= 0; i += forward ? 1 : -1) {
        if (examine(m, cells[i].first, cells[i].second)) {
            grid_.set_current(cells[i].first, cells[i].second);
            return true;
        }
    }
    return false;
}

// The first cell of the list at or after (row, column) in walk order; cells.size() when none.
long cell_search::index_of(const cell_list& cells, int row, int column) const
{
    return static_cast<long>(std::lower_bound(cells.begin(), cells.end(), std::make_pair(row, column)) - cells.begin());
}

void cell_search::next(const search_options& o)
{
    if (o.target.empty()) return;
    const std::unique_ptr<text_matcher> m = make_matcher_(o);
    const cell_list cells = scope_cells(o.scope);
    int r0 = -1, c0 = -1;
    bool hit = false;
    if (grid_.current(r0, c0)) {
        long from = index_of(cells, r0, c0);
        if (from < static_cast<long>(cells.size()) && cells[from] == std::make_pair(r0, c0)) ++from;
        hit = walk(*m, cells, from, true);
    }
    if (!hit && grid_.rows() > 0 && grid_.columns() > 0) {
        if (!wrapped) {
            if (ruv::question(parent_, tr("next search result"),
                              tr("the string '%1' not found. continue from begin?").arg(QString::fromStdString(o.target)),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
                wrapped = true;
                if (!cells.empty()) {
                    grid_.set_current(cells.front().first, cells.front().second);
                    walk(*m, cells, 0, true);
                }
            }
        } else {
            ruv::information(parent_, tr("next research result"), tr("the string '%1' not found.").arg(QString::fromStdString(o.target)));
            wrapped = false;
        }
    }
    grid_.refresh_found();
}

void cell_search::prev(const search_options& o)
{
    if (o.target.empty()) return;
    const std::unique_ptr<text_matcher> m = make_matcher_(o);
    const cell_list cells = scope_cells(o.scope);
    int r0 = -1, c0 = -1;
    bool hit = false;
    if (grid_.current(r0, c0)) hit = walk(*m, cells, index_of(cells, r0, c0) - 1, false);
    if (!hit) {
        if (!wrapped && grid_.rows() > 0 && grid_.columns() > 0) {
            if (ruv::question(parent_, tr("previous search result"),
                              tr("the string '%1' not found. continue from end?").arg(QString::fromStdString(o.target)),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
                wrapped = true;
                if (!cells.empty()) {
                    grid_.set_current(cells.back().first, cells.back().second);
                    walk(*m, cells, static_cast<long>(cells.size()) - 1, false);
                }
            }
        } else if (wrapped) {
            ruv::information(parent_, tr("previous research result"),
                             tr("the string '%1' not found.").arg(QString::fromStdString(o.target)));
            wrapped = false;
        }
    }
    grid_.refresh_found();
}

int cell_search::search_all(const search_options& o, bool notinfo)
{
    const int rows = grid_.rows(), cols = grid_.columns();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (grid_.found(r, c)) grid_.set_found(r, c, false);
    if (o.target.empty()) {
        grid_.refresh_found();
        return 0;
    }
    const std::unique_ptr<text_matcher> m = make_matcher_(o);
    int count = 0;
    for (const auto& [r, c] : scope_cells(o.scope)) {
        ranges_.clear();
        m->find_all(grid_.cell_text(r, c), ranges_);
        if (ranges_.empty()) continue;
        grid_.set_found(r, c, true);
        if (count++ == 0) grid_.set_current(r, c);
    }
    grid_.refresh_found();
    if (!notinfo) {
        if (count > 0)
            ruv::information(parent_, tr("search result"),
                             tr("the string '%1' found %2 times.").arg(QString::fromStdString(o.target)).arg(count));
        else
            ruv::information(parent_, tr("search result"), tr("the string '%1' not found.").arg(QString::fromStdString(o.target)));
    }
    return count;
}

bool cell_search::replace(const search_options& o)
{
    int r = -1, c = -1;
    if (o.target.empty() || !grid_.current(r, c) || r < 0 || c < 0 || r >= grid_.rows() || c >= grid_.columns() ||
        grid_.column_hidden(c))
        return false;
    const std::unique_ptr<text_matcher> m = make_matcher_(o);
    const std::string text = grid_.cell_text(r, c);
    ranges_.clear();
    m->find_all(text, ranges_);
    if (ranges_.empty()) return false;  // a cell without a match is left alone
    if (grid_.read_only(c)) {
        ruv::information(parent_, tr("replace result"),
                         tr("the string '%1' is in a cell that can not be edited here, nothing was replaced.")
                             .arg(QString::fromStdString(o.target)));
        return false;
    }
    ranges_.resize(1);
    return grid_.store_text(r, c, replace_ranges(text, ranges_, o.replacement));
}

int cell_search::replace_all(const search_options& o)
{
    if (o.target.empty()) return 0;
    const std::unique_ptr<text_matcher> m = make_matcher_(o);
    bool matched = false;
    int stored = 0, locked = 0;
    for (const auto& [r, c] : scope_cells(o.scope)) {
        const std::string text = grid_.cell_text(r, c);
        ranges_.clear();
        m->find_all(text, ranges_);
        if (ranges_.empty()) continue;
        matched = true;
        if (grid_.read_only(c)) {
            ++locked;
            continue;
        }
        if (grid_.store_text(r, c, replace_ranges(text, ranges_, o.replacement))) ++stored;
    }
    if (stored == 0 && locked > 0)
        ruv::information(parent_, tr("replace result"),
                         tr("the string '%1' is only in cells that can not be edited here, nothing was replaced.")
                             .arg(QString::fromStdString(o.target)));
    else if (matched)
        ruv::information(parent_, tr("replace result"),
                         tr("the string '%1' %2 times replaced.").arg(QString::fromStdString(o.target)).arg(stored));
    else
        ruv::information(parent_, tr("replace result"), tr("the string '%1' not found.").arg(QString::fromStdString(o.target)));
    return stored;
}

void cell_search::clear_marks()
{
    const int rows = grid_.rows(), cols = grid_.columns();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (grid_.found(r, c)) grid_.set_found(r, c, false);
    grid_.refresh_found();
}

void cell_search::target_changed(const search_options& o)
{
    wrapped = false;
    search_all(o, true);  // clears the marks first
}

}  // namespace dataview
