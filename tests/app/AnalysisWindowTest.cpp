// Tables, histograms and scatters in the window: made from the Tools menu, set up through their
// panel, computed from the open log on a worker thread with the numbers `vekaton-cli` gives,
// clicked through to the log's frames, fed live by playback and the simulated module, exported,
// copied, and kept with the set.
#include <gtest/gtest.h>
#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "LogTestSet.h"
#include "QtApp.h"
#include "analysis/AnalysisText.h"
#include "analysis/LogAnalysis.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/analysis/AnalysisPlot.h"
#include "app/analysis/AnalysisRoom.h"
#include "app/analysis/AnalysisView.h"
#include "app/analysis/FilterList.h"
#include "app/analysis/PositionPicker.h"
#include "app/analysis/ScatterWidget.h"
#include "app/analysis/SetupPanel.h"
#include "app/logview/LogViewer.h"
#include "log/DataLogFile.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::WaitUntil;

constexpr int kFrames = 2000;

QString Cli(const QStringList& arguments) {
    QProcess cli;
    cli.start(VEKATON_BINARY_DIR "/src/vekaton-cli", arguments);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0) {
        return "failed: " + QString::fromUtf8(cli.readAllStandardError());
    }
    return QString::fromUtf8(cli.readAllStandardOutput());
}

QAction* ToolsAction(MainWindow& window, const char* name) {
    return window.findChild<QAction*>(name);
}

class AnalysisWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        testing::WriteLogTestSet(folder_);
        log_ = testing::WriteLogTestLog(folder_, "drive.Dat", kFrames, 9);
    }

    // A view made from the Tools menu, computed from the open log.
    AnalysisView& NewView(MainWindow& window, const char* action) {
        ToolsAction(window, action)->trigger();
        return *window.Rooms().analysis.Views().back();
    }
    static bool Applied(AnalysisView& view) {
        auto* apply = view.findChild<QPushButton*>("ApplySetup");
        QTest::mouseClick(apply, Qt::LeftButton);
        return WaitUntil([&view] { return !view.Busy(); }, 30000) && view.Result() != nullptr;
    }

    CurrentFolder folder_;
    QString log_;
};

TEST_F(AnalysisWindowTest, ATableSetUpInItsPanelGivesTheNumbersOfTheCommandLine) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    AnalysisView& view = NewView(window, "CellTable");
    EXPECT_FALSE(window.Rooms().analysis.DockOf(view)->isHidden());
    EXPECT_EQ(view.Definition().source, ViewSource::Log);

    // Typed as a user types: parts of descriptions, edges, a filter on a flag bit.
    SetupPanel& panel = view.Setup();
    ASSERT_TRUE(panel.XPicker().TakeText("coolant"));
    ASSERT_TRUE(panel.YPicker().TakeText("8"));
    ASSERT_TRUE(panel.ZPicker().TakeText("Fuel (22)"));
    EXPECT_FALSE(panel.ZPicker().TakeText("no such value"));
    EXPECT_EQ(panel.ZPicker().Ref(), (ValueRef{22, -1}));
    panel.XEdges().setText("-40,0,40,80,120,160");
    panel.YEdges().clear();
    panel.Filters().SetConditions({});
    const Condition running{{18, 3}, CompareOp::Equal, 1.0};
    panel.Filters().AddRow(&running);
    ASSERT_TRUE(Applied(view));
    EXPECT_EQ(view.Definition().setup.conditions, std::vector<Condition>{running});

    const QString cli =
        Cli({"table", "--dir", folder_.Path(), log_, "--x", "1", "--y", "8", "--z", "22",
             "--x-edges", "-40,0,40,80,120,160", "--y-bins", "10", "--where", "18.3=1"});
    EXPECT_EQ(view.Text(','), cli);
    EXPECT_GT(view.Result()->Tally().used, 100);
    EXPECT_GT(view.Result()->Tally().badChecksum, 100);
    EXPECT_TRUE(view.StatusText().contains(
        QString("%1 frames read, %2 used").arg(kFrames).arg(view.Result()->Tally().used)))
        << view.StatusText().toStdString();

    // A mistake in the panel is named there, and the view stays as it was.
    panel.XEdges().setText("3,2");
    auto* apply = view.findChild<QPushButton*>("ApplySetup");
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(view.Text(','), cli);
    EXPECT_EQ(view.Definition().setup.xEdges->Count(), 5);
}

TEST_F(AnalysisWindowTest, HistogramAndScatterGiveTheNumbersOfTheCommandLine) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().logView.Open(log_));

    AnalysisView& histogram = NewView(window, "Histogram");
    ViewDefinition definition = histogram.Definition();
    definition.setup.x = {8, -1};
    definition.setup.xEdges.reset();
    definition.setup.xBins = 7;
    definition.setup.share = true;
    definition.setup.settleSeconds = 0.3;
    definition.setup.conditions = {*ParseCondition("18.3=0").condition};
    histogram.Setup().SetDefinition(definition);
    ASSERT_TRUE(Applied(histogram));
    EXPECT_EQ(histogram.Text(','),
              Cli({"histogram", "--dir", folder_.Path(), log_, "--x", "8", "--x-bins", "7",
                   "--share", "--settle", "0.3", "--where", "18.3=0"}));

    AnalysisView& scatter = NewView(window, "Scatter");
    definition = scatter.Definition();
    definition.setup.x = {1, -1};
    definition.setup.y = ValueRef{22, -1};
    definition.setup.z = ValueRef{8, -1};
    definition.setup.xEdges.reset();
    definition.setup.yEdges = BinEdges::FromList({0, 64, 128, 192, 256});
    definition.setup.statistic = Statistic::Max;
    definition.setup.minCount = 3;
    scatter.Setup().SetDefinition(definition);
    ASSERT_TRUE(Applied(scatter));
    EXPECT_EQ(scatter.Text(','), Cli({"scatter", "--dir", folder_.Path(), log_, "--x", "1", "--y",
                                      "22", "--z", "8", "--x-bins", "24", "--y-edges",
                                      "0,64,128,192,256", "--stat", "max", "--min-count", "3"}));
    // Every counted frame is a dot while there are few.
    EXPECT_EQ(static_cast<std::int64_t>(scatter.Result()->Points().Points().size()),
              scatter.Result()->Tally().used);
    // A click on a dot goes to that dot's frame (the nearest dot's, where dots lie close).
    auto& plot = static_cast<ScatterWidget&>(scatter.Plot());
    ASSERT_TRUE(WaitUntil([&] { return plot.isVisible() && plot.height() > 100; }));
    const std::vector<ScatterPoint>& dots = scatter.Result()->Points().Points();
    const QPoint click = plot.PlaceOf(dots[dots.size() / 2].x, dots[dots.size() / 2].y).toPoint();
    double nearest = 1e9;
    std::vector<std::int64_t> frames;
    for (const ScatterPoint& dot : dots) {
        const QPointF place = plot.PlaceOf(dot.x, dot.y) - QPointF(click);
        const double distance = place.x() * place.x() + place.y() * place.y();
        if (distance < nearest) {
            nearest = distance;
            frames.clear();
        }
        if (distance == nearest) {
            frames.push_back(dot.frame);
        }
    }
    QTest::mouseClick(&plot, Qt::LeftButton, {}, click);
    EXPECT_NE(std::find(frames.begin(), frames.end(), window.Rooms().logView.CursorFrame()),
              frames.end());

    // The two views are tabs of one place below the pages.
    EXPECT_EQ(window.tabifiedDockWidgets(window.Rooms().analysis.DockOf(scatter)),
              QList<QDockWidget*>{window.Rooms().analysis.DockOf(histogram)});
}

TEST_F(AnalysisWindowTest, AClickOnACellPutsTheViewersCursorOnItsFramesAndTheKeysStep) {
    MainWindow window;
    window.resize(1024, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    AnalysisView& view = NewView(window, "CellTable");
    ViewDefinition definition = view.Definition();
    definition.setup.x = {1, -1};
    definition.setup.y = ValueRef{8, -1};
    definition.setup.z = ValueRef{22, -1};
    definition.setup.xEdges = BinEdges::Equal(-40, 160, 4);
    definition.setup.yEdges = BinEdges::Equal(0, 26, 3);
    definition.setup.conditions.clear();
    view.Setup().SetDefinition(definition);
    ASSERT_TRUE(Applied(view));
    const FrameAccumulator& result = *view.Result();
    int cell = 0;
    while (result.Grid().Cell(cell).Count() < 3) {
        ++cell;
    }
    const std::vector<std::int64_t>& frames = result.Frames()->Of(cell);
    AnalysisPlot& plot = view.Plot();
    ASSERT_TRUE(WaitUntil([&] { return plot.isVisible() && plot.height() > 100; }))
        << "the plot is " << plot.height() << " high";
    QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.CellRect(cell).center().toPoint());
    EXPECT_EQ(plot.SelectedCell(), cell);
    EXPECT_EQ(window.Rooms().logView.CursorFrame(), frames[0]);
    EXPECT_EQ(frames[0], result.Grid().FirstFrame(cell));
    EXPECT_TRUE(view.StatusText().startsWith(
        QString("Frame %1: 1 of the cell's %2 frames").arg(frames[0] + 1).arg(frames.size())));

    // F3 and Shift+F3 step through the cell's frames from wherever the cursor stands.
    window.activateWindow();
    plot.setFocus();
    QTest::keyClick(&plot, Qt::Key_F3);
    EXPECT_EQ(window.Rooms().logView.CursorFrame(), frames[1]);
    QTest::keyClick(&plot, Qt::Key_F3);
    EXPECT_EQ(window.Rooms().logView.CursorFrame(), frames[2]);
    QTest::keyClick(&plot, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(window.Rooms().logView.CursorFrame(), frames[1]);
    window.Rooms().logView.SetCursorFrame(frames.back());
    EXPECT_FALSE(view.StepFrame(1));
    EXPECT_EQ(view.StatusText(),
              "No later frame in this cell.   " + view.StatusText().section("   ", 1));
    // The arrow keys move to the next cell and Enter goes to its first frame.
    const int right = cell + 1 < result.Grid().CellCount() ? cell + 1 : cell;
    QTest::keyClick(&plot, cell + 1 < result.Grid().Columns() ? Qt::Key_Right : Qt::Key_Left);
    if (right != cell && result.Grid().Cell(plot.SelectedCell()).Count() > 0) {
        QTest::keyClick(&plot, Qt::Key_Return);
        EXPECT_EQ(window.Rooms().logView.CursorFrame(),
                  result.Grid().FirstFrame(plot.SelectedCell()));
    }
    // The hovered cell is told in words.
    EXPECT_TRUE(plot.CellSummary(cell).contains(QString("%1 frames").arg(frames.size())));
    EXPECT_TRUE(plot.CellSummary(cell).contains("Fuel: mean "));

    // Between the cursors only those frames count.
    window.Rooms().logView.SetCursorFrame(100);
    window.Rooms().logView.GoToFrame(100);
    view.SetSource(ViewSource::Cursors);
    EXPECT_FALSE(view.Result() != nullptr && view.Busy());
    EXPECT_TRUE(view.StatusText().contains("cursor B")) << view.StatusText().toStdString();
}

TEST_F(AnalysisWindowTest, PlaybackFeedsALiveViewAsItsLogWouldGiveIt) {
    MainWindow window;
    window.show();
    AnalysisView& view = NewView(window, "CellTable");
    ViewDefinition definition = view.Definition();
    definition.setup.x = {1, -1};
    definition.setup.y = ValueRef{8, -1};
    definition.setup.z = ValueRef{22, -1};
    definition.setup.xEdges = BinEdges::Equal(-40, 160, 5);
    definition.setup.yEdges = BinEdges::Equal(0, 26, 4);
    definition.setup.conditions = {*ParseCondition("18.3=1").condition};
    definition.setup.settleSeconds = 0.25;
    definition.source = ViewSource::Live;
    view.SetDefinition(definition);
    ASSERT_NE(view.Result(), nullptr);
    EXPECT_EQ(view.Result()->Tally().read, 0);

    Engine& engine = window.Rooms().session.GetEngine();
    ASSERT_FALSE(engine.StartPlayback(log_.toStdString()));
    engine.SetPlaybackPaused(true);
    constexpr int kPlayed = 700;
    for (int f = 0; f < kPlayed; ++f) {
        engine.StepPlayback();
    }
    ASSERT_TRUE(WaitUntil([&] { return view.Plot().LiveCell() >= 0; }));
    EXPECT_EQ(view.Result()->Tally().read, kPlayed);

    DataLogFile log;
    ASSERT_FALSE(log.Open(log_.toStdString(), 27));
    LogAnalysis fromLog(log, RecordLayout{3, 23, true}, window.Rooms().session.Table(), nullptr,
                        definition.setup, {}, FrameRange{0, kPlayed});
    ASSERT_TRUE(fromLog.Run());
    EXPECT_EQ(view.Result()->Tally(), fromLog.Result()->Tally());
    EXPECT_EQ(view.Text(','), QString::fromStdString(CellTableText(*fromLog.Result())));

    // A click on a live cell says why it cannot go to frames; Reset starts afresh.
    EXPECT_FALSE(view.GoToCell(view.Plot().LiveCell()));
    EXPECT_TRUE(view.StatusText().startsWith("Live cells keep no frames"));
    view.Reset();
    EXPECT_EQ(view.Result()->Tally(), FrameTally{});
    engine.StopPlayback();
}

TEST_F(AnalysisWindowTest, ViewsAreKeptWithTheSetAndReopenAsTheyWere) {
    ViewDefinition table;
    ViewDefinition histogram;
    {
        MainWindow window;
        window.show();
        AnalysisView& tableView = NewView(window, "CellTable");
        table = tableView.Definition();
        table.name = "Fuel by cell";
        table.setup.z = ValueRef{22, -1};
        table.setup.conditions = {*ParseCondition("18.3=1").condition,
                                  *ParseCondition("1>=-10.5").condition};
        table.setup.settleSeconds = 1.5;
        table.centre = 128;
        tableView.SetDefinition(table);
        AnalysisView& histogramView = NewView(window, "Histogram");
        histogram = histogramView.Definition();
        window.Rooms().analysis.CloseView(histogramView);
        histogram.open = false;
        AnalysisView& gone = NewView(window, "Scatter");
        EXPECT_TRUE(window.Rooms().analysis.DeleteView(gone, false));
        window.SaveClick();
    }
    const QString details = testing::ReadTextFile(folder_.File("Default.details"));
    EXPECT_TRUE(
        details.contains("[view Fuel by cell]\r\nkind=table\r\nx=4\r\ny=1\r\nz=22\r\n"
                         "x-edges=0,500,1000,1500,2000,2500,3000,3500,4000,4500,5000,"
                         "5500,6000\r\ny-bins=10\r\n"))
        << details.toStdString();
    EXPECT_TRUE(details.contains("where.1=18.3=1\r\nwhere.2=1>=-10.5\r\nsettle=1.5\r\n"));
    EXPECT_TRUE(details.contains("centre=128\r\n"));
    EXPECT_FALSE(details.contains("against"));

    MainWindow again;
    again.show();
    const std::vector<AnalysisView*> views = again.Rooms().analysis.Views();
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0]->Definition(), table);
    EXPECT_EQ(views[1]->Definition(), histogram);
    EXPECT_FALSE(again.Rooms().analysis.DockOf(*views[0])->isHidden());
    EXPECT_TRUE(again.Rooms().analysis.DockOf(*views[1])->isHidden());
    // The Tools menu lists them, the closed one unticked; choosing it opens it.
    auto* menu = again.findChild<QMenu*>("SavedViews");
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[1]->text(), views[1]->Name());
    EXPECT_FALSE(menu->actions()[1]->isChecked());
    menu->actions()[1]->trigger();
    EXPECT_FALSE(again.Rooms().analysis.DockOf(*views[1])->isHidden());
    EXPECT_TRUE(views[1]->Definition().open);
}

TEST_F(AnalysisWindowTest, ExportWritesTheCsvAndCopyGivesTabsForASpreadsheet) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().logView.Open(log_));
    AnalysisView& view = NewView(window, "Histogram");
    ASSERT_TRUE(WaitUntil([&] { return !view.Busy() && view.Result() != nullptr; }, 30000));
    const QString path = folder_.File("speed.csv");
    view.SetChooseExportFile([&path] { return path; });
    view.ExportClicked();
    EXPECT_EQ(testing::ReadTextFile(path), view.Text(','));
    EXPECT_TRUE(view.Text(',').startsWith("X,Count\r\n"));
    view.CopyToClipboard();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("X\tCount\r\n")) << copied.toStdString();
    EXPECT_EQ(QString(copied).replace('\t', ','), view.Text(','));
    EXPECT_FALSE(view.ExportCsv(folder_.File("no-such-folder/x.csv")));
    EXPECT_TRUE(window.Rooms().messages.Posted().last().startsWith("The view was not exported"));
}

TEST_F(AnalysisWindowTest, ALongLogIsReadOnAWorkerThatCanBeCancelled) {
    const QString longLog = testing::WriteLogTestLog(folder_, "long.Dat", 400000);
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Rooms().logView.Open(longLog));
    AnalysisView& view = NewView(window, "Scatter");
    // Compute returned at once: the log is read on another thread.
    EXPECT_TRUE(view.Busy());
    view.Cancel();
    EXPECT_FALSE(view.Busy());
    EXPECT_EQ(view.Result(), nullptr);
    EXPECT_TRUE(view.StatusText().startsWith("Cancelled."));

    ASSERT_TRUE(view.Compute());
    ASSERT_TRUE(WaitUntil([&] { return !view.Busy(); }, 120000));
    ASSERT_NE(view.Result(), nullptr);
    EXPECT_EQ(view.Result()->Tally().read, 400000);
    // The dots stay few, however many frames there are.
    EXPECT_EQ(view.Result()->Points().Points().size(), ViewComputation::kScatterDots);
    EXPECT_FALSE(view.Plot().grab().isNull());
}

}  // namespace
}  // namespace vekaton
