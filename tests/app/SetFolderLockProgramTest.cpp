// Two copies of the real program on one set folder, each with a single-instance lock folder of
// its own: the second is refused with a message naming the first, so neither loses the other's
// changes; once the first has gone (closed or killed), the set can be opened again.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ProgramRunner.h"

namespace vekaton {
namespace {

using testing::ProgramRun;

TEST(SetFolderLockProgram, ASecondWindowOnTheSameSetIsRefusedWhateverItsLockFolder) {
    QTemporaryDir setDir;
    QTemporaryDir lockA;
    QTemporaryDir lockB;
    ProgramRun first(lockA.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
    ASSERT_TRUE(first.WaitForWindow()) << first.Errors().toStdString();

    {
        ProgramRun second(lockB.path(), setDir.path());
        const std::optional<int> code = second.Finished();
        ASSERT_TRUE(code.has_value()) << "the second one ends by itself";
        EXPECT_EQ(*code, 1);
        const QString errors = second.Errors();
        EXPECT_TRUE(errors.contains("already in use by another Vekaton")) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QString("process %1").arg(first.Process().processId())))
            << errors.toStdString();
    }

    // The first one's edit is saved at its close, untouched by the refused start.
    ASSERT_TRUE(first.Ask("add-label"));
    EXPECT_EQ(first.Terminate(), 0) << first.Errors().toStdString();
    ProgramRun third(lockB.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
    ASSERT_TRUE(third.WaitForWindow())
        << "free once the first has closed: " << third.Errors().toStdString();
    third.Process().kill();  // a crash leaves its lock file behind
    third.Finished();

    ProgramRun fourth(lockA.path(), setDir.path());
    ASSERT_TRUE(fourth.WaitForWindow())
        << "a dead holder's lock is taken over: " << fourth.Errors().toStdString();
    EXPECT_EQ(fourth.Terminate(), 0) << fourth.Errors().toStdString();
}

}  // namespace
}  // namespace vekaton
