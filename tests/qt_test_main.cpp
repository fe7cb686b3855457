// Test entry for the tests that need a Qt application object: the engine tests get a
// QCoreApplication, the widget tests a QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>
#ifdef VANTREL_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef VANTREL_WIDGETS
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
