// The published Mersenne Twister generators MT19937 (32-bit) and MT19937-64, seeded by
// the reference one-integer initialisation. The password hash reseeds a generator before
// nearly every draw, so besides the full generator there are first-output shortcuts:
// output k after seeding depends only on state words k, k + 1 and k + m, so only the
// first k + m + 1 words of the initialisation are computed and nothing is regenerated.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kk::functions {

template <class word, std::size_t n, std::size_t m, word matrix, unsigned w, word init_mul,
          unsigned u, word d, unsigned s, word b, unsigned t, word c, unsigned l>
struct mersenne_twister {
  static constexpr std::size_t state_size = n;
  static constexpr std::size_t shift_size = m;

  word state[n] = {};
  std::size_t index = n;

  constexpr explicit mersenne_twister(word seed) { this->seed(seed); }

  constexpr void seed(word seed) {
    state[0] = seed;
    for (std::size_t i = 1; i < n; ++i) state[i] = next_init(state[i - 1], i);
    index = n;
  }

  constexpr word operator()() {
    if (index >= n) regenerate();
    return temper(state[index++]);
  }

  // The k-th output (k = 0, 1, ...; k < n - m) of a generator freshly seeded with `seed`.
  template <std::size_t k>
  static constexpr word nth_output_after_seed(word seed) {
    static_assert(k + m < n, "only outputs whose words come from the seeding");
    word x[k + m + 1] = {};
    x[0] = seed;
    for (std::size_t i = 1; i <= k + m; ++i) x[i] = next_init(x[i - 1], i);
    return temper(twist(x[k + m], x[k], x[k + 1]));
  }

  static constexpr word first_output_after_seed(word seed) { return nth_output_after_seed<0>(seed); }

  static constexpr word next_init(word previous, std::size_t i) {
    return word(init_mul * (previous ^ (previous >> (w - 2))) + word(i));
  }

  static constexpr word temper(word y) {
    y ^= (y >> u) & d;
    y ^= (y << s) & b;
    y ^= (y << t) & c;
    y ^= y >> l;
    return y;
  }

  // Both generators split a word after its lowest 31 bits.
  static constexpr word upper = word(~word(0)) << 31;
  static constexpr word lower = word(~upper);

  // The regenerated word i from the old words i + m (far), i and i + 1.
  static constexpr word twist(word far, word here, word next) {
    word y = (here & upper) | (next & lower);
    return far ^ (y >> 1) ^ ((y & 1) ? matrix : word(0));
  }

 private:
  constexpr void regenerate() {
    for (std::size_t i = 0; i < n; ++i)
      state[i] = twist(state[(i + m) % n], state[i], state[(i + 1) % n]);
    index = 0;
  }
};

using mt19937 = mersenne_twister<std::uint32_t, 624, 397, 0x9908b0dfu, 32, 1812433253u, 11,
                                 0xffffffffu, 7, 0x9d2c5680u, 15, 0xefc60000u, 18>;

using mt19937_64 =
    mersenne_twister<std::uint64_t, 312, 156, 0xb5026f5aa96619e9ull, 64, 6364136223846793005ull,
                     29, 0x5555555555555555ull, 17, 0x71d67fffeda60000ull, 37,
                     0xfff7eee000000000ull, 43>;

}  // namespace kk::functions
