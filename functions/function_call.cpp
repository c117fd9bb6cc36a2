#include "functions/function_call.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace kk::functions {

bool args_nonempty(const column_list* args, u64 n) {
  for (u64 i = 0; i < n; ++i)
    if (args->first[i].values.size == 0) return false;
  return true;
}

u64 longest_arg(const column_list* args, u64 n) {
  u64 m = 0;
  for (u64 i = 0; i < n; ++i)
    if (args->first[i].values.size > m) m = args->first[i].values.size;
  return m;
}

bool result_is_argument(const column* result, const column_list* args) noexcept {
  for (u64 i = 0; i < args->count; ++i)
    if (&args->first[i] == result) return true;
  return false;
}

bool call_on_copies(sql_impl impl, column* result, const column_list* args) {
  std::vector<column> copies(args->first, args->first + args->count);
  const column_list list{copies.data(), copies.size()};
  return impl(result, &list);
}

bool unsupported(const char* name) {
  std::printf("unsupport type in function %s\n", name);
  return false;
}

bool report(const char* message) {
  std::fputs(message, stdout);
  return false;
}

bool first_kind_is(const column& c, kind_set kinds, const char* name) {
  if (c.values.size > 0 && kind_in(c.values[0], kinds)) return true;
  return unsupported(name);
}

u64 param_u64(const column& c) {
  if (c.values.size == 0) return 0;
  const val& v = c.values[0];
  switch (v.size) {
    case val_size_1: return val_as_u08(v);
    case val_size_2: return val_as_u16(v);
    case val_size_4: return val_as_u32(v);
    default: return val_as_u64(v);
  }
}

u32 param_u32(const column& c) {
  const u64 x = param_u64(c);
  return x > 0xffffffffu ? 0xffffffffu : u32(x);
}

u8 param_u08(const column& c) {
  const u64 x = param_u64(c);
  return x > 0xff ? u8(0xff) : u8(x);
}

}  // namespace kk::functions
