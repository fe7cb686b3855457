#include <gtest/gtest.h>

#include <filesystem>

#include "app/engine/info_views_part.h"
#include "support/memory_store.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class RecordingView : public InfoViewsView {
public:
    void ShowInfoPanel(const InfoPanel& p) override { panel = p; }
    void ShowStatus(const std::string& text) override { status = text; }
    InfoPanel panel;
    std::string status;
};

class RecordingDesktop : public Desktop {
public:
    bool OpenFile(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    bool OpenUrl(const std::string&) override { return true; }
    void CopyText(const std::string&) override {}
    std::vector<std::string> opened;
};

struct InfoViewsFixture {
    test::TempFolder temp;
    test::MemoryStore store;
    RecordingDesktop desktop;
    RecordingView view;
    InfoViewsPart part{InfoViewsInputs{temp.path(), store, desktop, "1.0.0.1", {}},
                       view};
};

TEST(InfoViewsPartTest, SettingsListingIsShownAndReplacesRegValues) {
    InfoViewsFixture f;
    f.store.WriteText(kOwnSection, "VantrelerAutoShow", "1");
    test::WriteFile(f.temp / "RegValues.txt", std::string(10000, 'x'));
    f.part.Run(InfoCommand::ShowSettings);
    EXPECT_EQ(f.view.panel.heading, "Registry settings:");
    EXPECT_EQ(f.view.panel.background, kSettingsListingBackground);
    ASSERT_EQ(f.view.panel.lines.size(), 23u);

    const std::string first = test::ReadFile(f.temp / "RegValues.txt");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = first.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(first.substr(at, end - at));
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[9], f.view.panel.lines[9].text);
    EXPECT_TRUE(first.ends_with("Map Font size: 12\r\n"));

    f.store.WriteText(kOwnSection, "VantrelerAutoShow", "0");
    f.part.Run(InfoCommand::ShowSettings);
    const std::string second = test::ReadFile(f.temp / "RegValues.txt");
    EXPECT_EQ(second.size(), first.size() - 1);  // replaced, not appended to
    EXPECT_NE(second.find("Autoshow checked :No\r\n"), std::string::npos);
}

TEST(InfoViewsPartTest, AboutAndTheOutsideViewers) {
    InfoViewsFixture f;
    f.part.Run(InfoCommand::About);
    EXPECT_EQ(f.view.panel.heading, "Vantrel source information");
    ASSERT_FALSE(f.view.panel.lines.empty());
    EXPECT_EQ(f.view.panel.lines.front().colour, 1);
    EXPECT_TRUE(f.view.panel.lines.front().bold);
    EXPECT_EQ(f.view.panel.lines.back().colour, 3);
    std::string text;
    for (const InfoLine& line : f.view.panel.lines) text += line.text + "\n";
    for (const char* credit : {"country-files.com", "Natural Earth (public domain)",
                               "GeoNames (geonames.org), CC BY 4.0", "1.0.0.1"})
        EXPECT_NE(text.find(credit), std::string::npos) << credit;

    for (const char* name : {"Viewer_local_log.csv", "wsjtx.log", "grids.txt", "wsjt-x.ini"})
        test::WriteFile(f.temp / name, "x");
    for (const InfoMenuEntry& entry : kInfoMenuEntries)
        if (entry.file) f.part.Run(entry.command);
    const std::string folder = f.temp.path().string();
    EXPECT_EQ(f.desktop.opened,
              (std::vector<std::string>{folder + "/Viewer_local_log.csv", folder + "/wsjtx.log",
                                        folder + "/grids.txt", folder + "/wsjt-x.ini", folder}));

    // A file that is not there is named on the status line, not handed to the editor.
    fs::remove(f.temp / "grids.txt");
    f.part.Run(InfoCommand::ShowGrids);
    EXPECT_EQ(f.desktop.opened.size(), 5u);
    EXPECT_NE(f.view.status.find("grids.txt not found"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
