#include "app/car/FullScreenView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "app/LinkHealthMonitor.h"
#include "app/car/IdleCursor.h"
#include "app/car/LinkIndicator.h"
#include "app/car/PageIndicator.h"
#include "app/car/WarningsRoom.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardPage.h"
#include "dashboard/PageSteps.h"
#include "engine/Engine.h"

namespace vekaton {
namespace {

constexpr int kCornerMargin = 8;
constexpr int kCornerTextShare = 48;  // the corner's text height: this part of the screen's
// A drag across at least this share of the width (and mostly sideways) is a swipe.
constexpr double kSwipeShare = 0.08;
constexpr int kSwipeMinimum = 60;
// A press and release closer than this is a click.
constexpr int kClickSlop = 12;
// How long a window manager gets to make the window full screen before it is done by hand.
constexpr int kWindowManagerWaitMs = 400;

// Widgets that page through their own contents with Page Up and Page Down.
bool PagesByItself(const QObject* widget) {
    return qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

}  // namespace

FullScreenView::FullScreenView(const Parts& parts) : QObject(&parts.window), parts_(parts) {
    QWidget* central = parts_.window.centralWidget();
    pageIndicator_ = new PageIndicator(central);
    corner_ = new QWidget(central);
    corner_->setObjectName("FullScreenCorner");
    auto* cornerLayout = new QHBoxLayout(corner_);
    cornerLayout->setContentsMargins(0, 0, 0, 0);
    cornerLayout->setSpacing(6);
    cornerLayout->addWidget(parts_.warnings.MakeIndicator(corner_));
    linkIndicator_ = new LinkIndicator(corner_);
    cornerLayout->addWidget(linkIndicator_);
    corner_->hide();
    central->installEventFilter(this);
    idleCursor_ = new IdleCursor(parts_.window);
    BuildActions();
    connect(&parts_.pages, &QTabWidget::currentChanged, this, &FullScreenView::PageShown);
    connect(&parts_.linkHealth, &LinkHealthMonitor::updated, this, &FullScreenView::ShowLinkHealth);
    ShowLinkHealth();
    qApp->installEventFilter(this);
}

FullScreenView::~FullScreenView() {
    qApp->removeEventFilter(this);
}

void FullScreenView::StopWatching() {
    qApp->removeEventFilter(this);
    if (QWidget* central = parts_.window.centralWidget()) {
        central->removeEventFilter(this);
    }
}

void FullScreenView::BuildActions() {
    QMainWindow& window = parts_.window;
    fullScreenAction_ = new QAction(tr("Full Screen"), this);
    fullScreenAction_->setObjectName("FullScreen");
    fullScreenAction_->setCheckable(true);
    fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenAction_->setToolTip(tr("Only the dashboard, on the whole screen (F11; Esc leaves)"));
    connect(fullScreenAction_, &QAction::triggered, this, &FullScreenView::SetFullScreen);
    previousPage_ = new QAction(tr("Previous Page"), this);
    previousPage_->setObjectName("PreviousPage");
    previousPage_->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(previousPage_, &QAction::triggered, this, [this] { StepPage(-1); });
    nextPage_ = new QAction(tr("Next Page"), this);
    nextPage_->setObjectName("NextPage");
    nextPage_->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(nextPage_, &QAction::triggered, this, [this] { StepPage(1); });
    // Held by the window itself, so they work with the menu bar hidden.
    window.addAction(fullScreenAction_);
    window.addAction(previousPage_);
    window.addAction(nextPage_);

    auto* leave = new QAction(tr("Leave Full Screen"), this);
    leave->setObjectName("LeaveFullScreen");
    leave->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(leave, &QAction::triggered, this, [this] { SetFullScreen(false); });
    fullScreenKeys_.push_back(leave);
    for (int number = 1; number <= 9; ++number) {
        auto* page = new QAction(tr("Page %1").arg(number), this);
        page->setObjectName(QString("ShowPage%1").arg(number));
        page->setShortcut(QKeySequence(Qt::Key_0 + number));
        connect(page, &QAction::triggered, this, [this, number] { ShowDashboardPage(number - 1); });
        fullScreenKeys_.push_back(page);
    }
    for (QAction* action : fullScreenKeys_) {
        action->setEnabled(false);
        window.addAction(action);
    }
}

void FullScreenView::SetFullScreen(bool on) {
    fullScreenAction_->setChecked(on);
    if (on == fullScreen_) {
        return;
    }
    fullScreen_ = on;
    QMainWindow& window = parts_.window;
    if (on) {
        // Only the dashboard: a chart or the trace showing gives way to the last page seen.
        if (parts_.pages.currentIndex() >= parts_.dashboard.PageCount()) {
            parts_.pages.setCurrentIndex(parts_.dashboard.CurrentPage());
        }
        wasMaximized_ = window.isMaximized();
        windowedGeometry_ = window.geometry();
        HideChrome();
        window.setWindowState((window.windowState() & ~Qt::WindowMaximized) | Qt::WindowFullScreen);
        CoverScreenWithoutWindowManager();
    } else {
        window.setWindowState((window.windowState() & ~Qt::WindowFullScreen) |
                              (wasMaximized_ ? Qt::WindowMaximized : Qt::WindowNoState));
        if (coveredByHand_) {
            coveredByHand_ = false;
            window.setGeometry(windowedGeometry_);
        }
        RestoreChrome();
        pageIndicator_->HideNow();
    }
    for (QAction* action : fullScreenKeys_) {
        action->setEnabled(on);
    }
    corner_->setVisible(on);
    idleCursor_->SetActive(on);
    ApplyScaling();
    PlaceOverlays();
    if (on) {
        PageShown(parts_.pages.currentIndex());
    }
    emit fullScreenChanged(on);
}

void FullScreenView::CoverScreenWithoutWindowManager() {
    // A car PC often runs X with no window manager, and then nothing acts on the full-screen
    // state: the window is put over the whole screen here instead, once it had time to be.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    QTimer::singleShot(kWindowManagerWaitMs, this, [this] {
        QMainWindow& window = parts_.window;
        const QScreen* screen = window.screen();
        if (!fullScreen_ || screen == nullptr || window.geometry() == screen->geometry()) {
            return;
        }
        coveredByHand_ = true;
        window.setGeometry(screen->geometry());
    });
}

void FullScreenView::HideChrome() {
    hidden_.clear();
    QMainWindow& window = parts_.window;
    std::vector<QWidget*> chrome{window.menuBar(), parts_.pages.tabBar()};
    for (QDockWidget* dock : window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        chrome.push_back(dock);
    }
    for (QToolBar* bar : window.findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
        chrome.push_back(bar);
    }
    for (QWidget* widget : chrome) {
        if (widget != nullptr && !widget->isHidden()) {
            hidden_.emplace_back(widget);
            widget->hide();
        }
    }
    documentMode_ = parts_.pages.documentMode();
    parts_.pages.setDocumentMode(true);  // no frame around the page
}

void FullScreenView::RestoreChrome() {
    for (const QPointer<QWidget>& widget : hidden_) {
        if (widget) {
            widget->show();
        }
    }
    hidden_.clear();
    parts_.pages.setDocumentMode(documentMode_);
}

void FullScreenView::SetFitPages(bool on) {
    fitPages_ = on;
    ApplyScaling();
}

void FullScreenView::ApplyScaling() {
    const bool scaled = fullScreen_ || fitPages_;
    for (int page = 0; page < parts_.dashboard.PageCount(); ++page) {
        parts_.dashboard.Page(page)->SetScaled(scaled);
    }
}

void FullScreenView::SetNightColours(const NightColours& night) {
    pageIndicator_->SetNightColours(night);
    linkIndicator_->SetNightColours(night);
}

void FullScreenView::StepPage(int steps) {
    const int current = parts_.dashboard.CurrentPage();
    const int target = vekaton::StepPage(
        PagesInUse(parts_.dashboard.Model(), parts_.dashboard.PageCount()), current, steps);
    ShowDashboardPage(target);
}

void FullScreenView::ShowDashboardPage(int page) {
    if (page < 0 || page >= parts_.dashboard.PageCount()) {
        return;
    }
    if (parts_.pages.currentIndex() == page) {
        PageShown(page);  // said again, as the key asked
    } else {
        parts_.pages.setCurrentIndex(page);
    }
}

void FullScreenView::PageShown(int tab) {
    if (!fullScreen_ || tab < 0 || tab >= parts_.dashboard.PageCount()) {
        return;
    }
    QString name = parts_.pages.tabText(tab);
    name.replace("&&", "&");
    pageIndicator_->ShowPage(name, tab, parts_.dashboard.PageCount());
}

void FullScreenView::PlaceOverlays() {
    const QWidget* central = parts_.window.centralWidget();
    // Readable at a glance from the driver's seat, whatever the screen: the corner's words grow
    // with the screen's height.
    QFont font = corner_->font();
    const int pixels = std::clamp(central->height() / kCornerTextShare, 12, 28);
    if (font.pixelSize() != pixels) {
        font.setPixelSize(pixels);
        corner_->setFont(font);
        // A style sheet keeps a widget from taking its parent's font: each is told.
        for (QWidget* child : corner_->findChildren<QWidget*>()) {
            child->setFont(font);
        }
    }
    corner_->adjustSize();
    const QSize size = corner_->sizeHint();
    corner_->setGeometry(central->width() - size.width() - kCornerMargin,
                         central->height() - size.height() - kCornerMargin, size.width(),
                         size.height());
    corner_->raise();
    pageIndicator_->Reposition();
}

void FullScreenView::ShowLinkHealth() {
    linkIndicator_->Show(parts_.linkHealth.State(), parts_.engine.Counters().checksumErrors);
    if (fullScreen_) {
        PlaceOverlays();  // the words may have changed their width
    }
}

int FullScreenView::EdgeZone() const {
    const int width = parts_.window.width();
    return std::clamp(static_cast<int>(width * 0.08), 40, 160);
}

bool FullScreenView::InThisWindow(QObject* object) const {
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && widget->window() == &parts_.window;
}

bool FullScreenView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.window.centralWidget() && event->type() == QEvent::Resize) {
        PlaceOverlays();
        return false;
    }
    if (fullScreen_) {
        MouseEvent(watched, event);
        return false;  // the instruments still get every click
    }
    // In the window, a table or a text field keeps its own Page Up and Page Down.
    if (event->type() == QEvent::ShortcutOverride && PagesByItself(watched) &&
        InThisWindow(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            event->accept();
            return true;
        }
    }
    return false;
}

bool FullScreenView::MouseEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove) {
        return false;
    }
    if (!InThisWindow(watched)) {
        return false;
    }
    for (auto* w = qobject_cast<QWidget*>(watched); w != nullptr; w = w->parentWidget()) {
        if (w == corner_) {
            return false;  // the corner's own clicks
        }
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    idleCursor_->Moved();
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseMove) {
        return false;
    }
    // Buttons keep their clicks; Shift and Ctrl drags are design mode's.
    if (qobject_cast<QAbstractButton*>(watched) != nullptr || mouse->button() != Qt::LeftButton ||
        mouse->modifiers() != Qt::NoModifier) {
        pressed_ = false;
        return false;
    }
    if (type == QEvent::MouseButtonPress) {
        // A press passed on from a child to its parent arrives more than once.
        pressed_ = true;
        pressAt_ = global;
        return false;
    }
    if (!pressed_) {
        return false;
    }
    pressed_ = false;
    const QPoint moved = global - pressAt_;
    const int width = parts_.window.width();
    const double swipe = std::max<double>(kSwipeMinimum, width * kSwipeShare);
    if (std::abs(moved.x()) >= swipe && std::abs(moved.x()) > 1.5 * std::abs(moved.y())) {
        StepPage(moved.x() < 0 ? 1 : -1);  // drawn to the left: the next page comes in
        return false;
    }
    if (moved.manhattanLength() <= kClickSlop) {
        const int x = parts_.window.mapFromGlobal(global).x();
        if (x < EdgeZone()) {
            StepPage(-1);
        } else if (x >= width - EdgeZone()) {
            StepPage(1);
        }
    }
    return false;
}

}  // namespace vekaton
