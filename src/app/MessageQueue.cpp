#include "app/MessageQueue.h"

#include <QMessageBox>
#include <QWidget>
#include <cstdio>

namespace vekaton {

MessageQueue::MessageQueue(QWidget* parent) : QObject(parent), parent_(parent) {}

void MessageQueue::Post(const QString& text) {
    if (text.isEmpty() || text == current_ || waiting_.contains(text)) {
        return;
    }
    posted_.append(text);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    waiting_.append(text);
    if (box_ == nullptr) {
        ShowNext();
    }
}

void MessageQueue::ShowNext() {
    if (waiting_.isEmpty()) {
        current_.clear();
        return;
    }
    current_ = waiting_.takeFirst();
    box_ = new QMessageBox(QMessageBox::Warning, parent_->windowTitle(), current_, QMessageBox::Ok,
                           parent_);
    box_->setAttribute(Qt::WA_DeleteOnClose);
    box_->setWindowModality(Qt::WindowModal);
    connect(box_, &QMessageBox::finished, this, [this] {
        box_ = nullptr;
        ShowNext();
    });
    box_->open();
}

}  // namespace vekaton
