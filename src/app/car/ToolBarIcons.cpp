#include "app/car/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vekaton {
namespace {

constexpr int kSide = 64;

void Draw(QPainter& p, ToolBarPicture picture, const NightColours& night) {
    const QColor ink = NightShade(QColor(70, 70, 70), ColourRole::Ink, night);
    const auto signal = [&night](const QColor& day) {
        return NightShade(day, ColourRole::Signal, night);
    };
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (picture) {
        case ToolBarPicture::Run: {
            p.setBrush(signal(QColor(30, 150, 60)));
            const QPointF triangle[] = {{18, 10}, {54, 32}, {18, 54}};
            p.drawPolygon(triangle, 3);
            break;
        }
        case ToolBarPicture::Pause:
            p.drawRoundedRect(QRectF(14, 10, 13, 44), 3, 3);
            p.drawRoundedRect(QRectF(37, 10, 13, 44), 3, 3);
            break;
        case ToolBarPicture::Record:
            p.setBrush(signal(QColor(210, 30, 30)));
            p.drawEllipse(QPointF(32, 32), 20, 20);
            break;
        case ToolBarPicture::Previous: {
            const QPointF arrow[] = {{42, 8}, {16, 32}, {42, 56}, {50, 48}, {32, 32}, {50, 16}};
            p.drawPolygon(arrow, 6);
            break;
        }
        case ToolBarPicture::Next: {
            const QPointF arrow[] = {{22, 8}, {48, 32}, {22, 56}, {14, 48}, {32, 32}, {14, 16}};
            p.drawPolygon(arrow, 6);
            break;
        }
        case ToolBarPicture::FullScreen: {
            p.setPen(QPen(ink, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            for (const auto& corner :
                 {QPointF(10, 10), QPointF(54, 10), QPointF(54, 54), QPointF(10, 54)}) {
                const double dx = corner.x() < 32 ? 14 : -14;
                const double dy = corner.y() < 32 ? 14 : -14;
                const QPointF path[] = {
                    {corner.x(), corner.y() + dy}, corner, {corner.x() + dx, corner.y()}};
                p.drawPolyline(path, 3);
            }
            break;
        }
        case ToolBarPicture::Night: {
            QPainterPath moon;
            moon.addEllipse(QPointF(32, 32), 22, 22);
            QPainterPath bite;
            bite.addEllipse(QPointF(44, 24), 20, 20);
            p.setBrush(signal(QColor(230, 150, 40)));
            p.drawPath(moon.subtracted(bite));
            break;
        }
    }
}

}  // namespace

QIcon ToolBarIcon(ToolBarPicture picture, const NightColours& night) {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, picture, night);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace vekaton
