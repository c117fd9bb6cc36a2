// The login dialog's rules without a window: address and port checks, the address in plain
// decimal, and what a successful login stores.
#include "app/login_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui_base/sys_config.h"

namespace {

TEST(login_rules, address_check) {
  struct row {
    const char* text;
    bool valid;
  };
  const row rows[] = {
      {"127.0.0.1", true},          {"0.0.0.0", true},           {"255.255.255.255", true},
      {"010.0.0.1", true},          {"001.002.003.004", true},   {"199.249.250.209", true},
      {"192.168.1.300", false},     {"192.168.1.256", false},    {"256.1.1.1", false},
      {"1.2.3", false},             {"1.2.3.4.5", false},        {"1.2.3.", false},
      {".1.2.3", false},            {"1..2.3", false},           {"1.2.3.4 ", false},
      {" 1.2.3.4", false},          {"0001.2.3.4", false},       {"a.b.c.d", false},
      {"", false},                  {"1.2.3.4\n", false},        {"localhost", false},
      {"1.2.3.-4", false},          {"+1.2.3.4", false},         {"1,2,3,4", false},
  };
  for (const row& r : rows) EXPECT_EQ(ip_valid(QString::fromUtf8(r.text)), r.valid) << r.text;
  // Digits of other scripts are not address digits.
  EXPECT_FALSE(ip_valid(QString::fromUtf8("\xd9\xa1.2.3.4")));           // ARABIC-INDIC ONE
  EXPECT_FALSE(ip_valid(QString::fromUtf8("1.2.3.\xef\xbc\x94")));       // FULLWIDTH FOUR
  EXPECT_FALSE(ip_valid(QString::fromUtf8("1.2.3.\xe0\xa5\xaa")));       // DEVANAGARI FOUR
}

TEST(login_rules, address_in_plain_decimal) {
  struct row {
    const char* text;
    const char* plain;
  };
  const row rows[] = {
      {"010.0.0.1", "10.0.0.1"},       // never octal 8.0.0.1
      {"127.000.000.001", "127.0.0.1"},
      {"192.168.001.010", "192.168.1.10"},
      {"008.009.0.00", "8.9.0.0"},     // digits an octal reading would refuse
      {"10.20.30.40", "10.20.30.40"},
      {"not an address", "not an address"},
  };
  for (const row& r : rows) EXPECT_EQ(ip_plain(QString::fromUtf8(r.text)).toStdString(), r.plain) << r.text;
}

TEST(login_rules, port_check) {
  struct row {
    const char* text;
    unsigned port;
  };
  const row rows[] = {
      {"1", 1},      {"55555", 55555}, {"65535", 65535}, {"0", 0},    {"65536", 0},
      {"-1", 0},     {"abc", 0},       {"", 0},          {"12ab", 0}, {"4294967297", 0},
      {"0x50", 0},   {"1.5", 0},       {"080", 80},
  };
  for (const row& r : rows) EXPECT_EQ(port_value(QString::fromUtf8(r.text)), r.port) << r.text;
}

TEST(login_rules, stored_login) {
  struct row {
    const char* what;
    bool as_default;
    std::string ip, user;
    kk::u16 port;
    std::string want_server, want_user;
    kk::u32 want_port;
  };
  const std::string u63(63, 'u'), u64(64, 'u');
  // 21 three-byte characters: 63 bytes; one more: 66 bytes, which does not fit.
  std::string han63, han66;
  for (int i = 0; i < 21; ++i) han63 += "\xe7\x94\xa8";
  han66 = han63 + "\xe7\x94\xa8";
  const row rows[] = {
      {"checked", true, "10.0.0.1", "alice", 4000, "10.0.0.1", "alice", 4000},
      {"unchecked keeps nothing typed", false, "10.0.0.1", "alice", 4000, "127.0.0.1", "", 55555},
      {"63 bytes fit", true, "1.2.3.4", u63, 1, "1.2.3.4", u63, 1},
      {"64 bytes are not stored", true, "1.2.3.4", u64, 2, "1.2.3.4", "", 2},
      {"63 bytes of UTF-8 fit", true, "1.2.3.4", han63, 3, "1.2.3.4", han63, 3},
      {"66 bytes of UTF-8 are not cut", true, "1.2.3.4", han66, 4, "1.2.3.4", "", 4},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    sys_config_block cfg;
    std::memset(cfg.user, 'x', sizeof cfg.user - 1);
    std::memset(cfg.server, 'y', sizeof cfg.server - 1);
    store_default_login(cfg, r.as_default, QByteArray::fromStdString(r.ip), QByteArray::fromStdString(r.user), r.port);
    EXPECT_EQ(std::string(cfg.server), r.want_server);
    EXPECT_EQ(std::string(cfg.user), r.want_user);
    EXPECT_EQ(cfg.port, r.want_port);
    // Nothing of the earlier texts is left behind their NUL.
    for (std::size_t i = r.want_user.size(); i < sizeof cfg.user; ++i) ASSERT_EQ(cfg.user[i], 0);
    for (std::size_t i = r.want_server.size(); i < sizeof cfg.server; ++i) ASSERT_EQ(cfg.server[i], 0);
  }
}

}  // namespace
