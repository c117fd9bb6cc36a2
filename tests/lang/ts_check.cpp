#include "tests/lang/ts_check.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>

namespace {

QString key_of(const ts_message& m) { return m.context + QChar(0) + m.source + QChar(0) + m.comment; }

QString quoted(const QString& text) {
  QString t = text;
  t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  return QLatin1Char('"') + t + QLatin1Char('"');
}

QString describe(const ts_message& m) {
  QString d = QLatin1Char('[') + m.context + QLatin1String("] ") + quoted(m.source);
  if (!m.comment.isEmpty()) d += QLatin1String(" (") + m.comment + QLatin1Char(')');
  if (!m.location.isEmpty()) d += QLatin1String(" at ") + m.location;
  return d;
}

void read_message(QXmlStreamReader& x, const QString& context, ts_file* out) {
  ts_message m;
  m.context = context;
  while (x.readNextStartElement()) {
    const auto name = x.name();
    if (name == QLatin1String("source")) {
      m.source = x.readElementText();
    } else if (name == QLatin1String("comment")) {
      m.comment = x.readElementText();
    } else if (name == QLatin1String("location")) {
      if (m.location.isEmpty()) {
        const auto a = x.attributes();
        m.location = a.value(QLatin1String("filename")).toString();
        if (a.hasAttribute(QLatin1String("line"))) m.location += QLatin1Char(':') + a.value(QLatin1String("line"));
      }
      x.skipCurrentElement();
    } else if (name == QLatin1String("translation")) {
      m.state = x.attributes().value(QLatin1String("type")).toString();
      QString plain;
      QStringList forms;
      while (!x.atEnd()) {
        x.readNext();
        if (x.isCharacters())
          plain += x.text();
        else if (x.isStartElement() && x.name() == QLatin1String("numerusform"))
          forms << x.readElementText();
        else if (x.isStartElement())
          x.skipCurrentElement();
        else if (x.isEndElement())
          break;
      }
      m.translations = forms.isEmpty() ? QStringList{plain} : forms;
    } else {
      x.skipCurrentElement();
    }
  }
  out->messages.push_back(std::move(m));
}

}  // namespace

bool read_ts(const QString& path, ts_file* out, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    *error = path + QLatin1String(": cannot be opened");
    return false;
  }
  QXmlStreamReader x(&f);
  if (!x.readNextStartElement() || x.name() != QLatin1String("TS")) {
    *error = path + QLatin1String(": not a Qt Linguist catalogue");
    return false;
  }
  out->language = x.attributes().value(QLatin1String("language")).toString();
  while (x.readNextStartElement()) {
    if (x.name() != QLatin1String("context")) {
      x.skipCurrentElement();
      continue;
    }
    QString context;
    while (x.readNextStartElement()) {
      if (x.name() == QLatin1String("name"))
        context = x.readElementText();
      else if (x.name() == QLatin1String("message"))
        read_message(x, context, out);
      else
        x.skipCurrentElement();
    }
  }
  if (x.hasError()) {
    *error = path + QStringLiteral(":%1: %2").arg(x.lineNumber()).arg(x.errorString());
    return false;
  }
  return true;
}

bool is_shortcut_text(const QString& text) {
  // A function key may stand alone; a named key ("space", "end", "left") or a character
  // ("+", "4") is a key only with a modifier, else it is an ordinary word or sign.
  static const QRegularExpression function_key(QStringLiteral("^((ctrl|shift|alt|meta)\\+)*f([1-9]|[12][0-9]|3[0-5])$"),
                                               QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression modified(
      QStringLiteral("^((ctrl|shift|alt|meta)\\+)+(return|enter|esc|escape|tab|backtab|backspace|del|delete|ins|insert|"
                     "home|end|pgup|pgdown|pageup|pagedown|space|up|down|left|right|print|pause|[^\\s])$"),
      QRegularExpression::CaseInsensitiveOption);
  return function_key.match(text).hasMatch() || modified.match(text).hasMatch();
}

QStringList placeholders(const QString& text) {
  static const QRegularExpression re(QStringLiteral("%L?[1-9][0-9]?"));
  QStringList found;
  for (auto it = re.globalMatch(text); it.hasNext();) found << it.next().captured();
  found.sort();
  return found;
}

QStringList html_tags(const QString& text) {
  static const QRegularExpression re(QStringLiteral("<[A-Za-z/!][^<>]*>"));
  QStringList found;
  for (auto it = re.globalMatch(text); it.hasNext();) found << it.next().captured();
  found.sort();
  return found;
}

bool has_mnemonic(const QString& text) {
  static const QRegularExpression entity(QStringLiteral("^&(#[0-9]+|[A-Za-z]+);"));
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    if (!text[i + 1].isSpace() && !entity.match(text.mid(i)).hasMatch()) return true;
  }
  return false;
}

QStringList catalogue_faults(const ts_file& scan, const ts_file& catalogue, bool source_language) {
  QHash<QString, const ts_message*> wanted;
  for (const ts_message& m : scan.messages) wanted.insert(key_of(m), &m);
  QHash<QString, const ts_message*> held;
  QStringList faults;
  for (const ts_message& m : catalogue.messages) {
    if (held.contains(key_of(m))) faults << describe(m) + QLatin1String(": listed twice");
    held.insert(key_of(m), &m);
  }

  for (const ts_message& s : scan.messages) {
    const ts_message* c = held.value(key_of(s));
    if (!c) {
      if (!source_language) faults << describe(s) + QLatin1String(": missing");
      continue;
    }
    const bool translated =
        c->state.isEmpty() && !c->translations.isEmpty() &&
        std::none_of(c->translations.begin(), c->translations.end(), [](const QString& t) { return t.isEmpty(); });
    if (!translated) {
      if (!source_language) faults << describe(s) + QLatin1String(": unfinished");
      continue;
    }
    for (const QString& t : c->translations) {
      if (is_shortcut_text(s.source) && t != s.source)
        faults << describe(s) + QLatin1String(": a shortcut text, translated as ") + quoted(t) +
                      QLatin1String(" (it must stay as written)");
      if (placeholders(t) != placeholders(s.source))
        faults << describe(s) + QLatin1String(": placeholders ") + placeholders(s.source).join(QLatin1Char(' ')) +
                      QLatin1String(" but the translation ") + quoted(t) + QLatin1String(" has ") +
                      placeholders(t).join(QLatin1Char(' '));
      if (html_tags(t) != html_tags(s.source))
        faults << describe(s) + QLatin1String(": the translation ") + quoted(t) +
                      QLatin1String(" does not keep the source's HTML tags");
      if (has_mnemonic(s.source) && !has_mnemonic(t))
        faults << describe(s) + QLatin1String(": the translation ") + quoted(t) + QLatin1String(" lost the mnemonic");
    }
  }

  for (const ts_message& c : catalogue.messages)
    if (!wanted.contains(key_of(c))) faults << describe(c) + QLatin1String(": no longer in the sources");
  return faults;
}
