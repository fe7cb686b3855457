// "Update CTY.DAT file", the release check and "vantrel --update-cty" against a local HTTPS
// server, on real country files in real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "geo/country_file.h"
#include "net/downloads_part.h"
#include "net/https_test_server.h"
#include "net/update_cty_command.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::HttpsTestServer;
using test::ReadFile;
using test::WriteFile;

class RecordingView : public DownloadsView {
public:
    void ShowMessage(const std::string& caption, const std::string& text) override {
        messages.push_back(caption + ": " + text);
    }
    void ShowStatus(const std::string& text) override { status = text; }
    void ShowCountryFileAge(const std::string& text, bool old) override {
        age = text;
        tooOld = old;
    }
    std::vector<std::string> messages;
    std::string status, age;
    bool tooOld = true;
};

// A country named only by the new file.
constexpr const char* kNewEntity = "Testland:  14:  27:  EU:  50.00:  -10.00:  -1.0:  QZ9:\n    QZ9;\n";

class DownloadsPartTest : public ::testing::Test {
protected:
    void SetUp() override {
        VANTREL_REQUIRE_TESTDATA();
        ASSERT_TRUE(server.Listening());
        oldFile = ReadFile(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat");
        newFile = ReadFile(test::TestDataFolder() / "cty" / "cty-debian-hamradio-files.dat") +
                  kNewEntity;
        WriteFile(viewer / "cty.dat", oldFile);
        WriteFile(wsjtx / "cty.dat", oldFile);
        fs::last_write_time(viewer / "cty.dat", fs::file_time_type::clock::now() - std::chrono::hours(24 * 90));
        table = std::make_unique<CountryTable>(*LoadCountryFile(viewer));
        server.Set("/cty/cty.dat", {.body = QByteArray::fromStdString(newFile)});
    }

    DownloadsInputs Inputs() {
        DownloadsInputs inputs;
        inputs.viewerFolder = viewer;
        inputs.wsjtxFolder = wsjtx;
        inputs.versionText = "1.0.0.1";
        inputs.trace = [this](const std::string& label, const std::string& text) {
            trace.push_back(label + text);
        };
        inputs.countryTableReloaded = [this](std::unique_ptr<CountryTable> t) { table = std::move(t); };
        inputs.addresses = {server.Address("/cty/cty.dat"), server.Address("/version.txt")};
        inputs.fetch = HttpsTestServer::ClientSettings();
        return inputs;
    }

    // Runs "Update CTY.DAT file" to its end.
    void Update(DownloadsPart& part) {
        part.UpdateCtyDat();
        ASSERT_TRUE(test::WaitUntil([&] { return !part.CtyUpdateRunning(); }));
    }

    bool BothUnchanged() {
        return ReadFile(viewer / "cty.dat") == oldFile && ReadFile(wsjtx / "cty.dat") == oldFile;
    }

    test::TempFolder temp;
    fs::path viewer = temp / "viewer", wsjtx = temp / "WSJT-X";
    HttpsTestServer server;
    RecordingView view;
    std::vector<std::string> trace;
    std::unique_ptr<CountryTable> table;
    std::string oldFile, newFile;
};

TEST_F(DownloadsPartTest, AnInstalledFileIsUsedByTheNextLookup) {
    EXPECT_EQ(table->Lookup("QZ9XYZ").country, "");
    // A read-only new-cty.dat left by an earlier run is replaced.
    WriteFile(viewer / "new-cty.dat", "left over");
    fs::permissions(viewer / "new-cty.dat", fs::perms::owner_read);
    DownloadsPart part(Inputs(), view);
    part.UpdateCtyDat();
    part.UpdateCtyDat();  // a second click while the first runs
    ASSERT_TRUE(test::WaitUntil([&] { return !part.CtyUpdateRunning(); }));
    EXPECT_EQ(server.Requests("/cty/cty.dat"), 1);
    EXPECT_EQ(view.messages, std::vector<std::string>{
                                 "CTY.DAT Update: CTY.DAT updated in both the Vantrel and WSJT-X folders."});
    EXPECT_EQ(ReadFile(viewer / "cty.dat"), newFile);
    EXPECT_EQ(ReadFile(wsjtx / "cty.dat"), newFile);
    EXPECT_EQ(ReadFile(viewer / "new-cty.dat"), newFile);
    EXPECT_EQ(table->Lookup("QZ9XYZ").country, "Testland (EU )");
    EXPECT_EQ(CountryTable(*LoadCountryBasic(viewer / "ctybasic.txt")).Lookup("QZ9XYZ").country,
              "Testland (EU )");
    // The age line turns from red to normal.
    EXPECT_FALSE(view.tooOld);
    EXPECT_EQ(view.age.find("TOO OLD"), std::string::npos);
    EXPECT_NE(server.LastUserAgent().indexOf("Mozilla/5.0"), -1);
}

TEST_F(DownloadsPartTest, AWrongAnswerIsNeverInstalled) {
    DownloadsInputs inputs = Inputs();
    inputs.rules.minEntities = 1;  // so that the byte rule alone decides
    DownloadsPart part(inputs, view);
    const std::string small = "Testland:  14:  27:  EU:  50.00:  -10.00:  -1.0:  QZ9:\n    QZ9";
    const auto padded = [&](std::size_t size) {
        return QByteArray::fromStdString(small + std::string(size - small.size() - 2, 'Q') + ";\n");
    };
    server.Set("/cty/cty.dat", {.body = padded(1000)});
    Update(part);
    EXPECT_TRUE(BothUnchanged());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("1000 bytes"), std::string::npos) << view.messages[0];
    EXPECT_EQ(table->Lookup("QZ9XYZ").country, "");

    server.Set("/cty/cty.dat", {.body = padded(1001)});
    Update(part);
    EXPECT_EQ(ReadFile(viewer / "cty.dat").size(), 1001u);
    EXPECT_EQ(table->Lookup("QZ9XYZ").country, "Testland (EU )");

    // An error page of the publisher's server over 1,000 bytes, answered with 200.
    WriteFile(viewer / "cty.dat", oldFile);
    WriteFile(wsjtx / "cty.dat", oldFile);
    QByteArray page = "<html>\n<head><title>Site maintenance</title></head>\n<body>\n";
    while (page.size() < 3000) page += "<p>We will be back shortly.</p>\n";
    server.Set("/cty/cty.dat", {.body = page + "</body></html>\n"});
    view.messages.clear();
    Update(part);
    EXPECT_TRUE(BothUnchanged());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("not a country file"), std::string::npos) << view.messages[0];
    EXPECT_NE(view.messages[0].find("unchanged"), std::string::npos);
    EXPECT_NE(trace.back().find(" CTY.DAT ** "), std::string::npos);

    // Closing the program while the server keeps it waiting: nothing is installed.
    server.Set("/cty/cty.dat", {.mode = test::Route::Mode::Silent});
    {
        DownloadsPart closing(inputs, view);
        closing.UpdateCtyDat();
        ASSERT_TRUE(test::WaitUntil([&] { return server.Requests("/cty/cty.dat") == 4; }));
    }
    EXPECT_TRUE(BothUnchanged());
    EXPECT_FALSE(fs::exists(viewer / "new-cty.dat"));
}

TEST_F(DownloadsPartTest, ReleaseCheck) {
    DownloadsInputs inputs = Inputs();
    {
        DownloadsPart part(inputs, view);
        part.StartReleaseCheck(true);  // "/NVC"
        EXPECT_FALSE(part.ReleaseCheckRunning());
        EXPECT_NE(trace.back().find("skipped (/NVC)"), std::string::npos);
    }
    {
        inputs.addresses.releaseVersion.clear();  // a build without a release address
        DownloadsPart part(inputs, view);
        part.StartReleaseCheck(false);
        EXPECT_FALSE(part.ReleaseCheckRunning());
        EXPECT_NE(trace.back().find("no release address"), std::string::npos);
    }
    const auto check = [&](const QByteArray& body) {
        server.Set("/version.txt", {.body = body});
        DownloadsPart part(Inputs(), view);
        view.messages.clear();
        part.StartReleaseCheck(false);
        EXPECT_TRUE(test::WaitUntil([&] { return !part.ReleaseCheckRunning(); }));
        return part.LatestRelease();
    };
    EXPECT_EQ(check("1.0.0.1 \r\n"), "1.0.0.1");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(ReadFile(viewer / "version.txt"), "1.0.0.1 \r\n");
    EXPECT_EQ(check("1.0.0.2\n"), "1.0.0.2");
    EXPECT_EQ(view.messages, std::vector<std::string>{
                                 "Version error: This Vantrel version is not the latest release.."});
    // A sign-in page in place of the version: no message, no version.txt.
    EXPECT_EQ(check("<html><body>Please sign in</body></html>"), "");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(fs::exists(viewer / "version.txt"));
    EXPECT_NE(view.status.find("Release check failed"), std::string::npos);
}

TEST_F(DownloadsPartTest, CommandLineUpdate) {
    UpdateCtyCommandInputs inputs{viewer, wsjtx, server.Address("/cty/cty.dat"),
                                  HttpsTestServer::ClientSettings(), {}};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const auto text = [](std::FILE* file) {
        std::string bytes(4096, '\0');
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        return bytes;
    };
    EXPECT_EQ(UpdateCtyCommand(inputs, out, err), 0);
    EXPECT_NE(text(out).find("Installed " + (wsjtx / "cty.dat").string()), std::string::npos);
    EXPECT_EQ(ReadFile(wsjtx / "cty.dat"), newFile);

    WriteFile(viewer / "cty.dat", oldFile);
    WriteFile(wsjtx / "cty.dat", oldFile);
    server.Set("/cty/cty.dat", {.status = 503, .body = "busy"});
    EXPECT_EQ(UpdateCtyCommand(inputs, out, err), 1);
    EXPECT_NE(text(err).find("503"), std::string::npos) << text(err);
    EXPECT_TRUE(BothUnchanged());
    std::fclose(out);
    std::fclose(err);
}

}  // namespace
}  // namespace vantrel
