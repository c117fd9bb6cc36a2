#include "tests/peer/demo_result.h"

#include <limits>

namespace peer {

result demo_result() {
  result r;
  r.cols = {{"i08", d_i08},   {"u08", d_u08},       {"i16", d_i16},   {"u16", d_u16},
            {"i32", d_i32},   {"u32", d_u32},       {"i64", d_i64},   {"u64", d_u64},
            {"float", d_float}, {"double", d_double}, {"string", d_string}, {"date", d_date},
            {"time", d_time}, {"datetime", d_datetime}, {"nothing", d_null}};
  using lim8 = std::numeric_limits<int8_t>;
  using lim16 = std::numeric_limits<int16_t>;
  using lim32 = std::numeric_limits<int32_t>;
  using lim64 = std::numeric_limits<int64_t>;
  r.rows.push_back({1, {i08(lim8::min()), u08(0), i16(lim16::min()), u16(0), i32(lim32::min()), u32(0),
                        i64(lim64::min()), u64(0), f32(-1.5f), f64(0.1), text(""), date(1, 1, 1),
                        time(0, 0, 0, 0), datetime(1970, 1, 1, 0, 0, 0, 0), none()}});
  r.rows.push_back({2, {i08(lim8::max()), u08(255), i16(lim16::max()), u16(65535), i32(lim32::max()),
                        u32(4294967295u), i64(lim64::max()), u64(18446744073709551615ull), f32(3.25f),
                        f64(-2.5e300), text("h\xC3\xA9llo \xE4\xB8\xAD"), date(2024, 2, 29),
                        time(23, 59, 59, 999999999), datetime(9999, 12, 31, 23, 59, 59, 999999999),
                        none()}});
  return r;
}

}  // namespace peer
