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

    for (const QStringList& usage : {QStringList{"--grid", "JO6"}, QStringList{"--grid", "ZZ99"}, QStringList{"--grid", "1234"},
                                     QStringList{"--grid", "HELLO"}, QStringList{"--grid"}, QStringList{"--places"}}) {
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

    EXPECT_NE(Vantrel({"--grid", "ZZ99"}).err.find("Not a grid locator: ZZ99"), std::string::npos);

    Outcome help = Vantrel({"--help"});
    for (const char* command : {"--grid LOCATOR", "--places TEXT", "--call CALL", "--update-cty"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

// The search's country line for a call and its contacts in the local log, beside a running program.
TEST_F(QueryCommandsTest, CallNamesTheCountryAndCountsTheContacts) {
    VANTREL_REQUIRE_TESTDATA();
    SingleInstance running("Vantrel-query-test", root / "viewer");
    ASSERT_TRUE(running.Acquired());
    std::filesystem::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", root / "viewer" / "cty.dat");
    const std::string station = ",W9XYZ,EN37,IC-7300,Dipole,\n";
    test::WriteFile(root / "viewer" / "Viewer_local_log.csv",
                    "2025-01-02,10:00:00,2025-01-02,10:01:00,RA3AV,KO85,14.075700,FT8,-09,-17,,,," + station +
                    "2025-02-02,10:00:00,2025-02-02,10:01:00,RA3AV,KO85,7.075700,FT8,-09,-17,,,," + station +
                    "2025-03-02,10:00:00,2025-03-02,10:01:00,RA3AVX,KO85,3.575700,FT8,-09,-17,,,," + station +
                    "2025-03-02,11:00:00,2025-03-02,11:01:00,UA9CDC,MO06,14.075700,FT8,-09,-17,,,," + station);
    Outcome call = Vantrel({"--call", "ra3av"});
    EXPECT_EQ(call.status, 0) << call.err;
    EXPECT_TRUE(call.out.starts_with("CTY.DAT : European Russia (EU ), Lat: 53.65, Long: 41.37 @ nominally ")) << call.out;
    EXPECT_NE(call.out.find(" deg (Rev: "), std::string::npos) << call.out;
    EXPECT_TRUE(call.out.ends_with(" KM\nContacts: 2 (40m, 20m)\n")) << call.out;
    EXPECT_TRUE(call.err.empty()) << call.err;

    Outcome asiatic = Vantrel({"--call=UA9CDC"});
    EXPECT_TRUE(asiatic.out.starts_with("CTY.DAT : Asiatic Russia (AS )")) << asiatic.out;
    EXPECT_TRUE(asiatic.out.ends_with("\nContacts: 1 (20m)\n")) << asiatic.out;
    Outcome never = Vantrel({"--call", "VK9XX"});
    EXPECT_EQ(never.status, 0);
    EXPECT_TRUE(never.out.ends_with("\nContacts: 0\n")) << never.out;

    Outcome none = Vantrel({"--call", "Q1ABC"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty()) << none.out;
    EXPECT_NE(none.err.find("no country"), std::string::npos) << none.err;
    EXPECT_EQ(Vantrel({"--call"}).status, 2);
}

TEST_F(QueryCommandsTest, WorkedPrintsTheStatusThatColoursTheCall) {
    VANTREL_REQUIRE_TESTDATA();
    std::filesystem::copy_file(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat", root / "viewer" / "cty.dat");
    EXPECT_EQ(Vantrel({"--worked", "RA3AV"}).status, 1);  // no local log
    const std::string station = ",W9XYZ,EN37,IC-7300,Dipole,\n";
    test::WriteFile(root / "viewer" / "Viewer_local_log.csv",
                    "2025-01-02,10:00:00,2025-01-02,10:01:00,RA3AV,KO85,14.075700,FT8,-09,-17,,,," + station +
                    "2025-02-02,10:00:00,2025-02-02,10:01:00,RA3AV,KO85,7.075700,FT8,-09,-17,,,," + station);
    struct Case {
        QStringList arguments;
        const char* line;
    } cases[] = {
        {{"--worked", "ra3av"}, "RA3AV\tEuropean Russia (EU )\tWorked\t2025-02-02\n"},
        {{"--worked", "RA3AV", "20M", "ft8"}, "RA3AV\tEuropean Russia (EU )\tWorked\t2025-02-02\n"},
        {{"--worked", "RA3AV", "20m", "FT4"}, "RA3AV\tEuropean Russia (EU )\tNew band/mode\t2025-02-02\n"},
        {{"--worked", "RA3XX", "20m", "FT8"}, "RA3XX\tEuropean Russia (EU )\tNot worked\t\n"},
        {{"--worked", "RA3XX", "15m", "FT8"}, "RA3XX\tEuropean Russia (EU )\tNew country on band\t\n"},
        {{"--worked=PY2XX"}, "PY2XX\tBrazil (SA )\tNew country\t\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Vantrel(c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.line);
    }
    EXPECT_EQ(Vantrel({"--worked"}).status, 2);
    EXPECT_EQ(Vantrel({"--worked", "K1ABC", "20m", "FT8", "extra"}).status, 2);
}

TEST_F(QueryCommandsTest, UpdateCtyThatFetchesNothingChangesNothing) {
    test::WriteFile(root / "viewer" / "cty.dat", "the old file\n");
    Outcome update = Vantrel({"--update-cty"});
    EXPECT_EQ(update.status, 1) << update.out;
    EXPECT_NE(update.err.find("cty.dat not updated"), std::string::npos) << update.err;
    EXPECT_EQ(test::ReadFile(root / "viewer" / "cty.dat"), "the old file\n");
    EXPECT_FALSE(std::filesystem::exists(root / "WSJT-X" / "cty.dat"));
}

// The journal tools beside a running program: the rows the search panel lists, and the recent
// activity written as the menu entry writes it.
TEST_F(QueryCommandsTest, JournalAndRecentReadTheJournalCopy) {
    SingleInstance running("Vantrel-query-test", root / "viewer");
    ASSERT_TRUE(running.Acquired());
    Outcome missing = Vantrel({"--journal", "K1ABC"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("all.txt"), std::string::npos) << missing.err;

    test::WriteFile(root / "viewer" / "all.txt",
                    "261208_120000    14.074 Rx FT8    -10  0.1 1234 CQ K1ABC FN42\n"
                    "261208_120005    14.074 Rx FT8    -10  0.1 1234 CQ XK1ABC FN31\n"
                    "261208_120015    14.074 Tx FT8      0  0.0 1500 K1ABC W9XYZ EN37\n"
                    "261208_120015    14.074 Tx FT8      0  0.0 1500 K1ABC W9XYZ EN37\n"
                    "261208_120030    14.080 Rx FT4    -12  0.2  900 W9XYZ K1ABC -12\n"
                    "261208_120100    14.074 Rx FT8    -11  0.1 1234 W9XYZ K1ABC RR73\n");
    Outcome journal = Vantrel({"--journal", "k1abc"});
    EXPECT_EQ(journal.status, 0) << journal.err;
    EXPECT_EQ(journal.out,
              "261208_120000\t14.074\tRX\tFT8\t-10\t0.1\t1234\tCQ K1ABC FN42\n"
              "261208_120015\t14.074\tTX\tFT8\t0\t0.0\t1500\tK1ABC W9XYZ EN37\n"
              "261208_120015\t14.074\tTX\tFT8\t0\t0.0\t1500\tK1ABC W9XYZ EN37\n");
    EXPECT_TRUE(journal.err.empty()) << journal.err;
    Outcome none = Vantrel({"--journal=Q9QQQ"});
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(Vantrel({"--journal"}).status, 2);

    Outcome recent = Vantrel({"--recent"});
    EXPECT_EQ(recent.status, 0) << recent.err;
    const std::filesystem::path list = root / "viewer" / "RecentList.txt";
    EXPECT_EQ(recent.out, list.string() + "\n");
    const std::string written = test::ReadFile(list);
    EXPECT_TRUE(written.starts_with(" An extract of entries in ALL.TXT")) << written;
    // Every line holding W9XYZ once, CR LF after each; the lines without it left out.
    EXPECT_NE(written.find("\r\n261208_120015    14.074 Tx FT8      0  0.0 1500 K1ABC W9XYZ EN37\r\n261208_120030"),
              std::string::npos) << written;
    EXPECT_EQ(written.find("CQ K1ABC"), std::string::npos);
    EXPECT_TRUE(written.ends_with("W9XYZ K1ABC RR73\r\n"));

    Outcome help = Vantrel({"--help"});
    for (const char* command : {"--journal TEXT", "--recent", "--audit", "--export-adif"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

// The audit of the demo station's real journal (3,983 lines) against its log with three contacts
// taken out and one that never happened put in.
TEST_F(QueryCommandsTest, AuditListsWhatTheLogMissesHoldsTwiceAndHoldsWithoutATrace) {
    const std::filesystem::path demo = std::filesystem::path(VANTREL_SOURCE_DIR) / "data/demo/WSJT-X";
    std::filesystem::copy_file(demo / "ALL.TXT", root / "viewer" / "all.txt");
    std::string log = test::ReadFile(demo / "wsjtx.log"), kept;
    std::size_t at = 0;
    for (int line = 1; at < log.size(); ++line) {
        const std::size_t end = log.find('\n', at) + 1;
        if (line != 5 && line != 100 && line != 300) kept += log.substr(at, end - at);
        at = end;
    }
    kept += "2024-01-01,10:00:00,2024-01-01,10:01:00,ZZ9ZZZ,FN42,14.075500,FT8,-10,-10,100,,,\n";
    test::WriteFile(root / "viewer" / "Viewer_local_log.csv", kept);

    Outcome audit = Vantrel({"--audit"});
    EXPECT_EQ(audit.status, 1) << audit.err;
    EXPECT_NE(audit.out.find("On the air, not in the log\nDate\tTime\tBand\tMode\tCall\tGrid\tSent\tReceived\tLog line\n"
                             "2023-02-09\t18:48:22\t80m\tFT4\tN6RAC\t\t-16\t-12\t2023-02-09,18:48:22,2023-02-09,18:48:57,"
                             "N6RAC,,3.57665,FT4,-16,-12,"),
              std::string::npos) << audit.out;
    EXPECT_NE(audit.out.find("\t15m\tFT8\tUS3CS\tKN77\t-11\t-09\t"), std::string::npos);
    EXPECT_NE(audit.out.find("\t40m\tFT8\tHA8IPZ\tJN97\t-10\t-11\t"), std::string::npos);
    EXPECT_NE(audit.out.find("In the log twice\n"), std::string::npos);
    EXPECT_NE(audit.out.find("2023-10-20\t16:32:45\t17m\tFT8\tIU6VE\tJN65\t-14\t-21\t16:40:15\n"), std::string::npos);
    EXPECT_NE(audit.out.find("In the log, not on the air\nDate\tTime\tBand\tMode\tCall\tGrid\tSent\tReceived\n"
                             "2024-01-01\t10:00:00\t20m\tFT8\tZZ9ZZZ\tFN42\t-10\t-10\n"),
              std::string::npos) << audit.out;
    EXPECT_TRUE(audit.out.ends_with("Journal 2023-02-09 \xE2\x80\xA6 2026-12-07: 400 exchanges, 397 in the log, "
                                    "3 not logged, 13 twice, 1 without a trace\n")) << audit.out;

    test::WriteFile(root / "viewer" / "Viewer_local_log.csv", log);
    Outcome complete = Vantrel({"--audit", "--since", "2025-01-01"});
    EXPECT_EQ(complete.status, 0) << complete.err;
    EXPECT_TRUE(complete.out.ends_with(": 206 exchanges, 206 in the log, 0 not logged, 9 twice, 0 without a trace\n"))
        << complete.out;
    EXPECT_EQ(Vantrel({"--audit", "--since", "2025-13-01"}).status, 2);
}

// The exports of the menu entries from the terminal, with the counter the menu keeps; not beside
// a running program, whose counter they would overwrite.
TEST_F(QueryCommandsTest, ExportAdifWritesTheMenusFilesAndKeepsTheCounter) {
    test::WriteFile(root / "viewer" / "Viewer_local_log.csv",
                    "2026-12-01,10:00:00,2026-12-01,10:01:00,K1ABC,FN42,14.074,FT8,-10,-12,,,,W9XYZ,EN37,,,\r\n"
                    "2026-12-01,11:00:00,2026-12-01,11:01:00,JA1XYZ,PM95,14.074,FT4,-10,-12,,,,W9XYZ,EN37,,,\r\n"
                    "2026-12-01,12:00:00,2026-12-01,12:01:00,VK2ABC,QF56,14.074,FT8,-10,-12,,,,W9XYZ,EN37,,,\r\n");
    auto records = [](const std::string& adif) {
        std::size_t count = 0;
        for (std::size_t at = 0; (at = adif.find("<eor>", at)) != std::string::npos; ++at) ++count;
        return count;
    };
    Outcome full = Vantrel({"--export-adif"});
    ASSERT_EQ(full.status, 0) << full.err;
    ASSERT_TRUE(full.out.ends_with(".ADI\n")) << full.out;
    const std::filesystem::path fullFile = full.out.substr(0, full.out.size() - 1);
    EXPECT_EQ(fullFile.parent_path(), root / "viewer");
    EXPECT_TRUE(fullFile.filename().string().starts_with("Vantrel ")) << fullFile;
    EXPECT_EQ(records(test::ReadFile(fullFile)), 3u);
    EXPECT_TRUE(std::filesystem::exists(root / "viewer" / "ADIF check data.csv"));
    EXPECT_NE(test::ReadFile(root / "settings" / "Vantrel.ini").find("VantrelerExportADIFileCount=2"), std::string::npos);

    // Right after, the new export starts at the last contact exported, as the menu entry's does.
    Outcome next = Vantrel({"--export-adif", "--new"});
    ASSERT_EQ(next.status, 0) << next.err;
    const std::filesystem::path newFile = next.out.substr(0, next.out.size() - 1);
    EXPECT_TRUE(newFile.filename().string().starts_with("Vantrel NEW ")) << newFile;
    const std::string newAdif = test::ReadFile(newFile);
    EXPECT_EQ(records(newAdif), 1u);
    EXPECT_NE(newAdif.find("<call:6>VK2ABC "), std::string::npos);

    SingleInstance running("Vantrel-query-test", root / "viewer");
    ASSERT_TRUE(running.Acquired());
    Outcome refused = Vantrel({"--export-adif"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_NE(refused.err.find("already active"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace vantrel
