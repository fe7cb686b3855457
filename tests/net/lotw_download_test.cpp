// "Download LoTW confirmations" against a local HTTPS server serving the real LoTW report: what
// is stored, what is asked the second time, and bad answers that must change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "app/engine/lotw_command.h"
#include "app/engine/lotw_part.h"
#include "net/download_addresses.h"
#include "net/https_test_server.h"
#include "net/lotw_download.h"
#include "support/memory_secret_store.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::HttpsTestServer;
using test::ReadFile;

constexpr const char* kPath = "/lotwuser/lotwreport.adi";

class LotwDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        report = QByteArray::fromStdString(ReadFile(test::TestDataFolder() / "adif" / "lotwreport.adi"));
        ASSERT_GT(report.size(), 300000);
        server.Set(kPath, {.body = report});
        secrets.values = {{LotwCredentials::kLoginKey, "k9cts"}, {LotwCredentials::kPasswordKey, "p&ss word+"}};
        fs::create_directories(temp.path());
        confirmations.OnChanged([this] { ++announced; });
    }

    LotwPart& Part() {
        if (!part) {
            part.emplace(LotwPartInputs{temp.path(), server.Address(kPath), HttpsTestServer::ClientSettings(),
                                        secrets, std::nullopt, nullptr},
                         confirmations, view);
            part->onFinished = [this](const LotwOutcome& outcome) { last = outcome; };
        }
        return *part;
    }

    LotwOutcome Download() {
        last.reset();
        Part().Download();
        EXPECT_TRUE(test::WaitUntil([&] { return last.has_value(); }));
        return last.value_or(LotwOutcome{});
    }

    std::string Stored() { return fs::exists(temp / "confirmations.adi") ? ReadFile(temp / "confirmations.adi") : ""; }

    HttpsTestServer server;
    QByteArray report;
    test::TempFolder temp;
    test::MemorySecretStore secrets;
    test::RecordingView view;
    ConfirmationsModel confirmations{temp.path()};
    std::optional<LotwPart> part;
    std::optional<LotwOutcome> last;
    int announced = 0;
};

TEST_F(LotwDownloadTest, StoresTheReportAndAsksAgainSinceItsLastConfirmation) {
    const LotwOutcome first = Download();
    ASSERT_TRUE(first.ok) << first.problem;
    EXPECT_EQ(first.received, 438u);
    // Every record is stored, the two pairs made minutes apart (KP4JRS, WB9ONU, 40m FT8) too.
    EXPECT_EQ(first.added, 438u);
    EXPECT_EQ(confirmations.size(), 438u);
    EXPECT_EQ(announced, 2);  // the file read (empty), then the merge
    const QByteArray asked = server.LastTarget(kPath);
    EXPECT_TRUE(asked.contains("login=k9cts&password=p%26ss%20word%2B&qso_query=1&qso_qsl=yes&qso_qsldetail=yes"))
        << asked.toStdString();
    EXPECT_FALSE(asked.contains("qso_qslsince"));
    EXPECT_FALSE(fs::exists(temp / kLotwDownloadFile));
    EXPECT_NE(view.status.find("438 new confirmations (438 in the report)"), std::string::npos) << view.status;
    const std::string stored = Stored();

    // A program started afresh reads the date from the file and asks only for what is newer; the
    // service answers with the same report, and nothing is stored twice.
    part.reset();
    ConfirmationsModel fresh{temp.path()};
    part.emplace(LotwPartInputs{temp.path(), server.Address(kPath), HttpsTestServer::ClientSettings(), secrets,
                                std::nullopt, nullptr},
                 fresh, view);
    part->onFinished = [this](const LotwOutcome& outcome) { last = outcome; };
    const LotwOutcome second = Download();
    ASSERT_TRUE(second.ok) << second.problem;
    EXPECT_TRUE(server.LastTarget(kPath).endsWith("&qso_qslsince=2022-06-02")) << server.LastTarget(kPath).toStdString();
    EXPECT_EQ(second.since, "2022-06-02");
    EXPECT_EQ(second.added, 0u);
    EXPECT_EQ(fresh.size(), 438u);
    EXPECT_EQ(Stored(), stored);
}

TEST_F(LotwDownloadTest, AWebPageOrACutReportChangesNothingAndIsReported) {
    ASSERT_TRUE(Download().ok);
    const std::string stored = Stored();
    const int merges = announced;
    const qsizetype end = report.indexOf("<APP_LoTW_EOF>");
    const qsizetype lastRecord = report.lastIndexOf("<eor>", end);
    const qsizetype recordBefore = report.lastIndexOf("<eor>", lastRecord - 1);
    const struct {
        const char* what;
        test::Route route;
        const char* said;
    } answers[] = {
        {"wrong password", {.body = "<html><head><title>LoTW</title></head><body>Username/password incorrect</body></html>"},
         "did not accept the login or password"},
        {"error page", {.body = "<!DOCTYPE html><html><body><h1>Service unavailable</h1></body></html>"}, "web page"},
        {"cut mid-record", {.body = report.left(lastRecord - 200)}, "incomplete"},
        {"a record short of its count", {.body = report.left(recordBefore + 5) + "\n\n" + report.mid(end)}, "incomplete"},
        {"transfer cut", {.body = report, .mode = test::Route::Mode::Cut, .cutAfter = 100000}, "download failed"},
        {"server error", {.status = 503, .body = "busy"}, "503"},
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.what);
        server.Set(kPath, answer.route);
        view.messages.clear();
        const LotwOutcome outcome = Download();
        EXPECT_FALSE(outcome.ok);
        EXPECT_NE(outcome.problem.find(answer.said), std::string::npos) << outcome.problem;
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find("Nothing was changed."), std::string::npos) << view.messages[0];
        EXPECT_EQ(Stored(), stored);
        EXPECT_EQ(confirmations.size(), 438u);
        EXPECT_FALSE(fs::exists(temp / kLotwDownloadFile));
    }
    EXPECT_EQ(announced, merges);
}

TEST_F(LotwDownloadTest, CredentialsComeFromTheSecretStore) {
    // Saved through the part and read back.
    std::optional<CredentialsAnswer> saved;
    Part().SaveCredentials({"n0call", "secret"}, [&](CredentialsAnswer answer) { saved = answer; });
    ASSERT_TRUE(test::WaitUntil([&] { return saved.has_value(); }));
    EXPECT_TRUE(saved->ok);
    EXPECT_EQ(secrets.values[LotwCredentials::kPasswordKey], "secret");
    ASSERT_TRUE(Download().ok);
    EXPECT_TRUE(server.LastTarget(kPath).contains("login=n0call&password=secret&"));

    // No login yet, and a desktop without a store: said plainly, nothing asked of the service.
    const int requests = server.Requests(server.LastTarget(kPath));
    secrets.values.clear();
    EXPECT_NE(Download().problem.find("No LoTW login yet"), std::string::npos);
    secrets.noStore = true;
    const LotwOutcome outcome = Download();
    EXPECT_EQ(outcome.problem.rfind("No secret store on this desktop: ", 0), 0u) << outcome.problem;
    EXPECT_EQ(server.Requests(server.LastTarget(kPath)), requests);
    std::optional<CredentialsAnswer> refused;
    Part().SaveCredentials({"n0call", "secret"}, [&](CredentialsAnswer answer) { refused = answer; });
    ASSERT_TRUE(test::WaitUntil([&] { return refused.has_value(); }));
    EXPECT_FALSE(refused->ok);
    EXPECT_NE(refused->problem.find("No secret store on this desktop"), std::string::npos);
}

std::string Printed(std::FILE* file) {
    std::rewind(file);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

TEST_F(LotwDownloadTest, TheCommandLineTakesTheLoginGivenAndSaysWhatItTookIn) {
    secrets.noStore = true;  // a script's login, on a desktop without a store
    const LotwCommandInputs inputs{temp.path(), server.Address(kPath), HttpsTestServer::ClientSettings(),
                                   LotwLogin{"k9cts", "pw"}};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(DownloadLotwCommand(inputs, secrets, out, err), 0) << Printed(err);
    EXPECT_EQ(Printed(out).rfind("438 new confirmations (438 in the report); 438 held in ", 0), 0u) << Printed(out);
    server.Set(kPath, {.body = "<html><body>Username/password incorrect</body></html>"});
    EXPECT_EQ(DownloadLotwCommand(inputs, secrets, out, err), 1);
    EXPECT_NE(Printed(err).find("did not accept the login or password"), std::string::npos) << Printed(err);
    std::fclose(out);
    std::fclose(err);
}

}  // namespace
}  // namespace vantrel
