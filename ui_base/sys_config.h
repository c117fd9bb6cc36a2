#pragma once
// The program's configuration record and its file "config".
//
// One process-wide record, `sys_config`, holds the language, the view settings, the default
// login, the editor's three colour schemes and options, and two lists of script paths. Its
// block part (everything before the lists, 2912 bytes) is plain data that may be copied as a
// whole: assign through `sys_config_block&`. The lists are copied node by node.
//
// The file is the block in a fixed little-endian layout (the offsets below, padding written
// as zero), then the open files, then the recent files, each list as a u32 count and per
// entry a u32 length and that many path bytes. The same bytes on every machine.
#include <cstddef>
#include <string>

#include "adt/list.h"
#include "adt/string.h"
#include "adt/types.h"

// Token classes of the editor's colour schemes, in the order of a text_format_set.
enum text_format_class : kk::u32 {
  tf_default = 0,
  tf_function = 1,
  tf_field_name = 2,
  tf_table_name = 3,
  tf_constant = 4,
  tf_post_keyword = 5,
  tf_read_keyword = 6,
  tf_write_keyword = 7,
  tf_default_keyword = 8,
  tf_comment = 9,
};

// Font and colour of one token class (92 bytes in the file).
struct text_format {
  char family[64] = "Source Code Pro";  // NUL-terminated
  kk::u8 bold = 0;
  kk::u8 italic = 0;
  kk::u8 overline = 0;
  kk::u8 underline = 0;
  kk::u8 strikeout = 0;
  kk::u8 padding[3] = {0, 0, 0};
  kk::u32 red = 0;
  kk::u32 green = 0;
  kk::u32 blue = 0;
  kk::u32 alpha = 255;
  kk::u32 point_size = 12;
};

// The ten token classes of one theme (920 bytes).
struct text_format_set {
  static constexpr std::size_t count = 10;
  text_format formats[count];

  text_format& operator[](std::size_t i) { return formats[i]; }
  const text_format& operator[](std::size_t i) const { return formats[i]; }
};

// The colours and styles of the three themes' presets, per class in the order of a set; every
// class is "Source Code Pro", 12 points, alpha 255, no overline, underline or strike-out.
struct text_format_preset_class {
  kk::u8 red, green, blue;
  bool bold, italic;
};
inline constexpr text_format_preset_class text_format_presets[3][text_format_set::count] = {
    {{0, 0, 0, false, false},          // " elegant"
     {232, 183, 107, true, false},
     {148, 154, 142, true, true},
     {240, 186, 178, true, false},
     {237, 12, 140, false, false},
     {63, 83, 94, true, false},
     {153, 201, 201, true, false},
     {136, 121, 116, true, false},
     {151, 177, 211, false, false},
     {174, 174, 174, false, false}},
    {{0, 0, 0, false, false},          // "fresh"
     {128, 128, 0, false, false},
     {255, 165, 0, false, true},
     {95, 158, 160, true, false},
     {128, 128, 128, false, false},
     {160, 82, 45, false, false},
     {0, 128, 0, false, false},
     {255, 215, 0, false, false},
     {46, 139, 87, false, false},
     {174, 174, 174, false, false}},
    {{0, 0, 0, false, false},          // "leisurely"
     {66, 44, 51, false, false},
     {109, 136, 153, false, true},
     {220, 195, 124, true, false},
     {99, 105, 108, false, false},
     {148, 142, 132, false, false},
     {199, 151, 100, false, false},
     {199, 151, 100, false, false},
     {83, 98, 106, false, false},
     {174, 174, 174, false, false}},
};

// The preset set of theme 0, 1 or 2 (a theme beyond: the plain black formats).
constexpr text_format_set text_format_preset_set(unsigned theme) {
  text_format_set set{};
  if (theme > 2) return set;
  for (std::size_t i = 0; i < text_format_set::count; ++i) {
    const text_format_preset_class& p = text_format_presets[theme][i];
    set.formats[i].bold = p.bold;
    set.formats[i].italic = p.italic;
    set.formats[i].red = p.red;
    set.formats[i].green = p.green;
    set.formats[i].blue = p.blue;
  }
  return set;
}

// The block: the record's first 2912 bytes. Flags are bytes (0 false, else true).
struct sys_config_block {
  kk::u32 language = 1;   // 0 Chinese, 1 English, 2 French, 3 Japanese; others: no translation
  kk::u32 icon_size = 32;  // tool-bar and tree icons: 48, 32 or 24
  char user[64] = "";     // default login user, at most 63 bytes and a NUL
  char server[32] = "127.0.0.1";  // default server, dotted IPv4
  kk::u32 port = 55555;
  kk::u8 show_db_tree = 1;
  kk::u8 show_log = 1;
  kk::u8 show_status_bar = 1;
  kk::u8 show_tool_bar = 1;
  float horizontal_factor = 1.0f;  // editor cell width = point size x this
  float vertical_factor = 1.6f;    // editor line height = point size x this
  kk::u32 theme = 0;               // index into text_formats: 0 " elegant", 1 "fresh", 2 "leisurely"
  // A new record holds each theme's preset, so highlighting has its colours from the start.
  text_format_set text_formats[3] = {text_format_preset_set(0), text_format_preset_set(1), text_format_preset_set(2)};
  kk::u8 show_space = 1;
  kk::u8 insert_as_space = 0;
  kk::u8 padding_2886[2] = {0, 0};
  kk::u32 tab_width = 4;
  float continuous_edit_seconds = 1.0f;
  kk::u32 cursor_width = 1;
  kk::u8 completion = 1;
  kk::u8 padding_2901[3] = {0, 0, 0};
  kk::u32 completion_least_count = 0;
  kk::u8 completion_only_sql = 1;
  kk::u8 check_update_at_start = 0;
  kk::u8 padding_2910[2] = {0, 0};
};

inline constexpr std::size_t sys_config_block_size = 2912;

// The whole record: the block, then the two path lists (UTF-8 byte strings).
struct sys_config_record : sys_config_block {
  kk::adt::list<kk::adt::string::string> recent_files;
  kk::adt::list<kk::adt::string::string> open_files;
};

// The program's record, holding the defaults until the file is loaded.
extern sys_config_record sys_config;

// Every field of the block back to its default (both lists untouched).
void sys_config_defaults(sys_config_block& cfg);
// The ten formats of one set to the preset of theme 0 (" elegant"), 1 ("fresh") or 2
// ("leisurely"), every byte of the set; another theme changes nothing.
void text_format_set_init(text_format_set& set, unsigned theme);

// Loads the file at `path` over `cfg`. A file that cannot be opened prints
// "load system config failed, use initial config\n" and returns false; the record keeps its
// values. Only a regular file is read: anything else (a fifo, a folder, a device) prints
// "load system config failed, <path> is not a regular file, use initial config\n" and
// returns false, without waiting for a writer. Otherwise the file is read as untrusted: the
// bytes it holds of the block replace the record's, then every text ends within its field, a
// theme outside 0..2 and any number out of its range or not finite take their defaults, and
// the paths it holds are appended to `open_files` and `recent_files`. Counts and lengths are
// checked against the bytes left: a list that runs past the end keeps what was read and ends
// the reading. Returns true.
bool load_sys_config(sys_config_record* cfg, const char* path);

// Why a save failed.
struct config_save_failure {
  enum kind_t { none, not_regular, cannot_write } kind = none;
  std::string file;  // the file that was to be written: the path, or its link's target
  int error = 0;     // the system's error number (cannot_write)
};

// Writes `cfg` to `path`; false when the configuration was not saved, with the reason in
// `*why` when given.
//
// A symbolic link is followed: its target is written and the link stays. The file keeps its
// mode, owner and group (a new one gets the mode an ordinary creation gives it). Only a
// regular file is written over. The bytes go to a temporary file beside the target that
// replaces it only when every byte was written and closed (on failure the target is left as
// it was and the temporary file removed). Where no temporary file can be made (a folder the
// user cannot write) or it could not be given the file's owner, the file itself is written
// from its start and cut to the new length, every step checked.
bool save_sys_config(const sys_config_record* cfg, const char* path, config_save_failure* why = nullptr);

// Clears open_files, then recent_files.
void free_sys_config_lists(sys_config_record* cfg);

// The file's bytes for `cfg`, and the reading of such bytes (what load_sys_config does after
// reading the file). Exposed for the tests and for tools that check a configuration.
kk::adt::string::string sys_config_bytes(const sys_config_record& cfg);
void sys_config_from_bytes(sys_config_record& cfg, const unsigned char* data, std::size_t size);

static_assert(sizeof(text_format) == 92);
static_assert(sizeof(text_format_set) == 920);
static_assert(sizeof(sys_config_block) == sys_config_block_size);
static_assert(offsetof(sys_config_block, user) == 8);
static_assert(offsetof(sys_config_block, server) == 72);
static_assert(offsetof(sys_config_block, port) == 104);
static_assert(offsetof(sys_config_block, horizontal_factor) == 112);
static_assert(offsetof(sys_config_block, theme) == 120);
static_assert(offsetof(sys_config_block, text_formats) == 124);
static_assert(offsetof(sys_config_block, show_space) == 2884);
static_assert(offsetof(sys_config_block, tab_width) == 2888);
static_assert(offsetof(sys_config_block, completion) == 2900);
static_assert(offsetof(sys_config_block, completion_least_count) == 2904);
static_assert(offsetof(sys_config_block, check_update_at_start) == 2909);
