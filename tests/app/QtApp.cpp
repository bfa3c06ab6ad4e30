#include "QtApp.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QThread>

namespace vekaton::testing {

namespace {

// One QApplication for the whole test program, made before the first test and destroyed after
// the last, so that nothing it owns is left behind for the leak checker.
class QtApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

  private:
    int argc_ = 1;
    char name_[24] = "vekaton_tests_app";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

QApplication& TestApp() {
    return *qApp;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    TestApp();
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

CurrentFolder::CurrentFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

CurrentFolder::~CurrentFolder() {
    QDir::setCurrent(previous_);
}

QString CurrentFolder::File(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

void WriteTextFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text.toUtf8());
    }
}

QString ReadTextFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace vekaton::testing
