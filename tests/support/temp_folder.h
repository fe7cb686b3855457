// A fresh folder per test, removed afterwards, and small file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& file);

// The folder of real WSJT-X, ADIF and CTY.DAT files kept with the tests.
std::filesystem::path TestDataFolder();

}  // namespace vantrel::test

// Fails the test when the real files are missing from the checkout.
#define VANTREL_REQUIRE_TESTDATA()                                                          \
    ASSERT_TRUE(std::filesystem::is_directory(::vantrel::test::TestDataFolder() / "wsjtx-2.6.1")) \
        << "real WSJT-X files not found at " VANTREL_TESTDATA
