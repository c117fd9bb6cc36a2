// The local time zone as the C library sees it (TZ or the system zone).
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/clock.h"

namespace kk::platform {

// UTC minus local standard time in minutes (west of Greenwich is positive), without
// daylight saving; read afresh from the zone settings at each call.
int32_t time_zone_standard_bias_minutes();
// The local calendar date of a UTC time in seconds since 1970.
local_date time_zone_local_date(std::time_t utc_seconds);

}  // namespace kk::platform
