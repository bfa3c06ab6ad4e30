#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "analysis/AnalysisViewText.h"
#include "app/analysis/ViewComputation.h"

class QDockWidget;
class QMainWindow;
class QMenu;
class QTimer;

namespace vekaton {

class AnalysisView;
class LogViewer;
class Session;
struct FrameSummary;

// The window's tables, histograms and scatters: each view in a dock beside the dashboards
// (below them at first, in tabs when there are several), made from the Tools menu, kept in the
// set's details file as a "[view NAME]" section whenever it changes, and opened again as they
// were when the set is read. Live views get every frame the engine completes, received or
// played back; they are drawn a few times a second, never per frame.
class AnalysisRoom : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        LogViewer& logView;
        QMainWindow& window;
    };

    static constexpr int kRefreshMs = 200;

    AnalysisRoom(const Parts& parts, std::function<void(const QString&)> post);
    ~AnalysisRoom() override;

    // "Cell Table...", "Histogram...", "Scatter..." and the set's views, on the Tools menu.
    void AddMenuEntries(QMenu& tools);
    // A new view of the kind, suggested from the definitions: live while acquiring, else of
    // the open log; shown, kept with the set and computed where it can be.
    AnalysisView* NewView(AnalysisKind kind);
    void ShowView(AnalysisView& view);
    void CloseView(AnalysisView& view);
    // Takes a view out of the set; asks first when `ask`.
    bool DeleteView(AnalysisView& view, bool ask = true);
    std::vector<AnalysisView*> Views() const;
    AnalysisView* FindView(const QString& name) const;
    QDockWidget* DockOf(const AnalysisView& view) const;
    // Replaceable for tests: the question before a view is deleted.
    void SetConfirm(std::function<bool(const QString&)> confirm) { confirm_ = std::move(confirm); }

    // From the engine: a completed frame (the window's decoder holds it), and a gap between
    // frames (acquisition stopped, playback jumped).
    void FrameCompleted(const FrameSummary& frame);
    void FramesBroken();
    // Another set is opened: the views go (the old set's details keep them).
    void SetOpening();
    // The set is read: its views come back as its details keep them.
    void SetRead();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Entry {
        AnalysisView* view = nullptr;
        QDockWidget* dock = nullptr;
    };

    AnalysisView* AddView(const ViewDefinition& definition);
    void PlaceDock(QDockWidget& dock);
    void Store(AnalysisView& view, const QString& previousName);
    void FillViewsMenu(QMenu& menu);
    std::vector<std::string> NamesBesides(const AnalysisView* view) const;
    const Entry* Find(const AnalysisView& view) const;
    void Refresh();

    Parts parts_;
    std::function<void(const QString&)> post_;
    std::function<bool(const QString&)> confirm_;
    AnalysisContext context_;
    std::vector<Entry> entries_;
    QTimer* refresh_ = nullptr;
};

}  // namespace vekaton
