#include "functions/password_hash.h"

#include <cstring>

#include "functions/function_call.h"
#include "functions/mersenne_twister.h"

namespace kk::functions {

namespace {

void append(bytes& s, const char* p, std::size_t n) {
  std::size_t old = s.size;
  char* d = s.resize(old + n);
  if (n) std::memcpy(d + old, p, n);
}
void append(bytes& s, const bytes& t) { append(s, t.data, t.size); }

constexpr std::uint32_t load_le32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

// Seeds of the padding generator are single bytes taken as signed: 256 seeds in all, so
// the two draws that follow each seeding are tabled once at compile time.
struct pad_draws {
  std::uint32_t first[256];
  std::uint32_t second[256];
};

constexpr pad_draws make_pad_draws() {
  pad_draws t{};
  for (int b = 0; b < 256; ++b) {
    auto seed = std::uint32_t(std::int32_t(std::int8_t(std::uint8_t(b))));
    t.first[b] = mt19937::nth_output_after_seed<0>(seed);
    t.second[b] = mt19937::nth_output_after_seed<1>(seed);
  }
  return t;
}

constexpr pad_draws pad_table = make_pad_draws();

// The chain of eight first outputs of MT19937-64 for the sixteen seeds of a block, run in
// lockstep so the sixteen independent multiply chains overlap in the pipeline.
void block_table(const std::uint64_t seed[16], std::uint64_t table[16][8]) {
  constexpr std::size_t m = mt19937_64::shift_size;
  std::uint64_t x0[16], x1[16], x[16];
  for (int j = 0; j < 16; ++j) x[j] = seed[j];
  for (int k = 0; k < 8; ++k) {
    for (int j = 0; j < 16; ++j) x0[j] = x[j];
    for (int j = 0; j < 16; ++j) x1[j] = x[j] = mt19937_64::next_init(x[j], 1);
    for (std::size_t i = 2; i <= m; ++i)
      for (int j = 0; j < 16; ++j) x[j] = mt19937_64::next_init(x[j], i);
    for (int j = 0; j < 16; ++j)
      table[j][k] = x[j] = mt19937_64::temper(mt19937_64::twist(x[j], x0[j], x1[j]));
  }
}

// Selection index e = s^3 + s^2 + 1 over GF(4) for the top two bits s of the chain.
constexpr std::uint8_t gf4_mul[4][4] = {{0, 0, 0, 0}, {0, 1, 2, 3}, {0, 2, 3, 1}, {0, 3, 1, 2}};
constexpr std::uint8_t gf4_select(std::uint8_t s) {
  std::uint8_t s2 = gf4_mul[s][s];
  return std::uint8_t(gf4_mul[s2][s] ^ s2 ^ 1);
}
static_assert(gf4_select(0) == 1 && gf4_select(1) == 1 && gf4_select(2) == 3 &&
              gf4_select(3) == 2);

// One 64-byte block: four output words; returns the chaining value for the next block.
std::uint32_t digest_block(const unsigned char* block, bool first, std::uint32_t chain,
                           std::uint32_t out[4]) {
  std::uint64_t seed[16];
  for (int j = 0; j < 16; ++j) {
    std::uint32_t w = load_le32(block + 4 * j);
    seed[j] = first ? w : (chain ^ w);
  }
  std::uint64_t table[16][8];
  block_table(seed, table);

  std::uint32_t r[16];
  for (int i = 0; i < 16; ++i) {
    std::uint32_t a[16];
    for (int k = 0; k < 8; ++k) {
      a[2 * k] = std::uint32_t(table[i][k]);
      a[2 * k + 1] = std::uint32_t(table[i][k] >> 32);
    }
    std::uint32_t p1 = (((a[4] ^ a[10] ^ a[15]) & (a[7] ^ a[8] ^ a[14]) & (a[6] ^ a[11] ^ a[12])) |
                        (a[4] ^ a[11] ^ a[14]) | (a[7] ^ a[10] ^ a[12]) | (a[6] ^ a[8] ^ a[15])) ^
                       a[1];
    std::uint32_t p2 = (((a[5] ^ a[10] ^ a[15]) & (a[6] ^ a[11] ^ a[13]) & (a[7] ^ a[9] ^ a[14])) |
                        (a[7] ^ a[10] ^ a[13]) | (a[5] ^ a[11] ^ a[14]) | (a[6] ^ a[9] ^ a[15])) ^
                       a[0];
    std::uint32_t p3 = (((a[4] ^ a[9] ^ a[15]) & (a[7] ^ a[8] ^ a[13]) & (a[5] ^ a[11] ^ a[12])) |
                        (a[5] ^ a[8] ^ a[15]) | (a[4] ^ a[11] ^ a[13]) | (a[7] ^ a[9] ^ a[12])) ^
                       a[2];
    std::uint32_t p4 = (((a[6] ^ a[8] ^ a[13]) & (a[4] ^ a[9] ^ a[14]) & (a[5] ^ a[10] ^ a[12])) |
                        (a[6] ^ a[9] ^ a[12]) | (a[5] ^ a[8] ^ a[14]) | (a[4] ^ a[10] ^ a[13])) ^
                       a[3];
    r[i] = ((p1 | p2) & p3) | p4;
    for (int m = 0; m + 2 <= i; ++m) r[m] ^= r[i];
  }

  std::uint8_t e = gf4_select(std::uint8_t(r[0] >> 30));
  for (int k = 0; k < 4; ++k) out[k] = r[e ^ k];
  return r[0];
}

}  // namespace

bytes base64_encode(const char* p, std::size_t n) {
  static constexpr char alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  bytes out;
  if (n == 0) return out;
  out.resize((n + 2) / 3 * 4, 0);
  char* o = out.data;
  auto u = [p](std::size_t i) { return std::uint32_t(static_cast<unsigned char>(p[i])); };
  std::size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    std::uint32_t v = u(i) << 16 | u(i + 1) << 8 | u(i + 2);
    *o++ = alphabet[v >> 18];
    *o++ = alphabet[(v >> 12) & 63];
    *o++ = alphabet[(v >> 6) & 63];
    *o++ = alphabet[v & 63];
  }
  if (std::size_t rest = n - i) {
    std::uint32_t v = u(i) << 16 | (rest == 2 ? u(i + 1) << 8 : 0);
    *o++ = alphabet[v >> 18];
    *o++ = alphabet[(v >> 12) & 63];
    *o++ = rest == 2 ? alphabet[(v >> 6) & 63] : '=';
    *o++ = '=';
  }
  return out;
}

bytes hash_passwd_pad(const char* p, std::size_t n) {
  bytes out;
  append(out, p, n);
  std::size_t r = n % 64;
  if (n == 0 || r == 0) return out;
  std::size_t extra = 64 - r;
  out.resize(n + extra, 0);
  auto* o = reinterpret_cast<unsigned char*>(out.data);
  auto* x = reinterpret_cast<const unsigned char*>(p);
  unsigned char seed = x[0];
  for (std::size_t k = 0; k < extra; ++k) {
    std::size_t idx = pad_table.first[seed] % n;
    o[n + k] = static_cast<unsigned char>((pad_table.second[seed] >> 24) ^ x[idx]);
    seed = o[k + 1];
  }
  return out;
}

bytes hash_passwd_digest(const char* p, std::size_t n) {
  bytes out;
  if (n == 0) return out;
  bytes padded;
  const auto* w = reinterpret_cast<const unsigned char*>(p);
  std::size_t nb = n / 64;
  if (n % 64 != 0) {
    padded = hash_passwd_pad(p, n);
    w = reinterpret_cast<const unsigned char*>(padded.data);
    ++nb;
  }
  bytes q;
  q.resize(16 * nb, 0);
  auto* qo = reinterpret_cast<unsigned char*>(q.data);
  std::uint32_t chain = 0;
  for (std::size_t b = 0; b < nb; ++b) {
    std::uint32_t words[4];
    chain = digest_block(w + 64 * b, b == 0, chain, words);
    for (int k = 0; k < 4; ++k)
      for (int i = 0; i < 4; ++i) *qo++ = static_cast<unsigned char>(words[k] >> (8 * i));
  }
  if (nb > 1) return hash_passwd_digest(q.data, q.size);
  static constexpr char hex[] = "0123456789ABCDEF";
  out.resize(32, 0);
  for (int i = 0; i < 16; ++i) {
    auto v = static_cast<unsigned char>(q.data[i]);
    out.data[2 * i] = hex[v >> 4];
    out.data[2 * i + 1] = hex[v & 15];
  }
  return out;
}

bytes hash_passwd_text(const char* p, std::size_t n) {
  bytes s;
  s.push_back(hash_passwd_prefix);
  append(s, p, n);
  s.push_back(hash_passwd_suffix);

  bytes t = hash_passwd_digest(s.data, s.size);
  append(t, hash_passwd_k1, sizeof hash_passwd_k1 - 1);
  append(t, s);

  bytes d = hash_passwd_digest(t.data, t.size);
  append(t, hash_passwd_k2, sizeof hash_passwd_k2 - 1);
  append(t, d);

  bytes h = hash_passwd_digest(t.data, t.size);
  bytes b = base64_encode(h.data, h.size);
  return hash_passwd_digest(b.data, b.size);
}

namespace sql {

bool hash_passwd(column* result, const column_list* args) {
  if (!arity_is(args, 1) || !args_nonempty(args, 1)) return false;
  if (!first_kind_is(arg(args, 0), kind_text, "hash_passwd")) return false;
  return map_values(*result, arg(args, 0), [](val& out, const val& in) {
    const bool text = in.type == val_type_text && in.text;
    bytes h = text ? hash_passwd_text(in.text, in.len) : hash_passwd_text("", 0);
    val_assign_str(out, h.data, h.size);
    return true;
  });
}

}  // namespace sql

std::span<const sql_function_def> password_hash_functions() {
  static constexpr sql_function_def defs[] = {{"hash_passwd", forward<sql::hash_passwd>}};
  return defs;
}

}  // namespace kk::functions
