#include "app/login_rules.h"

#include <QRegularExpression>
#include <QStringList>
#include <cerrno>
#include <cstring>

#include "ui_base/sys_config.h"

bool ip_valid(const QString& text) {
  // [0-9], not \d: \d would take the digits of other scripts.
  static const QRegularExpression re(QStringLiteral(
      "\\A((2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)\\.){3}(2[0-4][0-9]|25[0-5]|[01]?[0-9][0-9]?)\\z"));
  return re.match(text).hasMatch();
}

QString ip_plain(const QString& text) {
  if (!ip_valid(text)) return text;
  QStringList parts = text.split(QLatin1Char('.'));
  for (QString& p : parts) p = QString::number(p.toUInt(nullptr, 10));
  return parts.join(QLatin1Char('.'));
}

kk::u16 port_value(const QString& text) {
  bool ok = false;
  const uint v = text.toUInt(&ok, 10);
  return ok && v >= 1 && v <= 65535 ? static_cast<kk::u16>(v) : 0;
}

void store_default_login(sys_config_block& cfg, bool as_default, const QByteArray& ip, const QByteArray& user,
                         kk::u16 port) {
  std::memset(cfg.server, 0, sizeof cfg.server);
  std::memset(cfg.user, 0, sizeof cfg.user);
  if (!as_default) {
    std::strcpy(cfg.server, "127.0.0.1");
    cfg.port = 55555;
    return;
  }
  if (static_cast<std::size_t>(ip.size()) < sizeof cfg.server) std::memcpy(cfg.server, ip.constData(), ip.size());
  if (static_cast<std::size_t>(user.size()) < sizeof cfg.user) std::memcpy(cfg.user, user.constData(), user.size());
  cfg.port = port;
}
