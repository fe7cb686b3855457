#include <gtest/gtest.h>

#include "awards/award_model.h"
#include "awards/confirmations.h"
#include "awards/dxcc_entities.h"
#include "awards/award_test_station.h"
#include "geo/country_file.h"
#include "geo/country_lookup.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

int Column(std::string_view band) { return AwardColumnOfBandRow(BandRowOfName(band)); }

Confirmation Confirmed(std::string call, std::string band, std::string mode, std::string date, std::string time) {
    Confirmation c;
    c.call = std::move(call);
    c.band = std::move(band);
    c.mode = std::move(mode);
    c.qsoDate = std::move(date);
    c.timeOn = std::move(time);
    c.source = std::string(kSourceLotw);
    return c;
}

class AwardModelTest : public ::testing::Test {
protected:
    AwardModelTest()
        : table(std::make_shared<const CountryTable>(SortedCountryLines(ParseCountryFile(test::kAwardCountryFile)))),
          entities(std::make_shared<const CountryEntities>(CountryEntities::FromCountryFile(test::kAwardCountryFile))),
          log(LogLines::FromBytes(test::kAwardLog)) {}

    const AwardRow& Row(const AwardTable& t, int key) {
        for (const AwardRow& row : t.rows)
            if (row.key == key) return row;
        static const AwardRow none;
        ADD_FAILURE() << "no row " << key;
        return none;
    }

    std::shared_ptr<const CountryTable> table;
    std::shared_ptr<const CountryEntities> entities;
    LogLines log;
};

TEST_F(AwardModelTest, CountsTheHandMadeLogByAwardBandAndMode) {
    // DL1ABC is confirmed 25 minutes off; W6ABC's confirmation is 31 minutes off, W1AW's is for
    // another mode group: neither confirms.
    ConfirmationIndex confirmations;
    confirmations.Add(Confirmed("dl1abc", "20m", "FT8", "20240305", "104000"));
    confirmations.Add(Confirmed("W6ABC", "20M", "FT8", "20240305", "123100"));
    confirmations.Add(Confirmed("W1AW", "20m", "FT8", "20240305", "130000"));
    AwardModel model(table, entities);
    model.CatchUp(log, &confirmations);
    EXPECT_EQ(model.Contacts(), 10u);

    const AwardTable dxcc = model.Table(Award::Dxcc);
    EXPECT_EQ(AwardSummaryText(dxcc), "DXCC: 4 worked, 1 confirmed");
    EXPECT_EQ(dxcc.rows.size(), static_cast<std::size_t>(std::count_if(
                                    DxccEntities().begin(), DxccEntities().end(), [](auto& e) { return !e.deleted; })));
    const AwardRow& germany = Row(dxcc, 230);
    EXPECT_EQ(germany.entity, "Fed. Rep. of Germany");
    EXPECT_EQ(germany.cells[Column("20m")], CellState::Confirmed);
    EXPECT_EQ(germany.cells[Column("40m")], CellState::Worked);
    EXPECT_EQ(germany.cells[Column("80m")], CellState::Empty);
    EXPECT_EQ(Row(dxcc, 291).cells[Column("20m")], CellState::Worked);
    EXPECT_EQ(Row(dxcc, 291).cells[Column("6m")], CellState::Worked);
    EXPECT_EQ(Row(dxcc, 248).entity, "Italy");  // Sicily counts as Italy
    EXPECT_EQ(Row(dxcc, 248).cells[Column("2m")], CellState::Worked);
    EXPECT_EQ(dxcc.totals.workedOnBand[Column("20m")], 2);
    EXPECT_EQ(dxcc.totals.confirmedOnBand[Column("20m")], 1);

    // Zones of single prefixes: W6 in 3, W1 in 5, UA0 in 19.
    const AwardTable waz = model.Table(Award::Waz);
    EXPECT_EQ(AwardSummaryText(waz), "WAZ: 5 worked, 1 confirmed");
    EXPECT_EQ(Row(waz, 3).cells[Column("20m")], CellState::Worked);
    EXPECT_EQ(Row(waz, 19).cells[Column("15m")], CellState::Worked);
    EXPECT_EQ(Row(waz, 5).overall, CellState::Worked);
    EXPECT_EQ(waz.rows.size(), 40u);
    EXPECT_EQ(AwardSummaryText(model.Table(Award::Wac)), "WAC: 3 worked, 1 confirmed");
    // Grids: the first four characters of valid locators (FN4 and the empty one are not).
    const AwardTable grids = model.Table(Award::Grids);
    EXPECT_EQ(AwardSummaryText(grids), "Grids: 6 worked, 1 confirmed");
    EXPECT_EQ(grids.rows.front().code, "CM87");

    // Mode filters and one band.
    EXPECT_EQ(model.Table(Award::Dxcc, ModeFilter::Ft4).totals.worked, 1);
    EXPECT_EQ(model.Table(Award::Dxcc, ModeFilter::Phone).totals.worked, 1);
    EXPECT_EQ(model.Table(Award::Dxcc, ModeFilter::Digital).totals.worked, 4);
    EXPECT_EQ(model.Table(Award::Dxcc, ModeFilter::Cw).totals.worked, 0);
    const AwardTable on20 = model.Table(Award::Dxcc, ModeFilter::All, Column("20m"));
    EXPECT_EQ(on20.totals.worked, 2);
    EXPECT_EQ(on20.totals.confirmed, 1);

    EXPECT_EQ(model.CellContacts(Award::Dxcc, ModeFilter::All, 291, Column("20m")), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(model.CellContacts(Award::Dxcc, ModeFilter::Phone, 291, Column("20m")), (std::vector<std::uint32_t>{3}));

    int code = 0;
    EXPECT_EQ(model.EntityStateOnBand("dl9zzz", Column("20m"), &code), CellState::Confirmed);
    EXPECT_EQ(code, 230);
    EXPECT_EQ(model.EntityStateOnBand("DL9ZZZ", Column("40m")), CellState::Worked);
    EXPECT_EQ(model.EntityStateOnBand("DL9ZZZ", Column("15m")), CellState::Empty);
    EXPECT_EQ(model.EntityStateOnBand("ZZ9ZZ", Column("20m"), &code), CellState::Empty);
    EXPECT_EQ(code, 0);
}

TEST_F(AwardModelTest, AppendedContactsAndNewConfirmationsGiveWhatAFreshBuildGives) {
    AwardModel model(table, entities);
    model.CatchUp(log);
    LogLines grown = log;
    grown.push_back("2024-03-06,09:00:00,2024-03-06,09:01:00,I1ABC,JN45,14.074,FT8,-10,-12,,,,");
    grown.push_back("2024-03-06,09:10:00,2024-03-06,09:11:00,KL7XYZ,BP51,14.074,FT8,-10,-12,,,,");
    model.CatchUp(grown);
    EXPECT_EQ(model.Contacts(), 12u);

    // The unknown callsign's confirmation names its entity and zone: they count.
    ConfirmationIndex confirmations;
    Confirmation zz = Confirmed("ZZ9ZZ", "20m", "FT8", "20240305", "170500");
    zz.dxcc = 248;
    zz.cqZone = 15;
    confirmations.Add(zz);
    model.Reconfirm(grown, &confirmations);
    AwardModel fresh(table, entities);
    fresh.CatchUp(grown, &confirmations);

    for (const Award award : {Award::Dxcc, Award::Waz, Award::Wac, Award::Grids}) {
        const AwardTable a = model.Table(award), b = fresh.Table(award);
        EXPECT_EQ(AwardSummaryText(a), AwardSummaryText(b));
        ASSERT_EQ(a.rows.size(), b.rows.size());
        for (std::size_t i = 0; i < a.rows.size(); ++i) EXPECT_EQ(a.rows[i].cells, b.rows[i].cells) << a.rows[i].entity;
    }
    const AwardTable dxcc = model.Table(Award::Dxcc);
    EXPECT_EQ(Row(dxcc, 248).cells[Column("20m")], CellState::Confirmed);
    EXPECT_EQ(AwardSummaryText(dxcc), "DXCC: 4 worked, 1 confirmed");
    // KL7XYZ's own zone and continent from its entry in the file.
    EXPECT_EQ(Row(model.Table(Award::Waz), 1).cells[Column("20m")], CellState::Worked);
    EXPECT_EQ(Row(model.Table(Award::Wac), 5).cells[Column("20m")], CellState::Worked);  // OC

    // A log rewritten otherwise is read again.
    model.CatchUp(log);
    EXPECT_EQ(model.Contacts(), 10u);
}

TEST(DxccEntitiesTest, CountryFileNamesFindTheirCodes) {
    EXPECT_EQ(DxccEntities().size(), 402u);
    EXPECT_EQ(DxccEntityByCode(15)->name, "ASIATIC RUSSIA");
    EXPECT_TRUE(DxccEntityByCode(2)->deleted);
    EXPECT_EQ(DxccEntityByCode(0), nullptr);
    EXPECT_EQ(DxccCodeOfCountryName("Asiatic Russia"), 15);
    EXPECT_EQ(DxccCodeOfCountryName("St. Kitts & Nevis"), 249);
    EXPECT_EQ(DxccCodeOfCountryName("Trinidad & Tobago"), 90);
    EXPECT_EQ(DxccCodeOfCountryName("Fed. Rep. of Germany"), 230);
    EXPECT_EQ(DxccCodeOfCountryName("Shetland Islands"), 279);
    EXPECT_EQ(DxccCodeOfCountryName("Atlantis"), 0);
    EXPECT_EQ(GridKey("jo62QM"), GridKey("JO62"));
    EXPECT_EQ(GridOfKey(GridKey("RR99")), "RR99");
    for (const char* bad : {"JO6", "SA00", "JO62Z", "JO62ZZ", "JOA2", ""}) EXPECT_EQ(GridKey(bad), -1) << bad;
}

TEST(DxccEntitiesTest, EveryEntityOfTheRealCountryFilesHasACode) {
    VANTREL_REQUIRE_TESTDATA();
    for (const char* name : {"cty/cty-wsjtx-2.6.1.dat", "cty/cty-debian-hamradio-files.dat"}) {
        const auto entities = CountryEntities::Load(test::TestDataFolder() / name);
        ASSERT_TRUE(entities);
        EXPECT_GT(entities->Entities().size(), 340u);
        EXPECT_EQ(entities->Unmatched(), std::vector<std::string>()) << name;
    }
}

}  // namespace
}  // namespace vantrel
