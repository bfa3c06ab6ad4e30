#include "app/DebugPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vekaton {

DebugPage::DebugPage(QWidget* parent) : QWidget(parent) {
    setObjectName("TabSheet1");
    memo_ = new QPlainTextEdit;
    memo_->setObjectName("Memo1");
    memo_->setReadOnly(true);
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setPlaceholderText(tr("Bytes on the line appear here while this page shows."));

    getAldl_ = new QPushButton(tr("Get ALDL"));
    getAldl_->setToolTip(tr("Send the request once"));
    loopBack_ = new QCheckBox(tr("Loop-back test"));
    loopBack_->setToolTip(tr("Answer each poll with a built-in test frame sent through the port"));
    testData_ = new QComboBox;
    testData_->addItem(tr("Test answer 1 (67 bytes)"), 1);
    testData_->addItem(tr("Test answer 2 (144 bytes)"), 2);
    trace_ = new QCheckBox(tr("Trace to Comm.Log"));
    trace_->setObjectName("TraceToCommLog");
    trace_->setToolTip(
        tr("Write every byte sent and received on the port, the simulated module "
           "included, in hex to Comm.Log in the set's folder"));
    traceFile_ = new QLabel;
    traceFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* controls = new QHBoxLayout;
    controls->addWidget(getAldl_);
    controls->addSpacing(12);
    controls->addWidget(loopBack_);
    controls->addWidget(testData_);
    controls->addSpacing(12);
    controls->addWidget(trace_);
    controls->addWidget(traceFile_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(memo_, 1);

    connect(getAldl_, &QPushButton::clicked, this, &DebugPage::getAldlClicked);
    connect(loopBack_, &QCheckBox::toggled, this, &DebugPage::loopBackToggled);
    connect(trace_, &QCheckBox::toggled, this, &DebugPage::tracingToggled);
    connect(testData_, &QComboBox::currentIndexChanged, this,
            [this](int index) { emit testDataChoiceChanged(testData_->itemData(index).toInt()); });
}

void DebugPage::UpdateTrace(bool cleared, const QString& appended) {
    if (cleared) {
        memo_->clear();
    }
    if (appended.isEmpty()) {
        return;
    }
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(appended);
    memo_->ensureCursorVisible();
}

QString DebugPage::TraceText() const {
    return memo_->toPlainText();
}

void DebugPage::SetLoopBack(bool on) {
    const QSignalBlocker blocker(loopBack_);
    loopBack_->setChecked(on);
}

void DebugPage::SetTestDataChoice(int choice) {
    const QSignalBlocker blocker(testData_);
    testData_->setCurrentIndex(choice == 2 ? 1 : 0);
}

void DebugPage::SetTracing(bool on, const QString& file) {
    const QSignalBlocker blocker(trace_);
    trace_->setChecked(on);
    const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    traceFile_->setText(on ? tr("writing to %1").arg(path) : QString());
    traceFile_->setToolTip(on ? path : QString());
}

QString DebugPage::TraceFileText() const {
    return traceFile_->text();
}

}  // namespace vekaton
