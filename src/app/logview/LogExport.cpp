#include "app/logview/LogExport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

#include "log/DataLogFile.h"
#include "log/LogCsvExport.h"

namespace vekaton {
namespace {

constexpr std::int64_t kRecordsPerStep = 8192;
constexpr std::size_t kOutputBufferBytes = 1 << 20;

}  // namespace

ExportOutcome ExportLogCsv(QWidget* parent, DataLogFile& log, const RecordLayout& layout,
                           const ParameterTable& table, const DetailsTable* details,
                           const QString& path, QString* error,
                           const std::function<bool(std::int64_t)>& cancelCheck) {
    const QString name = QFileInfo(path).fileName();
    // Never over the log being read.
    if (QFileInfo(path).exists() &&
        QFileInfo(path).canonicalFilePath() ==
            QFileInfo(QString::fromStdString(log.Path().string())).canonicalFilePath()) {
        *error = QObject::tr(
                     "\"%1\" is the data log itself; choose another name for the CSV "
                     "file.")
                     .arg(name);
        return ExportOutcome::Failed;
    }
    auto buffer = std::make_unique<char[]>(kOutputBufferBytes);
    std::ofstream out;
    out.rdbuf()->pubsetbuf(buffer.get(), static_cast<std::streamsize>(kOutputBufferBytes));
    errno = 0;
    out.open(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = QObject::tr("Cannot write \"%1\": %2")
                     .arg(path, QString::fromStdString(
                                    std::generic_category().message(errno != 0 ? errno : EIO)));
        return ExportOutcome::Failed;
    }

    LogCsvExport csv(log, layout, table, out, NumberPrecision::Significant, details);
    QProgressDialog progress(QObject::tr("Writing %1...").arg(name), QObject::tr("Cancel"), 0, 1000,
                             parent);
    progress.setWindowTitle(QObject::tr("Export CSV"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    bool cancelled = false;
    while (csv.Step(kRecordsPerStep)) {
        progress.setValue(
            static_cast<int>(csv.Done() * 1000 / std::max<std::int64_t>(csv.Total(), 1)));
        QApplication::processEvents();
        if (progress.wasCanceled() || (cancelCheck && cancelCheck(csv.Done()))) {
            cancelled = true;
            break;
        }
    }
    progress.reset();
    errno = 0;
    out.flush();
    const bool written = static_cast<bool>(out);
    const int reason = errno;
    out.close();
    if (cancelled || !written || csv.ReadError()) {
        QFile::remove(path);  // half a table is no table
    }
    if (cancelled) {
        return ExportOutcome::Cancelled;
    }
    if (!written || csv.OutputFailed()) {
        *error = QObject::tr("Writing \"%1\" failed: %2")
                     .arg(path, QString::fromStdString(
                                    std::generic_category().message(reason != 0 ? reason : EIO)));
        return ExportOutcome::Failed;
    }
    if (csv.ReadError()) {
        *error = QObject::tr("Reading the data log failed: %1")
                     .arg(QString::fromStdString(*csv.ReadError()));
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

}  // namespace vekaton
