#pragma once

#include "dashboard/PageFit.h"

#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace vekaton {

class InstrumentWidget;

// Draws a dashboard page scaled to fill its widget: the items keep their page geometry (what
// layouts save and design mode edits) and are shown at that geometry mapped through the page's
// fit, proportions kept, the spare room centred. Items inside an item (a digital LED in its
// panel) scale with it.
class PageScaler {
  public:
    explicit PageScaler(QWidget* page);

    // On: lays the page out scaled; off: every item back at its page geometry.
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }
    // Lays the items out again for the page's size: after a resize, or items added, moved or
    // removed. Items without a page geometry yet take their present one as it.
    void Relayout();

    const PageFit& Fit() const { return fit_; }
    // Between the page widget's pixels and page coordinates (identity while off).
    QPointF ToPage(const QPointF& screen) const;
    QPointF ToScreen(const QPointF& page) const;
    QRect ToScreen(const QRect& page) const;

  private:
    void Restore();

    QPointer<QWidget> page_;
    bool enabled_ = false;
    PageFit fit_;
};

}  // namespace vekaton
