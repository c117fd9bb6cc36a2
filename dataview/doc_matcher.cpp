#include "dataview/doc_matcher.h"

#include "editor/doc_search.h"

namespace dataview {

namespace {

// The document search's own searcher, prepared once per operation, so a cell is searched
// exactly as the editor searches a text. A limit hit or an engine error ends the cell's
// search with what was found.
class cell_matcher final : public text_matcher {
public:
    explicit cell_matcher(const search_options& o)
        : searcher_(kk::adt::text_view{o.target.data(), o.target.size()}, o.mode, static_cast<kk::u16>(o.flags))
    {
    }

    void find_all(std::string_view text, std::vector<match_range>& out) override
    {
        found_.clear();
        searcher_.find_all(kk::adt::text_view{text.data(), text.size()}, found_);
        for (const ruv::byte_range& r : found_)
            out.push_back({static_cast<int>(r.start), static_cast<int>(r.end)});
    }

private:
    ruv::doc_searcher searcher_;
    std::vector<ruv::byte_range> found_;  // reused between cells
};

}  // namespace

std::unique_ptr<text_matcher> make_doc_matcher(const search_options& o) { return std::make_unique<cell_matcher>(o); }

}  // namespace dataview
