// What the library's own tests share: an owning pointer for a result set and the standard
// output of a call (the library reports its failures there).
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "client/datas.h"

struct datas_deleter {
  void operator()(kk::datas* d) const {
    kk::free_datas(*d);
    delete d;
  }
};
using datas_ptr = std::unique_ptr<kk::datas, datas_deleter>;

template <class F>
std::string stdout_of(F f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}
