#include "app/analysis/AnalysisRoom.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "analysis/ViewSuggestion.h"
#include "app/analysis/AnalysisView.h"
#include "app/logview/LogViewer.h"
#include "engine/EngineView.h"
#include "io/QtText.h"
#include "session/Session.h"

namespace vekaton {

namespace {

// The share of the window's height a new view takes below the pages.
constexpr double kDockShare = 0.45;

}  // namespace

AnalysisRoom::AnalysisRoom(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window),
      parts_(parts),
      post_(std::move(post)),
      context_{parts.session, parts.logView, parts.window, post_} {
    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, &AnalysisRoom::Refresh);
    refresh_->start();
    connect(&parts_.logView, &LogViewer::opened, this, [this] {
        for (const Entry& entry : entries_) {
            entry.view->LogOpened();
        }
    });
    connect(&parts_.logView, &LogViewer::closed, this, [this] {
        for (const Entry& entry : entries_) {
            entry.view->LogClosed();
        }
    });
}

AnalysisRoom::~AnalysisRoom() = default;

void AnalysisRoom::AddMenuEntries(QMenu& tools) {
    tools.addSeparator();
    const auto add = [&](const QString& text, const char* name, QKeySequence keys,
                         AnalysisKind kind) {
        QAction* action = tools.addAction(text, this, [this, kind] { NewView(kind); });
        action->setObjectName(name);
        action->setShortcut(keys);
    };
    add(tr("Cell Table..."), "CellTable", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
        AnalysisKind::Table);
    add(tr("Histogram..."), "Histogram", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
        AnalysisKind::Histogram);
    add(tr("Scatter..."), "Scatter", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X),
        AnalysisKind::Scatter);
    QMenu* views = tools.addMenu(tr("Views"));
    views->setObjectName("SavedViews");
    connect(views, &QMenu::aboutToShow, this, [this, views] { FillViewsMenu(*views); });
}

void AnalysisRoom::FillViewsMenu(QMenu& menu) {
    menu.clear();
    if (entries_.empty()) {
        menu.addAction(tr("(none kept with this set)"))->setEnabled(false);
        return;
    }
    for (const Entry& entry : entries_) {
        QAction* action = menu.addAction(entry.view->Name());
        action->setCheckable(true);
        action->setChecked(!entry.dock->isHidden());
        AnalysisView* view = entry.view;
        connect(action, &QAction::triggered, this,
                [this, view](bool on) { on ? ShowView(*view) : CloseView(*view); });
    }
}

std::vector<std::string> AnalysisRoom::NamesBesides(const AnalysisView* view) const {
    std::vector<std::string> names;
    for (const Entry& entry : entries_) {
        if (entry.view != view) {
            names.push_back(entry.view->Definition().name);
        }
    }
    return names;
}

AnalysisView* AnalysisRoom::NewView(AnalysisKind kind) {
    const Session& session = parts_.session;
    ViewDefinition definition = SuggestedView(kind, session.Table(), session.Details(),
                                              session.Settings().dataBytes, NamesBesides(nullptr));
    const bool acquiring = session.HasEngine() && (session.GetEngine().Running() ||
                                                   session.GetEngine().RealTimePlayback());
    definition.source = !parts_.logView.IsOpen() && acquiring ? ViewSource::Live : ViewSource::Log;
    AnalysisView* view = AddView(definition);
    Store(*view, view->Name());
    view->Compute();
    view->setFocus();
    return view;
}

AnalysisView* AnalysisRoom::AddView(const ViewDefinition& definition) {
    auto* dock = new QDockWidget(QString::fromStdString(definition.name), &parts_.window);
    dock->setObjectName("AnalysisDock");
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* view = new AnalysisView(definition, context_);
    dock->setWidget(view);
    dock->installEventFilter(this);
    entries_.push_back({view, dock});
    connect(view, &AnalysisView::definitionChanged, this,
            [this, view](const QString& previous) { Store(*view, previous); });
    connect(view, &AnalysisView::deleteRequested, this, [this, view] { DeleteView(*view); });
    PlaceDock(*dock);
    dock->setVisible(definition.open);
    return view;
}

// Below the pages and above the status strip at first; later views join it as tabs.
void AnalysisRoom::PlaceDock(QDockWidget& dock) {
    QMainWindow& window = parts_.window;
    for (const Entry& entry : entries_) {
        if (entry.dock != &dock && !entry.dock->isHidden() && !entry.dock->isFloating() &&
            window.dockWidgetArea(entry.dock) != Qt::NoDockWidgetArea) {
            window.tabifyDockWidget(entry.dock, &dock);
            dock.show();
            dock.raise();
            return;
        }
    }
    window.addDockWidget(Qt::BottomDockWidgetArea, &dock, Qt::Vertical);
    if (auto* strip = window.findChild<QDockWidget*>("StatusStrip")) {
        window.splitDockWidget(&dock, strip, Qt::Vertical);
    }
    const auto size = [this, docked = QPointer<QDockWidget>(&dock)] {
        if (docked != nullptr) {
            const int height = static_cast<int>(parts_.window.height() * kDockShare);
            parts_.window.resizeDocks({docked.data()}, {height}, Qt::Vertical);
        }
    };
    size();
    // Once more when the window has laid the new dock out: before that, the size may be lost.
    QTimer::singleShot(0, this, size);
}

void AnalysisRoom::Store(AnalysisView& view, const QString& previousName) {
    // Two views of one name would share one section of the details file.
    const std::string unique = UniqueViewName(view.Definition().name, NamesBesides(&view));
    if (unique != view.Definition().name) {
        view.Rename(unique);
    }
    PutView(parts_.session.Details(), view.Definition(), previousName.toStdString());
    if (const Entry* entry = Find(view)) {
        entry->dock->setWindowTitle(view.Name());
    }
}

const AnalysisRoom::Entry* AnalysisRoom::Find(const AnalysisView& view) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&view](const Entry& entry) { return entry.view == &view; });
    return found == entries_.end() ? nullptr : &*found;
}

void AnalysisRoom::ShowView(AnalysisView& view) {
    const Entry* entry = Find(view);
    if (entry == nullptr) {
        return;
    }
    const bool wasOpen = view.Definition().open;
    view.SetOpen(true);
    entry->dock->show();
    entry->dock->raise();
    if (!wasOpen) {
        Store(view, view.Name());
        view.Compute();
    }
}

void AnalysisRoom::CloseView(AnalysisView& view) {
    if (const Entry* entry = Find(view)) {
        entry->dock->close();  // the event filter notes it
    }
}

bool AnalysisRoom::DeleteView(AnalysisView& view, bool ask) {
    const Entry* entry = Find(view);
    if (entry == nullptr) {
        return false;
    }
    const QString question =
        tr("Delete the view \"%1\" from this configuration set?").arg(view.Name());
    if (ask && !(confirm_ ? confirm_(question)
                          : QMessageBox::question(&parts_.window, tr("Delete View"), question) ==
                                QMessageBox::Yes)) {
        return false;
    }
    EraseView(parts_.session.Details(), view.Definition().name);
    QDockWidget* dock = entry->dock;
    entries_.erase(entries_.begin() + (entry - entries_.data()));
    dock->removeEventFilter(this);
    dock->hide();
    dock->deleteLater();
    return true;
}

std::vector<AnalysisView*> AnalysisRoom::Views() const {
    std::vector<AnalysisView*> views;
    for (const Entry& entry : entries_) {
        views.push_back(entry.view);
    }
    return views;
}

AnalysisView* AnalysisRoom::FindView(const QString& name) const {
    for (const Entry& entry : entries_) {
        if (entry.view->Name() == name) {
            return entry.view;
        }
    }
    return nullptr;
}

QDockWidget* AnalysisRoom::DockOf(const AnalysisView& view) const {
    const Entry* entry = Find(view);
    return entry != nullptr ? entry->dock : nullptr;
}

void AnalysisRoom::FrameCompleted(const FrameSummary& frame) {
    const Decoder& decoder = parts_.session.GetDecoder();
    for (const Entry& entry : entries_) {
        entry.view->FrameCompleted(decoder, frame);
    }
}

void AnalysisRoom::FramesBroken() {
    for (const Entry& entry : entries_) {
        entry.view->BreakRun();
    }
}

void AnalysisRoom::Refresh() {
    for (const Entry& entry : entries_) {
        entry.view->RefreshLive();
    }
}

void AnalysisRoom::SetOpening() {
    for (const Entry& entry : entries_) {
        entry.dock->removeEventFilter(this);
        entry.dock->hide();
        entry.dock->deleteLater();
    }
    entries_.clear();
}

void AnalysisRoom::SetRead() {
    SetOpening();
    QStringList problems;
    for (const ViewParse& parse : ReadViews(parts_.session.Details())) {
        for (const std::string& problem : parse.problems) {
            problems << (parse.view ? QString::fromStdString(parse.view->name) + ": " : QString()) +
                            QString::fromStdString(problem);
        }
        if (parse.view) {
            AnalysisView* view = AddView(*parse.view);
            if (parse.view->open) {
                view->Compute();
            }
        }
    }
    if (!problems.isEmpty()) {
        post_(tr("Some of the set's views in its details file could not be read whole; what "
                 "could not be read is left out:\n\n%1")
                  .arg(problems.join('\n')));
    }
}

bool AnalysisRoom::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        for (const Entry& entry : entries_) {
            if (entry.dock == watched && entry.view->Definition().open) {
                entry.view->SetOpen(false);
                entry.view->Cancel();
                Store(*entry.view, entry.view->Name());
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vekaton
