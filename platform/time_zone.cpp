#include "platform/time_zone.h"

#include <time.h>

namespace kk::platform {

int32_t time_zone_standard_bias_minutes() {
  tzset();
  // `timezone` is the standard offset in seconds west of UTC, whatever the season.
  return int32_t(timezone / 60);
}

local_date time_zone_local_date(std::time_t utc_seconds) {
  struct tm t {};
  if (!localtime_r(&utc_seconds, &t)) return {1970, 1, 1};
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

}  // namespace kk::platform
