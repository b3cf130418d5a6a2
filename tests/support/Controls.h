// A window's controls as a user finds them: by their object names. Tests
// drive a window through these instead of its members; a name that finds
// nothing (or a control of another kind) ends the test program at once.
#pragma once

#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace vxtest {

template <class T>
T* Control(const QObject& owner, const QString& name) {
  T* found = owner.findChild<T*>(name);
  if (!found) {
    std::fprintf(stderr, "no control %s named \"%s\"\n", T::staticMetaObject.className(), qPrintable(name));
    std::abort();
  }
  return found;
}
template <class T>
T* Control(const QObject* owner, const QString& name) {
  return Control<T>(*owner, name);
}
template <class T, class U>
T* Control(const std::unique_ptr<U>& owner, const QString& name) {
  return Control<T>(*owner, name);
}

}  // namespace vxtest
