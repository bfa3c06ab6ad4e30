#include "app/car/WarningsRoom.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include "app/StatusPanel.h"
#include "app/car/AlarmSound.h"
#include "app/car/ToneSink.h"
#include "app/car/WarningTiming.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardView.h"
#include "app/dashboard/ValueTable.h"
#include "app/dashboard/ValueTableModel.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ItemKinds.h"
#include "engine/Engine.h"
#include "session/Session.h"
#include "widgets/InstrumentWidget.h"
#include "widgets/WarningFlasher.h"

namespace vekaton {
namespace {

// The watched values are looked at again at most this often, in case their details changed
// by a way that says nothing.
constexpr qint64 kWatchCheckMs = 1000;

bool SameWatches(std::span<const WarningWatch> a, const std::vector<WarningWatch>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const WarningWatch& x, const WarningWatch& y) {
                          return x.ref == y.ref && x.name == y.name && x.low == y.low &&
                                 x.high == y.high && x.margin == y.margin &&
                                 x.activeWhenClear == y.activeWhenClear && x.alarm == y.alarm;
                      });
}

QString Line(const ActiveWarning& warning) {
    const QString name = QString::fromStdString(warning.name);
    QString line;
    if (warning.side == WarningSide::Flag) {
        // A flag that must be on warns when off: say which.
        line = WarningsRoom::tr("%1: %2").arg(
            name, warning.value != 0.0 ? WarningsRoom::tr("on") : WarningsRoom::tr("off"));
    } else {
        line = WarningsRoom::tr("%1: %2 (%3 limit %4)")
                   .arg(name, FormatValue(warning.value),
                        warning.side == WarningSide::High ? WarningsRoom::tr("high")
                                                          : WarningsRoom::tr("low"),
                        FormatValue(warning.limit));
    }
    if (warning.alarm) {
        line += warning.acknowledged ? WarningsRoom::tr(" - alarm acknowledged")
                                     : WarningsRoom::tr(" - ALARM");
    }
    return line;
}

}  // namespace

WarningsRoom::WarningsRoom(const Parts& parts)
    : QObject(&parts.window), parts_(parts), monitor_(LoadWarningTiming()) {
    flasher_ = new WarningFlasher(this);
    auto* strip = MakeIndicator(&parts_.status);
    strip->setObjectName("WarningsIndicator");
    parts_.status.AddIndicator(strip);
    parts_.dashboard.Values().Model().SetWarningSource(
        [this](int position, int bit) { return monitor_.LevelOf(position, bit); });
    connect(&parts_.dashboard, &DashboardController::definitionsChanged, this,
            &WarningsRoom::RefreshWatches);
    qApp->installEventFilter(this);
    sinceWatchCheck_.start();
    RefreshWatches();
}

WarningsRoom::~WarningsRoom() {
    qApp->removeEventFilter(this);
}

void WarningsRoom::StopWatching() {
    qApp->removeEventFilter(this);
}

QToolButton* WarningsRoom::MakeIndicator(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(false);
    button->setVisible(false);
    button->setCursor(Qt::PointingHandCursor);
    connect(button, &QToolButton::clicked, this, [this, button] { IndicatorClicked(button); });
    indicators_.emplace_back(button);
    ShowIndicators();
    return button;
}

void WarningsRoom::SetNightColours(const NightColours& night) {
    night_ = night;
    ShowIndicators();
}

void WarningsRoom::SetToneSink(std::unique_ptr<ToneSink> sink) {
    sound_.reset();
    pendingSink_ = std::move(sink);
}

double WarningsRoom::Now() {
    if (clock_) {
        return clock_();
    }
    // The frames' own time, so that a log played fast warns as it would have live; a chart
    // started again from zero does not turn the clock back.
    const double elapsed = parts_.session.GetEngine().ElapsedSeconds();
    if (elapsed > elapsedSeen_) {
        seconds_ += elapsed - elapsedSeen_;
    }
    elapsedSeen_ = elapsed;
    return seconds_;
}

void WarningsRoom::RefreshWatches() {
    sinceWatchCheck_.restart();
    const Session& session = parts_.session;
    std::vector<WarningWatch> watches =
        WarningWatches(session.Table(), session.Details(), session.GetEngine().Settings().dataBytes,
                       monitor_.Settings());
    if (SameWatches(monitor_.Watches(), watches)) {
        return;
    }
    monitor_.SetWatches(std::move(watches));
    ShowState();
}

void WarningsRoom::FrameCompleted() {
    if (sinceWatchCheck_.hasExpired(kWatchCheckMs)) {
        RefreshWatches();
    }
    if (monitor_.Watches().empty()) {
        return;
    }
    monitor_.Update(parts_.session.GetDecoder(), Now());
    if (monitor_.Revision() != shownRevision_) {
        ShowState();
    } else if (monitor_.ActiveCount() > 0) {
        ShowInstruments();  // an item bound since the warning began shows it too
    }
}

void WarningsRoom::RunStateChanged(bool running) {
    if (running) {
        RefreshWatches();  // the frame length may have come with the settings since
        return;
    }
    if (monitor_.ActiveCount() > 0) {
        monitor_.Reset();  // stale values warn of nothing
        ShowState();
    }
}

bool WarningsRoom::Acknowledge() {
    const bool silenced = monitor_.Acknowledge();
    if (silenced) {
        ShowState();
    }
    return silenced;
}

bool WarningsRoom::AlarmSounding() const {
    return monitor_.AlarmSounding();
}

void WarningsRoom::ShowState() {
    shownRevision_ = monitor_.Revision();
    ShowInstruments();
    parts_.dashboard.Values().Model().RefreshWarnings();
    ShowIndicators();
    FollowAlarm();
}

void WarningsRoom::ShowInstruments() {
    DashboardController& dashboard = parts_.dashboard;
    const DashboardModel& model = dashboard.Model();
    for (const int id : model.LiveIds()) {
        InstrumentWidget* widget = dashboard.View().WidgetOf(id);
        if (widget == nullptr) {
            continue;
        }
        const BindingEntry binding = model.Binding(id);
        // Only a digital LED shows a bit; every other kind shows the value, whatever bit its
        // binding happens to carry.
        const DashboardItem* item = model.Find(id);
        const bool showsBit = item != nullptr && item->kind == ItemKind::LedRound &&
                              binding.bit >= 0 && binding.bit <= 7;
        const WarningLevel level =
            binding.position > 0 ? monitor_.LevelOf(binding.position, showsBit ? binding.bit : -1)
                                 : WarningLevel::None;
        if (level != widget->Warning() || level == WarningLevel::Sounding) {
            flasher_->Show(widget, level);
        }
    }
}

void WarningsRoom::ShowIndicators() {
    const std::size_t count = monitor_.ActiveCount();
    const bool sounding = monitor_.AlarmSounding();
    const QString counted = count == 1 ? tr("1 warning") : tr("%1 warnings").arg(count);
    const QString text = sounding ? tr("ALARM - %1").arg(counted) : counted;
    // By day white on red for an alarm, black on amber for a warning; at night the night's dark
    // on the warning colour, which stays distinct from the dim tint of everything else.
    const QColor back =
        night_.on ? (sounding ? WarningInk(night_)
                              : NightShade(QColor(240, 176, 0), ColourRole::Signal, night_))
                  : (sounding ? QColor(192, 0, 0) : QColor(240, 176, 0));
    const QColor ink =
        night_.on ? NightPageColour(night_) : (sounding ? QColor(Qt::white) : QColor(Qt::black));
    const QString style = QString(
                              "QToolButton { color: %1; background: %2; font-weight: bold; "
                              "padding: 1px 8px; border: 0; border-radius: 3px; }")
                              .arg(ink.name(), back.name());
    const QString tip =
        WarningLines().join('\n') + (sounding ? tr("\n\nClick or press Space to silence the alarm.")
                                              : tr("\n\nClick to list them."));
    for (const QPointer<QToolButton>& button : indicators_) {
        if (button.isNull()) {
            continue;
        }
        button->setText(text);
        button->setStyleSheet(style);
        button->setToolTip(tip);
        button->setVisible(count > 0);
    }
}

void WarningsRoom::FollowAlarm() {
    const bool alarm = monitor_.AlarmSounding();
    if (!sound_ && !alarm) {
        return;
    }
    if (!sound_) {
        sound_ = std::make_unique<AlarmSound>(std::move(pendingSink_));
    }
    sound_->Follow(alarm);
}

QStringList WarningsRoom::WarningLines() const {
    QStringList lines;
    for (const ActiveWarning& warning : monitor_.ActiveWarnings()) {
        lines.append(Line(warning));
    }
    return lines;
}

void WarningsRoom::IndicatorClicked(QToolButton* indicator) {
    Acknowledge();
    const QStringList lines = WarningLines();
    if (lines.isEmpty()) {
        return;
    }
    delete list_;
    list_ = new QMenu(indicator);
    list_->setObjectName("WarningsList");
    list_->setAttribute(Qt::WA_DeleteOnClose);
    for (const QString& line : lines) {
        list_->addAction(line);
    }
    list_->popup(indicator->mapToGlobal(QPoint(0, 0)) - QPoint(0, list_->sizeHint().height()));
}

bool WarningsRoom::InThisWindow(QObject* object) const {
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        return widget->window() == &parts_.window;
    }
    if (auto* window = qobject_cast<QWindow*>(object)) {
        return window == parts_.window.windowHandle();
    }
    return false;
}

bool WarningsRoom::eventFilter(QObject* watched, QEvent* event) {
    // Space silences a sounding alarm before any shortcut or button takes it; without an alarm
    // it passes on untouched.
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier ||
        !monitor_.AlarmSounding() || !InThisWindow(watched)) {
        return false;
    }
    event->accept();
    if (type == QEvent::KeyPress) {
        Acknowledge();
    }
    return true;
}

}  // namespace vekaton
