// Loading whole query results from the test server into tab_data_model, against a baseline
// that does the same work plainly, each in the same run:
// - wide: 10^6 rows x 20 columns (id u64, i1..i6 i64 of every magnitude, r1..r5 double,
//   s1..s6 strings of 4 to 20 characters, d1, d2 dates; about 196 MB on the wire: the test
//   peer's fill_wide table); narrow: 10^6 rows x 5 columns (i32, string, double, date, u64).
//   The server sends each reply from one prepared buffer shared by every request
//   (peer::send_shared), so no per-request copy is in any timed load.
// - Baseline (plain_model): a QAbstractTableModel over typed columns (one std::vector per
//   column, one block of bytes per text column, the row ids), filled by its own small
//   decoder of the wire format straight from the reply bytes, read over its own loopback
//   socket (the login and statement frames the library sends, its socket options, the
//   reply frame read whole into a buffer kept for the connection's next exchange, as the
//   library keeps its accumulator). It receives, decodes and holds every cell typed, as
//   our load does; data() makes the QVariant on demand. Strawman for scale:
//   QStandardItemModel filled from exec_query (narrow only).
// - *_load (warm): one model loaded again and again (ten times for the wide table, so that
//   its memory counters show the heap after many reloads); each load releases the model's
//   previous content inside the timed region (the data view's reload pays it so).
// - *_reload_small: the model holds the 10^6 wide rows (loaded untimed); timed is loading
//   a 1000-row result into it, i.e. releasing the big one and loading the small one (the
//   data view when its limit is switched back on).
// - *_release: destroying a model that holds the 10^6 wide rows, timed alone.
// - BM_cold/<kind>: this program started again as a child (--cold=<kind> --port=<server>),
//   which connects, then performs exactly one load in its fresh process and reports it
//   (manual time); its release (destroying the model) is reported as release_ms. The
//   server lives in this parent process, so the child's memory figures hold no server.
// - *_paused_load: as *_load, with an untimed pause of 4 s before each load, as a user
//   leaves between two loads.
// - BM_wide_stage_*: the stages of our wide load alone (the library's exchange, then that
//   and read_result), for the stage trace.
// - sort: tab_data_model::sort_rows of the narrow table by each column.
// Memory counters (MiB): peak_MiB and held_MiB are the process's resident peak during the
// load and its resident size after it with the server's prepared replies (server_MiB,
// resident in this process for the in-process benchmarks, 0 in a cold child) subtracted;
// peak_above_MiB and held_above_MiB are the same above the resident size at the start of
// the load. In process they are of the last measured iteration: the heap is trimmed once
// when a benchmark starts, then left as the loads leave it, as in the program (for a warm
// load the start holds the previous content, which the load releases). A cold child also
// reports after_release_MiB, its resident size once the model is destroyed. Both sides run
// with the program's heap settings (app/startup.cpp) and its resources (the type icons).
#include <QAbstractTableModel>
#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QStandardItemModel>
#include <QTime>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/common/cold_run.h"
#include "bench/common/proc_memory.h"
#include "client/ruv_sql_lib_mem.h"
#include "sqllib/library_startup.h"
#include "platform/socket.h"
#include "query/db_ctx.h"
#include "query/result_columns.h"
#include "query/tab_data_model.h"
#include "query/variant_rows.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace {

namespace plat = kk::platform;
using bench_memory::rss_span;

constexpr int big_rows = 1000000;
constexpr int small_rows = 1000;
const char* const wide_sql = "select * from wide;";
const char* const small_sql = "select * from wide where first 1000;";
constexpr int pause_ms_between_loads = 4000;
const char* const narrow_sql = "select * from t;";

// ---- the server: one test peer answering from prepared replies

enum class table { wide, small, narrow };

struct prepared_replies {
  std::mutex mu;
  std::shared_ptr<const std::string> wide, small, narrow;
  size_t bytes() {
    std::lock_guard<std::mutex> g(mu);
    return (wide ? wide->size() : 0) + (small ? small->size() : 0) + (narrow ? narrow->size() : 0);
  }
};

prepared_replies& replies() {
  static prepared_replies r;
  return r;
}

std::shared_ptr<const std::string> make_narrow() {
  peer::result r{{{"i", peer::d_i32}, {"s", peer::d_string}, {"d", peer::d_double}, {"t", peer::d_date}, {"u", peer::d_u64}},
                 {}};
  r.rows.reserve(big_rows);
  std::mt19937_64 g(3);
  for (uint64_t k = 0; k < uint64_t(big_rows); ++k)
    r.rows.push_back({k + 1,
                      {peer::i32(int32_t(g())), peer::text("name " + std::to_string(g() % 100000)),
                       peer::f64(double(g() % 1000000) / 7),
                       peer::date(uint16_t(1900 + g() % 200), uint8_t(1 + g() % 12), uint8_t(1 + g() % 28)), peer::u64(g())}});
  return std::make_shared<const std::string>(peer::ok_reply(r));
}

// Builds the replies a table needs once; the catalogue that wrote them is gone afterwards
// and its memory handed back, so only the replies stay.
void prepare(table t) {
  prepared_replies& p = replies();
  {
    std::lock_guard<std::mutex> g(p.mu);
    if (t == table::narrow ? bool(p.narrow) : bool(p.wide)) return;
  }
  std::shared_ptr<const std::string> wide, small, narrow;
  if (t == table::narrow) {
    narrow = make_narrow();
  } else {
    peer::catalogue db;
    peer::fill_wide(db, "wide", big_rows);
    wide = std::make_shared<const std::string>(db.handle(wide_sql).bytes);
    small = std::make_shared<const std::string>(db.handle(small_sql).bytes);
  }
  {
    std::lock_guard<std::mutex> g(p.mu);
    if (narrow) p.narrow = narrow;
    if (wide) p.wide = wide, p.small = small;
  }
  malloc_trim(0);
}

peer::test_peer& server() {
  static peer::test_peer s;
  static bool installed = [] {
    s.set_handler([](std::string_view statement) {
      prepared_replies& p = replies();
      std::lock_guard<std::mutex> g(p.mu);
      const auto& r = statement.find("first 1000") != std::string_view::npos ? p.small
                      : statement.find("wide") != std::string_view::npos ? p.wide
                                                                           : p.narrow;
      return r ? peer::send_shared(r) : peer::send(peer::fail_reply());
    });
    return true;
  }();
  (void)installed;
  return s;
}

// ---- the baseline: its own connection, decoder and typed columns

// The frames the library sends, over a socket of its own with the library's options. The
// reply frame is read whole into a buffer kept for the next exchange.
class wire_connection {
 public:
  explicit wire_connection(uint16_t port) {
    s_ = plat::tcp_socket();
    if (s_ == plat::no_socket) return;
    plat::set_socket_option(s_, SO_REUSEADDR, 0);
    plat::set_socket_option(s_, SO_RCVBUF, 65536);
    plat::set_socket_option(s_, SO_SNDBUF, 65536);
    plat::set_socket_option(s_, SO_KEEPALIVE, 0);
    const std::string login = peer::login_frame("u", "p");
    const char* body;
    size_t n;
    ok_ = plat::connect_ipv4(s_, plat::ipv4_address("127.0.0.1"), port, 10000) &&
          plat::send_all(s_, login.data(), login.size()) && read_reply(body, n) && n == 1 && body[0] == 0;
  }
  ~wire_connection() {
    if (s_ == plat::no_socket) return;
    const uint32_t logout = 0xFFFFFFFFu;
    plat::send_all(s_, &logout, 4);
    plat::close_socket(s_);
  }
  wire_connection(const wire_connection&) = delete;
  wire_connection& operator=(const wire_connection&) = delete;
  bool ok() const { return ok_; }

  // The statement sent, its reply frame read: body points at the status byte, n counts it.
  bool exchange(std::string_view sql, const char*& body, size_t& n) {
    unsigned char len[4] = {uint8_t(sql.size()), uint8_t(sql.size() >> 8), uint8_t(sql.size() >> 16),
                            uint8_t(sql.size() >> 24)};
    return ok_ && plat::send_all(s_, len, 4) && plat::send_all(s_, sql.data(), sql.size()) && read_reply(body, n);
  }

 private:
  bool read_exact(char* p, size_t n) {
    while (n) {
      const ptrdiff_t r = plat::recv_some(s_, p, n);
      if (r <= 0) return false;
      p += r;
      n -= size_t(r);
    }
    return true;
  }
  bool read_reply(const char*& body, size_t& n) {
    unsigned char b[4];
    if (!read_exact(reinterpret_cast<char*>(b), 4)) return false;
    n = size_t(b[0]) | size_t(b[1]) << 8 | size_t(b[2]) << 16 | size_t(b[3]) << 24;
    if (n == 0 || n == 0xFFFFFFFFu) return false;
    if (n > capacity_) {
      buffer_.reset();
      capacity_ = 0;
      buffer_.reset(new (std::nothrow) char[n]);
      if (!buffer_) return false;
      capacity_ = n;
    }
    body = buffer_.get();
    return read_exact(buffer_.get(), n);
  }

  plat::socket_t s_ = plat::no_socket;
  bool ok_ = false;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
};

// Bounded reads over a payload.
struct cursor {
  const unsigned char* p;
  size_t left;
  bool take(void* to, size_t n) {
    if (left < n) return false;
    std::memcpy(to, p, n);
    p += n;
    left -= n;
    return true;
  }
  bool u64(uint64_t& v) { return take(&v, 8); }  // little-endian host
};

class column {
 public:
  virtual ~column() = default;
  virtual void reserve(size_t rows) = 0;
  virtual bool read(cursor& in) = 0;
  virtual QVariant at(size_t row) const = 0;
};

// T as on the wire (little-endian host), shown as V.
template <class T, class V>
class number_column final : public column {
 public:
  void reserve(size_t rows) override { v_.reserve(rows); }
  bool read(cursor& in) override {
    T x;
    if (!in.take(&x, sizeof x)) return false;
    v_.push_back(x);
    return true;
  }
  QVariant at(size_t row) const override { return QVariant(V(v_[row])); }

 private:
  std::vector<T> v_;
};

struct wire_date {
  uint16_t year;
  uint8_t month, day;
};
struct wire_time {
  uint8_t hour, minute, second;
  uint32_t nanosecond;
};
bool read_date(cursor& in, wire_date& d) { return in.take(&d.year, 2) && in.take(&d.month, 1) && in.take(&d.day, 1); }
bool read_time(cursor& in, wire_time& t) {
  return in.take(&t.hour, 1) && in.take(&t.minute, 1) && in.take(&t.second, 1) && in.take(&t.nanosecond, 4);
}
QDate to_qdate(const wire_date& d) { return QDate(d.year, d.month, d.day); }
QTime to_qtime(const wire_time& t) { return QTime(t.hour, t.minute, t.second, int(t.nanosecond / 1000000)); }

struct wire_datetime {
  wire_date date;
  wire_time time;
};
bool read_datetime(cursor& in, wire_datetime& x) { return read_date(in, x.date) && read_time(in, x.time); }
QDate to_variant(const wire_date& d) { return to_qdate(d); }
QTime to_variant(const wire_time& t) { return to_qtime(t); }
QDateTime to_variant(const wire_datetime& x) { return QDateTime(to_qdate(x.date), to_qtime(x.time)); }

// Dates, times and datetimes as their wire fields, read by R.
template <class W, bool (*R)(cursor&, W&)>
class calendar_column final : public column {
 public:
  void reserve(size_t rows) override { v_.reserve(rows); }
  bool read(cursor& in) override {
    W x;
    if (!R(in, x)) return false;
    v_.push_back(x);
    return true;
  }
  QVariant at(size_t row) const override { return to_variant(v_[row]); }

 private:
  std::vector<W> v_;
};

// Every text of the column in one block, with the end of each.
class text_column final : public column {
 public:
  void reserve(size_t rows) override {
    ends_.reserve(rows);
    bytes_.reserve(rows * 8);
  }
  bool read(cursor& in) override {
    uint16_t len;
    if (!in.take(&len, 2) || in.left < len || bytes_.size() + len > 0xFFFFFFFFu) return false;
    bytes_.append(reinterpret_cast<const char*>(in.p), len);
    in.p += len;
    in.left -= len;
    ends_.push_back(uint32_t(bytes_.size()));
    return true;
  }
  QVariant at(size_t row) const override {
    const uint32_t begin = row ? ends_[row - 1] : 0;
    return QString::fromUtf8(bytes_.data() + begin, int(ends_[row] - begin));
  }

 private:
  std::vector<uint32_t> ends_;
  std::string bytes_;
};

class null_column final : public column {
 public:
  void reserve(size_t) override {}
  bool read(cursor&) override { return true; }
  QVariant at(size_t) const override { return QVariant(); }
};

// A column for a descriptor (size, sign, type), with the fewest bytes its rows take.
std::unique_ptr<column> column_for(uint8_t size, uint8_t sign, uint8_t type, size_t& width) {
  switch (type) {
    case 0:  // integer: 1, 2, 4 or 8 bytes, sign 0 signed
      width = size == 0 ? 1 : size == 1 ? 2 : size == 2 ? 4 : 8;
      if (size == 0) return sign ? std::unique_ptr<column>(new number_column<uint8_t, int>)
                                 : std::unique_ptr<column>(new number_column<int8_t, int>);
      if (size == 1) return sign ? std::unique_ptr<column>(new number_column<uint16_t, int>)
                                 : std::unique_ptr<column>(new number_column<int16_t, int>);
      if (size == 2) return sign ? std::unique_ptr<column>(new number_column<uint32_t, uint>)
                                 : std::unique_ptr<column>(new number_column<int32_t, int>);
      return sign ? std::unique_ptr<column>(new number_column<uint64_t, qulonglong>)
                  : std::unique_ptr<column>(new number_column<int64_t, qlonglong>);
    case 1:
      width = size == 2 ? 4 : 8;
      return size == 2 ? std::unique_ptr<column>(new number_column<float, float>)
                       : std::unique_ptr<column>(new number_column<double, double>);
    case 2:
      width = 2;
      return std::make_unique<text_column>();
    case 3:
      width = 4;
      return std::make_unique<calendar_column<wire_date, read_date>>();
    case 4:
      width = 7;
      return std::make_unique<calendar_column<wire_time, read_time>>();
    case 5:
      width = 11;
      return std::make_unique<calendar_column<wire_datetime, read_datetime>>();
    default:
      width = 0;
      return std::make_unique<null_column>();
  }
}

class plain_model final : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& = QModelIndex()) const override { return int(ids_.size()); }
  int columnCount(const QModelIndex& = QModelIndex()) const override { return int(columns_.size()); }
  QVariant data(const QModelIndex& i, int role) const override {
    return role == Qt::DisplayRole || role == Qt::EditRole ? columns_[size_t(i.column())]->at(size_t(i.row())) : QVariant();
  }
  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    return o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < int(names_.size())
               ? QVariant(names_[size_t(section)])
               : QVariant();
  }

  // Releases what it holds, then receives, decodes and holds the statement's result.
  bool load(wire_connection& w, std::string_view sql) {
    beginResetModel();
    clear();
    const char* body;
    size_t n;
    const bool ok = w.exchange(sql, body, n) && body[0] == 0 && decode(body + 1, n - 1);
    if (!ok) clear();
    endResetModel();
    return ok;
  }

 private:
  void clear() {
    columns_.clear();
    columns_.shrink_to_fit();
    ids_ = {};
    names_.clear();
  }
  bool decode(const char* payload, size_t n) {
    cursor in{reinterpret_cast<const unsigned char*>(payload), n};
    uint64_t ncols, nrows;
    if (!in.u64(ncols) || ncols > in.left / 8) return false;
    names_.reserve(ncols);
    for (uint64_t c = 0; c < ncols; ++c) {
      uint64_t len;
      if (!in.u64(len) || len > in.left || len > 0x7FFFFFFF) return false;
      names_.push_back(QString::fromUtf8(reinterpret_cast<const char*>(in.p), int(len)));
      in.p += len;
      in.left -= len;
    }
    if (!in.u64(nrows)) return false;
    if (nrows == 0) return true;
    if (ncols > in.left / 3) return false;
    size_t row_min = 8;
    columns_.reserve(ncols);
    for (uint64_t c = 0; c < ncols; ++c) {
      size_t width;
      columns_.push_back(column_for(in.p[0], in.p[1], in.p[2], width));
      in.p += 3;
      in.left -= 3;
      row_min += width;
    }
    // Every row takes at least its row id and fixed parts; a column whose type carries no
    // bytes may not make the table larger than an int row count either.
    if (nrows > in.left / row_min || nrows > 0x7FFFFFFF) return false;
    ids_.reserve(nrows);
    for (auto& c : columns_) c->reserve(nrows);
    for (uint64_t r = 0; r < nrows; ++r) {
      uint64_t id;
      if (!in.u64(id)) return false;
      ids_.push_back(id);
      for (auto& c : columns_)
        if (!c->read(in)) return false;
    }
    return in.left == 0;
  }

  std::vector<QString> names_;
  std::vector<uint64_t> ids_;
  std::vector<std::unique_ptr<column>> columns_;
};

// ---- the two sides behind one face

double mib(long kib) { return double(kib) / 1024; }
double server_mib() { return double(replies().bytes()) / (1024.0 * 1024.0); }

struct ours {
  db_ctx ctx{kk::adt::string_from_cstr("db"), nullptr};
  std::unique_ptr<tab_data_model> m;
  bool connected;
  explicit ours(uint16_t port) : connected(connect_to_server("127.0.0.1", port, "u", "p")) { make(); }
  ~ours() {
    m.reset();
    exit_to_server();
  }
  void make() { m = std::make_unique<tab_data_model>(kk::adt::string_from_cstr("wide"), &ctx); }
  bool load(const char* sql) { return connected && m->load(kk::adt::string_from_cstr(sql), true, nullptr, nullptr); }
  int rows() const { return m->rowCount(); }
  void release() { m.reset(); }
};

struct baseline {
  wire_connection w;
  std::unique_ptr<plain_model> m;
  explicit baseline(uint16_t port) : w(port) { make(); }
  void make() { m = std::make_unique<plain_model>(); }
  bool load(const char* sql) { return m->load(w, sql); }
  int rows() const { return m->rowCount(); }
  void release() { m.reset(); }
};

// The stages of our load, each timed alone over the same connection: the library's exchange
// (receive, decode into its result, release), then that plus read_result into the typed
// columns. The model's load is these plus its own bookkeeping.
struct stage_exchange {
  bool connected;
  kk::u64 rows_ = 0;
  explicit stage_exchange(uint16_t port) : connected(connect_to_server("127.0.0.1", port, "u", "p")) {}
  ~stage_exchange() { exit_to_server(); }
  bool load(const char* sql) {
    if (!connected) return false;
    datas* d = exec(sql, int32_t(std::strlen(sql)));
    if (!d) return false;
    rows_ = rows_of(d);
    del_datas(d);
    return true;
  }
  int rows() const { return int(rows_); }
};

struct stage_read : stage_exchange {
  result_table table;
  using stage_exchange::stage_exchange;
  bool load(const char* sql) {
    if (!connected) return false;
    table = result_table();  // the previous content is released inside, as a reload does
    datas* d = exec(sql, int32_t(std::strlen(sql)));
    if (!d) return false;
    const bool ok = read_result(d, table);
    del_datas(d);
    rows_ = table.rows();
    return ok;
  }
};

void memory_counters(benchmark::State& state, const rss_span& span, double server) {
  state.counters["server_MiB"] = server;
  state.counters["peak_MiB"] = mib(span.peak) - server;
  state.counters["held_MiB"] = mib(span.held) - server;
  state.counters["peak_above_MiB"] = mib(span.peak - span.start);
  state.counters["held_above_MiB"] = mib(span.held - span.start);
}

// Timed: one load of `sql` into a model loaded before; untimed before each, `before` when
// given (else the model holds the previous load of `sql`), then a pause of `pause_ms` when
// given (a user's seconds between two loads). Each load releases the model's previous
// content inside the timed region.
template <class Side>
void timed_loads(benchmark::State& state, table t, const char* before, const char* sql, int rows,
                 int pause_ms = 0) {
  prepare(t);
  malloc_trim(0);  // no free heap of earlier benchmarks: the first load below maps its own
  Side side(server().port());
  if (!before && !side.load(sql)) return state.SkipWithError("first load");
  rss_span span;
  long before_big = 0, after = 0;
  for (auto _ : state) {
    state.PauseTiming();
    before_big = bench_memory::status_kib("VmRSS");
    if (before && !side.load(before)) state.SkipWithError("big load");
    if (pause_ms) std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
    span.begin();
    state.ResumeTiming();
    const bool ok = side.load(sql);
    state.PauseTiming();
    span.end();
    after = bench_memory::status_kib("VmRSS");
    if (!ok || side.rows() != rows) state.SkipWithError("load");
    state.ResumeTiming();
  }
  memory_counters(state, span, server_mib());
  if (before) {
    // The big result released by the load of sql (the limit put back on): what the process
    // holds then against before the big load (the last repetition); the goal is 64 MiB.
    state.counters["before_big_MiB"] = mib(before_big) - server_mib();
    state.counters["after_release_MiB"] = mib(after) - server_mib();
    state.counters["kept_after_release_MiB"] = mib(after - before_big);
  }
}

// One model loaded again and again.
template <class Side>
void warm_load(benchmark::State& state, table t, const char* sql) {
  timed_loads<Side>(state, t, nullptr, sql, big_rows);
}

// As warm_load, with the pause a user takes between two loads before each: memory given
// back to the system a while ago can cost far more to touch again than memory just freed
// (on a virtual machine whose host takes back the guest's free pages).
template <class Side>
void paused_load(benchmark::State& state) {
  timed_loads<Side>(state, table::wide, nullptr, wide_sql, big_rows, pause_ms_between_loads);
}

// The model holds the big result; timed: the 1000-row result loaded into it.
template <class Side>
void reload_small(benchmark::State& state) {
  timed_loads<Side>(state, table::wide, wide_sql, small_sql, small_rows);
}

// Timed: destroying a model that holds the big result.
template <class Side>
void release_big(benchmark::State& state) {
  prepare(table::wide);
  malloc_trim(0);
  Side side(server().port());
  rss_span span;
  long before_load = 0, after_release = 0;
  for (auto _ : state) {
    state.PauseTiming();
    side.make();
    before_load = bench_memory::status_kib("VmRSS");
    if (!side.load(wide_sql) || side.rows() != big_rows) state.SkipWithError("load");
    span.begin();
    state.ResumeTiming();
    side.release();
    state.PauseTiming();
    span.end();
    after_release = bench_memory::status_kib("VmRSS");
    state.ResumeTiming();
  }
  state.counters["server_MiB"] = server_mib();
  state.counters["held_MiB"] = mib(span.held) - server_mib();
  state.counters["held_above_MiB"] = mib(span.held - span.start);
  // What the process holds once the big result is gone, against before it was loaded (the
  // last repetition): the goal is within 64 MiB.
  state.counters["before_load_MiB"] = mib(before_load) - server_mib();
  state.counters["after_release_MiB"] = mib(after_release) - server_mib();
  state.counters["kept_after_release_MiB"] = mib(after_release - before_load);
}

void BM_wide_load_tab_data_model(benchmark::State& state) { warm_load<ours>(state, table::wide, wide_sql); }
void BM_wide_load_baseline_plain_model(benchmark::State& state) { warm_load<baseline>(state, table::wide, wide_sql); }
void BM_wide_stage_exchange(benchmark::State& state) { warm_load<stage_exchange>(state, table::wide, wide_sql); }
void BM_wide_stage_exchange_and_read(benchmark::State& state) { warm_load<stage_read>(state, table::wide, wide_sql); }
void BM_wide_paused_load_tab_data_model(benchmark::State& state) { paused_load<ours>(state); }
void BM_wide_paused_load_baseline_plain_model(benchmark::State& state) { paused_load<baseline>(state); }
void BM_wide_paused_stage_exchange(benchmark::State& state) { paused_load<stage_exchange>(state); }
void BM_wide_reload_small_tab_data_model(benchmark::State& state) { reload_small<ours>(state); }
void BM_wide_reload_small_baseline_plain_model(benchmark::State& state) { reload_small<baseline>(state); }
void BM_wide_release_tab_data_model(benchmark::State& state) { release_big<ours>(state); }
void BM_wide_release_baseline_plain_model(benchmark::State& state) { release_big<baseline>(state); }
void BM_narrow_load_tab_data_model(benchmark::State& state) { warm_load<ours>(state, table::narrow, narrow_sql); }
void BM_narrow_load_baseline_plain_model(benchmark::State& state) {
  warm_load<baseline>(state, table::narrow, narrow_sql);
}

// Strawman for scale: a fresh QStandardItemModel per load, filled from exec_query and
// destroyed inside the timed region.
void BM_narrow_load_strawman_standard_item_model(benchmark::State& state) {
  prepare(table::narrow);
  malloc_trim(0);
  connect_to_server("127.0.0.1", server().port(), "u", "p");
  db_ctx ctx{kk::adt::string_from_cstr("db"), nullptr};
  rss_span span;
  for (auto _ : state) {
    state.PauseTiming();
    span.begin();
    state.ResumeTiming();
    {
      QStandardItemModel m;
      text_list names, types;
      variant_rows r;
      kk::adt::string::string entry;
      if (!exec_query(&ctx, kk::adt::string_from_cstr(narrow_sql), names, r, types, entry, true, nullptr))
        state.SkipWithError("exec");
      m.setColumnCount(int(r.columns));
      m.setRowCount(int(r.count()));
      for (size_t k = 0; k < r.count(); ++k)
        for (size_t c = 0; c < r.columns; ++c) {
          auto* item = new QStandardItem;
          item->setData(std::move(r.at(k, c)), Qt::EditRole);
          m.setItem(int(k), int(c), item);
        }
      list_of_rows_clear(r);
      if (m.rowCount() != big_rows) state.SkipWithError("load");
      state.PauseTiming();
      span.end();
      state.ResumeTiming();
    }
  }
  exit_to_server();
  memory_counters(state, span, server_mib());
}

void BM_narrow_sort_tab_data_model(benchmark::State& state) {
  prepare(table::narrow);
  ours side(server().port());
  if (!side.load(narrow_sql)) state.SkipWithError("load");
  bool ascending = true;
  for (auto _ : state) {
    side.m->sort_rows(int(state.range(0)), ascending);
    ascending = !ascending;
  }
}

// ---- cold runs

// The kinds a child runs: table and side.
struct cold_kind {
  const char* name;
  table t;
  bool ours;
};
constexpr cold_kind cold_kinds[] = {{"wide_tab_data_model", table::wide, true},
                                    {"wide_baseline_plain_model", table::wide, false},
                                    {"narrow_tab_data_model", table::narrow, true},
                                    {"narrow_baseline_plain_model", table::narrow, false}};

void BM_cold(benchmark::State& state, const char* kind) {
  for (const cold_kind& k : cold_kinds)
    if (std::strcmp(k.name, kind) == 0) prepare(k.t);
  bench_cold::run(state, {std::string("--cold=") + kind, "--port=" + std::to_string(server().port())});
}

template <class Side>
int cold_child(uint16_t port, const char* sql) {
  using clock = std::chrono::steady_clock;
  Side side(port);
  rss_span span;
  span.begin();
  const auto t0 = clock::now();
  const bool ok = side.load(sql);
  const auto t1 = clock::now();
  span.end();
  if (!ok || side.rows() != big_rows) return 1;
  const auto t2 = clock::now();
  side.release();
  const auto t3 = clock::now();
  const long after_release = bench_memory::status_kib("VmRSS");
  bench_cold::put("seconds", std::chrono::duration<double>(t1 - t0).count());
  bench_cold::put("release_ms", std::chrono::duration<double, std::milli>(t3 - t2).count());
  bench_cold::put("server_MiB", 0);
  bench_cold::put("start_MiB", mib(span.start));
  bench_cold::put("peak_MiB", mib(span.peak));
  bench_cold::put("held_MiB", mib(span.held));
  bench_cold::put("peak_above_MiB", mib(span.peak - span.start));
  bench_cold::put("held_above_MiB", mib(span.held - span.start));
  bench_cold::put("after_release_MiB", mib(after_release));
  bench_cold::put("kept_after_release_MiB", mib(after_release - span.start));
  return 0;
}

int cold_main(const std::string& kind, const std::string& port_text) {
  const int port = std::atoi(port_text.c_str());
  if (port <= 0 || port > 65535) return 2;
  for (const cold_kind& k : cold_kinds)
    if (kind == k.name) {
      const char* sql = k.t == table::wide ? wide_sql : narrow_sql;
      return k.ours ? cold_child<ours>(uint16_t(port), sql) : cold_child<baseline>(uint16_t(port), sql);
    }
  return 2;
}

}  // namespace

BENCHMARK(BM_wide_load_tab_data_model)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_wide_load_baseline_plain_model)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_wide_stage_exchange)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_stage_exchange_and_read)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_paused_load_tab_data_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_paused_load_baseline_plain_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_paused_stage_exchange)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_reload_small_tab_data_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_reload_small_baseline_plain_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_release_tab_data_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_wide_release_baseline_plain_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_narrow_load_tab_data_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_narrow_load_baseline_plain_model)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_narrow_load_strawman_standard_item_model)->Unit(benchmark::kMillisecond)->Iterations(3);
// Columns: 0 i32, 1 string, 2 double, 3 date, 4 u64.
BENCHMARK(BM_narrow_sort_tab_data_model)->Unit(benchmark::kMillisecond)->DenseRange(0, 4)->Iterations(2);
// One child per repetition: the median of three fresh processes.
BENCHMARK_CAPTURE(BM_cold, wide_tab_data_model, "wide_tab_data_model")
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(BM_cold, wide_baseline_plain_model, "wide_baseline_plain_model")
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(BM_cold, narrow_tab_data_model, "narrow_tab_data_model")
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
BENCHMARK_CAPTURE(BM_cold, narrow_baseline_plain_model, "narrow_baseline_plain_model")
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);

int main(int argc, char** argv) {
  // The program's heap settings (app/startup.cpp): loads and releases keep and hand back
  // memory as they do there.
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kk::library_startup();
  const std::string cold = bench_cold::flag(argc, argv, "cold");
  if (!cold.empty()) return cold_main(cold, bench_cold::flag(argc, argv, "port"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
