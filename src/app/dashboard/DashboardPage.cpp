#include "app/dashboard/DashboardPage.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

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
    if (Scaled()) {
        setMinimumSize(0, 0);
        if (!relayoutPending_) {
            relayoutPending_ = true;
            QTimer::singleShot(0, this, &DashboardPage::Relayout);
        }
        return;
    }
    QRect extent;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isHidden()) {
            extent = extent.united(widget->geometry());
        }
    }
    setMinimumSize(std::max(0, extent.right() + 2), std::max(0, extent.bottom() + 2));
}

void DashboardPage::SetScaled(bool on) {
    if (on == Scaled()) {
        return;
    }
    scaler_.SetEnabled(on);
    FitToItems();
    update();
}

QPoint DashboardPage::ToPage(QPoint widgetPoint) const {
    return scaler_.ToPage(QPointF(widgetPoint)).toPoint();
}

void DashboardPage::Relayout() {
    relayoutPending_ = false;
    scaler_.Relayout();
}

void DashboardPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (Scaled()) {
        Relayout();
    }
}

void DashboardPage::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* under = childAt(event->pos());
    emit menuRequested(under, event->pos(), event->globalPos());
    event->accept();
}

void DashboardPage::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Fine grids would be a grey blur: dots are drawn only where they stay apart. The grid is
    // the page's, drawn where the page's points are shown.
    const double scale = scaler_.Fit().scale;
    if (!gridVisible_ || gridStep_ * scale < 4) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    const QRect area = event->rect();
    const QPointF topLeft = scaler_.ToPage(QPointF(area.topLeft()));
    const QPointF bottomRight = scaler_.ToPage(QPointF(area.bottomRight()));
    const int firstX = static_cast<int>(std::floor(topLeft.x() / gridStep_)) * gridStep_;
    const int firstY = static_cast<int>(std::floor(topLeft.y() / gridStep_)) * gridStep_;
    for (int y = std::max(0, firstY); y <= bottomRight.y(); y += gridStep_) {
        for (int x = std::max(0, firstX); x <= bottomRight.x(); x += gridStep_) {
            painter.drawPoint(scaler_.ToScreen(QPointF(x, y)));
        }
    }
}

}  // namespace vekaton
