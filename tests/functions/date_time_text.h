#pragma once
// A readable form of a result cell for failure messages: "date 2024-05-09", "time ...",
// "datetime ...", else the cell as show() gives it.
#include <string>

#include "function_test_support.h"
#include "value/calendar.h"

namespace kk::functions::test {

inline std::string text_of(const val& v) {
  const datetime_fields f = val_fields(v);
  auto str = [](const adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); };
  switch (v.type) {
    case val_type_date: return "date " + str(date_to_text(f));
    case val_type_time: return "time " + str(time_to_text(f));
    case val_type_datetime: return "datetime " + str(datetime_to_text(f));
    default: return show(v);
  }
}

}  // namespace kk::functions::test
