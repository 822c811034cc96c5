#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace vedivez::test {

// Shows a window as the editor's menu would (without a modal loop) and waits until it has
// the keyboard focus, so that clicks move the focus as they do for a user.
inline void ShowActive(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A child found by its object name; fails the test when it is missing.
template <typename T> T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace vedivez::test
