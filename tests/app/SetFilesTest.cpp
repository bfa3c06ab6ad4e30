// The whole configuration set through the window: the dashboard files written at a save and read
// at start-up, Save, Save Config Info, Load Config Files, and the recovery copies of unsaved work.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <memory>

#include "DashboardTestSupport.h"
#include "app/GraphsPage.h"
#include "app/MessageQueue.h"
#include "app/dashboard/ItemActions.h"
#include "app/sets/CrashRecovery.h"
#include "app/sets/SetCommands.h"
#include "app/sets/SetFolderLock.h"
#include "dashboard/BindingSlots.h"
#include "dashboard/ComponentStream.h"
#include "dashboard/LayoutFile.h"
#include "set/RecoveryStore.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::QuietSettings;
using testing::WriteTextFile;

// A set's file by name in any case: names from the set pointer end ".gau", chosen ones ".Gau".
QString InAnyCase(const QString& path) {
    const QFileInfo info(path);
    const QStringList found =
        info.dir().entryList({info.fileName()}, QDir::Files | QDir::CaseSensitive);
    if (!found.isEmpty()) {
        return path;
    }
    for (const QString& name : info.dir().entryList(QDir::Files)) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            return info.dir().filePath(name);
        }
    }
    return path;
}

bool Exists(const QString& path) {
    return QFileInfo::exists(InAnyCase(path));
}

QByteArray ReadBytes(const QString& path) {
    QFile file(InAnyCase(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(InAnyCase(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Answers every question of the layout reader with OK and keeps what it was shown.
class ScriptedPrompts : public LayoutReadPrompts {
  public:
    void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
    bool AskOkCancel(std::string_view question) override {
        shown.emplace_back(question);
        return true;
    }
    std::vector<std::string> shown;
};

class SetFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        WriteTextFile(folder_.File("Default.Ini"), QuietSettings());
        WriteTextFile(folder_.File("Default.cfg"), testing::kTestParameters);
    }

    std::unique_ptr<MainWindow> Open() {
        auto window = std::make_unique<MainWindow>();
        window->Rooms().dashboard.SetMessageSink([](const QString&) {});
        return window;
    }
    static int Add(MainWindow& window, ItemKind kind, int page, QPoint at = QPoint(20, 20)) {
        const std::optional<int> id = window.Rooms().dashboard.Actions().AddItem(kind, page, at);
        EXPECT_TRUE(id.has_value());
        return id.value_or(0);
    }
    static void Bind(MainWindow& window, int id, int position, int bit, int hold = kHoldFollow) {
        window.Rooms().dashboard.Model().SetBinding(id, BindingEntry{position, bit, hold});
        const int bytes = window.Rooms().session.Table().At(position).ByteCount;
        window.Rooms().session.GetDecoder().BindItem(id, LastBytePosition(position, bytes));
    }
    static int Id(MainWindow& window, const char* name) {
        return window.Rooms().dashboard.Model().FindByName(name).value_or(0);
    }

    CurrentFolder folder_;
};

TEST_F(SetFilesTest, EveryKindOfItemTheChartTheWindowAndThePageSurviveSaveAndLoad) {
    QRect bounds;
    std::string gaugeList;
    std::string layout;
    {
        auto window = Open();
        DashboardModel& model = window->Rooms().dashboard.Model();
        const int label = Add(*window, ItemKind::Label, 0, QPoint(30, 40));
        model.SetProperty(label, "Caption", PropertyValue::String("Oil — °C"));
        const int gauge = Add(*window, ItemKind::AngularGauge, 0, QPoint(100, 40));
        Bind(*window, gauge, 4, 0);
        model.SetProperty(gauge, "Color", PropertyValue::Colour(0x00FF00));
        const int thermometer = Add(*window, ItemKind::Thermometer, 1, QPoint(10, 200));
        Bind(*window, thermometer, 1, 0);
        const int segments = Add(*window, ItemKind::SevenSegmentAnalog, 1);
        Bind(*window, segments, 3, 0, kHoldMin);
        const int display = Add(*window, ItemKind::AnalogDisplay, 2, QPoint(300, 100));
        Bind(*window, display, 8, 0, kHoldMax);
        const int led = Add(*window, ItemKind::LedRound, 2, QPoint(60, 60));
        Bind(*window, led, 18, 3);
        model.ApplyBits(led, {false, false, false, true, false, false, false, false});
        ASSERT_EQ(window->Rooms().dashboard.View().WidgetOf(led)->Property("Active"),
                  PropertyValue::Boolean(true));
        const int button = Add(*window, ItemKind::ResetButton, 0, QPoint(10, 300));
        model.SetResetButton(button, ResetButtonEntry{{gauge, display}, 5, 9999});
        model.SetPageCaption(0, "Engine");
        model.SetPageCaption(2, "Fuel & Air");

        window->Rooms().graphs.ChooseChannel(1, 0);
        window->Rooms().graphs.ChooseChannel(18, 3);
        ChartChannelList channels = window->Rooms().graphs.ChannelSettings();
        ASSERT_EQ(channels.size(), 2u);
        channels[0].autoScale = false;
        channels[0].minimum = -40.0;
        channels[0].maximum = 150.0;
        channels[0].colour = 0x0000FF;
        window->Rooms().graphs.SetChannelSettings(channels);

        window->setGeometry(40, 50, 700, 500);
        window->Rooms().pages.setCurrentIndex(2);
        bounds = window->geometry();
        gaugeList = window->Rooms().session.GaugeListText();
        layout = window->Rooms().session.LayoutBytes();
        window->SaveClick();
        EXPECT_TRUE(window->Rooms().messages.Posted().isEmpty())
            << window->Rooms().messages.Posted().join("\n").toStdString();
    }
    ASSERT_TRUE(Exists(folder_.File("Default.gau")));
    ASSERT_TRUE(Exists(folder_.File("Default.dsf")));

    auto window = Open();
    DashboardModel& model = window->Rooms().dashboard.Model();
    const ParameterTable& table = window->Rooms().session.Table();
    const int gauge = Id(*window, "USERANGULARGAUGE1");
    const int thermometer = Id(*window, "USERTHERMOMETER1");
    const int segments = Id(*window, "USERSEVENSEGMENTANALOG1");
    const int display = Id(*window, "USERANALOGDISPLAY1");
    const int led = Id(*window, "USERLEDROUND1");
    const int button = Id(*window, "USERRESETBUTTON1");
    const int label = Id(*window, "USERLABEL1");
    for (const int id : {gauge, thermometer, segments, display, led, button, label}) {
        ASSERT_NE(id, 0);
    }
    EXPECT_EQ(model.Find(gauge)->page, 0);
    EXPECT_EQ(model.Find(thermometer)->page, 1);
    EXPECT_EQ(model.Find(led)->page, 2);
    EXPECT_EQ(model.Find(model.Find(led)->parentId)->name, "USERPANEL1");
    EXPECT_TRUE(IsBoundAt(table, gauge, 5)) << "a two-byte value binds at its last byte";
    EXPECT_TRUE(IsBoundAt(table, thermometer, 1));
    EXPECT_TRUE(IsBoundAt(table, led, 18));
    EXPECT_EQ(model.Binding(led).bit, 3);
    EXPECT_EQ(model.Binding(segments).holdMode, kHoldMin);
    EXPECT_EQ(model.Binding(display).holdMode, kHoldMax);
    EXPECT_EQ(model.ResetButtonFor(button), (ResetButtonEntry{{gauge, display}, 5, 9999}));
    InstrumentWidget* gaugeWidget = window->Rooms().dashboard.View().WidgetOf(gauge);
    EXPECT_EQ(gaugeWidget->Color(), 0x00FF00);
    EXPECT_EQ(window->Rooms().dashboard.View().WidgetOf(label)->Property("Caption"),
              PropertyValue::String("Oil — °C"));
    EXPECT_EQ(window->Rooms().dashboard.View().WidgetOf(led)->Property("Active"),
              PropertyValue::Boolean(false))
        << "LEDs are stored dark";
    EXPECT_EQ(window->Rooms().pages.tabText(0), "Engine");
    EXPECT_EQ(model.PageCaption(2), "Fuel & Air");
    const ChartChannelList channels = window->Rooms().graphs.ChannelSettings();
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(channels[0].position, 1);
    EXPECT_FALSE(channels[0].autoScale);
    EXPECT_EQ(channels[0].minimum, -40.0);
    EXPECT_EQ(channels[0].maximum, 150.0);
    EXPECT_EQ(channels[0].colour, 0x0000FF);
    EXPECT_EQ(channels[1].position, 18);
    EXPECT_EQ(channels[1].bit, 3);
    EXPECT_EQ(window->geometry(), bounds);
    EXPECT_EQ(window->Rooms().pages.currentIndex(), 2);
    // Everything a save writes, and so everything above and all the rest, comes back.
    EXPECT_EQ(window->Rooms().session.GaugeListText(), gaugeList);
    EXPECT_EQ(window->Rooms().session.LayoutBytes(), layout);
    EXPECT_EQ(window->Rooms().dashboard.Undo().count(), 0) << "what was read is no edit";
}

TEST_F(SetFilesTest, RemovedItemsStayAwayCountersGoOnAndResetButtonsKeepTheirItems) {
    {
        auto window = Open();
        std::vector<int> gauges;
        for (int i = 0; i < 7; ++i) {
            gauges.push_back(Add(*window, ItemKind::AngularGauge, 0, QPoint(10 * i, 10)));
        }
        const int button = Add(*window, ItemKind::ResetButton, 1);
        window->Rooms().dashboard.Model().SetResetButton(button,
                                                         ResetButtonEntry{{gauges[6]}, 0, 0});
        window->Rooms().dashboard.Actions().Remove(gauges[1]);
        window->Rooms().dashboard.Actions().Remove(gauges[3]);
        window->SaveClick();
    }
    auto window = Open();
    DashboardModel& model = window->Rooms().dashboard.Model();
    EXPECT_EQ(Id(*window, "USERANGULARGAUGE2"), 0);
    EXPECT_EQ(Id(*window, "USERANGULARGAUGE4"), 0);
    const int seventh = Id(*window, "USERANGULARGAUGE7");
    ASSERT_NE(seventh, 0);
    EXPECT_EQ(seventh, 5) << "numbered in order at the save";
    EXPECT_EQ(model.ResetButtonFor(Id(*window, "USERRESETBUTTON1")).ids, std::vector<int>{seventh});
    const int next = Add(*window, ItemKind::AngularGauge, 0);
    EXPECT_EQ(model.Find(next)->name, "USERANGULARGAUGE8");
}

TEST_F(SetFilesTest, PropertiesOfAnotherVersionAreWrittenBackByteForByte) {
    std::vector<StreamComponent> records;
    LayoutTrailer trailer;
    {
        auto window = Open();
        Add(*window, ItemKind::AngularGauge, 0);
        records = window->Rooms().session.LayoutRecords();
        trailer = window->Rooms().session.LayoutTrailerNow();
        window->SaveClick();
    }
    // A later version's gauge record: a property this one does not know, between known ones.
    StreamComponent& gauge = records.back();
    ASSERT_EQ(gauge.name, "USERANGULARGAUGE1");
    gauge.properties.insert(
        gauge.properties.begin() + 1,
        StreamProperty{"NeedleShadow", StreamValue::Binary("\x01\x00\xFF\x7F")});
    gauge.properties.push_back(
        StreamProperty{"Redline.Zones", *StreamValue::Set({"zoneLow", "zoneHigh"})});
    std::string bytes;
    ASSERT_FALSE(WriteLayoutBytes(records, trailer, bytes));
    WriteBytes(folder_.File("Default.dsf"), QByteArray::fromStdString(bytes));

    auto window = Open();
    EXPECT_EQ(window->Rooms().session.LayoutRecords().back().properties, gauge.properties);
    window->SaveClick();
    EXPECT_EQ(ReadBytes(folder_.File("Default.dsf")).toStdString(), bytes);
}

TEST_F(SetFilesTest, ALayoutCutInARecordTakesTheRecoveryPathAndIsKeptAsBad) {
    {
        auto window = Open();
        Add(*window, ItemKind::AngularGauge, 0);
        Add(*window, ItemKind::Thermometer, 0);
        window->SaveClick();
    }
    const QByteArray whole = ReadBytes(folder_.File("Default.dsf"));
    const QByteArray cut = whole.left(whole.lastIndexOf("USERTHERMOMETER1") + 20);
    WriteBytes(folder_.File("Default.dsf"), cut);

    ScriptedPrompts prompts;
    auto window = std::make_unique<MainWindow>(false, nullptr);
    window->SetLayoutPrompts(&prompts);
    window->FormCreate();
    ASSERT_GE(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown.front().rfind("ERROR Reading DataStream at Pos:", 0), 0u)
        << prompts.shown.front();
    EXPECT_NE(prompts.shown.front().find("USERTHERMOMETER1"), std::string::npos);
    EXPECT_EQ(prompts.shown.back(), "Unable to Recover");
    EXPECT_NE(Id(*window, "USERANGULARGAUGE1"), 0) << "the gauge list still made the items";
    window->SaveClick();
    EXPECT_EQ(ReadBytes(folder_.File("Default.dsf.bad")), cut) << "the damaged file is kept";
}

TEST_F(SetFilesTest, EachSaveKeepsThePreviousFilesAsBackups) {
    auto window = Open();
    Add(*window, ItemKind::AngularGauge, 0);
    window->SaveClick();
    const QByteArray firstLayout = ReadBytes(folder_.File("Default.dsf"));
    const QByteArray firstList = ReadBytes(folder_.File("Default.gau"));
    Add(*window, ItemKind::Thermometer, 1);
    window->SaveClick();
    EXPECT_EQ(ReadBytes(folder_.File("Default_bak.dsf")), firstLayout);
    EXPECT_EQ(ReadBytes(folder_.File("Default_bak.gau")), firstList);
    EXPECT_NE(ReadBytes(folder_.File("Default.dsf")), firstLayout);
    EXPECT_TRUE(ReadBytes(folder_.File("Default.gau")).contains("USERTHERMOMETER1"));
}

TEST_F(SetFilesTest, SaveConfigInfoTwiceThenLoadConfigFilesRebuildsTheWindow) {
    auto window = Open();
    const QString startCaption = window->windowTitle();
    QStringList chosen{folder_.File("A.cfg"), folder_.File("B.cfg")};
    window->SetSetFileChooser([&chosen](bool) -> std::optional<QString> {
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen.takeFirst());
    });
    window->SetConfirm([](const QString&) { return false; });
    Add(*window, ItemKind::AngularGauge, 0);
    window->SaveConfigInfo1Click();
    EXPECT_EQ(window->windowTitle(), startCaption + " : A");
    Add(*window, ItemKind::Thermometer, 0);
    window->SaveConfigInfo1Click();
    EXPECT_EQ(window->windowTitle(), startCaption + " : A : B");
    for (const char* name :
         {"A.ini", "A.cfg", "A.gau", "A.dsf", "B.ini", "B.cfg", "B.gau", "B.dsf"}) {
        EXPECT_TRUE(Exists(folder_.File(name))) << name;
    }
    EXPECT_FALSE(ReadBytes(folder_.File("A.gau")).contains("USERTHERMOMETER1"));

    // A line the gauge list cannot take in: reading the loaded set still says so.
    QFile list(InAnyCase(folder_.File("A.gau")));
    ASSERT_TRUE(list.open(QIODevice::Append));
    list.write("USERSPEEDOMETER1,0,4,8,0\r\n");
    list.close();
    chosen = QStringList{folder_.File("A.cfg")};
    window->LoadConfigFiles1Click();
    EXPECT_TRUE(window->Rooms().messages.Posted().join("\n").contains("USERSPEEDOMETER1"))
        << window->Rooms().messages.Posted().join("\n").toStdString();
    EXPECT_EQ(window->windowTitle(), "Vekaton v3.02d  : A");
    EXPECT_NE(Id(*window, "USERANGULARGAUGE1"), 0);
    EXPECT_EQ(Id(*window, "USERTHERMOMETER1"), 0) << "B's gauge went with B";
    EXPECT_EQ(window->Rooms().dashboard.Model().LiveIds().size(), 1u);
    EXPECT_EQ(ReadBytes(folder_.File("Vekaton.Ini")).trimmed(), "A") << "the set pointer";
}

TEST_F(SetFilesTest, ASetInAnotherFolderMovesTheWorkThere) {
    QTemporaryDir other;
    auto window = Open();
    window->SetSetFileChooser([&other](bool) -> std::optional<QString> {
        return QDir(other.path()).filePath("Car.cfg");
    });
    Add(*window, ItemKind::AngularGauge, 0);
    window->SaveConfigInfo1Click();
    for (const char* name : {"Car.ini", "Car.cfg", "Car.gau", "Car.dsf", "Vekaton.Ini"}) {
        EXPECT_TRUE(Exists(QDir(other.path()).filePath(name))) << name;
    }
    EXPECT_EQ(QDir::current(), QDir(other.path()));
}

TEST_F(SetFilesTest, AFolderAnotherWindowHoldsIsNotMovedInto) {
    QTemporaryDir other;
    SetFolderLock otherWindow;
    ASSERT_FALSE(otherWindow.Take(other.path()));
    SetFolderLock ours;
    auto window = Open();
    window->Rooms().setCommands.SetFolderLocker(
        [&ours](const QString& folder) { return ours.Take(folder); });
    window->SetSetFileChooser([&other](bool) -> std::optional<QString> {
        return QDir(other.path()).filePath("Car.cfg");
    });
    const QDir before = QDir::current();
    window->SaveConfigInfo1Click();
    EXPECT_FALSE(Exists(QDir(other.path()).filePath("Car.cfg"))) << "nothing written there";
    EXPECT_EQ(QDir::current(), before);
    const QStringList posted = window->Rooms().messages.Posted();
    ASSERT_FALSE(posted.isEmpty());
    EXPECT_TRUE(posted.last().contains("already in use by another Vekaton"))
        << posted.last().toStdString();
}

TEST_F(SetFilesTest, RecoveryCopiesFollowUnsavedWorkAndGoAtSaveAndAtExitWithoutSaving) {
    QTemporaryDir recovery;
    RecoveryStore store(recovery.path().toStdString());
    auto window = Open();
    window->KeepRecoveryCopiesIn(recovery.path());
    EXPECT_FALSE(store.HasSnapshot()) << "nothing changed yet";

    const int gauge = Add(*window, ItemKind::AngularGauge, 0);
    window->Rooms().recovery.Keeper()->Check();
    ASSERT_TRUE(store.HasSnapshot());
    const std::optional<RecoverySnapshot> kept = store.Load();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->setName, "Default");
    EXPECT_FALSE(Exists(folder_.File("Default.gau"))) << "never the set's own files";

    window->SaveClick();
    EXPECT_FALSE(store.HasSnapshot()) << "saved work needs no copies";

    window->Rooms().dashboard.Actions().Remove(gauge);
    window->Rooms().recovery.Keeper()->Check();
    EXPECT_TRUE(store.HasSnapshot());
    window->SetConfirm([](const QString&) { return true; });
    window->ExitNoAutoSave1Click();
    EXPECT_FALSE(store.HasSnapshot()) << "Exit - No Auto Save discards the changes";
    EXPECT_TRUE(ReadBytes(folder_.File("Default.gau")).contains("USERANGULARGAUGE1"));
}

TEST_F(SetFilesTest, RestoredCopiesAreWhatTheNextStartReads) {
    QTemporaryDir recovery;
    {
        auto window = Open();
        window->KeepRecoveryCopiesIn(recovery.path());
        Add(*window, ItemKind::Thermometer, 2);
        window->Rooms().dashboard.Model().SetPageCaption(1, "Kept");
        window->Rooms().recovery.Keeper()->Check();
        // The window goes without closing, as a crash would end it.
    }
    QString asked;
    const QString note = OfferRecovery(recovery.path(), [&asked](const QString& question) {
                             asked = question;
                             return true;
                         }).note;
    EXPECT_TRUE(asked.contains("Default")) << asked.toStdString();
    EXPECT_TRUE(note.contains("restored")) << note.toStdString();
    auto window = Open();
    EXPECT_NE(Id(*window, "USERTHERMOMETER1"), 0);
    EXPECT_EQ(window->Rooms().pages.tabText(1), "Kept");
    EXPECT_FALSE(RecoveryStore(recovery.path().toStdString()).HasSnapshot());
}

}  // namespace
}  // namespace vekaton
