// Views kept in the set's details file: a section per view that reads back as the same view
// through the whole file, what cannot be read named and the rest kept, names made safe and
// unique, and the colour scale the views paint their cells with.
#include <gtest/gtest.h>

#include "analysis/AnalysisViewText.h"
#include "analysis/ColourScale.h"
#include "set/DetailsFile.h"

namespace vekaton::testing {
namespace {

ViewDefinition BlockLearnView() {
    ViewDefinition view;
    view.name = "Block learn by cell";
    view.setup.kind = AnalysisKind::Table;
    view.setup.x = {4, -1};
    view.setup.y = ValueRef{6, -1};
    view.setup.z = ValueRef{16, -1};
    view.setup.xEdges = BinEdges::FromList({500, 1000, 1500.5, 2000});
    view.setup.xBins = 3;  // typed edges: their bins, read back from the edges themselves
    view.setup.yBins = 8;
    view.setup.statistic = Statistic::Sd;
    view.setup.conditions = {*ParseCondition("18.0=1").condition,
                             *ParseCondition("1>=70").condition};
    view.setup.settleSeconds = 2.5;
    view.setup.minCount = 3;
    view.centre = 128;
    view.source = ViewSource::Cursors;
    view.open = false;
    return view;
}

TEST(ViewSection, IsWrittenAsReadableKeysAndReadsBackThroughTheWholeFile) {
    const ViewDefinition view = BlockLearnView();
    const DetailsSection section = FormatViewSection(view);
    EXPECT_EQ(section.name, "view Block learn by cell");
    const std::vector<std::pair<std::string, std::string>> keys{{"kind", "table"},
                                                                {"x", "4"},
                                                                {"y", "6"},
                                                                {"z", "16"},
                                                                {"x-edges", "500,1000,1500.5,2000"},
                                                                {"y-bins", "8"},
                                                                {"stat", "sd"},
                                                                {"where.1", "18.0=1"},
                                                                {"where.2", "1>=70"},
                                                                {"settle", "2.5"},
                                                                {"min-count", "3"},
                                                                {"centre", "128"},
                                                                {"source", "cursors"},
                                                                {"open", "no"}};
    EXPECT_EQ(section.keys, keys);

    // Beside a position's details and a section of the library, through the file's text.
    DetailsTable details;
    details.At(7).unit = "°C";
    details.SectionAt("definition").keys.emplace_back("id", "A140");
    PutView(details, view);
    ViewDefinition histogram;
    histogram.name = "Engine speed";
    histogram.setup.kind = AnalysisKind::Histogram;
    histogram.setup.x = {4, -1};
    histogram.setup.xBins = 24;
    histogram.setup.share = true;
    histogram.source = ViewSource::Live;
    PutView(details, histogram);
    const DetailsParse parsed = ParseDetails(FormatDetails(details, {}));
    ASSERT_TRUE(parsed.warnings.empty());
    const std::vector<ViewParse> views = ReadViews(parsed.table);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_TRUE(views[0].problems.empty());
    EXPECT_EQ(views[0].view, view);
    EXPECT_EQ(views[1].view, histogram);
    EXPECT_EQ(parsed.table.Find(7)->unit, "°C");
    EXPECT_NE(parsed.table.FindSection("definition"), nullptr);
}

TEST(ViewSection, NamesWhatItCannotReadKeepsTheRestAndUnknownKeys) {
    DetailsSection section{"view Odd",
                           {{"KIND", "Scatter"},
                            {"x", "4"},
                            {"Y", "rpm"},
                            {"x-edges", "3,2"},
                            {"y-bins", "0"},
                            {"stat", "median"},
                            {"where.1", "1>>70"},
                            {"where.2", "18.3 = 1"},
                            {"settle", "-1"},
                            {"min-count", "two"},
                            {"centre", "mid"},
                            {"open", "maybe"},
                            {"colour-map", "grey"}}};
    const ViewParse parse = ParseViewSection(section);
    ASSERT_TRUE(parse.view);
    const ViewDefinition& view = *parse.view;
    EXPECT_EQ(view.setup.kind, AnalysisKind::Scatter);
    EXPECT_EQ(view.setup.x, (ValueRef{4, -1}));
    EXPECT_FALSE(view.setup.y);
    EXPECT_FALSE(view.setup.xEdges);
    EXPECT_EQ(view.setup.yBins, AnalysisSetup::kDefaultBins);
    EXPECT_EQ(view.setup.statistic, Statistic::Mean);
    ASSERT_EQ(view.setup.conditions.size(), 1u);
    EXPECT_EQ(ConditionText(view.setup.conditions[0]), "18.3=1");
    EXPECT_EQ(view.setup.settleSeconds, 0.0);
    EXPECT_EQ(view.setup.minCount, 1);
    EXPECT_FALSE(view.centre);
    EXPECT_TRUE(view.open);
    EXPECT_EQ(view.unknownKeys,
              (std::vector<std::pair<std::string, std::string>>{{"colour-map", "grey"}}));
    ASSERT_EQ(parse.problems.size(), 9u);
    EXPECT_EQ(parse.problems[0], "Y=rpm: is not a position (POS or POS.BIT)");
    EXPECT_EQ(parse.problems[2], "y-bins=0: is not a number of bins from 1 to 200");
    EXPECT_EQ(parse.problems[4].substr(0, 16), "where.1=1>>70: c");
    // The unknown key is written back after the known ones.
    EXPECT_EQ(FormatViewSection(view).keys.back(), section.keys.back());
}

TEST(ViewSection, WithoutKindOrXTheSectionIsLeftAsItIs) {
    DetailsTable details;
    details.SectionAt("view No kind").keys = {{"x", "4"}};
    details.SectionAt("view No x").keys = {{"kind", "table"}, {"x", "four"}};
    details.SectionAt("viewpoint").keys = {{"kind", "table"}};
    details.SectionAt("view ").keys = {{"kind", "table"}, {"x", "4"}};
    const std::vector<ViewParse> views = ReadViews(details);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_FALSE(views[0].view);
    EXPECT_EQ(views[0].problems.back(), "[view No kind]: kind is missing");
    EXPECT_FALSE(views[1].view);
    EXPECT_EQ(views[1].problems.back(), "[view No x]: x is missing");
    EXPECT_EQ(details.Sections().size(), 4u);
}

TEST(ViewSection, PutReplacesInPlaceRenamesAndErases) {
    DetailsTable details;
    ViewDefinition a = BlockLearnView();
    a.name = "A";
    ViewDefinition b = a;
    b.name = "B";
    PutView(details, a);
    PutView(details, b);
    details.SectionAt("definition");
    a.setup.minCount = 9;
    PutView(details, a);
    ASSERT_EQ(details.Sections().size(), 3u);
    EXPECT_EQ(ReadViews(details)[0].view->setup.minCount, 9);

    ViewDefinition renamed = a;
    renamed.name = "A prime";
    PutView(details, renamed, "A");
    EXPECT_EQ(details.Sections()[0].name, "view A prime");
    EXPECT_EQ(details.FindSection("view A"), nullptr);
    EXPECT_TRUE(EraseView(details, "B"));
    EXPECT_FALSE(EraseView(details, "B"));
    ASSERT_EQ(details.Sections().size(), 2u);
    EXPECT_EQ(details.Sections()[1].name, "definition");
}

TEST(ViewNames, AreCleanedAndMadeUnique) {
    EXPECT_EQ(CleanViewName("  Block\tlearn \r\n by  cell "), "Block learn by cell");
    EXPECT_EQ(CleanViewName("\x01\x7F"), "");
    const std::string longName(70, 'x');
    EXPECT_EQ(CleanViewName(longName).size(), 60u);
    // Never cut inside a character of several bytes.
    std::string accents;
    for (int i = 0; i < 40; ++i) {
        accents += "é";
    }
    EXPECT_EQ(CleanViewName(accents).size(), 60u);
    EXPECT_EQ(CleanViewName("x" + accents).size(), 59u);

    EXPECT_EQ(UniqueViewName("Speed", {}), "Speed");
    EXPECT_EQ(UniqueViewName("Speed", {"speed", "Speed 2"}), "Speed 3");
    EXPECT_EQ(UniqueViewName(" ", {}), "View");
    EXPECT_EQ(ViewNameOf("view  Speed "), "Speed");
    EXPECT_FALSE(ViewNameOf("View Speed"));
    EXPECT_FALSE(ViewNameOf("view"));
}

TEST(ColourScale, RunsFromLowToHighOrDivergesEquallyAroundItsCentre) {
    const ColourScale plain(10, 20);
    EXPECT_EQ(plain.PlaceOf(10), 0.0);
    EXPECT_EQ(plain.PlaceOf(15), 0.5);
    EXPECT_EQ(plain.PlaceOf(25), 1.0);
    EXPECT_EQ(plain.Of(10), (Rgb{255, 255, 204}));
    EXPECT_EQ(plain.Of(20), (Rgb{128, 0, 38}));
    EXPECT_EQ(ColourScale(5, 5).PlaceOf(5), 0.5);

    // Around 128: 124 is as far below as 132 is above, whatever the range shown.
    const ColourScale around(124, 129, 128.0);
    EXPECT_EQ(around.PlaceOf(128), 0.5);
    EXPECT_EQ(around.Of(128), (Rgb{247, 247, 247}));
    EXPECT_EQ(around.PlaceOf(124), 0.0);
    EXPECT_DOUBLE_EQ(around.PlaceOf(129), 0.625);
    const Rgb below = around.Of(126);
    const Rgb above = around.Of(130);
    EXPECT_GT(below.b, below.r);  // blue below the centre
    EXPECT_GT(above.r, above.b);  // red above it
    EXPECT_DOUBLE_EQ(around.PlaceOf(126) + around.PlaceOf(130), 1.0);
    EXPECT_EQ(ColourScale(128, 128, 128.0).Of(128), (Rgb{247, 247, 247}));

    EXPECT_TRUE(DarkTextOn({247, 247, 247}));
    EXPECT_FALSE(DarkTextOn({33, 102, 172}));
}

}  // namespace
}  // namespace vekaton::testing
