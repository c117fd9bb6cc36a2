// Differential test against PCRE2: random patterns are printed twice, for this engine and
// for PCRE2 with every group atomic and every quantifier possessive (a lazy one as its
// minimum count), which is where a backtracking engine agrees with first-match,
// never-give-back semantics. Random subjects must get the same whole-match verdict.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grammar/regex_engine.h"

using namespace kk;
using namespace kk::grammar;

namespace {

struct both {
  std::string ours, pcre;
};

class generator {
 public:
  explicit generator(u32 seed) : rng_(seed) {}

  both pattern() {
    groups_ = 0;
    closed_.clear();
    return disjunction(0, true);
  }

 private:
  std::mt19937 rng_;
  int groups_ = 0;
  // Groups whose closing parenthesis was written. A back-reference names only those: one
  // inside its own group changes between iterations at the same position, where an empty
  // iteration ends the loop here but PCRE2 runs its remaining fixed copies.
  std::vector<int> closed_;

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  both disjunction(int depth, bool capture) {
    int n = pick(4) == 0 ? 2 + pick(2) : 1;
    both out;
    for (int i = 0; i < n; ++i) {
      both a = alternative(depth, capture);
      if (i) out.ours += "|", out.pcre += "|";
      out.ours += a.ours;
      out.pcre += a.pcre;
    }
    out.pcre = "(?>" + out.pcre + ")";
    return out;
  }

  both alternative(int depth, bool capture) {
    int n = 1 + pick(3);
    both out;
    for (int i = 0; i < n; ++i) {
      both t = term(depth, capture);
      out.ours += t.ours;
      out.pcre += t.pcre;
    }
    return out;
  }

  both term(int depth, bool capture) {
    if (pick(8) == 0) return assertion(depth, capture);
    both a = atom(depth, capture);
    if (pick(2)) return a;
    return quantified(a);
  }

  both quantified(const both& a) {
    static const char* shapes[] = {"*", "+", "?", "{n}", "{n,}", "{n,m}"};
    std::string q = shapes[pick(6)];
    int lo = pick(3), hi = lo + pick(3);
    std::string ours, pcre_q;
    bool lazy = pick(4) == 0;
    int min = 0;
    if (q == "*") {
      ours = "*", pcre_q = "*";
    } else if (q == "+") {
      ours = "+", pcre_q = "+", min = 1;
    } else if (q == "?") {
      ours = "?", pcre_q = "?";
    } else if (q == "{n}") {
      ours = "{" + std::to_string(lo) + "}", pcre_q = ours, min = lo;
    } else if (q == "{n,}") {
      ours = "{" + std::to_string(lo) + ",}", pcre_q = ours, min = lo;
    } else {
      ours = "{" + std::to_string(lo) + "," + std::to_string(hi) + "}", pcre_q = ours, min = lo;
    }
    both out;
    out.ours = a.ours + ours + (lazy ? "?" : "");
    // A lazy loop stops at its minimum: exactly that many iterations.
    if (lazy)
      out.pcre = "(?>(?:" + a.pcre + "){" + std::to_string(min) + "})";
    else
      out.pcre = "(?:" + a.pcre + ")" + pcre_q + "+";
    return out;
  }

  both assertion(int depth, bool capture) {
    switch (pick(5)) {
      case 0: return {"^", "^"};
      case 1: return {"$", "$"};
      case 2: return {"\\b", "\\b"};
      case 3: return {"\\B", "\\B"};
      default: {
        if (depth > 2) return {"\\b", "\\b"};
        // Captures inside a look-ahead are not kept after it here, unlike PCRE2: none.
        both inner = disjunction(depth + 1, false);
        (void)capture;
        bool neg = pick(2);
        return {std::string(neg ? "(?!" : "(?=") + inner.ours + ")",
                std::string(neg ? "(?!" : "(?=") + inner.pcre + ")"};
      }
    }
  }

  both atom(int depth, bool capture) {
    int k = pick(depth > 2 ? 6 : 9);
    switch (k) {
      case 0:
      case 1: {
        static const char* chars[] = {"a", "b", "c", "é", "-"};
        std::string c = chars[pick(5)];
        return {c, c};
      }
      case 2: return {".", "."};
      case 3: {
        static const char* classes[] = {"[ab]", "[^a]", "[a-c]", "[^-é]", "[é-]", "[\\]a]"};
        std::string c = classes[pick(6)];
        return {c, c};
      }
      case 4: {
        static const char* esc[] = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S", "\\."};
        int i = pick(7);
        return {esc[i], esc[i]};
      }
      case 5: {
        if (closed_.empty() || !capture) return {"a", "a"};
        int g = closed_[pick(static_cast<int>(closed_.size()))];
        return {"\\" + std::to_string(g), "\\g{" + std::to_string(g) + "}"};
      }
      case 6:
      case 7: {
        if (!capture) {
          both inner = disjunction(depth + 1, capture);
          return {"(?:" + inner.ours + ")", inner.pcre};
        }
        int g = ++groups_;
        both inner = disjunction(depth + 1, capture);
        closed_.push_back(g);
        return {"(" + inner.ours + ")", "(" + inner.pcre + ")"};
      }
      default: {
        both inner = disjunction(depth + 1, capture);
        return {"(?:" + inner.ours + ")", inner.pcre};
      }
    }
  }
};

struct pcre_pattern {
  pcre2_code* code = nullptr;
  pcre2_match_data* md = nullptr;
  explicit pcre_pattern(const std::string& p) {
    int err;
    PCRE2_SIZE off;
    std::string anchored = "\\A(?>" + p + ")\\z";
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(anchored.data()), anchored.size(),
                         PCRE2_UTF | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY, &err,
                         &off, nullptr);
    if (code) md = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~pcre_pattern() {
    pcre2_match_data_free(md);
    pcre2_code_free(code);
  }
  bool match(const std::string& s) const {
    return pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(s.data()), s.size(), 0, 0, md,
                       nullptr) >= 0;
  }
};

std::string random_subject(std::mt19937& rng) {
  static const char* pieces[] = {"a", "a", "a", "b", "b", "c", "é", "-", " ", "1", "\n"};
  int len = std::uniform_int_distribution<int>(0, 7)(rng);
  std::string s;
  for (int i = 0; i < len; ++i) s += pieces[std::uniform_int_distribution<int>(0, 10)(rng)];
  return s;
}

TEST(regex_vs_pcre2, possessive_patterns_give_the_same_verdicts) {
  regex_engine e;
  ASSERT_TRUE(regex_engine_init(&e));
  generator gen(20261210);
  std::mt19937 rng(7);
  int trues = 0, failures = 0;
  for (int i = 0; i < 3000 && failures < 20; ++i) {
    both p = gen.pattern();
    pcre_pattern pc(p.pcre);
    ASSERT_NE(pc.code, nullptr) << p.pcre;
    ASSERT_TRUE(regex_engine_set_pattern(&e, p.ours.data(), p.ours.size())) << p.ours;
    for (int k = 0; k < 40; ++k) {
      std::string s = random_subject(rng);
      bool want = pc.match(s);
      bool got = regex_engine_match(&e, p.ours.data(), p.ours.size(), s.data(), s.size());
      trues += want;
      if (got != want) {
        ++failures;
        ADD_FAILURE() << "pattern " << p.ours << "  pcre " << p.pcre << "  subject \"" << s
                      << "\" pcre " << want << " ours " << got;
        break;
      }
    }
  }
  EXPECT_GT(trues, 0);  // the subjects reach matches, not only failures
  regex_engine_free(&e);
}

}  // namespace
