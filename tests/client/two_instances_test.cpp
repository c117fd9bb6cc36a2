// A process with its own SQL library object loads the shared library: each keeps its own
// object and grammar state, and nothing of the library's internals is visible outside it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
#include "sqllib/update_analysis.h"

namespace {

using can_update_fn = bool (*)(const char*, int32_t);
using extract_fn = const char* (*)(const char*, int32_t, uint32_t*);

struct loaded {
  void* handle = dlopen(RUV_SQL_LIB_PATH, RTLD_NOW | RTLD_GLOBAL);
  ~loaded() {
    if (handle) dlclose(handle);
  }
  template <class F>
  F fn(const char* name) const {
    return reinterpret_cast<F>(dlsym(handle, name));
  }
};

const char update[] = "update t set a = 1 where b == 2";
const int32_t update_len = sizeof update - 1;

TEST(two_instances, program_and_library_keep_their_own_objects) {
  if (!kk::startup_tables_ready()) kk::library_startup();
  kk::sql_library* own = kk::sql_library_instance();
  ASSERT_NE(own, nullptr);

  loaded lib;
  ASSERT_NE(lib.handle, nullptr) << dlerror();
  auto can_update = lib.fn<can_update_fn>("can_update");
  auto tab_name = lib.fn<extract_fn>("extract_tab_name_from_update");
  ASSERT_NE(can_update, nullptr);
  ASSERT_NE(tab_name, nullptr);
  // Loading built the library's object, not a second use of the program's.
  EXPECT_EQ(kk::sql_library_instance(), own);
  EXPECT_TRUE(can_update(update, update_len));

  // None of the internals is reachable by name: the program's definitions cannot stand in
  // for the library's, nor the other way round.
  for (const char* internal : {"_ZN2kk20sql_library_instanceEv", "_ZN2kk15library_startupEv",
                               "_ZN2kk20startup_tables_readyEv",
                               "_ZN2kk26sql_library_instance_buildEv", "_ZN2kk7grammar14parse_farthestE"})
    EXPECT_EQ(dlsym(lib.handle, internal), nullptr) << internal;

  // The program releases its object: the library's still answers.
  kk::startup_tables_release();
  EXPECT_EQ(kk::sql_library_instance(), nullptr);
  EXPECT_FALSE(kk::grammar::can_update_text(kk::sql_library_instance(), update, update_len));
  EXPECT_TRUE(can_update(update, update_len));
  uint32_t n = 0;
  EXPECT_EQ(tab_name(update, update_len, &n), update + 7);
  EXPECT_EQ(n, 1u);

  // A failed parse in the library moves its own farthest mark, not the program's.
  kk::grammar::parse_farthest = nullptr;
  EXPECT_FALSE(can_update("update t set a = 1 where", 24));
  EXPECT_EQ(kk::grammar::parse_farthest, nullptr);

  ASSERT_TRUE(kk::library_startup());
  EXPECT_TRUE(kk::grammar::can_update_text(kk::sql_library_instance(), update, update_len));
}

TEST(two_instances, unloading_the_library_leaves_the_program_its_object) {
  if (!kk::startup_tables_ready()) kk::library_startup();
  {
    loaded lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    EXPECT_TRUE(lib.fn<can_update_fn>("can_update")(update, update_len));
  }  // unloading releases the library's object
  EXPECT_TRUE(kk::grammar::can_update_text(kk::sql_library_instance(), update, update_len));
  // Loaded again, the library builds a fresh object.
  loaded again;
  ASSERT_NE(again.handle, nullptr) << dlerror();
  EXPECT_TRUE(again.fn<can_update_fn>("can_update")(update, update_len));
}

}  // namespace
