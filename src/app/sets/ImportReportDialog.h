#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace vekaton {

// What an ADX import made of each object of the file, as vekaton-cli import-adx prints it, one
// line per object, under a summary; the text can be selected and copied whole.
class ImportReportDialog : public QDialog {
    Q_OBJECT

  public:
    ImportReportDialog(const QString& summary, const QStringList& report,
                       QWidget* parent = nullptr);

    QString ReportText() const;
    // Puts the summary and the report on the clipboard.
    void CopyAll() const;

  private:
    QString summary_;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace vekaton
