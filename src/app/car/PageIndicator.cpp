#include "app/car/PageIndicator.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <algorithm>

namespace vekaton {
namespace {

constexpr int kDotPitch = 22;

}  // namespace

PageIndicator::PageIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName("PageIndicator");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    opacity_ = new QGraphicsOpacityEffect(this);
    opacity_->setOpacity(1.0);
    setGraphicsEffect(opacity_);
    fade_ = new QPropertyAnimation(opacity_, "opacity", this);
    fade_->setDuration(kFadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(fade_, &QPropertyAnimation::finished, this, &QWidget::hide);
    shown_.setSingleShot(true);
    shown_.setInterval(kShownMs);
    connect(&shown_, &QTimer::timeout, fade_, [this] { fade_->start(); });
    hide();
}

void PageIndicator::ShowPage(const QString& name, int index, int count) {
    name_ = name;
    index_ = index;
    count_ = count;
    fade_->stop();
    opacity_->setOpacity(1.0);
    Place();
    show();
    raise();
    update();
    shown_.start();
}

void PageIndicator::HideNow() {
    shown_.stop();
    fade_->stop();
    hide();
}

void PageIndicator::Reposition() {
    if (isVisible()) {
        Place();
    }
}

void PageIndicator::SetNightColours(const NightColours& night) {
    night_ = night;
    update();
}

void PageIndicator::Place() {
    const QWidget* parent = parentWidget();
    QFont big = font();
    big.setPixelSize(std::clamp(parent->height() / 22, 16, 40));
    big.setBold(true);
    setFont(big);
    const int textWidth = fontMetrics().horizontalAdvance(name_);
    const int width = std::max(textWidth, count_ * kDotPitch) + 48;
    const int height = fontMetrics().height() + kDotPitch + 28;
    setGeometry((parent->width() - width) / 2, parent->height() - height - parent->height() / 12,
                width, height);
}

void PageIndicator::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Light on dark: it sits over any page and must stand out from it; in the tint at night.
    const QColor ink = NightShade(QColor(240, 240, 240), ColourRole::Signal, night_);
    QPainterPath box;
    box.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    painter.fillPath(box, QColor(0, 0, 0, 190));
    painter.setPen(ink);
    const int textHeight = fontMetrics().height();
    painter.drawText(QRect(0, 10, width(), textHeight), Qt::AlignCenter, name_);
    const double y = 10 + textHeight + kDotPitch / 2.0 + 4;
    const double left = (width() - count_ * kDotPitch) / 2.0 + kDotPitch / 2.0;
    for (int i = 0; i < count_; ++i) {
        const QPointF centre(left + i * kDotPitch, y);
        painter.setPen(QPen(ink, 2));
        painter.setBrush(i == index_ ? QBrush(ink) : Qt::NoBrush);
        painter.drawEllipse(centre, 6, 6);
    }
}

}  // namespace vekaton
