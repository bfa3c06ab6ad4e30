#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "warnings/LogWarningScan.h"

class QWidget;

namespace vekaton {

class DetailsTable;
class GraphsPage;
class LogViewer;
class ParameterTable;

// The warnings of the log being viewed: where its values stood beyond the limits of the current
// details, shaded on the chart, and the warnings a live run would have raised, for export as a
// CSV list. Found once the log is decoded, and again when the definitions or details change.
class LogWarnings : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        LogViewer& viewer;
        const ParameterTable& table;
        const DetailsTable& details;
        GraphsPage& graphs;
        QWidget& window;
    };

    LogWarnings(const Parts& parts, std::function<void(const QString&)> post);

    // Reads the open log for its warnings (with a progress bar that can be cancelled) and
    // shades them; false when there is no log, it could not be read or the user cancelled.
    bool Scan();
    void Clear();

    // Every frame (from 1) beyond a limit, as shaded: overlapping and touching spans joined.
    const std::vector<FrameSpan>& Shaded() const { return shaded_; }
    const std::vector<WarningEvent>& Events() const { return events_; }

    // "Export Warning Events...": asks for a file and writes the list there.
    void ExportClicked();
    bool ExportEvents(const QString& path);
    void SetChooseExportFile(std::function<QString()> choose) { chooseExport_ = std::move(choose); }
    void SetCancelCheck(std::function<bool(std::int64_t)> check) {
        cancelCheck_ = std::move(check);
    }

  private:
    void Shade();

    Parts parts_;
    std::function<void(const QString&)> post_;
    std::function<QString()> chooseExport_;
    std::function<bool(std::int64_t)> cancelCheck_;
    std::vector<FrameSpan> shaded_;
    std::vector<WarningEvent> events_;
};

// The union of every value's spans: sorted, overlapping or adjacent spans joined.
std::vector<FrameSpan> JoinedSpans(const std::vector<WarningSpans>& spans);

}  // namespace vekaton
