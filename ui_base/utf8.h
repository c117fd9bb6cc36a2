#pragma once
// Conversions between the toolkit's texts and the byte strings the statement builders take.
#include <QByteArray>
#include <QString>

#include "adt/string.h"

inline kk::adt::string::string utf8_bytes(const QString& text) {
  const QByteArray b = text.toUtf8();
  return kk::adt::string_from_bytes(b.constData(), static_cast<kk::u64>(b.size()));
}

inline QString utf8_text(const kk::adt::string::string& s) {
  return QString::fromUtf8(s.data, static_cast<int>(s.size));
}
