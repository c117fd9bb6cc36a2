#include "dataview/doc_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>
#include <string>

#include "adt/text.h"
#include "editor/doc_search.h"

namespace dataview {

namespace {

// The text document's limits and options, so a cell is searched as the editor searches.
constexpr uint32_t match_limit = 5'000'000;
constexpr uint32_t depth_limit = 10'000;

bool is_word_byte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

void fold(std::string& s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

class cell_matcher final : public text_matcher {
public:
    explicit cell_matcher(const search_options& o) : whole_word_(o.flags & ruv::search_whole_word)
    {
        ignore_case_ = o.flags & ruv::search_ignore_case;
        if (o.mode == ruv::search_regex) {
            regex_ = true;
            compile(o.target);
            return;
        }
        if (o.mode == ruv::search_escaped) {
            const kk::adt::string::string u =
                ruv::search_unescape(kk::adt::text_view{o.target.data(), o.target.size()});
            pattern_.assign(u.data ? u.data : "", u.size);
        } else {
            pattern_ = o.target;
        }
        if (ignore_case_) fold(pattern_);
    }

    ~cell_matcher() override
    {
        if (stack_) pcre2_jit_stack_free(stack_);
        if (context_) pcre2_match_context_free(context_);
        if (data_) pcre2_match_data_free(data_);
        if (code_) pcre2_code_free(code_);
    }

    void find_all(std::string_view text, std::vector<match_range>& out) override
    {
        if (text.empty()) return;
        const size_t first = out.size();
        if (regex_) find_regex(text, out);
        else if (ignore_case_) {
            folded_.assign(text);
            fold(folded_);
            find_plain(folded_, out);
        } else {
            find_plain(text, out);
        }
        if (!whole_word_) return;
        size_t keep = first;
        for (size_t k = first; k < out.size(); ++k) {
            const match_range r = out[k];
            const bool before = r.start > 0 && is_word_byte(static_cast<unsigned char>(text[r.start - 1]));
            const bool after =
                static_cast<size_t>(r.end) < text.size() && is_word_byte(static_cast<unsigned char>(text[r.end]));
            if (!before && !after) out[keep++] = r;
        }
        out.resize(keep);
    }

private:
    void compile(const std::string& pattern)
    {
        if (pattern.empty()) return;
        uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF |
                           PCRE2_DOLLAR_ENDONLY;
        if (ignore_case_) options |= PCRE2_CASELESS;
        int err = 0;
        PCRE2_SIZE at = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &err, &at,
                              nullptr);
        if (!code_) return;
        data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
        context_ = pcre2_match_context_create(nullptr);
        if (!data_ || !context_) {
            pcre2_code_free(code_);
            code_ = nullptr;
            return;
        }
        pcre2_set_match_limit(context_, match_limit);
        pcre2_set_depth_limit(context_, depth_limit);
        if (pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE) == 0) {
            stack_ = pcre2_jit_stack_create(32 * 1024, 4 * 1024 * 1024, nullptr);
            if (stack_) pcre2_jit_stack_assign(context_, nullptr, stack_);
        }
    }

    void find_plain(std::string_view hay, std::vector<match_range>& out) const
    {
        const size_t n = pattern_.size();
        if (n == 0 || hay.size() < n) return;
        const char* p = hay.data();
        const char* end = hay.data() + hay.size();
        while (static_cast<size_t>(end - p) >= n) {
            const void* hit = memmem(p, static_cast<size_t>(end - p), pattern_.data(), n);
            if (!hit) break;
            const char* h = static_cast<const char*>(hit);
            const int s = static_cast<int>(h - hay.data());
            out.push_back({s, s + static_cast<int>(n)});
            p = h + n;
        }
    }

    // As the document search: one subject, each search from an offset (so ^ matches once);
    // an empty match recorded once, then a step of one code point. A limit hit or an engine
    // error ends the cell's search with what was found.
    void find_regex(std::string_view hay, std::vector<match_range>& out) const
    {
        if (!code_) return;
        const auto* subject = reinterpret_cast<PCRE2_SPTR>(hay.data());
        PCRE2_SIZE offset = 0;
        bool after_empty = false;
        while (offset <= hay.size()) {
            const uint32_t opts = after_empty ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : 0;
            const int rc = pcre2_match(code_, subject, hay.size(), offset, opts, data_, context_);
            if (rc == PCRE2_ERROR_NOMATCH) {
                if (!after_empty || offset >= hay.size()) return;
                after_empty = false;
                kk::u32 cp;
                const int len = kk::adt::utf8_decode(hay.data() + offset, hay.data() + hay.size(), cp);
                offset += static_cast<PCRE2_SIZE>(len > 0 ? len : 1);
                continue;
            }
            if (rc < 0) return;
            const PCRE2_SIZE* v = pcre2_get_ovector_pointer(data_);
            if (v[1] < v[0]) return;
            out.push_back({static_cast<int>(v[0]), static_cast<int>(v[1])});
            after_empty = v[0] == v[1];
            offset = v[1];
        }
    }

    bool regex_ = false;
    bool ignore_case_ = false;
    bool whole_word_ = false;
    std::string pattern_;
    std::string folded_;
    pcre2_code* code_ = nullptr;
    pcre2_match_data* data_ = nullptr;
    pcre2_match_context* context_ = nullptr;
    pcre2_jit_stack* stack_ = nullptr;
};

}  // namespace

std::unique_ptr<text_matcher> make_doc_matcher(const search_options& o) { return std::make_unique<cell_matcher>(o); }

}  // namespace dataview
