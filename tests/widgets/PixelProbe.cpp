#include "PixelProbe.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

namespace vekaton::testing {
namespace {

// 0 for white, 1 for black.
double Darkness(QRgb pixel) {
    return 1.0 - qGray(pixel) / 255.0;
}

struct Template {
    int width = 0;
    int height = 0;
    std::vector<double> darkness;  // row by row
};

// The text's ink, cut to where it is dark.
Template InkOf(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    const QSize room(metrics.horizontalAdvance(text) + 8, metrics.height() + 8);
    QImage image(room, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(0, 0), room), Qt::AlignCenter, text);
    }
    int left = room.width();
    int right = -1;
    int top = room.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Darkness(image.pixel(x, y)) > 0.2) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    Template ink;
    if (right < left) {
        return ink;
    }
    ink.width = right - left + 1;
    ink.height = bottom - top + 1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            ink.darkness.push_back(Darkness(image.pixel(x, y)));
        }
    }
    return ink;
}

double Correlation(const QImage& image, const Template& ink, int left, int top) {
    const std::size_t n = ink.darkness.size();
    double meanImage = 0.0;
    double meanInk = 0.0;
    std::vector<double> patch(n);
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * ink.width + x);
            patch[i] = Darkness(image.pixel(left + x, top + y));
            meanImage += patch[i];
            meanInk += ink.darkness[i];
        }
    }
    meanImage /= static_cast<double>(n);
    meanInk /= static_cast<double>(n);
    double both = 0.0;
    double imageOnly = 0.0;
    double inkOnly = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = patch[i] - meanImage;
        const double b = ink.darkness[i] - meanInk;
        both += a * b;
        imageOnly += a * a;
        inkOnly += b * b;
    }
    return imageOnly > 0 && inkOnly > 0 ? both / std::sqrt(imageOnly * inkOnly) : 0.0;
}

}  // namespace

QPointF OnRay(const QPointF& centre, double degrees, double radius) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

QColor ColourAt(const QImage& image, const QPointF& point) {
    const QPoint pixel(static_cast<int>(std::floor(point.x())),
                       static_cast<int>(std::floor(point.y())));
    return image.rect().contains(pixel) ? QColor(image.pixel(pixel)) : QColor();
}

double ShareAlongRay(const QImage& image, const QPointF& centre, double degrees, double from,
                     double to, const std::function<bool(const QColor&)>& passes) {
    int count = 0;
    int passing = 0;
    for (double r = from; r <= to; r += 0.5) {
        ++count;
        passing += passes(ColourAt(image, OnRay(centre, degrees, r))) ? 1 : 0;
    }
    return count > 0 ? static_cast<double>(passing) / count : 0.0;
}

bool NearColour(const QColor& colour, const QColor& wanted, int tolerance) {
    return colour.isValid() && std::abs(colour.red() - wanted.red()) <= tolerance &&
           std::abs(colour.green() - wanted.green()) <= tolerance &&
           std::abs(colour.blue() - wanted.blue()) <= tolerance;
}

double TextMatchAlongRay(const QImage& image, const QString& text, const QFont& font,
                         const QPointF& centre, double degrees, double from, double to,
                         double within) {
    const Template ink = InkOf(text, font);
    if (ink.width == 0) {
        return 0.0;
    }
    std::set<std::pair<int, int>> corners;  // top left corners of the places tried
    const int reach = static_cast<int>(std::ceil(within));
    for (double r = from; r <= to; r += 1.0) {
        const QPointF point = OnRay(centre, degrees, r);
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                if (dx * dx + dy * dy > within * within) {
                    continue;
                }
                const int left = static_cast<int>(std::lround(point.x() - ink.width / 2.0)) + dx;
                const int top = static_cast<int>(std::lround(point.y() - ink.height / 2.0)) + dy;
                if (left >= 0 && top >= 0 && left + ink.width <= image.width() &&
                    top + ink.height <= image.height()) {
                    corners.insert({left, top});
                }
            }
        }
    }
    double best = 0.0;
    for (const auto& [left, top] : corners) {
        best = std::max(best, Correlation(image, ink, left, top));
    }
    return best;
}

void SaveForReview(const QImage& image, const QString& name) {
    const QString dir = QStringLiteral(VEKATON_BINARY_DIR "/gallery");
    QDir().mkpath(dir);
    image.save(dir + "/" + name + ".png");
}

}  // namespace vekaton::testing
