#pragma once
// Date, time and datetime cells exactly as the value library holds them. A cell whose value
// Qt's own types carry exactly is a QDate, a QTime or a QDateTime (local time), as the
// delegates and editors expect; any other (the zero date, a date of year 0, a time with a
// part finer than a millisecond, a local time that does not exist) is a calendar_value, so
// that loading never changes a value: its texts, the write-back and the clause builders
// give it back as it came. Qt's conversions of a calendar_value (toDate, toTime,
// toDateTime, toString) give the nearest Qt value, for the editors.
#include <QMetaType>
#include <QString>
#include <QVariant>

#include "adt/types.h"
#include "value/val.h"

enum class calendar_kind : kk::u8 { date, time, datetime };

struct calendar_value {
  kk::datetime_fields fields;
  calendar_kind kind = calendar_kind::date;
};
Q_DECLARE_TYPEINFO(calendar_value, Q_MOVABLE_TYPE);
Q_DECLARE_METATYPE(calendar_value)

bool operator==(const calendar_value& a, const calendar_value& b);
bool operator<(const calendar_value& a, const calendar_value& b);

// The cell of a calendar value: Qt's type where it holds the value exactly, else a
// calendar_value. Only the fields of the kind are looked at (a time's date fields are not).
QVariant calendar_variant(calendar_kind kind, const kk::datetime_fields& f);

// The fields of a calendar cell (a calendar_value, or a QDate, QTime or QDateTime) for a
// column of the kind; false for any other value or an invalid Qt value. A QDateTime is
// read in its own time spec.
bool calendar_fields(const QVariant& v, calendar_kind kind, kk::datetime_fields& out);

// The value library's text of the fields: "yyyy-mm-dd", "hh:mm:ss[.fraction]" (every
// digit the value holds), or both with a blank between.
QString calendar_text(calendar_kind kind, const kk::datetime_fields& f);

// The grid's text of a calendar_value, in the delegates' formats ("yyyy-MM-dd",
// "HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss.zzz"; the fraction cut to milliseconds); the
// zero date reads 0000-00-00.
QString calendar_display_text(const calendar_value& v);

// Two cell values are the same value: where one is a calendar_value, by every calendar
// field of its kind (Qt's comparison would convert it to milliseconds first); else as
// QVariant compares them.
bool same_cell_value(const QVariant& a, const QVariant& b);

// The metatype id, registered with its conversions on first use.
int calendar_value_type();
