#include <gtest/gtest.h>
#include <QApplication>
TEST(GuiSkeleton, ApplicationObjectExists) { EXPECT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr); }
