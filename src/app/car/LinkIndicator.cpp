#include "app/car/LinkIndicator.h"

#include <QPainter>
#include <QPainterPath>

#include "app/AppTexts.h"

namespace vekaton {

LinkIndicator::LinkIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName("LinkIndicator");
    Show(LinkState::Stopped, 0);
}

void LinkIndicator::Show(LinkState state, std::uint64_t checksumErrors) {
    if (checksumErrors > checksumErrors_) {
        sinceChecksumError_.start();
    }
    checksumErrors_ = checksumErrors;
    const bool trouble = sinceChecksumError_.isValid() &&
                         !sinceChecksumError_.hasExpired(kChecksumTroubleMs) &&
                         state == LinkState::Running;
    QString text;
    Look look = Look::Quiet;
    switch (state) {
        case LinkState::Running:
            text = trouble ? tr("Checksum errors") : tr(texts::kLinkRunning);
            look = trouble ? Look::Trouble : Look::Flowing;
            break;
        case LinkState::Playback:
            text = tr(texts::kLinkPlayback);
            look = Look::Flowing;
            break;
        case LinkState::NoData:
            text = tr(texts::kLinkNoData);
            break;
        case LinkState::Stopped:
            text = tr(texts::kLinkStopped);
            break;
    }
    if (text != text_ || look != look_) {
        text_ = text;
        look_ = look;
        updateGeometry();
        update();
    }
}

void LinkIndicator::SetNightColours(const NightColours& night) {
    night_ = night;
    update();
}

QColor LinkIndicator::DotColour() const {
    switch (look_) {
        case Look::Flowing:
            return NightShade(QColor(40, 190, 70), ColourRole::Signal, night_);
        case Look::Trouble:
            return WarningInk(night_);
        case Look::Quiet:
            break;
    }
    return NightShade(QColor(150, 150, 150), ColourRole::Signal, night_);
}

QSize LinkIndicator::sizeHint() const {
    const QFontMetrics metrics(font());
    const int height = metrics.height() + 8;
    return {metrics.horizontalAdvance(text_) + height + 12, height};
}

void LinkIndicator::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), height() / 2.0,
                       height() / 2.0);
    painter.fillPath(box, QColor(0, 0, 0, 170));
    const double radius = height() * 0.28;
    const QPointF centre(height() / 2.0, height() / 2.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DotColour());
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(NightShade(QColor(230, 230, 230), ColourRole::Signal, night_));
    painter.drawText(QRect(height(), 0, width() - height() - 6, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text_);
}

}  // namespace vekaton
