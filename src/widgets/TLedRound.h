#pragma once

#include "widgets/LedWidget.h"

namespace vekaton {

// A round LED, lit while Active.
class TLedRound : public LedWidget {
    Q_OBJECT
  public:
    explicit TLedRound(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TLedRound"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    QSize sizeHint() const override { return {17, 17}; }
    QSize minimumSizeHint() const override { return {6, 6}; }

  protected:
    void PaintBevel(QPainter& painter, const QRectF& bounds) override;
    void PaintLens(QPainter& painter, const QRectF& bounds, bool active) override;
};

}  // namespace vekaton
