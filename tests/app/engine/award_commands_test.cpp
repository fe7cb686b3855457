// The award commands run as the operator runs them: the built program in the viewer folder of a
// small station, its output and exit status.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "app/engine/single_instance.h"
#include "awards/award_test_station.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

class AwardCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(root / "viewer" / "cty.dat", test::kAwardCountryFile);
        test::WriteFile(root / "viewer" / "Viewer_local_log.csv", test::kAwardLog);
    }

    Outcome Vantrel(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LOCALAPPDATA", QString::fromStdString(root.path().string()));
        env.insert("VANTREL_SETTINGS", QString::fromStdString((root / "settings" / "Vantrel.ini").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(root.path().string()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((root / "config").string()));
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

TEST_F(AwardCommandsTest, TablesAndNeededFollowTheImportedConfirmations) {
    const Outcome before = Vantrel({"--awards", "dxcc"});
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_TRUE(before.out.starts_with("Entity\tCode\t160m\t80m\t60m\t40m\t30m\t20m\t17m\t15m\t12m\t10m\t6m\t2m\t70cm\n"));
    EXPECT_NE(before.out.find("\nFed. Rep. of Germany\t230\t-\t-\t-\tW\t-\tW\t-\t-\t-\t-\t-\t-\t-\n"), std::string::npos)
        << before.out;
    EXPECT_NE(before.out.find("\nDXCC: 4 worked, 0 confirmed\t\t0/0\t0/0\t0/0\t1/0\t0/0\t2/0\t"), std::string::npos);
    EXPECT_EQ(Vantrel({"--needed", "DL9ZZZ", "20m"}).out, "worked\tFed. Rep. of Germany\t230\n");

    // The other logger's record confirms DL1ABC on 20m; a second import adds nothing.
    test::WriteFile(root / "other.adi",
                    "<ADIF_VER:5>3.1.6 <EOH>\n<call:6>DL1ABC <qso_date:8>20240305 <time_on:6>101800 <band:3>20M "
                    "<mode:4>MFSK <submode:3>FT4 <qsl_rcvd:1>Y <eor>\n");
    const std::string file = (root / "other.adi").string();
    const Outcome imported = Vantrel({"--import-confirmations", QString::fromStdString(file)});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "1 new confirmations (1 in the file)\n");
    EXPECT_EQ(Vantrel({"--import-confirmations", QString::fromStdString(file)}).out,
              "0 new confirmations (1 in the file)\n");

    const Outcome band = Vantrel({"--awards", "waz", "--band", "20m", "--mode", "digital"});
    ASSERT_EQ(band.status, 0) << band.err;
    EXPECT_TRUE(band.out.starts_with("Entity\tCode\t20m\n"));
    EXPECT_NE(band.out.find("\nZone 14\t14\tC\n"), std::string::npos) << band.out;
    EXPECT_TRUE(band.out.ends_with("\nWAZ: 2 worked, 1 confirmed\t\t2/1\n")) << band.out;
    EXPECT_EQ(Vantrel({"--needed", "dl9zzz", "20m"}).out, "confirmed\tFed. Rep. of Germany\t230\n");
    EXPECT_EQ(Vantrel({"--needed", "IT9AAA", "20m"}).out, "needed\tItaly\t248\n");

    // A report cut off changes nothing; the import waits for a running program to end.
    test::WriteFile(root / "cut.adi", "<APP_LoTW_NUMREC:1>1\n<eoh>\n<CALL:5>W1AW");
    const Outcome cut = Vantrel({"--import-confirmations", QString::fromStdString((root / "cut.adi").string())});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("cut off"), std::string::npos) << cut.err;
    SingleInstance running("Vantrel-award-test", root / "viewer");
    ASSERT_TRUE(running.Acquired());
    EXPECT_EQ(Vantrel({"--import-confirmations", QString::fromStdString(file)}).status, 1);
    EXPECT_EQ(Vantrel({"--awards", "wac"}).status, 0);  // reading goes on beside it

    for (const QStringList& usage : {QStringList{"--awards", "was"}, QStringList{"--awards", "dxcc", "--band", "11m"},
                                     QStringList{"--awards", "dxcc", "--mode", "rtty"}, QStringList{"--needed", "K1ABC"},
                                     QStringList{"--band", "20m"}}) {
        const Outcome wrong = Vantrel(usage);
        EXPECT_EQ(wrong.status, 2) << usage.join(' ').toStdString();
        EXPECT_TRUE(wrong.out.empty());
    }
}

}  // namespace
}  // namespace vantrel
