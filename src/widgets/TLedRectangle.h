#pragma once

#include "widgets/LedWidget.h"

namespace vekaton {

// A rectangular LED, lit while Active.
class TLedRectangle : public LedWidget {
    Q_OBJECT
  public:
    explicit TLedRectangle(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TLedRectangle"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    QSize sizeHint() const override { return {28, 14}; }
    QSize minimumSizeHint() const override { return {6, 4}; }

  protected:
    void PaintBevel(QPainter& painter, const QRectF& bounds) override;
    void PaintLens(QPainter& painter, const QRectF& bounds, bool active) override;

  private:
    double Ring(const QRectF& bounds) const;
};

}  // namespace vekaton
