// A new set through the real window: offered at the first start in an empty folder, from
// File > New Set (a library stream, the demo, an empty set) and from File > Import ADX
// Definition, each written, loaded and started; and how ports are listed.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "DashboardTestSupport.h"
#include "QtApp.h"
#include "app/MainWindow.h"
#include "app/MessageQueue.h"
#include "app/PortChooser.h"
#include "app/StatusPanel.h"
#include "app/sets/ImportReportDialog.h"
#include "app/sets/NewSetDialog.h"
#include "app/sets/NewSetFlow.h"
#include "io/SerialPortNames.h"
#include "session/Session.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::ReadTextFile;
using testing::WaitUntil;
using testing::WriteTextFile;

class NewSetWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::TestApp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings_.path());
    }

    // A window on the folder as it stands, its dialogs answered by the test in turn.
    void Open() {
        window_ = std::make_unique<MainWindow>();
        window_->SetConfirm([this](const QString& question) {
            asked_.append(question);
            return false;
        });
        Flow().SetDialogRunner([this](QDialog& dialog) {
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
                return int(QDialog::Rejected);
            }
            auto answer = std::move(answers_.front());
            answers_.pop_front();
            return answer(dialog);
        });
    }
    NewSetFlow& Flow() { return window_->Rooms().newSet; }
    Session& GetSession() { return window_->Rooms().session; }
    void Answer(std::function<int(QDialog&)> answer) { answers_.push_back(std::move(answer)); }
    // Closes the start-up messages, so that what waits for them runs.
    void ReadMessages() {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            if (QMessageBox* box = window_->Rooms().messages.Box()) {
                box->accept();
            }
        }
    }
    QAction* MenuAction(const QString& name) {
        for (QAction* menu : window_->menuBar()->actions()) {
            if (QAction* found = testing::FindAction(menu->menu(), name)) {
                return found;
            }
        }
        return nullptr;
    }
    // Whether the folder holds a file of this name, in any letter case.
    bool Exists(const QString& name) const { return Files().contains(name, Qt::CaseInsensitive); }
    QStringList Files() const { return QDir(folder_.Path()).entryList(QDir::Files, QDir::Name); }

    CurrentFolder folder_;
    QTemporaryDir userSettings_;
    std::unique_ptr<MainWindow> window_;
    std::deque<std::function<int(QDialog&)>> answers_;
    QStringList asked_;
};

TEST_F(NewSetWindowTest, TheFirstStartInAnEmptyFolderLeadsToAWorkingLibraryDashboard) {
    Open();
    Answer([](QDialog& dialog) {
        auto& d = static_cast<NewSetDialog&>(dialog);
        EXPECT_EQ(d.windowTitle(), "Welcome to Vekaton");
        d.show();
        QApplication::processEvents();
        EXPECT_FALSE(d.Next()) << "no stream is chosen for the user";
        EXPECT_EQ(d.ProblemText(), "Choose your car's data stream in the list.");
        d.SetSearch("no-such-car");
        EXPECT_TRUE(d.ShownDefinitions().isEmpty());
        EXPECT_EQ(d.ProblemText(), "No stream of the library matches \"no-such-car\".");
        d.SetSearch("lh0");
        EXPECT_EQ(d.ShownDefinitions(), (QStringList{"A140", "A148"}));
        EXPECT_EQ(d.Choice().definitionId, "") << "nothing chosen before Next";
        d.SetSearch("lh0 1993");
        EXPECT_EQ(d.ShownDefinitions(), QStringList{"A140"});
        EXPECT_TRUE(d.Next()) << d.ProblemText().toStdString();
        EXPECT_EQ(d.PageIndex(), 1);
        EXPECT_FALSE(d.StartStringShown());
        EXPECT_TRUE(d.PortLabels().contains("Simulated ECM"));
        EXPECT_TRUE(d.SelectPort("Simulated ECM"));
        EXPECT_EQ(d.Choice().setName, "");
        d.accept();
        EXPECT_EQ(d.Choice().setName, "A140") << "the stream's ID names the set";
        return d.result();
    });
    EXPECT_TRUE(window_->OfferNewSetAtFirstStart());
    ReadMessages();
    ASSERT_TRUE(WaitUntil([this] { return answers_.empty(); }, 3000));
    EXPECT_TRUE(asked_.isEmpty()) << "nothing of the old set to save";
    for (const char* file :
         {"A140.Ini", "A140.cfg", "A140.details", "A140.gau", "A140.dsf", "Vekaton.Ini"}) {
        EXPECT_TRUE(Exists(file)) << file << " in " << Files().join(", ").toStdString();
    }
    EXPECT_FALSE(Exists("Default.Ini"));
    EXPECT_EQ(GetSession().Set().Names().parameterFileName, "A140.cfg");
    EXPECT_FALSE(window_->Rooms().dashboard.Model().LiveIds().empty());
    const DetailsTable& details = GetSession().Details();
    bool someUnit = false;
    for (int p = 1; p <= 60; ++p) {
        someUnit = someUnit || (details.Find(p) != nullptr && details.Find(p)->unit == "rpm");
    }
    EXPECT_TRUE(someUnit) << "the library's details came with the set";
    ReadMessages();
    EXPECT_TRUE(WaitUntil([this] { return GetSession().GetEngine().Running(); }, 3000))
        << "acquisition starts on the simulated module";

    // A folder that holds a set is not offered one.
    EXPECT_FALSE(window_->OfferNewSetAtFirstStart());
}

TEST_F(NewSetWindowTest, NewSetMakesTheDemoOrAnEmptySetBesideTheOldOne) {
    WriteTextFile(folder_.File("Default.Ini"), testing::QuietSettings());
    WriteTextFile(folder_.File("Default.cfg"), testing::kTestParameters);
    Open();
    EXPECT_FALSE(window_->OfferNewSetAtFirstStart());
    QAction* newSet = MenuAction("NewSet");
    ASSERT_NE(newSet, nullptr);
    EXPECT_EQ(newSet->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(newSet->text(), "New Set...");

    Answer([](QDialog& dialog) {
        auto& d = static_cast<NewSetDialog&>(dialog);
        EXPECT_EQ(d.windowTitle(), "New Configuration Set");
        d.ChooseSource(NewSetSource::Demo);
        EXPECT_TRUE(d.Next());
        d.SetSetName("Default");
        d.accept();
        EXPECT_TRUE(d.ProblemText().contains("already in this folder")) << "never overwritten";
        d.SetSetName("bad/name");
        d.accept();
        EXPECT_TRUE(d.ProblemText().startsWith("\"bad/name\" cannot name a set"));
        d.SetSetName("Practice");
        d.accept();
        return d.result();
    });
    newSet->trigger();
    EXPECT_EQ(asked_, QStringList{"Save Changes ? "});
    EXPECT_TRUE(Exists("Practice.Ini"));
    EXPECT_TRUE(Exists("Practice.gau"));
    EXPECT_TRUE(Exists("Default.cfg")) << "the old set stays";
    EXPECT_EQ(GetSession().Set().Names().settingsFileName, "Practice.ini");
    EXPECT_TRUE(ReadTextFile(folder_.File("Vekaton.ini")).contains("Practice"));
    EXPECT_FALSE(window_->Rooms().dashboard.Model().LiveIds().empty());
    ReadMessages();

    // An empty set holds only its settings and says where to begin.
    Answer([](QDialog& dialog) {
        auto& d = static_cast<NewSetDialog&>(dialog);
        d.ChooseSource(NewSetSource::Empty);
        EXPECT_TRUE(d.Next());
        d.accept();
        return d.result();
    });
    newSet->trigger();
    EXPECT_TRUE(Exists("MyCar.Ini"));
    EXPECT_FALSE(Exists("MyCar.cfg"));
    EXPECT_FALSE(window_->Rooms().messages.Posted().join("\n").contains("MyCar"))
        << "the settings it holds read back without a complaint";
    EXPECT_FALSE(Exists("MyCar.ini.bad"));
    EXPECT_EQ(GetSession().Set().Names().settingsFileName, "MyCar.ini");
    EXPECT_FALSE(GetSession().GetEngine().Running());

    // Cancelled, nothing is written or asked.
    asked_.clear();
    const QStringList before = Files();
    Answer([](QDialog&) { return int(QDialog::Rejected); });
    newSet->trigger();
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(asked_.isEmpty());
}

TEST_F(NewSetWindowTest, ImportAdxMakesASetAndShowsItsReportOrSaysWhyNot) {
    WriteTextFile(folder_.File("Default.Ini"), testing::QuietSettings());
    Open();
    QAction* import = MenuAction("ImportAdx");
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->text(), "Import ADX Definition...");

    // Not ADX: said, with the file's name, and nothing written.
    const QString junk = folder_.File("junk.adx");
    WriteTextFile(junk, "this is no XML");
    const QStringList before = Files();
    Flow().SetAdxFileChooser([junk] { return std::optional<QString>(junk); });
    QString warning;
    Answer([&warning](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "NewSetProblem");
        warning = static_cast<QMessageBox&>(dialog).text();
        return int(QMessageBox::Ok);
    });
    import->trigger();
    EXPECT_TRUE(warning.contains("junk.adx\" cannot be read as ADX")) << warning.toStdString();
    EXPECT_TRUE(warning.endsWith("Nothing was written.")) << warning.toStdString();
    EXPECT_EQ(Files(), before);

    // A file that is not there.
    const QString missing = folder_.File("gone.adx");
    Flow().SetAdxFileChooser([missing] { return std::optional<QString>(missing); });
    Answer([&warning](QDialog& dialog) {
        warning = static_cast<QMessageBox&>(dialog).text();
        return int(QMessageBox::Ok);
    });
    import->trigger();
    EXPECT_TRUE(warning.contains("gone.adx")) << warning.toStdString();
    EXPECT_EQ(Files(), before);

    // A real file: the second page at once, named after the file, then the report.
    const QString adx = QString(VEKATON_TEST_DATA_DIR) + "/adx/typical.adx";
    Flow().SetAdxFileChooser([adx] { return std::optional<QString>(adx); });
    Answer([](QDialog& dialog) {
        auto& d = static_cast<NewSetDialog&>(dialog);
        EXPECT_EQ(d.PageIndex(), 1);
        EXPECT_EQ(d.Choice().source, NewSetSource::Adx);
        d.SelectPort("Simulated ECM");
        d.accept();
        EXPECT_EQ(d.Choice().setName, "typical");
        return d.result();
    });
    QString report;
    QString summary;
    Answer([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "ImportReportDialog");
        report = static_cast<ImportReportDialog&>(dialog).ReportText();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            summary += label->text();
        }
        return int(QDialog::Accepted);
    });
    import->trigger();
    EXPECT_TRUE(report.contains("Coolant Temp")) << report.toStdString();
    EXPECT_TRUE(report.contains("skipped")) << report.toStdString();
    EXPECT_TRUE(summary.contains("kept as typical-import.txt")) << summary.toStdString();
    for (const char* file : {"typical.Ini", "typical.cfg", "typical.details", "typical.gau",
                             "typical.dsf", "typical-import.txt"}) {
        EXPECT_TRUE(Exists(file)) << file << " in " << Files().join(", ").toStdString();
    }
    EXPECT_EQ(GetSession().Set().Names().parameterFileName, "typical.cfg");
    EXPECT_EQ(GetSession().GetEngine().Settings().portName, "Simulated ECM");
    EXPECT_TRUE(answers_.empty());
}

TEST_F(NewSetWindowTest, AStreamOfTheInterfaceAsksForItsStartStringAndTheReportCopiesWhole) {
    NewSetDialog::Inputs inputs;
    inputs.library = ListLibrary((QString(VEKATON_SOURCE_DIR) + "/definitions").toStdString());
    inputs.ports = [] {
        return QList<PortChoice>{{"/dev/ttyUSB0", "FT232R USB UART \u2013 /dev/ttyUSB0"},
                                 {"Simulated ECM", "Simulated ECM"}};
    };
    inputs.folder = folder_.Path();
    NewSetDialog dialog(inputs);
    ASSERT_TRUE(dialog.SelectDefinition("A033"));
    ASSERT_TRUE(dialog.Next());
    EXPECT_TRUE(dialog.StartStringShown());
    EXPECT_EQ(dialog.Choice().port, "") << "chosen only on Start";
    EXPECT_EQ(dialog.PortLabels().first(), "FT232R USB UART \u2013 /dev/ttyUSB0")
        << "the adapter plugged in comes first and is chosen";
    EXPECT_EQ(dialog.PortNote(), "");
    QString tooLong;
    for (int i = 0; i < kMaxRequestBytes + 1; ++i) {
        tooLong += "$FF ";
    }
    dialog.SetStartString(tooLong);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_TRUE(dialog.ProblemText().contains("more than 84 bytes"))
        << dialog.ProblemText().toStdString();
    dialog.SetStartString("$FF $00");
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.Choice().startString, "$FF $00");
    EXPECT_EQ(dialog.Choice().port, "/dev/ttyUSB0");
    EXPECT_EQ(dialog.Choice().setName, "A033");

    // Back to the first page; an 8192-baud stream asks for no start string.
    dialog.Back();
    EXPECT_EQ(dialog.PageIndex(), 0);
    ASSERT_TRUE(dialog.SelectDefinition("A140"));
    ASSERT_TRUE(dialog.Next());
    EXPECT_FALSE(dialog.StartStringShown());

    ImportReportDialog report("Summary line", {"A: position 1", "B: skipped: why"});
    EXPECT_EQ(report.ReportText(), "A: position 1\nB: skipped: why");
    report.CopyAll();
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Summary line\n\nA: position 1\nB: skipped: why\n");
}

TEST(PortLabel, AnAdapterIsListedByWhatItSaysItIsAndItsSerialNumber) {
    SerialPortEntry ftdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI"};
    EXPECT_EQ(PortLabel(ftdi).toStdString(),
              "FT232R USB UART \u2013 /dev/ttyUSB0 (serial A50285BI)");
    SerialPortEntry maker{"/dev/ttyACM0", "", "Arduino", ""};
    EXPECT_EQ(PortLabel(maker).toStdString(), "Arduino \u2013 /dev/ttyACM0");
    SerialPortEntry plain{"/dev/ttyS0", "", "", ""};
    EXPECT_EQ(PortLabel(plain), "/dev/ttyS0");
    EXPECT_EQ(AvailablePortChoices().last().device, "Simulated ECM");
    EXPECT_EQ(PortAccessAdvice("Simulated ECM"), "");
    EXPECT_EQ(PortAccessAdvice("/dev/vekaton-no-such-port"), "");
}

}  // namespace
}  // namespace vekaton
