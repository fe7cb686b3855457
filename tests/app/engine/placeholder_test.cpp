#include <gtest/gtest.h>
#include <QCoreApplication>
TEST(EngineSkeleton, ApplicationObjectExists) { EXPECT_NE(QCoreApplication::instance(), nullptr); }
