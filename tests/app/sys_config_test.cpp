// The configuration file: its exact bytes, the round trip, and loading short and damaged files.
#include "ui_base/sys_config.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

using bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

bytes to_bytes(const kk::adt::string::string& s) { return bytes(s.data, s.data + s.size); }

bytes le32(kk::u32 v) { return {kk::u8(v), kk::u8(v >> 8), kk::u8(v >> 16), kk::u8(v >> 24)}; }

bytes text(const char* s) { return bytes(s, s + std::strlen(s)); }

void put(bytes& b, std::size_t at, const bytes& what) {
  ASSERT_LE(at + what.size(), b.size());
  std::copy(what.begin(), what.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

void append(bytes& b, const bytes& what) { b.insert(b.end(), what.begin(), what.end()); }

std::vector<std::string> paths(const kk::adt::list<kk::adt::string::string>& l) {
  std::vector<std::string> out;
  for (auto* n = l.head; n; n = n->next) out.emplace_back(n->value.data ? n->value.data : "", n->value.size);
  return out;
}

void add_path(kk::adt::list<kk::adt::string::string>& l, const char* p) { l.push_back(kk::adt::string_from_cstr(p)); }

class sys_config_file : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("ruv_cfg_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir, ec);
  }
  std::string file(const char* name = "config") const { return (dir / name).string(); }
  void write(const bytes& b, const char* name = "config") const {
    std::ofstream(file(name), std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                      static_cast<std::streamsize>(b.size()));
  }
  bytes read(const char* name = "config") const {
    std::ifstream in(file(name), std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
  }
  // Loads b into a record that starts from the defaults.
  sys_config_record load(const bytes& b) const {
    write(b);
    sys_config_record r;
    EXPECT_TRUE(load_sys_config(&r, file().c_str()));
    return r;
  }
};

// The theme presets as the preferences dialog's table gives them: per theme, the classes in
// the order of a set (default, function, field name, table name, constant, post keyword, read
// keyword, write keyword, default keyword, comment); bold B, italic I.
struct preset_row {
  kk::u8 r, g, b;
  const char* style;
};
const preset_row presets[3][10] = {
    {{0, 0, 0, ""}, {232, 183, 107, "B"}, {148, 154, 142, "BI"}, {240, 186, 178, "B"}, {237, 12, 140, ""},
     {63, 83, 94, "B"}, {153, 201, 201, "B"}, {136, 121, 116, "B"}, {151, 177, 211, ""}, {174, 174, 174, ""}},
    {{0, 0, 0, ""}, {128, 128, 0, ""}, {255, 165, 0, "I"}, {95, 158, 160, "B"}, {128, 128, 128, ""},
     {160, 82, 45, ""}, {0, 128, 0, ""}, {255, 215, 0, ""}, {46, 139, 87, ""}, {174, 174, 174, ""}},
    {{0, 0, 0, ""}, {66, 44, 51, ""}, {109, 136, 153, "I"}, {220, 195, 124, "B"}, {99, 105, 108, ""},
     {148, 142, 132, ""}, {199, 151, 100, ""}, {199, 151, 100, ""}, {83, 98, 106, ""}, {174, 174, 174, ""}},
};

// The defaults, byte by byte: every byte not named here is 0.
bytes default_file() {
  bytes b(2920, 0);
  put(b, 0, le32(1));                       // language: English
  put(b, 4, le32(32));                      // icon_size
  put(b, 72, text("127.0.0.1"));            // server
  put(b, 104, le32(55555));                 // port
  put(b, 108, {1, 1, 1, 1});                // tree, log, status bar, tool bar shown
  put(b, 112, {0x00, 0x00, 0x80, 0x3f});    // horizontal_factor 1.0f
  put(b, 116, {0xcd, 0xcc, 0xcc, 0x3f});    // vertical_factor 1.6f
  for (std::size_t f = 0; f < 30; ++f) {
    const std::size_t at = 124 + f * 92;
    const preset_row& p = presets[f / 10][f % 10];
    put(b, at, text("Source Code Pro"));
    b[at + 64] = std::strchr(p.style, 'B') ? 1 : 0;
    b[at + 65] = std::strchr(p.style, 'I') ? 1 : 0;
    put(b, at + 72, le32(p.r));
    put(b, at + 76, le32(p.g));
    put(b, at + 80, le32(p.b));
    put(b, at + 84, le32(255));  // alpha
    put(b, at + 88, le32(12));   // point_size
  }
  put(b, 2884, {1});                        // show_space
  put(b, 2888, le32(4));                    // tab_width
  put(b, 2892, {0x00, 0x00, 0x80, 0x3f});   // continuous_edit_seconds 1.0f
  put(b, 2896, le32(1));                    // cursor_width
  put(b, 2900, {1});                        // completion
  put(b, 2908, {1});                        // completion_only_sql
  return b;                                 // then two counts of 0
}

TEST(sys_config_bytes_test, defaults_are_the_documented_bytes) {
  sys_config_record r;
  EXPECT_EQ(to_bytes(sys_config_bytes(r)), default_file());
  // The global record starts from the same defaults.
  EXPECT_EQ(to_bytes(sys_config_bytes(sys_config)), default_file());
}

TEST(sys_config_bytes_test, a_new_record_holds_each_themes_preset) {
  const sys_config_record r;
  for (int theme = 0; theme < 3; ++theme) {
    for (int c = 0; c < 10; ++c) {
      SCOPED_TRACE("theme " + std::to_string(theme) + " class " + std::to_string(c));
      const text_format& f = r.text_formats[theme][c];
      const preset_row& p = presets[theme][c];
      EXPECT_STREQ(f.family, "Source Code Pro");
      EXPECT_EQ((std::vector<kk::u32>{f.red, f.green, f.blue, f.alpha}), (std::vector<kk::u32>{p.r, p.g, p.b, 255}));
      EXPECT_EQ(f.bold != 0, std::strchr(p.style, 'B') != nullptr);
      EXPECT_EQ(f.italic != 0, std::strchr(p.style, 'I') != nullptr);
      EXPECT_EQ(f.point_size, 12u);
      EXPECT_FALSE(f.overline || f.underline || f.strikeout);
    }
  }
  // The keywords of the theme in use are coloured, not black.
  const text_format& kw = r.text_formats[r.theme][tf_read_keyword];
  EXPECT_NE(kw.red + kw.green + kw.blue, 0u);
}

TEST(sys_config_bytes_test, an_existing_file_keeps_its_colours) {
  // A file written before the presets held black sets: they load black, as written.
  bytes b = default_file();
  for (std::size_t f = 0; f < 30; ++f) {
    const std::size_t at = 124 + f * 92;
    std::fill(b.begin() + static_cast<std::ptrdiff_t>(at + 64), b.begin() + static_cast<std::ptrdiff_t>(at + 84), 0);
  }
  sys_config_record r;
  sys_config_from_bytes(r, b.data(), b.size());
  for (const auto& set : r.text_formats)
    for (const auto& f : set.formats) EXPECT_EQ(f.red + f.green + f.blue + f.bold + f.italic, 0u);
  EXPECT_EQ(to_bytes(sys_config_bytes(r)), b);
}

TEST(sys_config_bytes_test, defaults_restore_every_field_and_keep_the_lists) {
  sys_config_record r;
  bytes all_ff(2912, 0xff);
  all_ff.resize(2920, 0);
  sys_config_from_bytes(r, all_ff.data(), all_ff.size());
  add_path(r.open_files, "x.sql");
  sys_config_defaults(r);
  bytes want = default_file();
  bytes got = to_bytes(sys_config_bytes(r));
  EXPECT_EQ(bytes(got.begin(), got.begin() + 2912), bytes(want.begin(), want.begin() + 2912));
  EXPECT_EQ(paths(r.open_files), std::vector<std::string>{"x.sql"});
  for (unsigned theme = 0; theme < 3; ++theme) {
    text_format_set s;
    s[3].bold = 1;
    s[3].point_size = 30;
    s[5].red = 1;
    text_format_set_init(s, theme);
    EXPECT_EQ(std::memcmp(&s, &r.text_formats[theme], sizeof s), 0);
  }
}

TEST_F(sys_config_file, save_writes_open_files_then_recent_files) {
  sys_config_record r;
  add_path(r.open_files, "a.sql");
  add_path(r.recent_files, "r1");
  add_path(r.recent_files, "dir/r2.sql");
  ASSERT_TRUE(save_sys_config(&r, file().c_str()));
  bytes want = default_file();
  want.resize(2912);
  append(want, le32(1));
  append(want, le32(5));
  append(want, text("a.sql"));
  append(want, le32(2));
  append(want, le32(2));
  append(want, text("r1"));
  append(want, le32(10));
  append(want, text("dir/r2.sql"));
  EXPECT_EQ(read(), want);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(sys_config_file, every_field_survives_save_and_load) {
  sys_config_record r;
  r.language = 2;
  r.icon_size = 48;
  std::strcpy(r.user, "\xe7\x94\xa8\xe6\x88\xb7 name");
  std::strcpy(r.server, "10.20.30.40");
  r.port = 1;
  r.show_db_tree = 0;
  r.show_log = 0;
  r.show_status_bar = 0;
  r.show_tool_bar = 0;
  r.horizontal_factor = 0.75f;
  r.vertical_factor = 2.25f;
  r.theme = 2;
  for (int s = 0; s < 3; ++s)
    for (int i = 0; i < 10; ++i) {
      text_format& t = r.text_formats[s][i];
      std::snprintf(t.family, sizeof t.family, "Font %d %d", s, i);
      t.bold = t.italic = t.overline = t.underline = t.strikeout = 1;
      t.red = kk::u32(s * 10 + i);
      t.green = 200;
      t.blue = 255;
      t.alpha = 128;
      t.point_size = kk::u32(8 + i);
    }
  r.show_space = 0;
  r.insert_as_space = 1;
  r.tab_width = 8;
  r.continuous_edit_seconds = 20.0f;
  r.cursor_width = 4;
  r.completion = 0;
  r.completion_least_count = 6;
  r.completion_only_sql = 0;
  r.check_update_at_start = 1;
  add_path(r.open_files, "/tmp/one.sql");
  add_path(r.open_files, "");
  add_path(r.recent_files, "\xc3\xa9t\xc3\xa9.sql");
  ASSERT_TRUE(save_sys_config(&r, file().c_str()));

  sys_config_record back;
  ASSERT_TRUE(load_sys_config(&back, file().c_str()));
  EXPECT_EQ(to_bytes(sys_config_bytes(back)), to_bytes(sys_config_bytes(r)));
  EXPECT_EQ(std::memcmp(static_cast<sys_config_block*>(&back), static_cast<sys_config_block*>(&r),
                        sizeof(sys_config_block)),
            0);
  EXPECT_EQ(paths(back.open_files), (std::vector<std::string>{"/tmp/one.sql", ""}));
  EXPECT_EQ(paths(back.recent_files), std::vector<std::string>{"\xc3\xa9t\xc3\xa9.sql"});
}

TEST_F(sys_config_file, missing_file_says_so_and_keeps_the_record) {
  sys_config_record r;
  r.language = 0;
  add_path(r.recent_files, "kept");
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(load_sys_config(&r, file("absent").c_str()));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "load system config failed, use initial config\n");
  EXPECT_EQ(r.language, 0u);
  EXPECT_EQ(paths(r.recent_files), std::vector<std::string>{"kept"});
}

TEST_F(sys_config_file, a_file_of_100_bytes_sets_only_what_it_holds) {
  bytes b(100, 0);
  put(b, 0, le32(0));
  put(b, 4, le32(24));
  put(b, 8, text("alice"));
  put(b, 72, text("192.168.100.200"));  // 15 characters: the first 28 bytes of server are in the file
  sys_config_record r = load(b);
  EXPECT_EQ(r.language, 0u);
  EXPECT_EQ(r.icon_size, 24u);
  EXPECT_STREQ(r.user, "alice");
  EXPECT_STREQ(r.server, "192.168.100.200");
  bytes got = to_bytes(sys_config_bytes(r));
  bytes want = default_file();
  EXPECT_EQ(bytes(got.begin() + 100, got.end()), bytes(want.begin() + 100, want.end()));
}

TEST_F(sys_config_file, server_bytes_beyond_a_short_file_keep_their_values) {
  // The file ends inside `server`: its last 4 bytes keep what the record held.
  bytes b(100, 0);
  put(b, 72, text("0123456789012345678901234567"));
  sys_config_record r;
  std::memset(r.server, 'z', 31);
  write(b);
  ASSERT_TRUE(load_sys_config(&r, file().c_str()));
  EXPECT_STREQ(r.server, "0123456789012345678901234567zzz");
}

// The whole file of a record with two paths in each list.
bytes full_file() {
  sys_config_record r;
  r.language = 2;
  std::strcpy(r.user, "bob");
  std::strcpy(r.server, "10.1.2.3");
  r.port = 4000;
  r.theme = 1;
  r.text_formats[1][4].red = 200;
  r.tab_width = 2;
  add_path(r.open_files, "a.sql");
  add_path(r.open_files, "bb.sql");
  add_path(r.recent_files, "ccc.sql");
  add_path(r.recent_files, "d.sql");
  return to_bytes(sys_config_bytes(r));
}

TEST(sys_config_bytes_test, a_file_cut_anywhere_keeps_what_it_holds) {
  const bytes full = full_file();
  const bytes defaults = default_file();
  // Where each entry of the lists ends: open a.sql, bb.sql, then recent ccc.sql, d.sql.
  const std::size_t open_ends[] = {2912 + 4 + 9, 2912 + 4 + 9 + 10};
  const std::size_t recent_ends[] = {open_ends[1] + 4 + 11, open_ends[1] + 4 + 11 + 9};
  ASSERT_EQ(recent_ends[1], full.size());
  for (std::size_t cut = 0; cut <= full.size(); cut += (cut < 2912 ? 4 : 1)) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    sys_config_record r;
    sys_config_from_bytes(r, full.data(), cut);
    bytes got = to_bytes(sys_config_bytes(r));
    const std::size_t in_block = std::min<std::size_t>(cut, 2912);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + in_block, full.begin()));
    EXPECT_TRUE(std::equal(got.begin() + in_block, got.begin() + 2912, defaults.begin() + in_block));
    std::vector<std::string> open, recent;
    if (cut >= open_ends[0]) open.push_back("a.sql");
    if (cut >= open_ends[1]) open.push_back("bb.sql");
    if (cut >= recent_ends[0]) recent.push_back("ccc.sql");
    if (cut >= recent_ends[1]) recent.push_back("d.sql");
    EXPECT_EQ(paths(r.open_files), open);
    EXPECT_EQ(paths(r.recent_files), recent);
  }
}

TEST_F(sys_config_file, damaged_lists_never_read_past_the_file) {
  struct lists_case {
    const char* what;
    bytes tail;  // after the block
    std::vector<std::string> open, recent;
  };
  auto cat = [](std::initializer_list<bytes> parts) {
    bytes b;
    for (const bytes& p : parts) append(b, p);
    return b;
  };
  const std::vector<lists_case> cases = {
      {"count 0xFFFFFFFF is an empty list", cat({le32(0xffffffff), le32(1), le32(1), text("r")}), {}, {"r"}},
      {"count 0x80000000 is an empty list", cat({le32(0x80000000), le32(0)}), {}, {}},
      {"count 0x7FFFFFFF with one entry", cat({le32(0x7fffffff), le32(5), text("a.sql")}), {"a.sql"}, {}},
      {"length 0xFFFFFFFF", cat({le32(1), le32(0xffffffff), text("abc")}), {}, {}},
      {"length 0x7FFFFFF0 with 3 bytes", cat({le32(1), le32(0x7ffffff0), text("abc")}), {}, {}},
      {"length one beyond the file", cat({le32(1), le32(6), text("a.sql")}), {}, {}},
      {"second length too large",
       cat({le32(2), le32(5), text("a.sql"), le32(1000), text("b")}), {"a.sql"}, {}},
      {"open list cut: recent not read",
       cat({le32(3), le32(1), text("a"), le32(1), text("b")}), {"a", "b"}, {}},
      {"recent length too large", cat({le32(0), le32(2), le32(1), text("x"), le32(99)}), {}, {"x"}},
      {"a path ends at its first NUL", cat({le32(1), le32(4), bytes{'a', 'b', 0, 'c'}, le32(0)}), {"ab"}, {}},
      {"an empty path", cat({le32(1), le32(0), le32(0)}), {""}, {}},
      {"count cut inside its word", bytes{1, 0}, {}, {}},
      {"bytes after the recent list are ignored", cat({le32(0), le32(0), text("junk")}), {}, {}},
  };
  for (const lists_case& c : cases) {
    SCOPED_TRACE(c.what);
    bytes b = default_file();
    b.resize(2912);
    append(b, c.tail);
    sys_config_record r = load(b);
    EXPECT_EQ(paths(r.open_files), c.open);
    EXPECT_EQ(paths(r.recent_files), c.recent);
  }
}

TEST_F(sys_config_file, damaged_block_values_take_their_defaults) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  auto f32 = [](float v) {
    kk::u32 w;
    std::memcpy(&w, &v, 4);
    return le32(w);
  };
  struct block_case {
    const char* what;
    std::size_t at;
    bytes value;
    std::size_t check_at;  // where the loaded record's bytes must be the defaults
    std::size_t check_size;
  };
  const std::size_t fmt = 124 + 920 + 92 * 3;  // second set, fourth format
  const std::vector<block_case> cases = {
      {"theme 9", 120, le32(9), 120, 4},
      {"theme 0xFFFFFFFF", 120, le32(0xffffffff), 120, 4},
      {"horizontal factor NaN", 112, f32(nan), 112, 4},
      {"horizontal factor negative", 112, f32(-1.0f), 112, 4},
      {"vertical factor infinite", 116, f32(inf), 116, 4},
      {"vertical factor 1e30", 116, f32(1e30f), 116, 4},
      {"continuous edit NaN", 2892, f32(-nan), 2892, 4},
      {"continuous edit 1e9", 2892, f32(1e9f), 2892, 4},
      {"port 0", 104, le32(0), 104, 4},
      {"port 65536", 104, le32(65536), 104, 4},
      {"tab width 0", 2888, le32(0), 2888, 4},
      {"tab width 4e9", 2888, le32(4000000000u), 2888, 4},
      {"cursor width 1000", 2896, le32(1000), 2896, 4},
      {"least count 99", 2904, le32(99), 2904, 4},
      {"point size 0", fmt + 88, le32(0), fmt + 88, 4},
      {"point size 1e6", fmt + 88, le32(1000000), fmt + 88, 4},
      {"red 256", fmt + 72, le32(256), fmt + 72, 4},
      {"alpha 0x10000", fmt + 84, le32(0x10000), fmt + 84, 4},
  };
  const bytes defaults = default_file();
  for (const block_case& c : cases) {
    SCOPED_TRACE(c.what);
    bytes b = defaults;
    // Something valid beside it stays.
    put(b, 0, le32(2));
    put(b, c.at, c.value);
    sys_config_record r = load(b);
    bytes got = to_bytes(sys_config_bytes(r));
    EXPECT_TRUE(std::equal(got.begin() + static_cast<std::ptrdiff_t>(c.check_at),
                           got.begin() + static_cast<std::ptrdiff_t>(c.check_at + c.check_size),
                           defaults.begin() + static_cast<std::ptrdiff_t>(c.check_at)));
    EXPECT_EQ(r.language, 2u);
  }
}

TEST_F(sys_config_file, texts_without_nul_end_at_their_last_byte) {
  bytes b = default_file();
  std::fill(b.begin() + 8, b.begin() + 72, 'u');     // user: 64 bytes, no NUL
  std::fill(b.begin() + 72, b.begin() + 104, '9');   // server: 32 bytes, no NUL
  std::fill(b.begin() + 124, b.begin() + 188, 'F');  // first family: 64 bytes, no NUL
  sys_config_record r = load(b);
  EXPECT_EQ(std::strlen(r.user), 63u);
  EXPECT_EQ(std::strlen(r.server), 31u);
  EXPECT_EQ(std::strlen(r.text_formats[0][0].family), 63u);
  EXPECT_EQ(r.port, 55555u);  // the field after server is untouched
}

TEST_F(sys_config_file, padding_is_written_as_zero_and_flags_as_bytes) {
  bytes b = default_file();
  for (std::size_t at : {2886, 2887, 2901, 2902, 2903, 2910, 2911, 124 + 69, 124 + 70, 124 + 71}) b[at] = 0xAA;
  b[2909] = 7;  // a flag byte other than 1 is kept
  sys_config_record r = load(b);
  EXPECT_EQ(r.check_update_at_start, 7);
  bytes got = to_bytes(sys_config_bytes(r));
  bytes want = default_file();
  want[2909] = 7;
  EXPECT_EQ(got, want);
}

TEST_F(sys_config_file, a_full_disk_leaves_the_old_file_whole) {
  sys_config_record old;
  old.language = 0;
  ASSERT_TRUE(save_sys_config(&old, file().c_str()));
  const bytes before = read();
  // A file-size limit below the file's size makes the writes fail as a full disk would.
  sys_config_record r;
  for (int i = 0; i < 200; ++i) add_path(r.recent_files, "/a/rather/long/path/to/a/script.sql");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = save_sys_config(&r, file().c_str());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(read(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // Paths that cannot be written at all.
  EXPECT_FALSE(save_sys_config(&r, file("missing/config").c_str()));
  fs::create_directories(dir / "is_dir");
  EXPECT_FALSE(save_sys_config(&r, file("is_dir").c_str()));
  EXPECT_TRUE(fs::is_directory(dir / "is_dir"));
}

TEST_F(sys_config_file, save_keeps_mode_and_owner) {
  // Modes other than the 0600 a temporary file is made with, too: each is copied, not left.
  const bool root = ::geteuid() == 0;
  sys_config_record r;
  for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604), mode_t(0664)}) {
    SCOPED_TRACE(mode);
    ASSERT_TRUE(save_sys_config(&r, file().c_str()));
    ASSERT_EQ(::chmod(file().c_str(), mode), 0);
    if (root) {
      ASSERT_EQ(::chown(file().c_str(), 4321, 4322), 0);
    }
    r.language = (r.language + 1) % 4;
    ASSERT_TRUE(save_sys_config(&r, file().c_str()));
    struct stat st {};
    ASSERT_EQ(::stat(file().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    if (root) {
      EXPECT_EQ(st.st_uid, 4321u);
      EXPECT_EQ(st.st_gid, 4322u);
    }
    EXPECT_EQ(read(), to_bytes(sys_config_bytes(r)));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  }
}

TEST_F(sys_config_file, save_writes_through_a_link_to_its_target) {
  fs::create_directories(dir / "real");
  struct row {
    const char* link;
    std::string target;  // as the link holds it
    const char* written;  // the file that must hold the bytes, under dir
  };
  const row rows[] = {
      {"config", "real/settings", "real/settings"},            // relative
      {"abs", (dir / "real/abs_target").string(), "real/abs_target"},  // absolute, not there yet
      {"chain", "config", "real/settings"},                    // a link to a link
  };
  sys_config_record r;
  r.language = 3;
  for (const row& w : rows) {
    SCOPED_TRACE(w.link);
    ASSERT_EQ(::symlink(w.target.c_str(), file(w.link).c_str()), 0);
    ASSERT_TRUE(save_sys_config(&r, file(w.link).c_str()));
    EXPECT_TRUE(fs::is_symlink(dir / w.link));
    EXPECT_EQ(read(w.written), to_bytes(sys_config_bytes(r)));
    r.language = 0;
  }
  // Links that go round: nothing written, the reason given.
  ASSERT_EQ(::symlink("loop_b", file("loop_a").c_str()), 0);
  ASSERT_EQ(::symlink("loop_a", file("loop_b").c_str()), 0);
  config_save_failure why;
  EXPECT_FALSE(save_sys_config(&r, file("loop_a").c_str(), &why));
  EXPECT_EQ(why.kind, config_save_failure::cannot_write);
  EXPECT_EQ(why.error, ELOOP);
}

TEST_F(sys_config_file, save_writes_in_place_where_no_temporary_file_can_be_made) {
  // A name so long that the temporary name beside it is too long for the folder: the file
  // itself can be written, also for root.
  const std::string name(250, 'c');
  sys_config_record big;
  for (int i = 0; i < 50; ++i) add_path(big.recent_files, "/a/rather/long/path/to/a/script.sql");
  ASSERT_TRUE(save_sys_config(&big, file(name.c_str()).c_str()));
  ASSERT_EQ(::chmod(file(name.c_str()).c_str(), 0640), 0);
  sys_config_record small;
  small.language = 2;
  ASSERT_TRUE(save_sys_config(&small, file(name.c_str()).c_str()));
  EXPECT_EQ(read(name.c_str()), to_bytes(sys_config_bytes(small)));  // cut to the new length
  struct stat st {};
  ASSERT_EQ(::stat(file(name.c_str()).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(sys_config_file, save_in_a_folder_the_user_cannot_write) {
  // Root writes every folder, so there the save runs in a child process that has become an
  // ordinary user, the owner of the folder and of the file.
  const bool root = ::geteuid() == 0;
  const uid_t user = 65534;
  const gid_t group = 65534;
  sys_config_record r;
  ASSERT_TRUE(save_sys_config(&r, file().c_str()));
  ASSERT_EQ(::chmod(file().c_str(), 0640), 0);
  if (root) {
    ASSERT_EQ(::chown(dir.c_str(), user, group), 0);
    ASSERT_EQ(::chown(file().c_str(), user, group), 0);
  }
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  r.language = 2;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (root && (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0)) ::_exit(2);
    ::_exit(save_sys_config(&r, file().c_str()) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  fs::permissions(dir, fs::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the child could not become user " << user;
  EXPECT_EQ(read(), to_bytes(sys_config_bytes(r)));
  struct stat st {};
  ASSERT_EQ(::stat(file().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, user);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(sys_config_file, save_says_why_it_failed) {
  ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
  fs::create_directories(dir / "folder");
  struct row {
    const char* name;
    config_save_failure::kind_t kind;
    int error;
  };
  const row rows[] = {
      {"fifo", config_save_failure::not_regular, 0},  // never opened: it would wait for a reader
      {"folder", config_save_failure::not_regular, 0},
      {"missing/config", config_save_failure::cannot_write, ENOENT},
  };
  sys_config_record r;
  for (const row& w : rows) {
    SCOPED_TRACE(w.name);
    config_save_failure why;
    EXPECT_FALSE(save_sys_config(&r, file(w.name).c_str(), &why));
    EXPECT_EQ(why.kind, w.kind);
    EXPECT_EQ(why.error, w.error);
    EXPECT_EQ(why.file, file(w.name));
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

TEST_F(sys_config_file, a_config_that_is_no_regular_file_is_not_read) {
  ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0600), 0);
  fs::create_directories(dir / "folder");
  for (const char* name : {"fifo", "folder"}) {
    sys_config_record r;
    r.language = 0;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(load_sys_config(&r, file(name).c_str()));  // returns at once, no writer needed
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "load system config failed, " + file(name) + " is not a regular file, use initial config\n");
    EXPECT_EQ(r.language, 0u);
  }
}

TEST_F(sys_config_file, an_empty_config_keeps_the_record) {
  write({});
  sys_config_record r;
  r.language = 0;
  add_path(r.open_files, "kept");
  EXPECT_TRUE(load_sys_config(&r, file().c_str()));
  EXPECT_EQ(r.language, 0u);
  EXPECT_EQ(paths(r.open_files), std::vector<std::string>{"kept"});
  sys_config_from_bytes(r, nullptr, 0);
  EXPECT_EQ(r.language, 0u);
}

TEST(sys_config_lists, free_clears_both_lists) {
  sys_config_record r;
  add_path(r.open_files, "a");
  add_path(r.recent_files, "b");
  free_sys_config_lists(&r);
  EXPECT_EQ(r.open_files.count, 0u);
  EXPECT_EQ(r.recent_files.count, 0u);
  EXPECT_EQ(r.open_files.head, nullptr);
  EXPECT_EQ(r.recent_files.head, nullptr);
}

}  // namespace
