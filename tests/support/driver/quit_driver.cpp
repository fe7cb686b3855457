// Loaded into the real program by the quit tests (LD_PRELOAD): once the main window has started,
// it puts the map where VANTREL_DRIVE_MAP says ("shown", "hidden" or "never"), reports "driver:
// ready" on standard error, and when the file "quit-now" appears in the working folder quits the
// way VANTREL_DRIVE_QUIT says, as the operator would: "close" (the window's close box), "exit"
// (File, "EXIT"), "ctrlq" (Ctrl+Q); anything else leaves the quit to the test (a signal).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <cstdio>

namespace {

QWidget* TopLevel(const char* name) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->objectName() == QLatin1String(name)) return window;
    return nullptr;
}

bool MessageBoxShown() {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (qobject_cast<QMessageBox*>(window) && window->isVisible()) return true;
    return false;
}

void Drive() {
    const QByteArray map = qgetenv("VANTREL_DRIVE_MAP");
    const QByteArray how = qgetenv("VANTREL_DRIVE_QUIT");
    if (how.isEmpty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, map, how] {
        static bool ready = false, mapWasShown = false;
        QWidget* main = TopLevel("MainWindow");
        QWidget* mapWindow = TopLevel("MapWindow");
        if (!main || !main->windowTitle().contains(QLatin1String(" - Version "))) return;
        if (!ready) {
            if (how == "dialog" && !MessageBoxShown()) return;
            const bool mapShown = mapWindow && mapWindow->isVisible();
            if (map == "never" && mapShown) return;
            if (map != "never" && !mapShown && !mapWasShown) return;
            mapWasShown = mapWasShown || mapShown;
            if (map == "hidden" && mapShown) {
                main->findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->click();
                return;
            }
            ready = true;
            std::fputs("driver: ready\n", stderr);
        }
        if (!QFile::exists(QStringLiteral("quit-now"))) return;
        // A shortcut reaches the window the operator works in: the main window, made active first.
        if (how == "ctrlq" && QApplication::activeWindow() != main) {
            main->activateWindow();
            return;
        }
        timer->stop();
        std::fputs("driver: quitting\n", stderr);
        if (how == "close") {
            main->close();
        } else if (how == "exit") {
            main->findChild<QAction*>(QStringLiteral("ExitAction"))->trigger();
        } else if (how == "ctrlq") {
            QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
        }
    });
    timer->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)
