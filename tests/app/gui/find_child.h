// Finding a named control of the main window in widget tests.
#pragma once

#include <gtest/gtest.h>

#include "app/gui/main_window.h"

namespace vantrel::test {

template <typename W>
W* Find(const MainWindow& window, const char* name) {
    W* widget = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

}  // namespace vantrel::test
