#include "WidgetTestSupport.h"

#include <QPainter>

#include <cmath>
#include <unordered_set>

namespace vekaton::testing {

QImage RenderWidget(QWidget& widget, double pixelRatio, const QColor& background) {
    const QSize pixels(static_cast<int>(std::ceil(widget.width() * pixelRatio)),
                       static_cast<int>(std::ceil(widget.height() * pixelRatio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int DistinctColours(const QImage& image) {
    std::unordered_set<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        colours.insert(line, line + rgb.width());
    }
    return static_cast<int>(colours.size());
}

double DifferingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) {
        return 1.0;
    }
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    long differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            differing += p[col] != q[col] ? 1 : 0;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

}  // namespace vekaton::testing
