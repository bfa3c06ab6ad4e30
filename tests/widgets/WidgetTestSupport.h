#pragma once

#include <QImage>
#include <QWidget>

namespace vekaton::testing {

// Renders a widget offscreen at a device pixel ratio, on a plain background.
QImage RenderWidget(QWidget& widget, double pixelRatio = 1.0,
                    const QColor& background = QColor(232, 232, 232));

// The number of distinct colours in an image (a blank image has one).
int DistinctColours(const QImage& image);

// The share of pixels (0 to 1) that differ between two images of the same size.
double DifferingShare(const QImage& a, const QImage& b);

}  // namespace vekaton::testing
