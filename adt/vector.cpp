#include "adt/vector.h"

namespace kk::adt {

bool doc_set_string_entry(vector<string::string>& v, u64 i, text_view t) {
  if (i > v.size) return false;
  string::string copy = string_from_bytes(t.data, t.size);
  v.resize(i + 1);
  v.data[i] = std::move(copy);
  return true;
}

}  // namespace kk::adt
