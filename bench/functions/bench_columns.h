#pragma once
// Argument columns of the function benchmarks, built from the same data as their plain
// baselines.
#include <cstdint>

#include "functions/column.h"

namespace bench_functions {

// n cells, cell i written by set(cell, i), row ids 0 to n - 1.
template <class Set>
kk::functions::column column_of(std::uint64_t n, Set set) {
  kk::functions::column k;
  kk::functions::column_resize(k, n);
  for (std::uint64_t i = 0; i < n; ++i) {
    set(k.values[i], i);
    k.ids[i] = i;
  }
  return k;
}

}  // namespace bench_functions
