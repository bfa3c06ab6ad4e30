#include "app/car/ViewCommands.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <algorithm>
#include <cmath>

#include "app/AppTexts.h"
#include "app/LinkHealthMonitor.h"
#include "app/car/FullScreenView.h"
#include "app/car/ToolBarIcons.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardView.h"
#include "app/logview/LogViewer.h"
#include "app/logview/RecordingController.h"
#include "engine/Engine.h"
#include "widgets/NightMode.h"

namespace vekaton {
namespace {

constexpr int kBrightnessSteps = 100;  // the slider's scale: percent
constexpr double kBrightnessStep = 0.1;

}  // namespace

ViewCommands::ViewCommands(const Parts& parts)
    : QObject(&parts.window), parts_(parts), preferences_(LoadViewPreferences()) {
    BuildMenu();
    BuildToolBar();
    // Items made later (added, pasted, a set loaded) take the night colours too.
    connect(&parts_.dashboard.View(), &DashboardView::widgetCreated, this, [this](QWidget* widget) {
        if (preferences_.night.on) {
            ApplyNightColours(widget, preferences_.night);
        }
    });
    connect(&parts_.fullScreen, &FullScreenView::fullScreenChanged, this,
            [this](bool on) { toolBarAction_->setEnabled(!on); });
    connect(&parts_.pause, &QAction::changed, this, &ViewCommands::ShowRunState);
    connect(&parts_.linkHealth, &LinkHealthMonitor::updated, this, &ViewCommands::ShowRecordState);
    parts_.fullScreen.SetFitPages(preferences_.fitPages);
    parts_.dashboard.ValueDock()->setVisible(preferences_.valueTable);
    toolBar_->setVisible(preferences_.toolBar);
    ApplyNight();
    ShowRunState();
    ShowRecordState();
}

void ViewCommands::BuildMenu() {
    menu_ = new QMenu(tr("&View"), &parts_.window);
    menu_->setObjectName("ViewMenu");
    QAction* table = parts_.dashboard.ValueTableAction();
    menu_->addAction(table);
    connect(table, &QAction::triggered, this, [this](bool on) {
        preferences_.valueTable = on;
        Save();
    });
    toolBarAction_ = menu_->addAction(tr("Toolbar"));
    toolBarAction_->setObjectName("ToolBarToggle");
    toolBarAction_->setCheckable(true);
    toolBarAction_->setChecked(preferences_.toolBar);
    toolBarAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    connect(toolBarAction_, &QAction::triggered, this, [this](bool on) {
        preferences_.toolBar = on;
        toolBar_->setVisible(on);
        Save();
    });
    menu_->addSeparator();
    menu_->addAction(parts_.fullScreen.FullScreenAction());
    startFullScreen_ = menu_->addAction(tr("Start in Full Screen"));
    startFullScreen_->setObjectName("StartInFullScreen");
    startFullScreen_->setCheckable(true);
    startFullScreen_->setChecked(preferences_.startFullScreen);
    startFullScreen_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F11));
    connect(startFullScreen_, &QAction::triggered, this, [this](bool on) {
        preferences_.startFullScreen = on;
        Save();
    });
    fitPages_ = menu_->addAction(tr("Fit Pages to Window"));
    fitPages_->setObjectName("FitPagesToWindow");
    fitPages_->setCheckable(true);
    fitPages_->setChecked(preferences_.fitPages);
    fitPages_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(fitPages_, &QAction::triggered, this, [this](bool on) {
        preferences_.fitPages = on;
        parts_.fullScreen.SetFitPages(on);
        Save();
    });
    menu_->addAction(parts_.fullScreen.PreviousPageAction());
    menu_->addAction(parts_.fullScreen.NextPageAction());
    menu_->addSeparator();

    nightAction_ = menu_->addAction(tr("Night Colours"));
    nightAction_->setObjectName("NightColours");
    nightAction_->setCheckable(true);
    nightAction_->setShortcut(QKeySequence(Qt::Key_F10));
    connect(nightAction_, &QAction::triggered, this, [this](bool on) {
        NightColours night = preferences_.night;
        night.on = on;
        SetNightColours(night);
    });
    redTint_ = menu_->addAction(tr("Red Night Colours"));
    redTint_->setObjectName("RedNightColours");
    redTint_->setCheckable(true);
    redTint_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F10));
    redTint_->setToolTip(tr("Red instead of amber: kinder still to eyes used to the dark"));
    connect(redTint_, &QAction::triggered, this, [this](bool red) {
        NightColours night = preferences_.night;
        night.tint = red ? NightTint::Red : NightTint::Amber;
        SetNightColours(night);
    });
    brighter_ = menu_->addAction(tr("Brighter at Night"));
    brighter_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    connect(brighter_, &QAction::triggered, this, [this] { StepBrightness(kBrightnessStep); });
    dimmer_ = menu_->addAction(tr("Dimmer at Night"));
    dimmer_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    connect(dimmer_, &QAction::triggered, this, [this] { StepBrightness(-kBrightnessStep); });
    // The brightness as a slider in the menu itself.
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(28, 2, 12, 2);
    layout->addWidget(new QLabel(tr("Night brightness")));
    brightness_ = new QSlider(Qt::Horizontal);
    brightness_->setObjectName("NightBrightness");
    brightness_->setRange(static_cast<int>(NightColours::kDimmest * kBrightnessSteps),
                          kBrightnessSteps);
    brightness_->setMinimumWidth(140);
    layout->addWidget(brightness_);
    connect(brightness_, &QSlider::valueChanged, this, [this](int value) {
        NightColours night = preferences_.night;
        night.brightness = static_cast<double>(value) / kBrightnessSteps;
        SetNightColours(night);
    });
    auto* slider = new QWidgetAction(menu_);
    slider->setDefaultWidget(row);
    menu_->addAction(slider);
    for (QAction* action : {nightAction_, redTint_, brighter_, dimmer_, toolBarAction_,
                            startFullScreen_, fitPages_, table}) {
        parts_.window.addAction(action);  // their keys work with the menu bar hidden
    }
}

void ViewCommands::BuildToolBar() {
    toolBar_ = new QToolBar(tr("Toolbar"), &parts_.window);
    toolBar_->setObjectName("CarToolBar");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QFont font = toolBar_->font();
    font.setPointSizeF(font.pointSizeF() * 1.2);
    font.setBold(true);
    toolBar_->setFont(font);
    parts_.window.addToolBar(Qt::TopToolBarArea, toolBar_);

    run_ = new QAction(this);
    run_->setObjectName("ToolBarRun");
    connect(run_, &QAction::triggered, &parts_.pause, &QAction::trigger);
    record_ = new QAction(tr("Record"), this);
    record_->setObjectName("Record");
    record_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(record_, &QAction::triggered, &parts_.recording, &RecordingController::RecordClicked);
    parts_.window.addAction(record_);
    for (QAction* action :
         {run_, record_, parts_.fullScreen.PreviousPageAction(), parts_.fullScreen.NextPageAction(),
          parts_.fullScreen.FullScreenAction(), nightAction_}) {
        toolBar_->addAction(action);
    }
    // Big targets for a finger, and captions that never push the others along.
    const QFontMetrics metrics(font);
    const int iconWidth = toolBar_->iconSize().width();
    const auto widest = [&metrics, iconWidth](std::initializer_list<QString> captions) {
        int width = 0;
        for (const QString& caption : captions) {
            width = std::max(width, metrics.horizontalAdvance(caption));
        }
        return width + iconWidth + 28;
    };
    captionsWidth_ = 0;
    for (QAction* action : toolBar_->actions()) {
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action))) {
            button->setMinimumSize(56, 48);
            if (action == run_) {
                button->setMinimumWidth(widest({texts::kRun, texts::kPause}));
            } else if (action == record_) {
                button->setMinimumWidth(widest({tr("Record"), tr("Stop Record")}));
            }
            button->setProperty("captionWidth", button->minimumWidth());
            captionsWidth_ += std::max(button->minimumWidth(), widest({action->text()})) +
                              toolBar_->layout()->spacing();
        }
    }
    parts_.window.installEventFilter(this);
    FitToolBar();
}

void ViewCommands::StopWatching() {
    parts_.window.removeEventFilter(this);
}

bool ViewCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &parts_.window && event->type() == QEvent::Resize) {
        FitToolBar();
    }
    return false;
}

bool ViewCommands::ToolBarCaptionsShown() const {
    return toolBar_->toolButtonStyle() == Qt::ToolButtonTextBesideIcon;
}

void ViewCommands::FitToolBar() {
    const bool captions = ToolBarCaptionsFit(parts_.window.width());
    toolBar_->setToolButtonStyle(captions ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    for (QAction* action : {run_, record_}) {
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action))) {
            // Icons alone are all of one size; captions keep Run and Pause the same width.
            button->setMinimumWidth(captions ? button->property("captionWidth").toInt() : 56);
        }
    }
}

void ViewCommands::WindowShown() {
    if (shown_) {
        return;
    }
    shown_ = true;
    if (preferences_.startFullScreen) {
        parts_.fullScreen.SetFullScreen(true);
    }
}

void ViewCommands::SetNightColours(const NightColours& night) {
    NightColours clamped = night;
    clamped.brightness = std::clamp(night.brightness, NightColours::kDimmest, 1.0);
    if (clamped == preferences_.night) {
        return;
    }
    preferences_.night = clamped;
    ApplyNight();
    Save();
}

void ViewCommands::StepBrightness(double step) {
    NightColours night = preferences_.night;
    night.brightness = std::round((night.brightness + step) * 100.0) / 100.0;
    SetNightColours(night);
}

void ViewCommands::ApplyNight() {
    const NightColours& night = preferences_.night;
    ApplyNightColours(&parts_.window, night);
    parts_.fullScreen.SetNightColours(night);
    nightAction_->setChecked(night.on);
    redTint_->setChecked(night.tint == NightTint::Red);
    const QSignalBlocker blocker(brightness_);
    brightness_->setValue(static_cast<int>(std::lround(night.brightness * kBrightnessSteps)));
    record_->setIcon(ToolBarIcon(ToolBarPicture::Record, night));
    parts_.fullScreen.PreviousPageAction()->setIcon(ToolBarIcon(ToolBarPicture::Previous, night));
    parts_.fullScreen.NextPageAction()->setIcon(ToolBarIcon(ToolBarPicture::Next, night));
    parts_.fullScreen.FullScreenAction()->setIcon(ToolBarIcon(ToolBarPicture::FullScreen, night));
    nightAction_->setIcon(ToolBarIcon(ToolBarPicture::Night, night));
    ShowRunState();
    emit nightColoursChanged(night);
}

void ViewCommands::ShowRunState() {
    const bool running = parts_.pause.text() == texts::kPause;
    run_->setText(parts_.pause.text());
    run_->setToolTip(parts_.pause.toolTip());
    run_->setIcon(
        ToolBarIcon(running ? ToolBarPicture::Pause : ToolBarPicture::Run, preferences_.night));
}

void ViewCommands::ShowRecordState() {
    const Engine& engine = parts_.engine;
    record_->setText(engine.Recording() ? tr("Stop Record") : tr("Record"));
    record_->setToolTip(engine.Recording() ? tr("Stop recording the data log (Ctrl+R)")
                                           : tr("Record a data log (Ctrl+R)"));
    record_->setEnabled(!parts_.logViewer.IsOpen());
}

void ViewCommands::Save() {
    SaveViewPreferences(preferences_);
}

}  // namespace vekaton
