// DownloadToFile and FetchToMemory against a real HTTPS server on the loopback address.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QNetworkAccessManager>

#include <filesystem>
#include <optional>

#include "net/https_fetch.h"
#include "net/https_test_server.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::HttpsTestServer;
using test::Route;

class HttpsFetchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Listening()); }

    // Downloads `path` of the server into the file; the result once it has ended.
    FetchResult Download(const QByteArray& path, const FetchSettings& settings) {
        std::optional<FetchResult> result;
        auto fetch = DownloadToFile(network, server.Url(QString::fromLatin1(path)), target,
                                    settings, [&](const FetchResult& r) { result = r; });
        EXPECT_TRUE(fetch->Running());  // never ends inside the call that started it
        EXPECT_TRUE(test::WaitUntil([&] { return result.has_value(); }));
        return result.value_or(FetchResult{});
    }
    FetchResult Download(const QByteArray& path) { return Download(path, settings); }

    test::TempFolder temp;
    fs::path target = temp / "new-cty.dat";
    HttpsTestServer server;
    QNetworkAccessManager network;
    FetchSettings settings = HttpsTestServer::ClientSettings();
};

TEST_F(HttpsFetchTest, RedirectsAreFollowedButNeverRoundALoop) {
    const QByteArray body(3000, 'c');
    server.Set("/cty/cty.dat", {.body = body});
    server.Set("/moved", {.status = 302, .body = "see elsewhere", .location = "/cty/cty.dat"});
    const FetchResult moved = Download("/moved");
    EXPECT_TRUE(moved.ok) << moved.error;
    EXPECT_EQ(moved.bytes, 3000);
    EXPECT_EQ(moved.finalUrl, server.Url("/cty/cty.dat"));
    EXPECT_EQ(test::ReadFile(target), body.toStdString());  // the redirect's own body is no part

    server.Set("/a", {.status = 301, .location = "/b"});
    server.Set("/b", {.status = 302, .location = server.Url("/a").toEncoded()});
    const FetchResult loop = Download("/a");
    EXPECT_FALSE(loop.ok);
    EXPECT_NE(loop.error.find("redirect loop"), std::string::npos) << loop.error;
    EXPECT_EQ(server.Requests("/a"), 1);
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(HttpsFetchTest, AServerTheTrustStoreDoesNotVouchForIsRefused) {
    server.Set("/cty/cty.dat", {.body = "CTY"});
    FetchSettings systemTrust = settings;
    systemTrust.tls = DefaultTlsConfiguration();  // the system's store: no test CA in it
    const FetchResult refused = Download("/cty/cty.dat", systemTrust);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("secure connection"), std::string::npos) << refused.error;
    EXPECT_EQ(server.Requests("/cty/cty.dat"), 0);
    EXPECT_FALSE(fs::exists(target));

    // Plain http is never asked for.
    std::optional<FetchResult> plain;
    auto fetch = DownloadToFile(network, QUrl("http://127.0.0.1:1/cty/cty.dat"), target, settings,
                                [&](const FetchResult& r) { plain = r; });
    ASSERT_TRUE(test::WaitUntil([&] { return plain.has_value(); }));
    EXPECT_FALSE(plain->ok);
    EXPECT_NE(plain->error.find("not an https address"), std::string::npos);
}

TEST_F(HttpsFetchTest, SilenceOversizeCutsAndErrorsAreFailures) {
    settings.timeout = std::chrono::milliseconds(300);
    server.Set("/silent", {.mode = Route::Mode::Silent});
    QElapsedTimer clock;
    clock.start();
    const FetchResult silent = Download("/silent");
    EXPECT_FALSE(silent.ok);
    EXPECT_NE(silent.error.find("no answer"), std::string::npos) << silent.error;
    EXPECT_LT(clock.elapsed(), 3000);

    settings.timeout = std::chrono::milliseconds(2000);
    settings.maxBytes = 64 * 1024;
    server.Set("/big", {.body = QByteArray(100 * 1024, 'b')});
    const FetchResult announced = Download("/big");
    EXPECT_FALSE(announced.ok);
    EXPECT_NE(announced.error.find("limit"), std::string::npos) << announced.error;
    server.Set("/big", {.body = QByteArray(100 * 1024, 'b'), .sendLength = false});
    const FetchResult streamed = Download("/big");
    EXPECT_FALSE(streamed.ok);
    EXPECT_NE(streamed.error.find("limit"), std::string::npos) << streamed.error;
    EXPECT_FALSE(fs::exists(target));

    server.Set("/cut", {.body = QByteArray(50000, 'c'), .mode = Route::Mode::Cut, .cutAfter = 20000});
    const FetchResult cut = Download("/cut");
    EXPECT_FALSE(cut.ok);
    EXPECT_NE(cut.error.find("cut after 20000 of 50000 bytes"), std::string::npos) << cut.error;
    EXPECT_FALSE(fs::exists(target));

    const FetchResult missing = Download("/nothing-here");  // a 404 page
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("404"), std::string::npos) << missing.error;
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(HttpsFetchTest, AReadOnlyTargetIsReplacedAndMemoryFetchesKeepTheBody) {
    test::WriteFile(target, "left from an earlier run");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    server.Set("/cty/cty.dat", {.body = "fresh"});
    const FetchResult done = Download("/cty/cty.dat");
    EXPECT_TRUE(done.ok) << done.error;
    EXPECT_EQ(test::ReadFile(target), "fresh");

    // Compressed on the way: the file holds the bytes themselves.
    const QByteArray text = QByteArray("PY,Brazil,SA {-10.00^53.00}\n").repeated(400);
    server.Set("/deflated", {.body = qCompress(text).mid(4), .encoding = "deflate"});
    const FetchResult deflated = Download("/deflated");
    EXPECT_TRUE(deflated.ok) << deflated.error;
    EXPECT_EQ(test::ReadFile(target), text.toStdString());

    std::optional<FetchResult> memory;
    settings.userAgent = "Vantrel test";
    auto fetch = FetchToMemory(network, server.Url("/cty/cty.dat"), settings,
                               [&](const FetchResult& r) { memory = r; });
    ASSERT_TRUE(test::WaitUntil([&] { return memory.has_value(); }));
    EXPECT_TRUE(memory->ok);
    EXPECT_EQ(memory->body, "fresh");
    EXPECT_EQ(server.LastUserAgent(), "Vantrel test");
}

}  // namespace
}  // namespace vantrel
