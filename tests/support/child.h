#pragma once
// The child with an object name, of a widget or window under test; the test program ends
// with the name when there is none (a renamed widget must not pass as a null pointer).
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace ruv::test {

template <class T>
T* child(QObject* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromLatin1(name));
  if (!c) qFatal("no child %s", name);
  return c;
}

}  // namespace ruv::test
