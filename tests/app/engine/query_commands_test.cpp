// The program's one-shot commands run as the operator runs them: the built program in a viewer
// folder of a temporary station, its output and exit status.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "app/engine/single_instance.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

class QueryCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", "[Configuration]\nMyCall=W9XYZ\nMyGrid=EN37\n");
        std::filesystem::create_directories(root / "viewer");
    }

    Outcome Vantrel(const QStringList& arguments, const QString& ctyUrl = QStringLiteral("https://127.0.0.1:9/cty/cty.dat")) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LOCALAPPDATA", QString::fromStdString(root.path().string()));
        env.insert("VANTREL_SETTINGS", QString::fromStdString((root / "settings" / "Vantrel.ini").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(root.path().string()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((root / "config").string()));
        env.insert("VANTREL_CTY_URL", ctyUrl);
        env.insert("VANTREL_RELEASE_URL", "");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString((root / "viewer").string()));
        process.start(VANTREL_BINARY, arguments);
        Outcome run;
        if (!process.waitForFinished(60000)) return run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    test::TempFolder root;
};

TEST_F(QueryCommandsTest, GridAndPlacesPrintWhatThePanelsShow) {
    // They only read: they answer while a running program holds the viewer folder.
    SingleInstance running("Vantrel-query-test", root / "viewer");
    ASSERT_TRUE(running.Acquired());

    Outcome grid = Vantrel({"--grid", "JO62"});
    EXPECT_EQ(grid.status, 0) << grid.err;
    EXPECT_TRUE(grid.out.starts_with("JO62\nLat: 52.50    Long: 13.00 (centre)\nBearing: ")) << grid.out;
    EXPECT_NE(grid.out.find("\n(from EN37)\nRev: "), std::string::npos) << grid.out;
    EXPECT_NE(grid.out.find("Country: Fed. Rep. of Germany\n"), std::string::npos);
    EXPECT_NE(grid.out.find(" # Berlin\n"), std::string::npos);
    EXPECT_TRUE(grid.err.empty()) << grid.err;

    Outcome places = Vantrel({"--places", "Sao Paulo"});
    EXPECT_EQ(places.status, 0) << places.err;
    EXPECT_NE(places.out.find("GG66"), std::string::npos) << places.out;
    EXPECT_NE(places.out.find("S\xC3\xA3o Paulo"), std::string::npos);  // shown as GeoNames spells it
    EXPECT_NE(places.out.find("\nMatches : "), std::string::npos);

    for (const QStringList& usage : {QStringList{"--grid", "JO6"}, QStringList{"--grid"}, QStringList{"--places"}}) {
        Outcome wrong = Vantrel(usage);
        EXPECT_EQ(wrong.status, 2) << usage.join(' ').toStdString();
        EXPECT_TRUE(wrong.out.empty());
        EXPECT_NE(wrong.err.find("vantrel: "), std::string::npos);
    }
    // Nothing was written in the viewer folder.
    EXPECT_FALSE(std::filesystem::exists(root / "viewer" / "worldcities.txt"));

    // The update writes: not beside a running program.
    Outcome update = Vantrel({"--update-cty"});
    EXPECT_EQ(update.status, 1);
    EXPECT_NE(update.err.find("already active"), std::string::npos) << update.err;

    // Without WSJT-X's configuration the bearing is from nowhere in particular, and it says so.
    std::filesystem::remove(root / "WSJT-X" / "WSJT-X.ini");
    Outcome unknown = Vantrel({"--grid", "JO62"});
    EXPECT_EQ(unknown.status, 0);
    EXPECT_NE(unknown.out.find("\n(from )\n"), std::string::npos);
    EXPECT_NE(unknown.err.find("no operator grid"), std::string::npos);

    Outcome help = Vantrel({"--help"});
    for (const char* command : {"--grid LOCATOR", "--places TEXT", "--update-cty"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

TEST_F(QueryCommandsTest, UpdateCtyThatFetchesNothingChangesNothing) {
    test::WriteFile(root / "viewer" / "cty.dat", "the old file\n");
    Outcome update = Vantrel({"--update-cty"});
    EXPECT_EQ(update.status, 1) << update.out;
    EXPECT_NE(update.err.find("cty.dat not updated"), std::string::npos) << update.err;
    EXPECT_EQ(test::ReadFile(root / "viewer" / "cty.dat"), "the old file\n");
    EXPECT_FALSE(std::filesystem::exists(root / "WSJT-X" / "cty.dat"));
}

}  // namespace
}  // namespace vantrel
