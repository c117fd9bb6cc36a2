#pragma once
// The login dialog's rules, without a window: the address and port checks, the address in
// plain decimal, and the default login stored in the configuration.
#include <QByteArray>
#include <QString>

#include "adt/types.h"

struct sys_config_block;

// Four dotted parts of one to three ASCII digits, each at most 255 (leading zeros allowed).
bool ip_valid(const QString& text);
// The address with every part in plain decimal ("010.0.0.1" -> "10.0.0.1"); the text
// unchanged when it is not a valid address.
QString ip_plain(const QString& text);
// The text as a decimal port 1..65535; 0 when it is not one.
kk::u16 port_value(const QString& text);

// What a successful login leaves in the configuration: with `as_default` the address, the
// user (only when it fits in 63 bytes; otherwise none) and the port; without it the defaults
// "127.0.0.1", no user, 55555. The password is never stored.
void store_default_login(sys_config_block& cfg, bool as_default, const QByteArray& ip, const QByteArray& user,
                         kk::u16 port);
