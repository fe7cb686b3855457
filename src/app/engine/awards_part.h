// The award tables of the running program (View, "Awards") and the "needed" question of the
// stations heard. The tables are built on a thread of their own from a snapshot of the log, the
// country table and the confirmations; afterwards contacts appended to the log are counted on
// the engine's thread as they come (a few at a time), and a change of the confirmations, a
// rewritten log or a new country table builds them again in the background. The tables in use
// stay readable all the while: a job works on a model of its own and hands it back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/engine/confirmations_model.h"
#include "awards/award_model.h"
#include "geo/country_tables.h"
#include "jobs/background_job.h"
#include "app/engine/station_log.h"
#include "log/log_lines.h"

namespace vantrel {

// One contact of a cell as the window lists it.
struct AwardContactRow {
    std::string date, time, call, band, mode, grid;
    bool confirmed = false;
};

class AwardsView {
public:
    virtual ~AwardsView() = default;
    // The table of the award, mode filter and band chosen; after every change of it.
    virtual void ShowAwardTable(const AwardTable&) {}
    // The contacts of the cell clicked: "DXCC Japan (339), 20m, all modes".
    virtual void ShowAwardContacts(const std::string&, const std::vector<AwardContactRow>&) {}
    // "Building the award tables…" while a build runs; empty when done.
    virtual void ShowAwardsProgress(const std::string&) {}
};

struct AwardsPartServices {
    AwardsView& view;
    StationLog& log;
    CountryTables& countries;
    ConfirmationsModel& confirmations;
    std::filesystem::path viewerFolder;  // its cty.dat gives the zones and continents
};

class AwardsPart {
public:
    explicit AwardsPart(AwardsPartServices services);
    ~AwardsPart();
    AwardsPart(const AwardsPart&) = delete;
    AwardsPart& operator=(const AwardsPart&) = delete;

    // The first build (the start-up has loaded the log); later calls do nothing.
    void Start();
    // The window was opened (the tables are shown, built first when they are not yet) or closed.
    void Open();
    void Close() { open_ = false; }
    // The award, mode filter and band column (-1: every band) the window shows.
    void Select(Award award, ModeFilter filter, int bandColumn);
    // A click on a cell: its contacts, listed. `bandColumn` -1 is the row's every band.
    void CellClicked(int rowKey, int bandColumn);

    // Whether the country of a station heard on a band ("20m") is still needed: not confirmed
    // there. Nothing while the tables are not built, or for a band outside their columns.
    std::optional<bool> Needed(const std::string& call, const std::string& band) const;

    bool Building() const { return job_.Running(); }
    bool Ready() const { return model_ != nullptr; }
    const AwardTable& Table() const { return table_; }

private:
    struct Made;
    void Build();
    void Reconfirm();
    void Ended(std::shared_ptr<Made> built);
    void LogAppended();
    void Show();

    AwardsPartServices services_;
    std::unique_ptr<AwardModel> model_;  // the tables in use; null until the first build ended
    std::shared_ptr<const CountryEntities> entities_;
    std::shared_ptr<const ConfirmationIndex> index_;  // the confirmations the model counted
    BackgroundJob<std::shared_ptr<Made>> job_;
    AwardTable table_;
    Award award_ = Award::Dxcc;
    ModeFilter filter_ = ModeFilter::All;
    int bandColumn_ = -1;
    bool started_ = false, open_ = false, rebuild_ = false, reconfirm_ = false;
};

}  // namespace vantrel
