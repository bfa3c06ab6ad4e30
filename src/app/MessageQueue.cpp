#include "app/MessageQueue.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <utility>

namespace vekaton {

namespace {

constexpr int kDetailedBoxWidth = 460;
constexpr int kExampleChars = 300;

}  // namespace

MessageQueue::MessageQueue(QWidget* parent) : QObject(parent), parent_(parent) {}

void MessageQueue::Post(const QString& text, const QString& informative, const QString& details) {
    Post(WindowMessage{text, informative, details});
}

void MessageQueue::Post(const WindowMessage& message) {
    if (message.text.isEmpty() || (box_ != nullptr && message == current_) ||
        waiting_.contains(message)) {
        return;
    }
    if (waiting_.size() >= kMaxWaiting) {
        Overflow(message);
        return;
    }
    posted_.append(message);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(message.text));
    if (!message.informative.isEmpty()) {
        std::fprintf(stderr, "  %s\n", qPrintable(message.informative));
    }
    waiting_.append(message);
    if (box_ == nullptr) {
        ShowNext();
    }
}

void MessageQueue::Overflow(const WindowMessage& message) {
    if (overflowExamples_.contains(message.text)) {
        return;
    }
    ++overflowCount_;
    if (overflowExamples_.size() < kExamples) {
        overflowExamples_.append(message.text.left(kExampleChars));
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(message.text));
    }
}

WindowMessage MessageQueue::OverflowMessage() const {
    WindowMessage message;
    message.text = overflowCount_ == 1
                       ? tr("1 more message came while the ones before were waiting to be read.")
                       : tr("%1 more messages came while the ones before were waiting to be read.")
                             .arg(overflowCount_);
    message.informative = (overflowCount_ > overflowExamples_.size()
                               ? tr("The first %1 of them (the others are only counted):")
                                     .arg(overflowExamples_.size())
                               : tr("They were:")) +
                          "\n\n" + overflowExamples_.join("\n\n");
    return message;
}

QStringList MessageQueue::Posted() const {
    QStringList texts;
    for (const WindowMessage& message : posted_) {
        texts.append(message.text);
    }
    return texts;
}

void MessageQueue::WhenIdle(std::function<void()> then) {
    if (box_ == nullptr && waiting_.isEmpty()) {
        then();
        return;
    }
    whenIdle_.append(std::move(then));
}

void MessageQueue::ShowNext() {
    if (waiting_.isEmpty() && overflowCount_ > 0) {
        // Room again: the messages that did not fit come as one.
        const WindowMessage summary = OverflowMessage();
        overflowCount_ = 0;
        overflowExamples_.clear();
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(summary.text));
        posted_.append(summary);
        waiting_.append(summary);
    }
    if (waiting_.isEmpty()) {
        current_ = {};
        // Run after the box is gone, outside its signal.
        const QList<std::function<void()>> idle = std::exchange(whenIdle_, {});
        for (const auto& then : idle) {
            QTimer::singleShot(0, this, then);
        }
        return;
    }
    current_ = waiting_.takeFirst();
    box_ = new QMessageBox(QMessageBox::Warning, parent_->windowTitle(), current_.text,
                           QMessageBox::Ok, parent_);
    box_->setInformativeText(current_.informative);
    box_->setDetailedText(current_.details);
    if (!current_.details.isEmpty()) {
        // Details are lines of a formula and a builder's message: room for them to stay whole.
        if (auto* grid = qobject_cast<QGridLayout*>(box_->layout())) {
            grid->addItem(
                new QSpacerItem(kDetailedBoxWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    box_->setAttribute(Qt::WA_DeleteOnClose);
    box_->setWindowModality(Qt::WindowModal);
    connect(box_, &QMessageBox::finished, this, [this] {
        box_ = nullptr;
        ShowNext();
    });
    box_->open();
}

}  // namespace vekaton
