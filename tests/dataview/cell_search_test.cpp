// The cell search over a small grid: scopes, marks, wrap-around, replace and counts.
#include <gtest/gtest.h>

#include <set>

#include "dataview/cell_search.h"
#include "tests/support/scripted_prompt.h"

namespace dataview {
namespace {

// Plain, case-sensitive, non-overlapping.
class plain_matcher final : public text_matcher {
public:
    explicit plain_matcher(std::string t) : target_(std::move(t)) {}
    void find_all(std::string_view text, std::vector<match_range>& out) override
    {
        if (target_.empty()) return;
        for (size_t at = text.find(target_); at != text.npos; at = text.find(target_, at + target_.size()))
            out.push_back({int(at), int(at + target_.size())});
    }

private:
    std::string target_;
};

std::unique_ptr<text_matcher> make_plain(const search_options& o) { return std::make_unique<plain_matcher>(o.target); }

struct fake_grid final : search_grid {
    std::vector<std::vector<std::string>> cells;  // [row][column]
    std::set<int> hidden;
    int cur_row = -1, cur_col = -1;
    std::set<std::pair<int, int>> marks;
    int refreshes = 0;
    std::vector<std::string> stores;
    // Column 1 holds numbers: a text with anything but digits is no value there.
    bool column_1_numeric = false;

    int rows() const override { return int(cells.size()); }
    int columns() const override { return cells.empty() ? 0 : int(cells[0].size()); }
    bool column_hidden(int c) const override { return hidden.count(c) > 0; }
    std::string cell_text(int r, int c) const override { return cells[r][c]; }
    bool current(int& r, int& c) const override
    {
        r = cur_row;
        c = cur_col;
        return r >= 0 && c >= 0;
    }
    void set_current(int r, int c) override
    {
        cur_row = r;
        cur_col = c;
    }
    void set_found(int r, int c, bool on) override
    {
        if (on) marks.insert({r, c});
        else marks.erase({r, c});
    }
    bool found(int r, int c) const override { return marks.count({r, c}) > 0; }
    std::set<int> locked;  // read-only columns
    bool read_only(int c) const override { return locked.count(c) > 0; }
    void refresh_found() override { ++refreshes; }
    bool store_text(int r, int c, std::string_view text) override
    {
        if (column_1_numeric && c == 1 && text.find_first_not_of("0123456789") != text.npos) return false;
        cells[r][c] = std::string(text);
        stores.push_back(std::to_string(r) + "," + std::to_string(c) + "=" + std::string(text));
        return true;
    }
};

fake_grid grid_3x3()
{
    fake_grid g;
    g.cells = {{"ab", "x", "abab"}, {"y", "ab", "z"}, {"q", "w", "ab"}};
    return g;
}

search_options opts(std::string target, search_scope scope = search_scope::none, std::string rep = {})
{
    search_options o;
    o.target = std::move(target);
    o.scope = scope;
    o.replacement = std::move(rep);
    return o;
}

using marks_t = std::set<std::pair<int, int>>;

class cell_search_test : public ::testing::Test {
protected:
    ruv::test::scripted_prompt prompt;
};

TEST_F(cell_search_test, typing_marks_every_match_silently_and_emptying_clears)
{
    fake_grid g = grid_3x3();
    g.set_current(2, 2);
    cell_search s(g, make_plain);
    s.target_changed(opts("ab"));
    EXPECT_EQ(g.marks, (marks_t{{0, 0}, {0, 2}, {1, 1}, {2, 2}}));
    EXPECT_EQ(g.cur_row, 0);
    EXPECT_EQ(g.cur_col, 0);
    EXPECT_TRUE(prompt.boxes.empty());
    EXPECT_TRUE(g.stores.empty()) << "marks never go through the edit path";
    EXPECT_EQ(g.refreshes, 1) << "one refresh per operation";
    s.target_changed(opts(""));
    EXPECT_TRUE(g.marks.empty());
}

TEST_F(cell_search_test, find_all_counts_cells_per_scope)
{
    struct row {
        search_scope scope;
        int cur_row, cur_col;
        marks_t want;
        const char* text;
    };
    const row rows[] = {
        {search_scope::none, 1, 1, {{0, 0}, {0, 2}, {1, 1}, {2, 2}}, "the string 'ab' found 4 times."},
        {search_scope::row, 0, 1, {{0, 0}, {0, 2}}, "the string 'ab' found 2 times."},
        {search_scope::column, 0, 2, {{0, 2}, {2, 2}}, "the string 'ab' found 2 times."},
        {search_scope::column, -1, -1, {}, "the string 'ab' not found."},
        {search_scope::row, -1, -1, {}, "the string 'ab' not found."},
    };
    for (const auto& r : rows) {
        fake_grid g = grid_3x3();
        g.set_current(r.cur_row, r.cur_col);
        cell_search s(g, make_plain);
        s.search_all(opts("ab", r.scope), false);
        EXPECT_EQ(g.marks, r.want) << int(r.scope);
        EXPECT_EQ(prompt.last_text(), r.text);
        EXPECT_EQ(prompt.boxes.back().title, "search result");
    }
}

TEST_F(cell_search_test, hidden_columns_are_never_searched_marked_or_replaced)
{
    fake_grid g = grid_3x3();
    g.hidden = {2};
    g.set_current(0, 2);
    cell_search s(g, make_plain);
    EXPECT_EQ(s.search_all(opts("ab", search_scope::column), true), 0);
    EXPECT_EQ(s.search_all(opts("ab", search_scope::none), true), 2);
    EXPECT_EQ(g.marks, (marks_t{{0, 0}, {1, 1}}));
    EXPECT_EQ(s.replace_all(opts("ab", search_scope::none, "Z")), 2);
    EXPECT_EQ(g.cells[0][2], "abab");
    EXPECT_EQ(g.cells[2][2], "ab");
    g.set_current(2, 2);
    EXPECT_FALSE(s.replace(opts("ab", search_scope::none, "Z")));
    EXPECT_EQ(g.cells[2][2], "ab");
}

TEST_F(cell_search_test, next_wraps_once_with_a_question_then_says_not_found)
{
    fake_grid g;
    g.cells = {{"hit", "a"}, {"b", "c"}};
    g.set_current(1, 0);
    cell_search s(g, make_plain);
    prompt.answers = {QMessageBox::Yes};
    s.next(opts("hit"));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].title, "next search result");
    EXPECT_EQ(prompt.boxes[0].text, "the string 'hit' not found. continue from begin?");
    EXPECT_EQ(std::make_pair(g.cur_row, g.cur_col), std::make_pair(0, 0));
    EXPECT_TRUE(s.wrapped);
    s.next(opts("hit"));  // the end again, after a wrap: the plain message
    ASSERT_EQ(prompt.boxes.size(), 2u);
    EXPECT_EQ(prompt.boxes[1].title, "next research result");
    EXPECT_EQ(prompt.boxes[1].text, "the string 'hit' not found.");
    EXPECT_FALSE(s.wrapped);
    prompt.answers = {QMessageBox::No};
    s.next(opts("hit"));  // and the question the time after
    EXPECT_EQ(prompt.boxes.back().title, "next search result");
    EXPECT_FALSE(s.wrapped);
    EXPECT_EQ(std::make_pair(g.cur_row, g.cur_col), std::make_pair(0, 0));
}

TEST_F(cell_search_test, next_and_prev_walk_the_scope_from_the_current_cell)
{
    struct row {
        bool forward;
        search_scope scope;
        int r0, c0;
        int want_r, want_c;
    };
    // Matches of "ab": (0,0) (0,2) (1,1) (2,2).
    const row rows[] = {
        {true, search_scope::none, 0, 0, 0, 2},   {true, search_scope::none, 0, 2, 1, 1},
        {true, search_scope::none, 1, 1, 2, 2},   {true, search_scope::row, 0, 0, 0, 2},
        {true, search_scope::column, 0, 2, 2, 2}, {false, search_scope::none, 2, 2, 1, 1},
        {false, search_scope::none, 1, 1, 0, 2},  {false, search_scope::none, 1, 0, 0, 2},
        {false, search_scope::row, 0, 2, 0, 0},   {false, search_scope::column, 2, 2, 0, 2},
    };
    for (const auto& r : rows) {
        fake_grid g = grid_3x3();
        g.set_current(r.r0, r.c0);
        cell_search s(g, make_plain);
        if (r.forward) s.next(opts("ab", r.scope));
        else s.prev(opts("ab", r.scope));
        EXPECT_EQ(std::make_pair(g.cur_row, g.cur_col), std::make_pair(r.want_r, r.want_c))
            << (r.forward ? "next" : "prev") << " from " << r.r0 << "," << r.c0 << " scope " << int(r.scope);
        EXPECT_TRUE(prompt.boxes.empty());
    }
}

TEST_F(cell_search_test, prev_wraps_to_the_end_of_the_scope)
{
    fake_grid g;
    g.cells = {{"a", "b"}, {"c", "hit"}};
    g.set_current(0, 1);
    cell_search s(g, make_plain);
    prompt.answers = {QMessageBox::Yes};
    s.prev(opts("hit"));
    EXPECT_EQ(prompt.boxes.at(0).text, "the string 'hit' not found. continue from end?");
    EXPECT_EQ(std::make_pair(g.cur_row, g.cur_col), std::make_pair(1, 1));
    g.cells = {{}};  // an empty grid: the plain message still comes once wrapped
    g.cells.clear();
    s.prev(opts("hit"));
    EXPECT_EQ(prompt.boxes.back().title, "previous research result");
    EXPECT_FALSE(s.wrapped);
}

TEST_F(cell_search_test, replace_changes_the_first_match_of_a_matching_cell_only)
{
    fake_grid g = grid_3x3();
    cell_search s(g, make_plain);
    g.set_current(0, 2);
    EXPECT_TRUE(s.replace(opts("ab", search_scope::row, "X")));
    EXPECT_EQ(g.cells[0][2], "Xab");
    g.set_current(1, 0);  // "y": no match, nothing stored
    EXPECT_FALSE(s.replace(opts("ab", search_scope::none, "X")));
    EXPECT_EQ(g.stores, (std::vector<std::string>{"0,2=Xab"}));
    EXPECT_TRUE(prompt.boxes.empty());
}

TEST_F(cell_search_test, replace_all_counts_the_cells_stored)
{
    fake_grid g;
    g.cells = {{"a1a", "11"}, {"b", "1x"}, {"1", "2"}};
    g.column_1_numeric = true;
    cell_search s(g, make_plain);
    // Column 1 "11" -> "77" stores, "1x" -> "7x" is refused: two cells in column 0 and one in 1.
    EXPECT_EQ(s.replace_all(opts("1", search_scope::none, "7")), 3);
    EXPECT_EQ(prompt.last_text(), "the string '1' 3 times replaced.");
    EXPECT_EQ(g.cells[0][0], "a7a");
    EXPECT_EQ(g.cells[0][1], "77");
    EXPECT_EQ(g.cells[1][1], "1x") << "an invalid conversion is never stored";
    EXPECT_EQ(g.cells[2][0], "7");
    EXPECT_EQ(s.replace_all(opts("none", search_scope::none, "7")), 0);
    EXPECT_EQ(prompt.last_text(), "the string 'none' not found.");
    EXPECT_EQ(prompt.boxes.back().title, "replace result");
}

TEST_F(cell_search_test, cells_the_user_may_not_edit_are_never_replaced)
{
    struct row {
        const char* label;
        std::set<int> locked;
        int stored;
        std::vector<std::string> stores;
        const char* text;
    };
    // Matches of "ab": (0,0), (0,2), (1,1), (2,2).
    const row rows[] = {
        {"every column locked", {0, 1, 2}, 0, {}, "the string 'ab' is only in cells that can not be edited here, nothing was replaced."},
        {"column 2 locked", {2}, 2, {"0,0=Z", "1,1=Z"}, "the string 'ab' 2 times replaced."},
        {"columns 0 and 1 locked", {0, 1}, 2, {"0,2=ZZ", "2,2=Z"}, "the string 'ab' 2 times replaced."},
        {"no column locked", {}, 4, {"0,0=Z", "0,2=ZZ", "1,1=Z", "2,2=Z"}, "the string 'ab' 4 times replaced."},
    };
    for (const row& r : rows) {
        fake_grid g = grid_3x3();
        g.locked = r.locked;
        cell_search s(g, make_plain);
        EXPECT_EQ(s.replace_all(opts("ab", search_scope::none, "Z")), r.stored) << r.label;
        EXPECT_EQ(g.stores, r.stores) << r.label;
        EXPECT_EQ(prompt.last_text().toStdString(), r.text) << r.label;
    }
    fake_grid g = grid_3x3();
    g.locked = {0};
    g.set_current(0, 0);
    cell_search s(g, make_plain);
    prompt.boxes.clear();
    EXPECT_FALSE(s.replace(opts("ab", search_scope::none, "Z")));
    EXPECT_TRUE(g.stores.empty());
    ASSERT_EQ(prompt.boxes.size(), size_t(1));
    EXPECT_EQ(prompt.last_text().toStdString(), "the string 'ab' is in a cell that can not be edited here, nothing was replaced.");
}

TEST(replace_ranges, replaces_each_range)
{
    EXPECT_EQ(replace_ranges("aXbXc", {{1, 2}, {3, 4}}, "--"), "a--b--c");
    EXPECT_EQ(replace_ranges("abc", {}, "--"), "abc");
    EXPECT_EQ(replace_ranges("abc", {{0, 3}}, ""), "");
}

}  // namespace
}  // namespace dataview
