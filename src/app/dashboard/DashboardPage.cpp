#include "app/dashboard/DashboardPage.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "session/SetLayout.h"

namespace vekaton {

DashboardPage::DashboardPage(int index, QWidget* parent) : QWidget(parent), index_(index) {
    setObjectName(QString::fromStdString(DashboardPageName(index)));  // as the layout names it
    setAutoFillBackground(true);
}

void DashboardPage::SetGridVisible(bool visible, int step) {
    if (visible != gridVisible_ || step != gridStep_) {
        gridVisible_ = visible;
        gridStep_ = std::max(1, step);
        update();
    }
}

void DashboardPage::FitToItems() {
    QRect extent;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isHidden()) {
            extent = extent.united(widget->geometry());
        }
    }
    setMinimumSize(std::max(0, extent.right() + 2), std::max(0, extent.bottom() + 2));
}

void DashboardPage::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* under = childAt(event->pos());
    emit menuRequested(under, event->pos(), event->globalPos());
    event->accept();
}

void DashboardPage::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Fine grids would be a grey blur: dots are drawn only where they stay apart.
    if (!gridVisible_ || gridStep_ < 4) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    const QRect area = event->rect();
    const int firstX = area.left() / gridStep_ * gridStep_;
    const int firstY = area.top() / gridStep_ * gridStep_;
    for (int y = firstY; y <= area.bottom(); y += gridStep_) {
        for (int x = firstX; x <= area.right(); x += gridStep_) {
            painter.drawPoint(x, y);
        }
    }
}

}  // namespace vekaton
