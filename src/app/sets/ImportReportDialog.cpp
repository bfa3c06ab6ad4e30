#include "app/sets/ImportReportDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/sets/NewSetTexts.h"

namespace vekaton {

ImportReportDialog::ImportReportDialog(const QString& summary, const QStringList& report,
                                       QWidget* parent)
    : QDialog(parent), summary_(summary) {
    setObjectName("ImportReportDialog");
    setWindowTitle(newsettexts::kReportTitle);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(summary);
    heading->setWordWrap(true);
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(heading);
    text_ = new QPlainTextEdit;
    text_->setObjectName("Report");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setPlainText(report.join('\n'));
    layout->addWidget(text_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton* copy = buttons->addButton(newsettexts::kCopy, QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, &ImportReportDialog::CopyAll);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(760, 480);
}

QString ImportReportDialog::ReportText() const {
    return text_->toPlainText();
}

void ImportReportDialog::CopyAll() const {
    QApplication::clipboard()->setText(summary_ + "\n\n" + text_->toPlainText() + "\n");
}

}  // namespace vekaton
