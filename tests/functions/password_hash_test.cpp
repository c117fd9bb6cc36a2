#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "contract_test.h"
#include "functions/mersenne_twister.h"
#include "functions/password_hash.h"

namespace kf = kk::functions;

namespace kk::functions::test {
namespace {

std::vector<contract_case> hash_cases() {
  return {{"hash_passwd", 1, {kind_text}, "unsupport type in function hash_passwd\n", 1, false,
           result_shape::one_arg_scalar, {{vtxt("secret"), vtxt(""), vtxt("x y")}}}};
}

INSTANTIATE_TEST_SUITE_P(password_hash, function_contract, ::testing::ValuesIn(hash_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The SQL function: one "string" per value; the empty text and a later value that is not
// a text (which reads as the empty text) hash to the empty text's hash.
TEST(hash_passwd, column_of_texts_and_a_later_integer) {
  std::vector<kk::functions::column> args = {col({vtxt("password"), vtxt(""), vu32(5)})};
  kk::functions::column r;
  call_outcome out = call("hash_passwd", r, args);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.printed, "");
  ASSERT_EQ(r.values.size, 3u);
  const char* expected[] = {"628984FF92EB3D48A9987FBE53457104", "562CF1BB875342F53A807DF183492E11",
                            "562CF1BB875342F53A807DF183492E11"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(same(r.values[i], vtxt(expected[i]))) << i << ": " << show(r.values[i]);
    EXPECT_EQ(r.ids[i], kk::functions::computed_row_id);
  }
}

}  // namespace
}  // namespace kk::functions::test

namespace {

std::string str(const kf::bytes& b) { return std::string(b.data ? b.data : "", b.size); }

// Bytes (i * 37 + 11) mod 256, the inputs of the reference script's digest goldens.
std::string pattern(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(char((i * 37 + 11) & 0xff));
  return s;
}

TEST(mersenne_twister, published_ten_thousandth_outputs) {
  kf::mt19937 a(5489);
  kf::mt19937_64 b(5489);
  std::uint32_t va = 0;
  std::uint64_t vb = 0;
  for (int i = 0; i < 10000; ++i) {
    va = a();
    vb = b();
  }
  EXPECT_EQ(va, 4123659995u);
  EXPECT_EQ(vb, 9981545732273789042ull);
}

TEST(mersenne_twister, outputs_after_seed_equal_full_generator) {
  for (std::uint64_t seed : {0ull, 1ull, 5489ull, 0x7fffffffull, 0xffffffffull,
                             0x8000000000000000ull, 0xffffffffffffffffull,
                             0x0123456789abcdefull}) {
    kf::mt19937 a{std::uint32_t(seed)};
    std::uint32_t a0 = a(), a1 = a();
    EXPECT_EQ(kf::mt19937::nth_output_after_seed<0>(std::uint32_t(seed)), a0) << seed;
    EXPECT_EQ(kf::mt19937::nth_output_after_seed<1>(std::uint32_t(seed)), a1) << seed;
    kf::mt19937_64 b(seed);
    EXPECT_EQ(kf::mt19937_64::first_output_after_seed(seed), b()) << seed;
  }
}

TEST(base64, rfc_vectors_and_high_bytes) {
  struct {
    std::string in, out;
  } cases[] = {{"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
               {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"foobar", "Zm9vYmFy"},
               {"\xff\xfe", "//4="}, {std::string("\0\0\0", 3), "AAAA"}};
  for (const auto& c : cases)
    EXPECT_EQ(str(kf::base64_encode(c.in.data(), c.in.size())), c.out) << c.in;
}

// Goldens from tests/functions/hash_passwd_reference.py, an independent implementation.
TEST(hash_passwd_digest, block_counts_against_reference) {
  struct {
    std::size_t n;
    const char* digest;
  } cases[] = {
      {1, "3A79197B0000000031482FC74A88E350"},    // one byte, 63 drawn bytes
      {63, "26E35462BCD4ACB9F931ECD8AF84EE7B"},
      {64, "DF81C2F88934C05BCCD1803A56E678E1"},   // one block, no padding
      {65, "E5D71D2DD31DD744EDDBF0F027D7FB63"},   // two blocks, digested once more
      {128, "7474BFACBE78B43F0CCE059AB67459E2"},
      {200, "7868D10AC2D28D7270643CD7BA683744"},
  };
  for (const auto& c : cases) {
    std::string x = pattern(c.n);
    EXPECT_EQ(str(kf::hash_passwd_digest(x.data(), x.size())), c.digest) << c.n;
  }
  EXPECT_EQ(kf::hash_passwd_digest("", 0).size, 0u);
}

TEST(hash_passwd_pad, signed_seed_and_whole_blocks) {
  // 0xC3 seeds with 2^32 - 61: a zero-extended seed would draw other bytes.
  kf::bytes p = kf::hash_passwd_pad("\xc3", 1);
  std::string hex;
  for (unsigned char ch : str(p)) {
    hex.push_back("0123456789abcdef"[ch >> 4]);
    hex.push_back("0123456789abcdef"[ch & 15]);
  }
  EXPECT_EQ(hex,
            "c360ba3fbfe3ca400631ba3fbfe3ca400631ba3fbfe3ca400631ba3fbfe3ca400631ba3fbfe3ca"
            "400631ba3fbfe3ca400631ba3fbfe3ca400631ba3fbfe3ca40");
  std::string x = pattern(128);
  EXPECT_EQ(str(kf::hash_passwd_pad(x.data(), x.size())), x);
  std::string y = pattern(70);
  kf::bytes py = kf::hash_passwd_pad(y.data(), y.size());
  ASSERT_EQ(py.size, 128u);
  EXPECT_EQ(str(py).substr(0, 70), y);
}

TEST(hash_passwd_text, goldens_against_reference) {
  std::string all;
  for (int r = 0; r < 3; ++r)
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
  struct {
    std::string text, hash;
  } cases[] = {
      {"", "562CF1BB875342F53A807DF183492E11"},
      {"a", "47E238B0E2DD60E361B399EBCE5DF2C5"},
      {"password", "628984FF92EB3D48A9987FBE53457104"},
      {"password ", "D531C05CDA9BC8BAC0ED9ACDEE6D423B"},
      {"hello world", "0E6101B5228FFB04416A59B2B308CBCC"},
      {"\xe5\xaf\x86\xe7\xa0\x81\xc3\xa9", "E6BC06B5BE9DEA125CA313260A54CA2E"},
      {all, "3620F3D214816F42A20DFE02506D6F53"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(str(kf::hash_passwd_text(c.text.data(), c.text.size())), c.hash) << c.text.size();
}

}  // namespace
