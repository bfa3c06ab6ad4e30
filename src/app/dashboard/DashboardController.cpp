#include "app/dashboard/DashboardController.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QUndoStack>

#include "app/dashboard/DashboardPage.h"
#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/DashboardView.h"
#include "app/dashboard/DesignMode.h"
#include "app/dashboard/ItemMenus.h"
#include "app/dashboard/ValueTable.h"
#include "dashboard/DashboardModel.h"
#include "decode/Decoder.h"
#include "engine/Engine.h"

namespace vekaton {

DashboardController::DashboardController(DashboardModel& model, Decoder& decoder,
                                         ParameterTable& table, DetailsTable& details,
                                         QMainWindow& window, QTabWidget& tabs, int pageCount)
    : QObject(&window),
      model_(model),
      decoder_(decoder),
      table_(table),
      details_(details),
      window_(window),
      tabs_(tabs) {
    undo_ = new QUndoStack(this);
    undo_->setUndoLimit(200);
    BuildPages(pageCount);
    view_ = std::make_unique<DashboardView>(model_, pages_);
    parts_ = std::make_unique<DashboardParts>(
        DashboardParts{model_, decoder_, table_, *view_, details_});
    design_ = new DesignMode(*parts_, *undo_, this);
    actions_ = new ItemActions(*parts_, *undo_, *design_, prompts_, &window_);
    connect(view_.get(), &DashboardView::widgetCreated, design_, &DesignMode::Watch);
    connect(view_.get(), &DashboardView::resetClicked, this,
            [this](int id) { model_.ClickResetButton(id); });
    connect(view_.get(), &DashboardView::pageCaptionChanged, this,
            [this](int page, const QString& caption) {
                if (page >= 0 && page < tabs_.count()) {
                    QString shown = caption;
                    tabs_.setTabText(page, shown.replace("&", "&&"));  // no shortcut marks
                }
            });
    BuildValueDock();
    connect(actions_, &ItemActions::definitionsChanged, this,
            &DashboardController::DefinitionsChanged);
    BuildEditMenu();
    connect(&tabs_, &QTabWidget::currentChanged, this, &DashboardController::TabChanged);
}

DashboardController::~DashboardController() {
    // The view stops listening to the model before the pages (and their widgets) go.
    view_.reset();
}

void DashboardController::BuildPages(int pageCount) {
    for (int i = 0; i < pageCount; ++i) {
        auto* page = new DashboardPage(i);
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QString("Scroll%1").arg(i + 1));
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        tabs_.insertTab(i, scroll, tr("Page %1").arg(i + 1));
        connect(page, &DashboardPage::menuRequested, this,
                [this, page](QWidget* under, QPoint at, QPoint global) {
                    PageMenuRequested(page, under, at, global);
                });
        pages_.push_back(page);
    }
}

void DashboardController::BuildEditMenu() {
    editMenu_ = new QMenu(dashtexts::kEditMenu, &window_);
    editMenu_->setObjectName("EditMenu");
    QAction* undo = undo_->createUndoAction(editMenu_, dashtexts::kUndo);
    undo->setObjectName("Undo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = undo_->createRedoAction(editMenu_, dashtexts::kRedo);
    redo->setObjectName("Redo");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    editMenu_->addAction(undo);
    editMenu_->addAction(redo);
    editMenu_->addSeparator();
    QAction* parameters = editMenu_->addAction(dashtexts::kParametersMenu, this,
                                               &DashboardController::OpenParameterList);
    parameters->setObjectName("ParametersList");
    parameters->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // The value table's toggle lives in the View menu, which the window builds.
    QAction* table = valueDock_->toggleViewAction();
    table->setText(dashtexts::kValueTable);
    table->setObjectName("ValueTableToggle");
    table->setShortcut(QKeySequence(Qt::Key_F9));
    editMenu_->addSeparator();
    editMenu_->addAction(dashtexts::kRenamePage, this,
                         [this] { actions_->RenamePage(currentPage_); });
    editMenu_->addAction(dashtexts::kAlignToGrid, this,
                         [this] { design_->AlignPage(currentPage_); });
    editMenu_->addAction(dashtexts::kGridStep, this, [this] { actions_->ChooseGridStep(); });
}

void DashboardController::BuildValueDock() {
    ValueTable::Sources sources;
    sources.dataBytes = [this] { return engine_ != nullptr ? engine_->Settings().dataBytes : 0; };
    sources.counters = [this] { return engine_ != nullptr ? engine_->Counters() : LinkCounters{}; };
    values_ = new ValueTable(table_, details_, std::move(sources));
    valueDock_ = new QDockWidget(dashtexts::kValuesTitle, &window_);
    valueDock_->setObjectName("ValueTableDock");
    valueDock_->setWidget(values_);
    valueDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                                Qt::BottomDockWidgetArea);
    window_.addDockWidget(Qt::RightDockWidgetArea, valueDock_);
    connect(values_, &ValueTable::editRequested, this,
            [this](int position) { actions_->EditParameters(position, 0); });
    connect(values_, &ValueTable::addRequested, this, [this](ItemKind kind, int position, int bit) {
        if (actions_->AddBoundItem(kind, currentPage_, position, bit)) {
            tabs_.setCurrentIndex(currentPage_);
        }
    });
}

QAction* DashboardController::ValueTableAction() const {
    return valueDock_->toggleViewAction();
}

void DashboardController::SetDialogRunner(std::function<int(QDialog&)> runner) {
    prompts_.runDialog = std::move(runner);
}

void DashboardController::SetMessageSink(std::function<void(const QString&)> sink) {
    prompts_.showMessage = std::move(sink);
}

DashboardPage* DashboardController::Page(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

QMenu* DashboardController::BuildPageMenu(int page, QPoint at, QWidget* parent) {
    return vekaton::BuildPageMenu(*actions_, *design_, page, at, parent);
}

QMenu* DashboardController::BuildItemMenu(int id, QWidget* parent) {
    return vekaton::BuildItemMenu(*actions_, model_, table_, id, parent);
}

void DashboardController::PageMenuRequested(DashboardPage* page, QWidget* under, QPoint at,
                                            QPoint global) {
    const int id = view_->ItemAt(under);
    // New items go where the click was on the page as designed, however it is drawn.
    QMenu* menu =
        id != 0 ? BuildItemMenu(id, page) : BuildPageMenu(page->Index(), page->ToPage(at), page);
    if (menu == nullptr) {
        return;
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}

void DashboardController::TabChanged(int index) {
    if (index >= 0 && index < PageCount()) {
        currentPage_ = index;
    }
}

void DashboardController::OpenParameterList() {
    actions_->EditParameters(1, 0);
}

void DashboardController::WindowShown() {
    const int width = std::clamp(window_.width() / 3, 300, 480);
    window_.resizeDocks({valueDock_}, {width}, Qt::Horizontal);
}

void DashboardController::FrameCompleted() {
    values_->FrameCompleted();
}

void DashboardController::SetLiveShown(bool shown) {
    view_->SetLiveShown(shown);
}

void DashboardController::SetNoData(bool noData) {
    view_->SetNoData(noData);
}

void DashboardController::Reset() {
    undo_->clear();
    model_.Clear();
    values_->ForgetFrames();
    view_->RefreshPageCaptions();
}

void DashboardController::AfterLoad() {
    model_.ClearLiveReadings();
    view_->RefreshPageCaptions();
    undo_->clear();
    DefinitionsChanged();
}

void DashboardController::DefinitionsChanged() {
    values_->DefinitionsChanged();
    emit definitionsChanged();
}

}  // namespace vekaton
