#pragma once

#include <gtest/gtest.h>
#include <QApplication>

namespace vekaton::testing {

// One QApplication for a whole test program, made before the first test and destroyed after the
// last, so that nothing it owns is left for the leak checker. Include this header in one test
// file of a program that needs widgets; the offscreen platform is used unless one is chosen.
class QtTestEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

  private:
    int argc_ = 1;
    char name_[16] = "vekaton_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

// An inline variable: registered once per program however many files include the header.
[[maybe_unused]] inline const ::testing::Environment* const kQtTestEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);

}  // namespace vekaton::testing
