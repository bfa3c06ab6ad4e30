#pragma once

#include <QWidget>
#include <functional>

#include "analysis/AnalysisViewText.h"
#include "app/analysis/ViewComputation.h"

class QAction;
class QComboBox;
class QLabel;
class QProgressBar;
class QScrollArea;
class QTimer;
class QToolBar;

namespace vekaton {

class AnalysisPlot;
class SetupPanel;

// One table, histogram or scatter beside the dashboards: a bar of commands (source, compute,
// reset, stepping through a cell's frames, copy, export, the setup), the setup panel, the plot
// and a line telling how many frames went where and what the cell under the mouse holds.
//
// A click on a cell of a result from the open log puts the viewer's cursor on the cell's first
// frame; the frame buttons (F3, Shift+F3) step through the cell's frames from the cursor on.
class AnalysisView : public QWidget {
    Q_OBJECT

  public:
    AnalysisView(ViewDefinition definition, AnalysisContext& context, QWidget* parent = nullptr);
    ~AnalysisView() override;

    const ViewDefinition& Definition() const { return definition_; }
    QString Name() const { return QString::fromStdString(definition_.name); }
    // Takes the setup panel's definition and computes it; false (with the problem shown in the
    // panel) when it does not read.
    bool Apply();
    // A definition from outside (a renamed view, a test): shown in the panel and computed.
    void SetDefinition(const ViewDefinition& definition);
    void SetSource(ViewSource source);
    void SetOpen(bool open) { definition_.open = open; }
    // Another name, in the definition and the setup panel; nothing is computed again.
    void Rename(const std::string& name);
    // Computes from the source again; false when it cannot start (the reason is shown).
    bool Compute();
    void Cancel();
    bool Busy() const { return computation_->Busy(); }
    // Live data: empties the cells and starts counting again.
    void Reset();

    const FrameAccumulator* Result() const { return computation_->Result(); }
    AnalysisPlot& Plot() const { return *plot_; }
    SetupPanel& Setup() const { return *setup_; }
    QString StatusText() const;
    QString HoverText() const;

    // Live frames from the engine (received or played back), and gaps between them.
    void FrameCompleted(const Decoder& decoder, const FrameSummary& frame);
    void BreakRun() { computation_->BreakRun(); }
    // Draws what live frames changed (called a few times a second, never per frame).
    void RefreshLive();
    void LogOpened();
    void LogClosed();

    // Goes to a cell's frame in the open log (frame -1: the cell's first); false when the
    // result has no frames there to go to (the reason is shown).
    bool GoToCell(int cell, qint64 frame = -1);
    // The cell's next (+1) or previous (-1) frame from the viewer's cursor.
    bool StepFrame(int direction);

    // The result as the command line writes it, with the separator given.
    QString Text(char separator) const;
    bool ExportCsv(const QString& path);
    void ExportClicked();
    void CopyToClipboard();
    void SetChooseExportFile(std::function<QString()> choose) { chooseExport_ = std::move(choose); }

  signals:
    // The definition changed (the setup applied, the source chosen); previousName is its name
    // before.
    void definitionChanged(const QString& previousName);
    void deleteRequested();
    // A result is shown (a log analysis ended, or live counting began).
    void computed();

  private:
    void BuildBar();
    void ShowResult();
    void ShowState(const QString& text);
    void Finished(bool ok, const QString& message);
    void ShowProgress();
    void UpdateActions();
    void ShowHover(int cell);

    AnalysisContext& context_;
    ViewDefinition definition_;
    ViewComputation* computation_ = nullptr;
    QToolBar* bar_ = nullptr;
    QComboBox* source_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    QAction* compute_ = nullptr;
    QAction* cancel_ = nullptr;
    QAction* reset_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* setupToggle_ = nullptr;
    SetupPanel* setup_ = nullptr;
    QScrollArea* setupArea_ = nullptr;
    AnalysisPlot* plot_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* hover_ = nullptr;
    QString stateText_;
    std::function<QString()> chooseExport_;
};

}  // namespace vekaton
