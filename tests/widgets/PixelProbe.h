#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <functional>

namespace vekaton::testing {

// Looking at rendered pixels the way a person checks a drawing: along a ray, at a point, or for
// a piece of text. The expected places come from what the instrument shows (a value on its
// scale), never from the drawing code itself.

// The point at `radius` from `centre` in the direction `degrees`, counter-clockwise from three
// o'clock, in image pixels (y grows downwards).
QPointF OnRay(const QPointF& centre, double degrees, double radius);

// The colour at a point of the image (pixel ratio 1), or invalid outside it.
QColor ColourAt(const QImage& image, const QPointF& point);

// The share (0 to 1) of points along the ray from `from` to `to` (radii) whose colour passes.
double ShareAlongRay(const QImage& image, const QPointF& centre, double degrees, double from,
                     double to, const std::function<bool(const QColor&)>& passes);

// Whether a colour is close to another (each channel within `tolerance`).
bool NearColour(const QColor& colour, const QColor& wanted, int tolerance = 40);

// How well `text` in `font`, dark on light, matches the image best anywhere within `within`
// pixels of the points along the ray from radius `from` to `to`: 1 for the same dark pixels,
// about 0 for nothing alike (normalised cross-correlation of darkness).
double TextMatchAlongRay(const QImage& image, const QString& text, const QFont& font,
                         const QPointF& centre, double degrees, double from, double to,
                         double within);

// Saves a rendered image for a person to look at, under the build's "gallery" folder.
void SaveForReview(const QImage& image, const QString& name);

}  // namespace vekaton::testing
