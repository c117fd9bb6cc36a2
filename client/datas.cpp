#include "client/datas.h"

namespace kk {

void free_datas(datas& d) noexcept {
  d.cols.free();
  d.rows.free();
}

}  // namespace kk
