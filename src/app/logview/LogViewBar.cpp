#include "app/logview/LogViewBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace vekaton {

LogViewBar::LogViewBar(QWidget* parent) : QWidget(parent) {
    setObjectName("LogViewBar");
    scroll_ = new QScrollBar(Qt::Horizontal);
    scroll_->setObjectName("LogScroll");
    name_ = new QLabel;
    name_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    warning_ = new QLabel;
    warning_->setStyleSheet("color: #c05000;");
    warning_->setWordWrap(true);
    warning_->hide();
    cursor_ = new QLabel;
    // Long names and cursor read-outs are cut, never widening the window past a small screen;
    // the whole text stays in the tooltip.
    for (QLabel* label : {name_, cursor_}) {
        label->setMinimumWidth(60);
    }
    auto* play = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), tr("Play"));
    play->setObjectName("PlayFromCursor");
    play->setToolTip(tr("Play the log in real time from cursor A (or its start)"));
    auto* exportCsv = new QPushButton(tr("Export CSV..."));
    exportCsv->setObjectName("ExportCsvButton");
    auto* close = new QPushButton(tr("Close Log"));
    close->setObjectName("CloseLogButton");
    close->setToolTip(tr("Back to the live chart (Ctrl+W)"));

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(name_);
    row->addStretch(1);
    row->addWidget(cursor_);
    row->addWidget(play);
    row->addWidget(exportCsv);
    row->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(scroll_);
    layout->addLayout(row);
    layout->addWidget(warning_);

    connect(close, &QPushButton::clicked, this, &LogViewBar::closeClicked);
    connect(exportCsv, &QPushButton::clicked, this, &LogViewBar::exportClicked);
    connect(play, &QPushButton::clicked, this, &LogViewBar::playClicked);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!showing_) {
            emit scrolled(value);
        }
    });
}

void LogViewBar::ShowLog(const QString& name, std::int64_t frames, double seconds) {
    name_->setText(tr("<b>%1</b> &nbsp; %2 frames, %3 s")
                       .arg(name.toHtmlEscaped())
                       .arg(frames)
                       .arg(seconds, 0, 'f', 1));
    name_->setToolTip(name_->text());
}

void LogViewBar::ShowWarning(const QString& warning) {
    warning_->setText(warning);
    warning_->setVisible(!warning.isEmpty());
}

void LogViewBar::ShowCursor(const QString& text) {
    cursorText_ = text;
    cursor_->setText(text);
    cursor_->setToolTip(text);
}

void LogViewBar::ShowNote(const QString& text) {
    cursor_->setText(text);
    QTimer::singleShot(5000, cursor_, [this, text] {
        if (cursor_->text() == text) {
            cursor_->setText(cursorText_);
        }
    });
}

void LogViewBar::ShowWindow(std::int64_t first, std::int64_t visible, std::int64_t frames) {
    showing_ = true;
    const auto clampInt = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT32_MAX));
    };
    scroll_->setRange(0, clampInt(frames - visible));
    scroll_->setPageStep(std::max(1, clampInt(visible)));
    scroll_->setSingleStep(std::max(1, clampInt(visible / 20)));
    scroll_->setValue(clampInt(first));
    showing_ = false;
}

}  // namespace vekaton
