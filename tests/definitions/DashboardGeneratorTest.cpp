#include "definitions/DashboardGenerator.h"

#include <gtest/gtest.h>

#include "LibraryFiles.h"
#include "dashboard/ItemDefaults.h"
#include "dashboard/ItemKinds.h"
#include "dashboard/StreamProperties.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "definitions/DefinitionLibrary.h"
#include "definitions/FlagBits.h"

namespace vekaton {
namespace {

constexpr std::size_t kFixedRecords = 7;  // two labels, three pages, "Graphs", the strip chart

BuiltDefinition Library(const std::string& id, const DashboardOptions& options = {}) {
    return BuildDefinition(ParseDefinitionSource(testing::ReadText(testing::LibraryFolder() /
                                                                   "source" / (id + ".def"))),
                           id, options);
}

const StreamProperty* Property(const StreamComponent& record, std::string_view name) {
    return record.Find(name);
}

double Number(const StreamComponent& record, std::string_view name) {
    const StreamProperty* property = Property(record, name);
    if (property == nullptr) {
        return 0.0;
    }
    const std::optional<PropertyValue> value =
        FromStreamValue(property->value, PropertyType::Float);
    return value ? value->AsFloat() : 0.0;
}

std::string Text(const StreamComponent& record, std::string_view name) {
    const StreamProperty* property = Property(record, name);
    const std::optional<PropertyValue> value =
        property ? FromStreamValue(property->value, PropertyType::String) : std::nullopt;
    return value ? value->AsText() : std::string();
}

struct Placed {
    std::string name;
    int page;
    ItemGeometry at;
};

// Every item with a size of its own, on its page (a digital LED's panel stands for it).
std::vector<Placed> PlacedItems(const GeneratedDashboard& dashboard) {
    std::vector<Placed> placed;
    for (std::size_t i = 0; i < dashboard.gaugeList.size(); ++i) {
        const GaugeListEntry& entry = dashboard.gaugeList[i];
        const StreamComponent& record = dashboard.layout[kFixedRecords + i];
        const std::optional<ParsedItemName> parsed = ParseItemName(entry.name);
        if (!parsed || parsed->kind == ItemKind::Label || parsed->kind == ItemKind::LedRound) {
            continue;
        }
        placed.push_back({entry.name, entry.page,
                          ItemGeometry{static_cast<int>(Number(record, "Left")),
                                       static_cast<int>(Number(record, "Top")),
                                       static_cast<int>(Number(record, "Width")),
                                       static_cast<int>(Number(record, "Height"))}});
    }
    return placed;
}

bool Overlap(const ItemGeometry& a, const ItemGeometry& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(DashboardGenerator, EveryLibraryDashboardFitsItsPagesWithoutOverlaps) {
    for (const LibraryEntry& entry : ListLibrary(testing::LibraryFolder())) {
        for (const DashboardOptions options : {DashboardOptions{}, DashboardOptions{1900, 980}}) {
            const BuiltDefinition built = Library(entry.id, options);
            ASSERT_TRUE(built.errors.empty()) << entry.id;
            const std::vector<Placed> placed = PlacedItems(built.dashboard);
            EXPECT_GT(placed.size(), 20u) << entry.id;
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const Placed& a = placed[i];
                EXPECT_GE(a.at.left, 0) << entry.id << " " << a.name;
                EXPECT_GE(a.at.top, 0) << entry.id << " " << a.name;
                EXPECT_LE(a.at.left + a.at.width, options.pageWidth) << entry.id << " " << a.name;
                EXPECT_LE(a.at.top + a.at.height, options.pageHeight) << entry.id << " " << a.name;
                for (std::size_t j = i + 1; j < placed.size(); ++j) {
                    EXPECT_FALSE(a.page == placed[j].page && Overlap(a.at, placed[j].at))
                        << entry.id << ": " << a.name << " and " << placed[j].name;
                }
            }
        }
    }
}

TEST(DashboardGenerator, InstrumentsTakeScaleUnitAndLimitsFromTheDetails) {
    const BuiltDefinition built = Library("A140");
    const GeneratedDashboard& dashboard = built.dashboard;
    ASSERT_EQ(dashboard.layout.size(), kFixedRecords + dashboard.gaugeList.size());
    // The first item is the engine speed dial, bound where the definition has it.
    EXPECT_EQ(dashboard.gaugeList[0].name, "USERANGULARGAUGE1");
    EXPECT_EQ(dashboard.gaugeList[0].position, 11);
    const StreamComponent& rpm = dashboard.layout[kFixedRecords];
    EXPECT_EQ(rpm.className, "TAngularGauge");
    EXPECT_EQ(Number(rpm, "Minimum"), 0.0);
    EXPECT_EQ(Number(rpm, "Maximum"), 7000.0);
    EXPECT_EQ(Number(rpm, "MajorTicks"), 7.0);
    EXPECT_EQ(Text(rpm, "Units"), "rpm");
    EXPECT_EQ(Text(rpm, "Caption"), "Engine speed");
    // Normal up to the warning limit, amber beyond.
    EXPECT_EQ(Number(rpm, "Section1End"), 5500.0);
    EXPECT_EQ(Number(rpm, "Section2Start"), 5500.0);
    EXPECT_EQ(Number(rpm, "Section2End"), 7000.0);

    bool coolant = false;
    for (std::size_t i = 0; i < dashboard.gaugeList.size(); ++i) {
        const StreamComponent& record = dashboard.layout[kFixedRecords + i];
        if (dashboard.gaugeList[i].position == 7 && record.className == "TThermometer") {
            coolant = true;
            EXPECT_EQ(Number(record, "Minimum"), -40.0);
            EXPECT_EQ(Number(record, "Maximum"), 140.0);
            EXPECT_EQ(Text(record, "Units"), "\u00b0C");
        }
    }
    EXPECT_TRUE(coolant);
}

TEST(DashboardGenerator, AFlagThatHoldsWhenClearLightsWhenClear) {
    const BuiltDefinition built = Library("A140");
    const GeneratedDashboard& dashboard = built.dashboard;
    int checked = 0;
    for (std::size_t i = 0; i < dashboard.gaugeList.size(); ++i) {
        const GaugeListEntry& entry = dashboard.gaugeList[i];
        if (!entry.name.starts_with("USERLEDROUND")) {
            continue;
        }
        const StreamComponent& led = dashboard.layout[kFixedRecords + i];
        const BitDetails* bit = built.details.FindBit(entry.position, entry.bit);
        const bool clear = bit != nullptr && bit->activeWhenClear;
        const double dark = static_cast<double>(RgbColour(20, 20, 20));
        EXPECT_EQ(Number(led, clear ? "ActiveColor" : "InactiveColor"), dark) << entry.name;
        checked += clear ? 1 : 0;
    }
    EXPECT_GE(checked, 4);
}

TEST(DashboardGenerator, ADefinitionWithoutRolesIsReadByItsDescriptions) {
    ParameterTable table;
    table.Reset();
    const auto define = [&table](int position, const char* description, const char* formula) {
        table.At(position).Descriptions[0] = description;
        table.At(position).SetFormula(formula);
    };
    define(1, "Engine RPM", "A*25");
    define(2, "Desired idle rpm", "A*12.5");
    define(3, "Coolant Temp", "A-40");
    define(4, "Battery Volts", "A/10");
    table.At(5).IsDigital = true;
    table.At(5).Descriptions[7] = "Closed Loop";
    table.At(5).Descriptions[0] = "DTC 13 O2 sensor";
    DetailsTable details;
    details.At(3).unit = "\u00b0F";
    const GeneratedDashboard dashboard = GenerateDashboard(table, details);
    std::vector<std::pair<std::string, int>> bound;
    for (const GaugeListEntry& entry : dashboard.gaugeList) {
        if (entry.kind == GaugeEntryKind::Item && entry.position > 0) {
            bound.emplace_back(entry.name, entry.position);
        }
    }
    ASSERT_GE(bound.size(), 4u);
    EXPECT_EQ(bound[0], (std::pair<std::string, int>{"USERANGULARGAUGE1", 1}));
    EXPECT_EQ(bound[1], (std::pair<std::string, int>{"USERTHERMOMETER1", 3}));
    EXPECT_EQ(bound[2], (std::pair<std::string, int>{"USERANGULARGAUGE2", 4}));
    // The layout reads back as it was written.
    const std::optional<std::string> bytes = dashboard.LayoutBytes();
    ASSERT_TRUE(bytes);
    const LayoutParse parse = ParseLayout(*bytes);
    EXPECT_FALSE(parse.error);
    EXPECT_EQ(parse.records, dashboard.layout);
    EXPECT_EQ(parse.trailer, dashboard.trailer);
}

TEST(FlagPlaces, TooManyFlagsLeaveOutTheLeastTellingStatusFlagsFirst) {
    std::vector<FlagBit> bits;
    for (int i = 0; i < 30; ++i) {
        FlagBit bit;
        bit.position = 10 + i / 8;
        bit.bit = i % 8;
        bit.code = i < 10;
        bit.caption = bit.code ? "Code " + std::to_string(i) : "Flag " + std::to_string(i);
        bit.priority = i == 29 ? 2 : i % 3 == 0 ? 0 : 1;
        bits.push_back(bit);
    }
    // Two columns of ten LEDs: the headings take a row each.
    const std::vector<FlagPlace> places = PlaceFlags(bits, 2, 0, 200, 20, 20);
    int codes = 0;
    int status = 0;
    bool lastKept = false;
    for (const FlagPlace& place : places) {
        EXPECT_LT(place.column, 2);
        EXPECT_LE(place.top + 20, 200);
        if (place.bit != nullptr) {
            (place.bit->code ? codes : status) += 1;
            lastKept = lastKept || place.bit->caption == "Flag 29";
            EXPECT_FALSE(!place.bit->code && place.bit->priority == 0 && status > 5);
        }
    }
    EXPECT_EQ(codes, 10);
    EXPECT_EQ(status, 7);
    EXPECT_TRUE(lastKept) << "the highest priority stays";
}

}  // namespace
}  // namespace vekaton
