#include "query/calendar_value.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <tuple>

#include "value/calendar.h"

using kk::datetime_fields;

namespace {

auto key_of(const calendar_value& v) {
  const datetime_fields& f = v.fields;
  return std::make_tuple(kk::u8(v.kind), f.year, f.month, f.day, f.hour, f.minute, f.second, f.nanosecond);
}

// Qt has no year 0: such a date (and the zero date) gives an invalid QDate.
QDate qt_date(const datetime_fields& f) { return QDate(f.year, f.month, f.day); }

QTime qt_time(const datetime_fields& f) {
  if (!QTime::isValid(f.hour, f.minute, f.second, 0) || f.nanosecond >= kk::ns_per_second) return QTime();
  return QTime(f.hour, f.minute, f.second, int(f.nanosecond / 1000000u));
}

bool time_exact(const datetime_fields& f) { return f.nanosecond % 1000000u == 0 && qt_time(f).isValid(); }

void set_date(datetime_fields& f, const QDate& d) {
  f.year = kk::u16(d.year());
  f.month = kk::u8(d.month());
  f.day = kk::u8(d.day());
}

void set_time(datetime_fields& f, const QTime& t) {
  f.hour = kk::u8(t.hour());
  f.minute = kk::u8(t.minute());
  f.second = kk::u8(t.second());
  f.nanosecond = kk::u32(t.msec()) * 1000000u;
}

bool date_in_calendar(const QDate& d) { return d.isValid() && d.year() >= 1 && d.year() <= 65535; }

// "hh:mm:ss.zzz" of the fields, the fraction cut to milliseconds.
std::size_t time_display_chars(char* buf, const datetime_fields& f) {
  datetime_fields ms = f;
  ms.nanosecond = 0;
  std::size_t n = kk::time_to_chars(buf, ms);
  const unsigned milli = f.nanosecond / 1000000u;
  buf[n++] = '.';
  buf[n++] = char('0' + milli / 100 % 10);
  buf[n++] = char('0' + milli / 10 % 10);
  buf[n++] = char('0' + milli % 10);
  return n;
}

}  // namespace

bool operator==(const calendar_value& a, const calendar_value& b) { return key_of(a) == key_of(b); }
bool operator<(const calendar_value& a, const calendar_value& b) { return key_of(a) < key_of(b); }

int calendar_value_type() {
  static const int id = [] {
    const int t = qRegisterMetaType<calendar_value>("calendar_value");
    QMetaType::registerComparators<calendar_value>();
    QMetaType::registerConverter<calendar_value, QDate>([](const calendar_value& v) {
      return v.kind == calendar_kind::time ? QDate() : qt_date(v.fields);
    });
    QMetaType::registerConverter<calendar_value, QTime>([](const calendar_value& v) {
      return v.kind == calendar_kind::date ? QTime() : qt_time(v.fields);
    });
    QMetaType::registerConverter<calendar_value, QDateTime>([](const calendar_value& v) {
      if (v.kind != calendar_kind::datetime) return QDateTime();
      return QDateTime(qt_date(v.fields), qt_time(v.fields), Qt::LocalTime);
    });
    QMetaType::registerConverter<calendar_value, QString>(
        [](const calendar_value& v) { return calendar_text(v.kind, v.fields); });
    return t;
  }();
  return id;
}

QVariant calendar_variant(calendar_kind kind, const datetime_fields& f) {
  switch (kind) {
    case calendar_kind::date: {
      const QDate d = qt_date(f);
      if (d.isValid()) return QVariant(d);
      break;
    }
    case calendar_kind::time:
      if (time_exact(f)) return QVariant(qt_time(f));
      break;
    case calendar_kind::datetime: {
      const QDate d = qt_date(f);
      if (d.isValid() && time_exact(f)) {
        const QTime t = qt_time(f);
        // A local time that the clock skips (a daylight saving gap) would move.
        const QDateTime dt(d, t, Qt::LocalTime);
        if (dt.date() == d && dt.time() == t) return QVariant(dt);
      }
      break;
    }
  }
  calendar_value v;
  v.kind = kind;
  v.fields = f;
  if (kind == calendar_kind::time) v.fields.year = v.fields.month = v.fields.day = 0;
  if (kind == calendar_kind::date) {
    v.fields.hour = v.fields.minute = v.fields.second = 0;
    v.fields.nanosecond = 0;
  }
  return QVariant(calendar_value_type(), &v);
}

bool calendar_fields(const QVariant& v, calendar_kind kind, datetime_fields& out) {
  out = datetime_fields{};
  if (!v.isValid()) return false;
  if (v.userType() == calendar_value_type()) {
    const calendar_value c = *static_cast<const calendar_value*>(v.constData());
    if (c.kind != kind) return false;
    out = c.fields;
    return true;
  }
  switch (kind) {
    case calendar_kind::date: {
      const QDate d = v.toDate();
      if (!date_in_calendar(d)) return false;
      set_date(out, d);
      return true;
    }
    case calendar_kind::time: {
      const QTime t = v.toTime();
      if (!t.isValid()) return false;
      set_time(out, t);
      return true;
    }
    case calendar_kind::datetime: {
      const QDateTime dt = v.toDateTime();
      if (!date_in_calendar(dt.date()) || !dt.time().isValid()) return false;
      set_date(out, dt.date());
      set_time(out, dt.time());
      return true;
    }
  }
  return false;
}

bool same_cell_value(const QVariant& a, const QVariant& b) {
  const int type = a.userType() >= QMetaType::User || b.userType() >= QMetaType::User ? calendar_value_type() : -1;
  if (type < 0 || (a.userType() != type && b.userType() != type)) return a == b;
  const calendar_kind kind = static_cast<const calendar_value*>((a.userType() == type ? a : b).constData())->kind;
  datetime_fields x, y;
  const bool has_x = calendar_fields(a, kind, x), has_y = calendar_fields(b, kind, y);
  if (!has_x || !has_y) return false;  // a calendar value against something that is none
  return calendar_value{x, kind} == calendar_value{y, kind};
}

QString calendar_text(calendar_kind kind, const datetime_fields& f) {
  char buf[kk::calendar_text_max];
  std::size_t n = 0;
  switch (kind) {
    case calendar_kind::date: n = kk::date_to_chars(buf, f); break;
    case calendar_kind::time: n = kk::time_to_chars(buf, f); break;
    case calendar_kind::datetime: n = kk::datetime_to_chars(buf, f); break;
  }
  return QString::fromLatin1(buf, int(n));
}

QString calendar_display_text(const calendar_value& v) {
  char buf[kk::calendar_text_max];
  std::size_t n = 0;
  if (v.kind != calendar_kind::time) n = kk::date_to_chars(buf, v.fields);
  if (v.kind == calendar_kind::datetime) buf[n++] = ' ';
  if (v.kind != calendar_kind::date) n += time_display_chars(buf + n, v.fields);
  return QString::fromLatin1(buf, int(n));
}
