#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <vector>

#include "QtApp.h"
#include "app/MainWindow.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardView.h"
#include "dashboard/DashboardModel.h"
#include "support/SetFilesForTest.h"
#include "widgets/InstrumentWidget.h"

namespace vekaton::testing {

// The window on a set whose frames the test writes itself: talk/listen on the simulated module
// with a poll period so long that the module never speaks, no header, no checksum.
inline constexpr int kDataBytes = 24;

inline QString QuietSettings(int dataBytes = kDataBytes, int sampleRate = 60000) {
    LinkSetUp setUp;
    setUp.sampleRate = sampleRate;
    setUp.request = "$f4";
    setUp.responseBytes = 0;
    setUp.dataBytes = dataBytes;
    setUp.checksum = false;
    setUp.portName = "Simulated ECM";
    return QString::fromStdString(SettingsFile(setUp));
}

inline const QString kTestParameters = QString::fromStdString(
    ParameterFile({{},
                   {Analog(1, 1, "Coolant", "A*0.75-40"), Analog(3, 1, "Throttle", "A/2.55"),
                    Analog(4, 2, "Engine speed", "A*256+B"), Analog(8, 1, "Battery", "A/10"),
                    Bit(18, 0, "Closed loop"), Bit(18, 3, "Engine running")}}));

// Finds an action of a menu or its submenus by object name or text.
inline QAction* FindAction(QMenu* menu, const QString& key) {
    if (menu == nullptr) {
        return nullptr;
    }
    for (QAction* action : menu->actions()) {
        if (action->objectName() == key || action->text() == key) {
            return action;
        }
        if (QAction* found = FindAction(action->menu(), key)) {
            return found;
        }
    }
    return nullptr;
}

class DashboardFixture {
  public:
    explicit DashboardFixture(const QString& settings = QuietSettings(),
                              const QString& parameters = kTestParameters) {
        WriteTextFile(folder_.File("Default.Ini"), settings);
        WriteTextFile(folder_.File("Default.cfg"), parameters);
        window_ = std::make_unique<MainWindow>();
        Dash().SetDialogRunner([this](QDialog& dialog) {
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
                return int(QDialog::Rejected);
            }
            auto answer = std::move(answers_.front());
            answers_.erase(answers_.begin());
            return answer(dialog);
        });
        Dash().SetMessageSink([this](const QString& text) { messages_.append(text); });
    }

    MainWindow& Window() { return *window_; }
    DashboardController& Dash() { return window_->Rooms().dashboard; }
    DashboardModel& Model() { return Dash().Model(); }
    InstrumentWidget* Widget(int id) { return Dash().View().WidgetOf(id); }
    const QStringList& Messages() const { return messages_; }

    // The next dialog is handed to this, which returns the dialog's result.
    void Answer(std::function<int(QDialog&)> answer) { answers_.push_back(std::move(answer)); }
    bool AllAnswered() const { return answers_.empty(); }

    // Runs a page menu entry at a point of a page.
    bool PageMenu(int page, QPoint at, const QString& entry) {
        std::unique_ptr<QMenu> menu(Dash().BuildPageMenu(page, at));
        QAction* action = FindAction(menu.get(), entry);
        if (action == nullptr || !action->isEnabled()) {
            return false;
        }
        action->trigger();
        return true;
    }
    int AddItem(int page, QPoint at, const QString& kindEntry) {
        const std::vector<int> before = Model().LiveIds();
        if (!PageMenu(page, at, kindEntry)) {
            return 0;
        }
        const std::vector<int> after = Model().LiveIds();
        return after.size() > before.size() ? after.back() : 0;
    }
    // Runs an item menu entry; the menu is kept for a look first when asked.
    bool ItemMenu(int id, const QString& entry, std::unique_ptr<QMenu>* keep = nullptr) {
        std::unique_ptr<QMenu> menu(Dash().BuildItemMenu(id));
        QAction* action = FindAction(menu.get(), entry);
        if (action == nullptr || !action->isEnabled()) {
            return false;
        }
        action->trigger();
        if (keep != nullptr) {
            *keep = std::move(menu);
        }
        return true;
    }

    // Starts acquisition and waits until the start command is through.
    bool Run() {
        window_->PauseClick();
        return WaitUntil([this] { return window_->Rooms().session.GetEngine().PollTimerEnabled(); },
                         3000);
    }
    // One frame through the engine's receive path: byte i goes to position i + 1.
    void Frame(std::vector<std::uint8_t> bytes) {
        bytes.resize(kDataBytes, 0);
        Engine& engine = window_->Rooms().session.GetEngine();
        engine.ResetFrameState();
        engine.OnBytesReceived(bytes);
    }

  private:
    CurrentFolder folder_;
    std::unique_ptr<MainWindow> window_;
    std::vector<std::function<int(QDialog&)>> answers_;
    QStringList messages_;
};

}  // namespace vekaton::testing
