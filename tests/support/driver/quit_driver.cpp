// Loaded into the real program by the quit tests (LD_PRELOAD): once the main window has started,
// it puts the map where VANTREL_DRIVE_MAP says ("shown", "hidden" or "never"), reports "driver:
// ready" on standard error, and when the file "quit-now" appears in the working folder quits the
// way VANTREL_DRIVE_QUIT says, as the operator would: "close" (the window's close box), "exit"
// (File, "EXIT"), "ctrlq" (Ctrl+Q); anything else leaves the quit to the test (a signal).
// For screenshots: VANTREL_DRIVE_SIZE=WxH sizes the main window, VANTREL_DRIVE_DARK=1 gives the
// desktop a dark palette, VANTREL_DRIVE_LOG=1 presses the map's "Log", VANTREL_DRIVE_AUDIT=1 opens
// "Journal audit", VANTREL_DRIVE_AWARDS=1 "Awards", VANTREL_DRIVE_LOTW=1 "LoTW login", and
// VANTREL_DRIVE_GRAB=FOLDER saves main.png, map.png, audit.png, awards.png and lotw.png there once
// ready (the windows as they draw themselves, at the screen's density).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
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
    if (qgetenv("VANTREL_DRIVE_DARK") == "1") {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
        dark.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
        dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
        dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
        dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
        dark.setColor(QPalette::ButtonText, QColor(0xE0, 0xE0, 0xE0));
        dark.setColor(QPalette::ToolTipBase, QColor(0x3A, 0x3A, 0x3A));
        dark.setColor(QPalette::ToolTipText, QColor(0xE0, 0xE0, 0xE0));
        dark.setColor(QPalette::Highlight, QColor(0x3D, 0x7A, 0xD6));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
        QApplication::setPalette(dark);
    }
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
            static int sized = 0;  // a few ticks at its size before anything is grabbed
            if (sized++ == 0) {
                const QList<QByteArray> size = qgetenv("VANTREL_DRIVE_SIZE").split('x');
                if (size.size() == 2) main->resize(size[0].toInt(), size[1].toInt());
                if (qgetenv("VANTREL_DRIVE_LOG") == "1" && mapWindow)
                    if (auto* log = mapWindow->findChild<QPushButton*>(QStringLiteral("Log"))) log->click();
                if (qgetenv("VANTREL_DRIVE_AUDIT") == "1")
                    main->findChild<QAction*>(QStringLiteral("AuditAction"))->trigger();
                if (qgetenv("VANTREL_DRIVE_AWARDS") == "1")
                    main->findChild<QAction*>(QStringLiteral("AwardsAction"))->trigger();
                if (qgetenv("VANTREL_DRIVE_LOTW") == "1")
                    main->findChild<QAction*>(QStringLiteral("LotwLoginAction"))->trigger();
            }
            const bool windows = qgetenv("VANTREL_DRIVE_AUDIT") == "1" || qgetenv("VANTREL_DRIVE_AWARDS") == "1";
            if (sized < (windows ? 20 : 4)) return;
            ready = true;
            const QByteArray grab = qgetenv("VANTREL_DRIVE_GRAB");
            if (!grab.isEmpty()) {
                main->grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("/main.png"));
                if (mapWindow && mapWindow->isVisible())
                    mapWindow->grab().save(QString::fromLocal8Bit(grab) + QStringLiteral("/map.png"));
                const std::pair<const char*, const char*> others[] = {
                    {"AuditWindow", "/audit.png"}, {"AwardsWindow", "/awards.png"}, {"LotwLoginDialog", "/lotw.png"}};
                for (const auto& [name, file] : others)
                    if (QWidget* other = TopLevel(name); other && other->isVisible())
                        other->grab().save(QString::fromLocal8Bit(grab) + QLatin1String(file));
            }
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
