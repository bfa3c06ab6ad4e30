#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTextBrowser>

#include "QtApp.h"
#include "app/HelpViewer.h"

namespace vekaton {
namespace {

TEST(HelpViewer, ShowsTheManualTheProgramFindsBesideItself) {
    testing::TestApp();
    ShowManual(nullptr);
    QDialog* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget);
            dialog != nullptr && dialog->windowTitle() == "Vekaton manual") {
            shown = dialog;
        }
    }
    ASSERT_NE(shown, nullptr);
    const auto* browser = shown->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    const QString text = browser->toPlainText();
    EXPECT_TRUE(text.startsWith("Vekaton user manual")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("Getting started"));
    shown->close();
}

}  // namespace
}  // namespace vekaton
