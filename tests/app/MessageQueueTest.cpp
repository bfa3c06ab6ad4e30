// The window's message boxes: a burst of distinct messages (a reader or a fault that warns once
// per item) becomes a few boxes and one that counts the rest and shows the first few.
#include <gtest/gtest.h>

#include <QWidget>

#include "QtApp.h"
#include "app/MessageQueue.h"

namespace vekaton {
namespace {

// Closes the box showing now; false when none is.
bool Dismiss(MessageQueue& queue) {
    if (queue.Box() == nullptr) {
        return false;
    }
    queue.Box()->done(QMessageBox::Ok);
    return true;
}

TEST(MessageQueueTest, AThousandDistinctMessagesBecomeAFewBoxesAndOneCount) {
    testing::TestApp();
    QWidget window;
    MessageQueue queue(&window);
    for (int i = 0; i < 1000; ++i) {
        queue.Post(QString("Channel %1 is not a position of this set.").arg(i));
    }
    int boxes = 0;
    QString last;
    QString lastInformative;
    while (queue.Showing()) {
        last = queue.Box()->text();
        lastInformative = queue.Box()->informativeText();
        ASSERT_TRUE(Dismiss(queue));
        ++boxes;
        ASSERT_LT(boxes, 50) << "a box per message";
    }
    // The one showing, those waiting behind it, and the count.
    EXPECT_EQ(boxes, 1 + MessageQueue::kMaxWaiting + 1);
    const int counted = 1000 - 1 - MessageQueue::kMaxWaiting;
    EXPECT_TRUE(last.startsWith(QString::number(counted) + " more messages")) << last.toStdString();
    EXPECT_TRUE(lastInformative.contains("Channel 11 ")) << lastInformative.toStdString();
    EXPECT_TRUE(lastInformative.contains("Channel 13 ")) << lastInformative.toStdString();
    EXPECT_FALSE(lastInformative.contains("Channel 14 ")) << "only the first few";

    // Afterwards messages are boxes of their own again.
    queue.Post("One more.");
    ASSERT_TRUE(queue.Showing());
    EXPECT_EQ(queue.Box()->text(), "One more.");
    Dismiss(queue);
}

}  // namespace
}  // namespace vekaton
