// Recovery copies of unsaved changes: kept while there are changes, gone when the state matches
// the files again or the program ends in order, offered and restored at the next start.
#include <gtest/gtest.h>

#include <QDir>

#include "QtApp.h"
#include "app/sets/CrashRecovery.h"
#include "app/sets/WindowBounds.h"

namespace vekaton {
namespace {

using testing::CurrentFolder;
using testing::ReadTextFile;
using testing::TestApp;

class CrashRecoveryTest : public ::testing::Test {
  protected:
    void SetUp() override { TestApp(); }

    RecoverySnapshot Now() const {
        RecoverySnapshot snapshot;
        snapshot.setFolder = set_.Path().toStdString();
        snapshot.setName = "Demo";
        snapshot.files = {{"Demo.cfg", parameters_}, {"Demo.dsf", layout_ + bounds_}};
        return snapshot;
    }
    RecoveryKeeper::Snapshotter Source() {
        return [this] { return Now(); };
    }
    QString Folder() const { return store_.File("recovery"); }
    bool Kept() const { return RecoveryStore(Folder().toStdString()).HasSnapshot(); }

    CurrentFolder store_;
    CurrentFolder set_;
    std::string parameters_ = "END\r\n";
    std::string layout_ = "TPF0 records";
    std::string bounds_ = std::string(24, '\0');
};

TEST_F(CrashRecoveryTest, CopiesFollowUnsavedChangesAndGoWhenTheyAreUndoneOrTheProgramEnds) {
    RecoveryKeeper keeper(Folder(), Source());
    keeper.SetBaseline();
    EXPECT_FALSE(keeper.Unsaved());
    EXPECT_FALSE(Kept());

    // Moving the window is no work worth keeping.
    bounds_ = std::string(24, '\x7f');
    keeper.Check();
    EXPECT_FALSE(keeper.Unsaved());
    EXPECT_FALSE(Kept());

    parameters_ = "1,1,0,Coolant,A*1\r\nEND\r\n";
    EXPECT_TRUE(keeper.Unsaved());
    keeper.Check();
    ASSERT_TRUE(Kept());
    EXPECT_EQ(RecoveryStore(Folder().toStdString()).Load()->files[0].second, parameters_);

    // Undone by hand: the state matches the files again and the copies go.
    parameters_ = "END\r\n";
    keeper.Check();
    EXPECT_FALSE(Kept());

    layout_ = "TPF0 other records";
    keeper.Check();
    EXPECT_TRUE(Kept());
    keeper.Finish();
    EXPECT_FALSE(Kept());
    layout_ = "TPF0 yet other records";
    keeper.Check();
    EXPECT_FALSE(Kept()) << "nothing is kept after the program ended in order";
}

TEST_F(CrashRecoveryTest, TheTimerKeepsCopiesWithinSecondsOfAChange) {
    RecoveryKeeper keeper(Folder(), Source());
    keeper.SetBaseline();
    parameters_ = "2,1,0,Throttle,A/2.55\r\nEND\r\n";
    EXPECT_TRUE(testing::WaitUntil([&] { return Kept(); }, 5000));
}

TEST_F(CrashRecoveryTest, TheNextStartOffersTheCopiesAndRestoresThemIntoTheirSet) {
    {
        RecoveryKeeper keeper(Folder(), Source());
        keeper.SetBaseline();
        parameters_ = "3,1,0,Throttle,A/2.55\r\nEND\r\n";
        keeper.Check();
        // The program dies here: no Finish().
    }
    QString asked;
    const QString told = OfferRecovery(Folder(), [&](const QString& question) {
                             asked = question;
                             return true;
                         }).note;
    EXPECT_TRUE(asked.contains("\"Demo\"")) << asked.toStdString();
    EXPECT_TRUE(told.contains("restored")) << told.toStdString();
    EXPECT_EQ(ReadTextFile(set_.File("Demo.cfg")).toStdString(), parameters_);
    EXPECT_FALSE(Kept());
    EXPECT_TRUE(OfferRecovery(Folder(), [](const QString&) { return true; }).note.isEmpty());
}

TEST_F(CrashRecoveryTest, DecliningDiscardsTheCopiesAndLeavesTheSetAlone) {
    testing::WriteTextFile(set_.File("Demo.cfg"), "END\r\n");
    {
        RecoveryKeeper keeper(Folder(), Source());
        keeper.SetBaseline();
        parameters_ = "4,1,0,Speed,A*1\r\nEND\r\n";
        keeper.Check();
    }
    EXPECT_TRUE(OfferRecovery(Folder(), [](const QString&) { return false; }).note.isEmpty());
    EXPECT_EQ(ReadTextFile(set_.File("Demo.cfg")), "END\r\n");
    EXPECT_FALSE(Kept());
}

TEST(WindowBoundsTest, BoundsOnAScreenStayAndOthersMoveOntoTheNearestOne) {
    const std::vector<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QRect onSecond(2000, 100, 800, 600);
    EXPECT_EQ(OnScreen(onSecond, screens), onSecond);
    // Half off the right edge of the second screen is still usable.
    EXPECT_EQ(OnScreen(QRect(2900, 100, 800, 600), screens), QRect(2900, 100, 800, 600));
    // A monitor that is gone: far to the right, moved back onto the second screen.
    EXPECT_EQ(OnScreen(QRect(5000, 200, 800, 600), screens), QRect(2400, 200, 800, 600));
    // Above every screen, title bar unreachable: moved down.
    EXPECT_EQ(OnScreen(QRect(100, -700, 800, 600), screens), QRect(100, 0, 800, 600));
    // Larger than the screen it lands on: shrunk to fit.
    EXPECT_EQ(OnScreen(QRect(-3000, 0, 2500, 1500), screens), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(OnScreen(QRect(5, 5, 10, 10), {}), QRect(5, 5, 10, 10));
}

}  // namespace
}  // namespace vekaton
