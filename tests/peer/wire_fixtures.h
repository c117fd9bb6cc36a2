// Frames as exact bytes, written out by hand: the peer's encoder and the client's frame
// builders are both checked against this table.
#pragma once

namespace peer::fixtures {

struct login_case {
  const char* user;  // null: no user
  const char* password;
  const char* hex;
};
inline constexpr login_case logins[] = {
    {nullptr, nullptr, "08000000 00000000 00000000"},
    {"", "", "08000000 00000000 00000000"},
    {"ab", "xyz", "0d000000 02000000 6162 03000000 78797a"},
    {"root", "", "0c000000 04000000 726f6f74 00000000"},
    {"\xc3\xa9", "p", "0b000000 02000000 c3a9 01000000 70"},
};

struct statement_case {
  const char* text;  // null: no text
  int len;
  const char* hex;
};
inline constexpr statement_case statements[] = {
    {nullptr, 0, "00000000"},
    {nullptr, 5, "00000000"},  // a null text sends an empty statement whatever the length
    {"", 0, "00000000"},
    {"show tables;", 12, "0c000000 73686f77207461626c65733b"},
    {"select 1;trailing", 9, "09000000 73656c65637420313b"},  // only the first len bytes
    {"a\0b", 3, "03000000 610062"},
};

inline constexpr const char* logout_hex = "ffffffff";

// Replies as a server sends them.
inline constexpr const char* login_accepted_hex = "01000000 00";
inline constexpr const char* fail_reply_hex = "01000000 01";
// OK reply: one column "id", no rows: no descriptors follow.
inline constexpr const char* id_no_rows_hex =
    "1b000000 00 0100000000000000 0200000000000000 6964 0000000000000000";
// OK reply: column "n" (u16) with rows (7, 513) and (8, 65535).
inline constexpr const char* u16_rows_hex =
    "31000000 00 0100000000000000 0100000000000000 6e 0200000000000000 010100"
    " 0700000000000000 0102 0800000000000000 ffff";

}  // namespace peer::fixtures
