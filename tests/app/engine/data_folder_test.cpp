// The program started as the desktop menu starts it, with --data-folder: it keeps its files in
// its own XDG data folder, never in the folder it was started from.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>

#include <cstdlib>
#include <optional>

#include "log/log_lines.h"
#include "support/engine_process.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// XDG_DATA_HOME for the programs started while it lives.
class DataHome {
public:
    explicit DataHome(const fs::path& folder) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~DataHome() { old_ ? (void)::setenv("XDG_DATA_HOME", old_->c_str(), 1) : (void)::unsetenv("XDG_DATA_HOME"); }

private:
    std::optional<std::string> old_;
};

// Runs the program headless until it has started, then stops it.
void RunUntilStarted(const test::TempFolder& root, const QStringList& arguments) {
    auto process = test::StartProgram(root, QStringList{"/HEADLESS", "/NVC"} + arguments);
    EXPECT_TRUE(test::WaitForOutput(*process, "running without a window", 20000));
    test::SendSignal(*process, SIGTERM);
    EXPECT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(process->exitCode(), 0);
}

TEST(DataFolder, MenuStartKeepsTheFilesInTheXdgFolderPerRig) {
    test::TempFolder root;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
    test::WriteFile(root / "WSJT-X" / "wsjtx.log",
                    "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT4,-15,-12,100,,,\n");
    test::WriteFile(root / "WSJT-X - Two" / "wsjtx.log",
                    "2026-12-08,14:19:19,2026-12-08,14:19:19,K2DEF,FN31,14.075500,FT8,-15,-12,100,,,\n"
                    "2026-12-08,14:29:19,2026-12-08,14:29:19,K3GHI,FN20,14.075500,FT8,-15,-12,100,,,\n");
    const DataHome home(root / "share");  // not there yet

    RunUntilStarted(root, {"--data-folder"});
    const fs::path own = root / "share" / "Vantrel";
    EXPECT_EQ(fs::status(root / "share").permissions() & fs::perms::all, fs::perms::owner_all);
    for (const char* name : {"Viewer_local_log.csv", "wsjtx.log", "wsjt-x.ini", "tracer.txt"})
        EXPECT_TRUE(fs::exists(own / name)) << name;
    EXPECT_EQ(LoadLogLines(own / "Viewer_local_log.csv")->size(), 1u);
    EXPECT_TRUE(fs::is_empty(root / "viewer")) << "files left in the folder it was started from";

    // Another rig has a folder of its own; the first one's files stay as they were.
    const std::string firstLog = test::ReadFile(own / "Viewer_local_log.csv");
    RunUntilStarted(root, {"--rig-name", "Two", "--data-folder"});
    EXPECT_EQ(LoadLogLines(root / "share" / "Vantrel - Two" / "Viewer_local_log.csv")->size(), 2u);
    EXPECT_EQ(test::ReadFile(own / "Viewer_local_log.csv"), firstLog);

    EXPECT_TRUE(fs::is_empty(root / "viewer"));
}

TEST(DataFolder, NamedFolderAndOneThatCannotBeMade) {
    test::TempFolder root;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
    const DataHome home(root / "share");

    RunUntilStarted(root, {"--data-folder=" + QString::fromStdString((root / "station one").string())});
    EXPECT_TRUE(fs::exists(root / "station one" / "Viewer_local_log.csv"));
    RunUntilStarted(root, {"--data-folder", QString::fromStdString((root / "station two").string()), "/DEBUG"});
    EXPECT_TRUE(fs::exists(root / "station two" / "errorlog.txt"));
    EXPECT_FALSE(fs::exists(root / "share"));

    // A file where the folder should be: a message, no window, nothing written anywhere.
    test::WriteFile(root / "share", "not a folder");
    const std::string settings = test::ReadFile(root / "settings" / "Vantrel.ini");
    auto process = test::StartProgram(root, {"/HEADLESS", "/NVC", "--data-folder"});
    ASSERT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(process->exitCode(), 1);
    const QString error = QString::fromUtf8(process->readAllStandardError());
    EXPECT_TRUE(error.contains("cannot create the data folder")) << error.toStdString();
    EXPECT_TRUE(fs::is_empty(root / "viewer"));
    EXPECT_EQ(test::ReadFile(root / "settings" / "Vantrel.ini"), settings);
}

// Unknown switches and words, rig names that would leave the data folder and a file named as the
// folder are usage errors: status 2, the usage line, nothing started or made.
TEST(DataFolder, CommandLinesThatStartNothing) {
    test::TempFolder root;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
    test::WriteFile(root / "a file", "x");
    const DataHome home(root / "share");
    const QString file = QString::fromStdString((root / "a file").string());
    const std::vector<QStringList> lines = {
        {"--bogus"}, {"/BOGUS"}, {"-x"}, {"--new"}, {"--extended"}, {"--export-adif", "--bogus"}, {"word"},
        {"--grid"}, {"--data-folder", "--rig-name", "../../../../../tmp/x/escaped"}, {"--rig-name", "a/b"},
        {"-r", ".."}, {"--rig-name=a,b"}, {"--rig-name", "a\\b"}, {"--data-folder=" + file},
        {"--data-folder=/dev/null"}, {"--data-folder=" + file + "/below"}};
    for (const QStringList& arguments : lines) {
        auto process = test::StartProgram(root, QStringList{"/HEADLESS"} + arguments);
        ASSERT_TRUE(process->waitForFinished(10000));
        EXPECT_EQ(process->exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(process->readAllStandardError().contains("Usage: vantrel")) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(fs::is_empty(root / "viewer"));
    EXPECT_FALSE(fs::exists(root / "share"));

    // A data folder it cannot write in is said to be one, not taken for a running copy (root
    // writes in a folder of mode 555: /proc stands in for it then).
    const bool superuser = ::geteuid() == 0;
    const fs::path readOnly = superuser ? fs::path("/proc") : root / "viewer";
    if (!superuser) fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    for (const QStringList& arguments : {QStringList{"/HEADLESS"}, QStringList{"--export-adif"}}) {
        auto process = test::StartProgram(root, arguments, readOnly);
        ASSERT_TRUE(process->waitForFinished(10000));
        EXPECT_EQ(process->exitCode(), 1);
        const std::string error = process->readAllStandardError().toStdString();
        EXPECT_NE(error.find("cannot write in the data folder " + readOnly.string() + ": " +
                             (superuser ? "No such file or directory" : "Permission denied")),
                  std::string::npos) << error;
    }
    if (!superuser) fs::permissions(readOnly, fs::perms::owner_all, fs::perm_options::replace);
}

}  // namespace
}  // namespace vantrel
