#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/PositionDetails.h"
#include "log/DataLogFile.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class ConfigurationSet;
class Engine;
class GraphsPage;
class LogReplay;
class LogViewBar;
class WindowCaption;

// The log viewer: a data log opened into the chart to look at it whole, without playing it.
// While a log is open the engine is in file-view mode (Run/Pause does nothing) and recording is
// off. Every frame is decoded once on opening, as playback would play it, with a progress bar
// that can be cancelled; the chart then shows the whole log with zoom and scroll, and its
// cursors read every channel at a frame.
//
// Moving cursor A plays that frame's bytes through the window's decoder from the state playing
// the log from its start leaves there, so the parameter table holds exactly that frame's values
// and cursorFrameChanged() tells whoever shows the table (the value table) to show them.
class LogViewer : public QObject {
    Q_OBJECT

  public:
    // What the viewer works with: the engine (file-view mode), the window's decoder (whose
    // table the cursor's frame fills), the chart it draws into; the window is the dialogs'
    // parent, and logs are chosen from the set's folder.
    struct Parts {
        Engine& engine;
        Decoder& decoder;
        const ConfigurationSet& set;
        const DetailsTable& details;  // units for the CSV headings
        GraphsPage& graphs;
        WindowCaption& caption;
        QWidget& window;
    };

    LogViewer(const Parts& parts, std::function<void(const QString&)> post);
    ~LogViewer() override;

    // Opens a log with the record layout of the settings in force; false when it cannot be
    // read, holds no frame, or the user cancelled (nothing stays open then).
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return log_.IsOpen(); }
    QString Path() const { return path_; }
    const DataLogFile& Log() const { return log_; }
    const RecordLayout& Layout() const { return layout_; }
    // Decodes the log again (raw data switched, a channel added): same window and cursors.
    bool Redraw();
    // Cursor A's frame (from 0), or -1 without a cursor.
    std::int64_t CursorFrame() const;
    // Sets cursor A on a frame (and the table's values to it).
    void SetCursorFrame(std::int64_t frame);
    // The warning shown when the log does not fit the set; empty when it fits.
    QString Warning() const { return warning_; }
    LogViewBar& Bar() const { return *bar_; }

    // Replaceable for tests: the open dialog (an empty name cancels), and a check between two
    // steps of decoding that says whether the user cancelled (besides the progress dialog).
    void SetChooseFile(std::function<QString()> choose) { chooseFile_ = std::move(choose); }
    void SetCancelCheck(std::function<bool(std::int64_t done)> check) {
        cancelCheck_ = std::move(check);
    }
    // The "Open Data Log..." command: asks for a log and opens it.
    void OpenClicked();
    // "Export CSV...": asks for a file and writes the viewed log to it. ExportCsv writes to the
    // path given; true when the file was written.
    void ExportClicked();
    bool ExportCsv(const QString& path);
    void SetChooseExportFile(std::function<QString()> choose) { chooseExport_ = std::move(choose); }

  signals:
    // The table now holds the values of this frame of the viewed log (-1: no log, no cursor).
    void cursorFrameChanged(qint64 frame);
    void opened();
    void closed();
    // "Play from here": the log from a frame on, in real time.
    void playRequested(const QString& path, qint64 frame);

  private:
    bool DecodeAll();
    void CursorsChanged();
    void ShowCursorText();
    void ViewChanged();
    void Scrolled(std::int64_t first);
    void PlayFromCursor();
    double TimeOf(std::int64_t frame) const;

    Parts parts_;
    std::function<void(const QString&)> post_;
    std::function<QString()> chooseFile_;
    std::function<QString()> chooseExport_;
    std::function<bool(std::int64_t)> cancelCheck_;
    LogViewBar* bar_ = nullptr;

    QString path_;
    DataLogFile log_;
    RecordLayout layout_;
    std::unique_ptr<LogReplay> replay_;
    FormulaFrontEnd formulas_;
    Decoder decoder_;               // the pass over the whole log, plotting into the chart
    std::int64_t firstSample_ = 0;  // the chart sample of frame 0
    int intervalMs_ = 0;
    QString warning_;
    Decoder::State liveState_;  // the window decoder's, put back on closing
    std::vector<std::uint8_t> record_;
};

}  // namespace vekaton
