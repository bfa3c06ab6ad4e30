#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace vekaton {

class DataLogFile;
class DetailsTable;
class ParameterTable;
struct RecordLayout;

// What Export CSV did.
enum class ExportOutcome { Written, Cancelled, Failed };

// Writes a data log to a CSV file with exactly the rows `vekaton-cli decode` writes (the same
// code), showing a progress bar that can cancel it. A cancelled or failed export leaves no file
// behind; `error` says why one failed. `cancelCheck`, when given, is asked between steps too.
ExportOutcome ExportLogCsv(QWidget* parent, DataLogFile& log, const RecordLayout& layout,
                           const ParameterTable& table, const DetailsTable* details,
                           const QString& path, QString* error,
                           const std::function<bool(std::int64_t done)>& cancelCheck = {});

}  // namespace vekaton
