#pragma once
#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QWidget>

// A control of a window found by its object name, as the window names it; a missing one fails the
// test.
template <class T = QWidget>
T* Child(const QObject* window, const char* name) {
  T* found = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!found) ADD_FAILURE() << "no control named " << name;
  return found;
}
