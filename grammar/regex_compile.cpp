#include "grammar/regex_compile.h"

#include "grammar/regex_grammar.h"

namespace kk::grammar {

namespace {

// Accessors over the matcher's tree, in one place.
inline u16 id_of(const parse_node* n) { return n->id; }
inline const char* text_of(const parse_node* n) { return n->start; }
inline u64 len_of(const parse_node* n) { return n->length; }
inline u64 kid_count(const parse_node* n) { return n ? child_count(n) : 0; }
inline const parse_node* kid(const parse_node* n, u64 i) {
  return i < kid_count(n) ? child_at(n, i) : nullptr;
}
inline const parse_node* kid_with_id(const parse_node* n, u16 id, u64 from = 0) {
  for (u64 i = from; i < kid_count(n); ++i)
    if (id_of(kid(n, i)) == id) return kid(n, i);
  return nullptr;
}
inline char byte_at(const parse_node* n, u64 i) { return n && i < len_of(n) ? text_of(n)[i] : 0; }

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal digits of [p, p + len) up to `limit`; false when longer or above it.
bool read_decimal(const char* p, u64 len, u64 limit, u64* out) {
  u64 v = 0;
  if (len == 0) return false;
  for (u64 i = 0; i < len; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    u64 d = static_cast<u64>(p[i] - '0');
    if (v > (limit - d) / 10) return false;
    v = v * 10 + d;
  }
  *out = v;
  return true;
}

constexpr u64 bound_limit = u64{1} << 32;

struct compiler {
  rx_program& p;
  u32 depth = 0;
  u32 max_backref = 0;
  bool ok = true;

  u32 add(const rx_node& nd) {
    p.nodes.push_back(nd);
    return static_cast<u32>(p.nodes.size() - 1);
  }
  u32 fail() {
    ok = false;
    return add(rx_node{});
  }
  u32 list(rx_op op, const std::vector<u32>& items) {
    if (items.size() == 1) return items[0];
    rx_node nd;
    nd.op = op;
    nd.a = static_cast<u32>(p.kids.size());
    nd.n = static_cast<u32>(items.size());
    p.kids.insert(p.kids.end(), items.begin(), items.end());
    return add(nd);
  }

  // A disjunction is a chain: alternative, '|', disjunction; walked without recursion.
  u32 disjunction(const parse_node* d) {
    if (!d || id_of(d) != rx_id_disjunction) return fail();
    if (++depth > rx_max_depth) return fail();
    std::vector<u32> alts;
    while (d && ok) {
      alts.push_back(alternative(kid_with_id(d, rx_id_alternative)));
      d = kid_with_id(d, rx_id_disjunction, 1);
    }
    --depth;
    return list(rx_op::alt, alts);
  }

  u32 alternative(const parse_node* a) {
    if (!a) return fail();
    std::vector<u32> terms;
    std::string run;  // consecutive unquantified literal characters become one literal
    auto flush = [&] {
      if (run.empty()) return;
      rx_node nd;
      nd.op = rx_op::literal;
      nd.a = static_cast<u32>(p.bytes.size());
      nd.n = static_cast<u32>(run.size());
      p.bytes += run;
      terms.push_back(add(nd));
      run.clear();
    };
    for (u64 i = 0; i < kid_count(a) && ok; ++i) {
      const parse_node* t = kid(a, i);
      if (id_of(t) != rx_id_term) return fail();
      std::string lit;
      if (literal_term(t, &lit)) {
        run += lit;
        continue;
      }
      flush();
      terms.push_back(term(t));
    }
    flush();
    if (terms.empty()) return fail();
    return list(rx_op::seq, terms);
  }

  // A term that is one well-formed pattern character without a quantifier.
  bool literal_term(const parse_node* t, std::string* out) {
    if (kid_count(t) != 1) return false;
    const parse_node* at = kid(t, 0);
    if (id_of(at) != rx_id_atom) return false;
    const parse_node* pc = kid_with_id(at, rx_id_pattern_character);
    if (!pc) return false;
    u32 cp;
    int n = rx_decode(text_of(pc), len_of(pc), &cp);
    if (n < 0 || static_cast<u64>(n) != len_of(pc)) return false;
    out->assign(text_of(pc), len_of(pc));
    return true;
  }

  u32 term(const parse_node* t) {
    const parse_node* first = kid(t, 0);
    if (!first) return fail();
    if (id_of(first) == rx_id_assertion) return assertion(first);
    if (id_of(first) != rx_id_atom) return fail();
    const parse_node* q = kid_with_id(t, rx_id_quantifier, 1);
    if (!q) return atom(first);
    rx_node nd;
    nd.op = rx_op::repeat;
    if (!quantifier(q, &nd)) return fail();
    if (++depth > rx_max_depth) return fail();
    nd.a = atom(first);
    --depth;
    nd.slot = p.repeats++;
    return add(nd);
  }

  bool quantifier(const parse_node* q, rx_node* nd) {
    const parse_node* pre = kid_with_id(q, rx_id_quantifier_prefix);
    if (!pre) return false;
    nd->flag = kid_count(q) > 1 ? 1 : 0;  // a trailing '?': lazy
    const char* s = text_of(pre);
    u64 len = len_of(pre);
    switch (s[0]) {
      case '*': nd->min = 0, nd->max = rx_unbounded; return true;
      case '+': nd->min = 1, nd->max = rx_unbounded; return true;
      case '?': nd->min = 0, nd->max = 1; return true;
      case '{': break;
      default: return false;
    }
    // "{n}", "{n,}" or "{n,m}"
    u64 i = 1, j = i;
    while (j < len && s[j] >= '0' && s[j] <= '9') ++j;
    if (!read_decimal(s + i, j - i, bound_limit, &nd->min)) return false;
    if (j < len && s[j] == '}') {
      nd->max = nd->min;
      return true;
    }
    if (j >= len || s[j] != ',') return false;
    i = ++j;
    while (j < len && s[j] >= '0' && s[j] <= '9') ++j;
    if (j == i) {
      nd->max = rx_unbounded;
    } else {
      if (!read_decimal(s + i, j - i, bound_limit, &nd->max)) return false;
      if (nd->min > nd->max) return false;
    }
    return j < len && s[j] == '}';
  }

  u32 assertion(const parse_node* a) {
    rx_node nd;
    switch (byte_at(a, 0)) {
      case '^': nd.op = rx_op::bol; return add(nd);
      case '$': nd.op = rx_op::eol; return add(nd);
      case '\\':
        nd.op = rx_op::word_b;
        nd.flag = byte_at(a, 1) == 'B';
        return add(nd);
      case '(':
        nd.op = rx_op::look;
        nd.flag = byte_at(a, 2) == '!';
        nd.a = disjunction(kid_with_id(a, rx_id_disjunction));
        return add(nd);
      default: return fail();
    }
  }

  u32 atom(const parse_node* at) {
    rx_node nd;
    switch (byte_at(at, 0)) {
      case '(':
        if (byte_at(at, 1) == '?') return disjunction(kid_with_id(at, rx_id_disjunction));
        nd.op = rx_op::group;
        nd.value = ++p.groups;  // numbered by the opening parenthesis
        nd.a = disjunction(kid_with_id(at, rx_id_disjunction));
        return add(nd);
      case '.': nd.op = rx_op::any; return add(nd);
      case '[': return char_class(kid_with_id(at, rx_id_character_class));
      case '\\': {
        const parse_node* e = kid(kid_with_id(at, rx_id_atom_escape), 0);
        if (!e) return fail();
        if (id_of(e) == rx_id_decimal_escape) return decimal_escape(e);
        if (id_of(e) == rx_id_character_escape) return character_escape(e);
        if (id_of(e) == rx_id_character_class_escape) {
          nd.op = rx_op::escape;
          nd.fn = class_escape_matcher(byte_at(e, 0));
          if (!nd.fn) return fail();
          return add(nd);
        }
        return fail();
      }
      default: {
        const parse_node* pc = kid_with_id(at, rx_id_pattern_character);
        if (!pc) return fail();
        u32 cp;
        int n = rx_decode(text_of(pc), len_of(pc), &cp);
        if (n < 0 || static_cast<u64>(n) != len_of(pc)) {
          nd.op = rx_op::none;  // a malformed byte never matches a subject's code point
          return add(nd);
        }
        nd.op = rx_op::literal;
        nd.a = static_cast<u32>(p.bytes.size());
        nd.n = static_cast<u32>(len_of(pc));
        p.bytes.append(text_of(pc), len_of(pc));
        return add(nd);
      }
    }
  }

  u32 decimal_escape(const parse_node* e) {
    rx_node nd;
    u64 k;
    if (!read_decimal(text_of(e), len_of(e), ~u64{0}, &k) || k > 0xFFFFFFFFu) return fail();
    if (k == 0) {  // \0 is NUL
      nd.op = rx_op::byte;
      nd.value = 0;
      return add(nd);
    }
    nd.op = rx_op::backref;
    nd.value = static_cast<u32>(k);
    if (nd.value > max_backref) max_backref = nd.value;
    p.has_backrefs = true;
    return add(nd);
  }

  // Value of a character escape: *raw says whether it stands for one raw byte (control,
  // control letter, hex and identity escapes) or for a code point (unicode escape).
  bool escape_value(const parse_node* e, u32* value, bool* raw) {
    const parse_node* c = kid(e, 0);
    if (!c) return false;
    *raw = true;
    switch (id_of(c)) {
      case rx_id_control_escape: {
        int v = char_map_lookup(regex_control_escape_map(), byte_at(c, 0));
        if (v < 0) return false;
        *value = static_cast<u32>(v);
        return true;
      }
      case rx_id_text: {  // 'c', control_letter
        int v = char_map_lookup(regex_control_letter_map(),
                                byte_at(kid_with_id(e, rx_id_control_letter), 0));
        if (v < 0) return false;
        *value = static_cast<u32>(v);
        return true;
      }
      case rx_id_hex_escape_sequence:
      case rx_id_unicode_escape_sequence: {
        u32 v = 0;
        for (u64 i = 1; i < len_of(c); ++i) {
          int h = hex_value(byte_at(c, i));
          if (h < 0) return false;
          v = v << 4 | static_cast<u32>(h);
        }
        *value = v;
        *raw = id_of(c) == rx_id_hex_escape_sequence;
        return true;
      }
      case rx_id_identity_escape:
        *value = static_cast<u8>(byte_at(c, 0));
        return true;
      default: return false;
    }
  }

  u32 character_escape(const parse_node* e) {
    rx_node nd;
    bool raw;
    if (!escape_value(e, &nd.value, &raw)) return fail();
    nd.op = raw ? rx_op::byte : rx_op::code_point;
    return add(nd);
  }

  // Value of a class atom (id 24) or class_atom_nodash (id 25) as a range end.
  bool class_atom_value(const parse_node* a, u32* value, bool* raw) {
    if (id_of(a) == rx_id_class_atom) {
      const parse_node* nd = kid_with_id(a, rx_id_class_atom_nodash);
      if (!nd) {  // '-' matches the byte itself
        *value = '-';
        *raw = true;
        return true;
      }
      a = nd;
    }
    if (id_of(a) != rx_id_class_atom_nodash) return false;
    if (const parse_node* ce = kid_with_id(a, rx_id_class_escape))
      return escape_value(kid_with_id(ce, rx_id_character_escape), value, raw);
    u32 cp;
    int n = rx_decode(text_of(a), len_of(a), &cp);
    *raw = false;
    // A malformed pattern byte stands for its own value.
    *value = n > 0 ? cp : static_cast<u8>(byte_at(a, 0));
    return true;
  }

  void add_item(std::vector<rx_item>& items, u32 lo, u32 hi, bool raw) { items.push_back({lo, hi, raw}); }

  bool single(std::vector<rx_item>& items, const parse_node* a) {
    u32 v;
    bool raw;
    if (!class_atom_value(a, &v, &raw)) return false;
    add_item(items, v, v, raw);
    return true;
  }

  bool range(std::vector<rx_item>& items, const parse_node* lo, const parse_node* hi) {
    u32 a, b;
    bool ra, rb;
    if (!class_atom_value(lo, &a, &ra) || !class_atom_value(hi, &b, &rb)) return false;
    if (a <= b) add_item(items, a, b, false);  // ends out of order: a range of no code point
    return true;
  }

  // The class item lists are right-recursive chains; walked without recursion.
  u32 char_class(const parse_node* c) {
    if (!c) return fail();
    rx_node nd;
    nd.op = rx_op::cls;
    nd.flag = byte_at(c, 1) == '^';
    std::vector<rx_item> items;
    const parse_node* ranges = kid_with_id(c, rx_id_class_ranges);
    const parse_node* cur = ranges ? kid(ranges, 0) : nullptr;
    if (!cur) return fail();
    while (cur && ok) {
      const parse_node* a0 = kid(cur, 0);
      const parse_node* k1 = kid(cur, 1);
      const parse_node* next = nullptr;
      if (!a0) return fail();
      if (!k1) {
        if (!single(items, a0)) return fail();
      } else if (id_of(k1) == rx_id_text) {  // atom '-' atom [class_ranges]
        const parse_node* a2 = kid(cur, 2);
        if (!a2 || !range(items, a0, a2)) return fail();
        const parse_node* more = kid_with_id(cur, rx_id_class_ranges, 3);
        next = more ? kid(more, 0) : nullptr;
      } else if (id_of(k1) == rx_id_nonempty_class_ranges_nodash) {
        if (!single(items, a0)) return fail();
        next = k1;
      } else {
        return fail();
      }
      cur = next;
    }
    // Values below 128 go to the bitmaps; the rest keep their order in the item list.
    nd.a = static_cast<u32>(p.items.size());
    for (const rx_item& it : items) {
      if (it.lo < 128) {
        u32 top = it.hi < 127 ? it.hi : 127;
        for (u32 v = it.lo; v <= top; ++v) {
          nd.ascii[v >> 6] |= u64{1} << (v & 63);
          if (!it.raw) nd.ascii_cp[v >> 6] |= u64{1} << (v & 63);
        }
      }
      if (it.raw ? it.lo >= 128 : it.hi >= 128) p.items.push_back(it);
    }
    nd.n = static_cast<u32>(p.items.size() - nd.a);
    return add(nd);
  }
};

}  // namespace

bool rx_compile(const parse_node* root, rx_program* out) {
  *out = rx_program{};
  compiler c{*out};
  out->root = c.disjunction(root);
  if (!c.ok || c.max_backref > out->groups) {
    *out = rx_program{};
    return false;
  }
  // Children are added before their parents, so one forward pass settles what each
  // subtree holds: back-references, and the (contiguous) numbers of its groups.
  for (rx_node& nd : out->nodes) {
    auto take = [&nd](const rx_node& kid) {
      nd.reads = nd.reads || kid.reads;
      if (kid.g1 > kid.g0) {
        if (nd.g1 == nd.g0) nd.g0 = kid.g0, nd.g1 = kid.g1;
        if (kid.g0 < nd.g0) nd.g0 = kid.g0;
        if (kid.g1 > nd.g1) nd.g1 = kid.g1;
      }
    };
    switch (nd.op) {
      case rx_op::backref: nd.reads = true; break;
      case rx_op::group:
        nd.g0 = nd.value, nd.g1 = nd.value + 1;
        take(out->nodes[nd.a]);
        break;
      case rx_op::repeat:
      case rx_op::look: take(out->nodes[nd.a]); break;
      case rx_op::seq:
      case rx_op::alt:
        for (u32 i = 0; i < nd.n; ++i) take(out->nodes[out->kids[nd.a + i]]);
        break;
      default: break;
    }
  }
  return true;
}

}  // namespace kk::grammar
