#include "app/analysis/AnalysisView.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/AnalysisText.h"
#include "app/analysis/CellTableWidget.h"
#include "app/analysis/HistogramWidget.h"
#include "app/analysis/ScatterWidget.h"
#include "app/analysis/SetupPanel.h"
#include "app/logview/LogViewer.h"
#include "files/SafeFile.h"
#include "io/QtText.h"
#include "session/Session.h"

namespace vekaton {

namespace {

constexpr int kProgressMs = 100;

AnalysisPlot* MakePlot(AnalysisKind kind) {
    switch (kind) {
        case AnalysisKind::Table:
            return new CellTableWidget;
        case AnalysisKind::Histogram:
            return new HistogramWidget;
        case AnalysisKind::Scatter:
            return new ScatterWidget;
    }
    return new CellTableWidget;
}

}  // namespace

AnalysisView::AnalysisView(ViewDefinition definition, AnalysisContext& context, QWidget* parent)
    : QWidget(parent), context_(context), definition_(std::move(definition)) {
    setObjectName("AnalysisView");
    computation_ = new ViewComputation(context_, this);
    connect(computation_, &ViewComputation::finished, this, &AnalysisView::Finished);
    const Session& session = context_.session;
    setup_ = new SetupPanel(definition_.setup.kind, session.Table(),
                            [&session] { return session.Settings().dataBytes; });
    setup_->SetDefinition(definition_);
    connect(setup_, &SetupPanel::applyRequested, this, &AnalysisView::Apply);
    plot_ = MakePlot(definition_.setup.kind);
    connect(plot_, &AnalysisPlot::cellChosen, this,
            [this](int cell, qint64 frame) { GoToCell(cell, frame); });
    connect(plot_, &AnalysisPlot::cellHovered, this, &AnalysisView::ShowHover);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    BuildBar();
    layout->addWidget(bar_);
    auto* splitter = new QSplitter(Qt::Horizontal);
    setupArea_ = new QScrollArea;
    setupArea_->setWidget(setup_);
    setupArea_->setWidgetResizable(true);
    setupArea_->setMinimumWidth(280);
    auto* plotArea = new QScrollArea;
    plotArea->setWidget(plot_);
    plotArea->setWidgetResizable(true);
    plotArea->setFrameShape(QFrame::NoFrame);
    splitter->addWidget(setupArea_);
    splitter->addWidget(plotArea);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(1, false);
    layout->addWidget(splitter, 1);
    // The plot gets the room the setup's fields do not need.
    splitter->setSizes({setupArea_->minimumWidth() + 40, 4 * setupArea_->minimumWidth()});
    // Both lines wrap: a long line must never make the window wider than the screen.
    status_ = new QLabel;
    status_->setObjectName("AnalysisStatus");
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setWordWrap(true);
    hover_ = new QLabel;
    hover_->setObjectName("AnalysisHover");
    hover_->setWordWrap(true);
    layout->addWidget(status_);
    layout->addWidget(hover_);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(kProgressMs);
    connect(progressTimer_, &QTimer::timeout, this, &AnalysisView::ShowProgress);
    UpdateActions();
}

AnalysisView::~AnalysisView() {
    plot_->Show(nullptr, {}, std::nullopt);  // the result goes with the computation
}

void AnalysisView::BuildBar() {
    bar_ = new QToolBar;
    bar_->setIconSize(QSize(16, 16));
    bar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    source_ = new QComboBox;
    source_->setObjectName("AnalysisSource");
    source_->addItem(tr("Whole log"), static_cast<int>(ViewSource::Log));
    source_->addItem(tr("Between cursors"), static_cast<int>(ViewSource::Cursors));
    source_->addItem(tr("Live data"), static_cast<int>(ViewSource::Live));
    source_->setToolTip(
        tr("Where the frames come from: the log open on the chart, its frames "
           "between cursors A and B, or frames as they arrive until Reset"));
    source_->setCurrentIndex(source_->findData(static_cast<int>(definition_.source)));
    connect(source_, &QComboBox::activated, this, [this](int index) {
        SetSource(static_cast<ViewSource>(source_->itemData(index).toInt()));
    });
    bar_->addWidget(source_);
    const auto add = [this](const QString& text, const QString& tip, QKeySequence keys, auto slot) {
        QAction* action = bar_->addAction(text, this, slot);
        action->setToolTip(keys.isEmpty() ? tip : tip + " (" + keys.toString() + ")");
        action->setShortcut(keys);
        // Keys act while the focus is anywhere in this view, never in another one.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        return action;
    };
    compute_ = add(tr("Compute"), tr("Compute the view from its source with the setup shown"),
                   QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { Apply(); });
    cancel_ = add(tr("Cancel"), tr("Stop reading the log"), QKeySequence(Qt::Key_Escape),
                  [this] { Cancel(); });
    reset_ = add(tr("Reset"), tr("Empty the cells and count live frames afresh"), {},
                 [this] { Reset(); });
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progress_->setMaximumWidth(140);
    progress_->setTextVisible(true);
    progress_->hide();
    bar_->addWidget(progress_)->setObjectName("AnalysisProgress");
    bar_->addSeparator();
    previous_ = add(QString::fromUtf8("\u25C0 ") + tr("Frame"),
                    tr("The selected cell's frame before the cursor"),
                    QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { StepFrame(-1); });
    next_ = add(tr("Frame") + QString::fromUtf8(" \u25B6"),
                tr("The selected cell's frame after the cursor"), QKeySequence(Qt::Key_F3),
                [this] { StepFrame(1); });
    bar_->addSeparator();
    add(tr("Copy"), tr("Copy the numbers as tab-separated text for a spreadsheet"),
        QKeySequence(QKeySequence::Copy), [this] { CopyToClipboard(); });
    add(tr("Export CSV..."), tr("Write the numbers to a CSV file, as vekaton-cli writes them"), {},
        [this] { ExportClicked(); });
    bar_->addSeparator();
    setupToggle_ = add(tr("Setup"), tr("Show or hide the setup"), {},
                       [this](bool on) { setupArea_->setVisible(on); });
    setupToggle_->setCheckable(true);
    setupToggle_->setChecked(true);
    auto* more = new QToolButton;
    more->setText(tr("More"));
    more->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(more);
    menu->addAction(tr("Delete View..."), this, &AnalysisView::deleteRequested);
    more->setMenu(menu);
    bar_->addWidget(more);
}

bool AnalysisView::Apply() {
    QString error;
    ViewDefinition next = setup_->Definition(&error);
    if (!error.isEmpty()) {
        setup_->ShowProblem(error);
        setupToggle_->setChecked(true);
        setupArea_->show();
        return false;
    }
    setup_->ShowProblem(QString());
    next.source = definition_.source;
    next.open = definition_.open;
    const QString previous = Name();
    if (next != definition_) {
        definition_ = std::move(next);
        emit definitionChanged(previous);
    }
    return Compute();
}

void AnalysisView::SetDefinition(const ViewDefinition& definition) {
    const QString previous = Name();
    definition_ = definition;
    setup_->SetDefinition(definition_);
    source_->setCurrentIndex(source_->findData(static_cast<int>(definition_.source)));
    emit definitionChanged(previous);
    Compute();
}

void AnalysisView::Rename(const std::string& name) {
    definition_.name = name;
    setup_->SetName(QString::fromStdString(name));
}

void AnalysisView::SetSource(ViewSource source) {
    source_->setCurrentIndex(source_->findData(static_cast<int>(source)));
    if (source == definition_.source) {
        return;
    }
    definition_.source = source;
    emit definitionChanged(Name());
    Compute();
}

bool AnalysisView::Compute() {
    QString why;
    if (!computation_->Start(definition_, &why)) {
        ShowState(why);
        plot_->Show(nullptr, {}, std::nullopt);
        plot_->SetEmptyText(why);
        UpdateActions();
        return false;
    }
    if (computation_->Busy()) {
        ShowState(tr("Reading the log..."));
        progress_->setValue(0);
        progress_->show();
        progressTimer_->start();
    } else {
        ShowResult();
        emit computed();
    }
    UpdateActions();
    return true;
}

void AnalysisView::Cancel() {
    if (!computation_->Busy()) {
        return;
    }
    computation_->Cancel();
    progressTimer_->stop();
    progress_->hide();
    ShowState(tr("Cancelled."));
    UpdateActions();
}

void AnalysisView::Reset() {
    computation_->ResetLive();
    RefreshLive();
}

void AnalysisView::Finished(bool ok, const QString& message) {
    progressTimer_->stop();
    progress_->hide();
    if (ok) {
        ShowResult();
    }
    if (!message.isEmpty() || !ok) {
        ShowState(message.isEmpty() ? tr("Cancelled.") : message);
    }
    UpdateActions();
    if (ok) {
        emit computed();
    }
}

void AnalysisView::ShowProgress() {
    progress_->setValue(static_cast<int>(computation_->Progress() * 1000));
}

void AnalysisView::ShowResult() {
    const Session& session = context_.session;
    const AnalysisSetup& setup = definition_.setup;
    // With the unit of the set's details where the description does not end with it already.
    const auto name = [&session](ValueRef ref) {
        QString text = QString::fromStdString(ValueRefName(session.Table(), ref));
        const PositionDetails* details = session.Details().Find(ref.position);
        if (!ref.IsBit() && details != nullptr && !details->unit.empty()) {
            const QString unit = QString::fromStdString(details->unit);
            if (!text.endsWith(" " + unit, Qt::CaseInsensitive)) {
                text += " [" + unit + "]";
            }
        }
        return text;
    };
    AnalysisPlot::Names names{name(setup.x), setup.y ? name(*setup.y) : QString(),
                              name(StatisticRef(setup))};
    plot_->SetEmptyText(computation_->Live() ? tr("Waiting for live frames: press Run (F5) or "
                                                  "play a log.")
                                             : QString());
    plot_->Show(computation_->Result(), names, definition_.centre);
    ShowState(QString());
}

void AnalysisView::ShowState(const QString& text) {
    stateText_ = text;
    const FrameAccumulator* result = computation_->Result();
    QString line = result != nullptr
                       ? computation_->SourceText() + ": " + TallyText(result->Tally())
                       : QString();
    if (!text.isEmpty()) {
        line = line.isEmpty() ? text : text + "   " + line;
    }
    status_->setText(line);
}

QString AnalysisView::StatusText() const {
    return status_->text();
}

QString AnalysisView::HoverText() const {
    return hover_->text();
}

void AnalysisView::ShowHover(int cell) {
    hover_->setText(plot_->CellSummary(cell).replace('\n', QString::fromUtf8("  \u00B7  ")));
}

void AnalysisView::UpdateActions() {
    const bool busy = computation_->Busy();
    const bool live = definition_.source == ViewSource::Live;
    cancel_->setEnabled(busy);
    reset_->setEnabled(live);
    const bool frames = !live && computation_->Result() != nullptr && plot_->SelectedCell() >= 0;
    previous_->setEnabled(frames);
    next_->setEnabled(frames);
}

void AnalysisView::FrameCompleted(const Decoder& decoder, const FrameSummary& frame) {
    computation_->AddFrame(decoder, frame);
}

void AnalysisView::RefreshLive() {
    if (!computation_->Live() || !computation_->TakeLiveChange()) {
        return;
    }
    plot_->SetLiveCell(computation_->LiveCell());
    plot_->Refresh();
    ShowState(stateText_);
}

void AnalysisView::LogOpened() {
    if (definition_.source != ViewSource::Live && definition_.open) {
        Compute();
    }
}

void AnalysisView::LogClosed() {
    if (definition_.source != ViewSource::Live) {
        Cancel();
        ShowState(tr("The log is closed: open it again to go to its frames."));
    }
}

bool AnalysisView::GoToCell(int cell, qint64 frame) {
    const FrameAccumulator* result = computation_->Result();
    UpdateActions();
    if (result == nullptr || cell < 0 || cell >= result->Grid().CellCount()) {
        return false;
    }
    plot_->SetSelectedCell(cell);
    UpdateActions();
    if (computation_->Live()) {
        ShowState(
            tr("Live cells keep no frames: record a log (Graphs > Record to File), open "
               "it and compute from it to step through them."));
        return false;
    }
    LogViewer& viewer = context_.logView;
    if (!viewer.IsOpen() || viewer.Path() != computation_->ResultLog()) {
        ShowState(tr("Open %1 again to go to its frames.")
                      .arg(QFileInfo(computation_->ResultLog()).fileName()));
        return false;
    }
    const std::int64_t target = frame >= 0 ? frame : result->Grid().FirstFrame(cell);
    if (target < 0) {
        ShowState(tr("No frame was counted in this cell."));
        return false;
    }
    viewer.GoToFrame(target);
    const std::vector<std::int64_t>& frames = result->Frames()->Of(cell);
    const auto place = std::lower_bound(frames.begin(), frames.end(), target) - frames.begin();
    ShowState(tr("Frame %1: %2 of the cell's %3 frames")
                  .arg(target + 1)
                  .arg(place + 1)
                  .arg(frames.size()));
    return true;
}

bool AnalysisView::StepFrame(int direction) {
    const FrameAccumulator* result = computation_->Result();
    const int cell = plot_->SelectedCell();
    if (result == nullptr || result->Frames() == nullptr || cell < 0 ||
        !context_.logView.IsOpen() || context_.logView.Path() != computation_->ResultLog()) {
        return false;
    }
    const std::int64_t from = context_.logView.CursorFrame();
    const auto frame =
        direction > 0 ? result->Frames()->Next(cell, from) : result->Frames()->Previous(cell, from);
    if (!frame) {
        ShowState(direction > 0 ? tr("No later frame in this cell.")
                                : tr("No earlier frame in this cell."));
        return false;
    }
    return GoToCell(cell, *frame);
}

QString AnalysisView::Text(char separator) const {
    const FrameAccumulator* result = computation_->Result();
    if (result == nullptr) {
        return QString();
    }
    return FromStd(AnalysisText(*result, TextLayout{separator, NumberPrecision::Significant}));
}

bool AnalysisView::ExportCsv(const QString& path) {
    if (Result() == nullptr) {
        context_.post(tr("\"%1\" has no numbers to export yet: compute it first.").arg(Name()));
        return false;
    }
    if (const auto error =
            WriteFileAtomically(QFile::encodeName(path).toStdString(), Text(',').toStdString())) {
        context_.post(tr("The view was not exported: %1").arg(FromStd(*error)));
        return false;
    }
    ShowState(tr("Written to %1").arg(QFileInfo(path).fileName()));
    return true;
}

void AnalysisView::ExportClicked() {
    QString path;
    if (chooseExport_) {
        path = chooseExport_();
    } else {
        const QString folder = QString::fromStdString(context_.session.Set().Folder().string());
        path =
            QFileDialog::getSaveFileName(&context_.window, tr("Export CSV"),
                                         folder + "/" + QString(Name()).replace('/', '-') + ".csv",
                                         tr("CSV Files (*.csv);;All Files (*)"));
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
            path += ".csv";
        }
    }
    if (!path.isEmpty()) {
        ExportCsv(path);
    }
}

void AnalysisView::CopyToClipboard() {
    if (Result() != nullptr) {
        QGuiApplication::clipboard()->setText(Text('\t'));
        ShowState(tr("Copied: paste it into a spreadsheet."));
    }
}

}  // namespace vekaton
