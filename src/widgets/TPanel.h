#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// A panel: a filled box with an optional bevel and a caption, holding other widgets (the
// digital LED of a dashboard sits in one).
class TPanel : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Alignment { kAlignLeft, kAlignRight, kAlignCenter };
    enum Bevel { kBevelNone, kBevelLowered, kBevelRaised };

    explicit TPanel(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TPanel"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { SetAppearance(caption_, caption); }
    int TextAlignment() const { return alignment_; }
    void SetTextAlignment(int alignment) { SetAppearance(alignment_, std::clamp(alignment, 0, 2)); }
    int BevelStyle() const { return bevel_; }
    void SetBevelStyle(int bevel) { SetAppearance(bevel_, std::clamp(bevel, 0, 2)); }

    QSize sizeHint() const override { return {185, 41}; }
    QSize minimumSizeHint() const override { return {4, 4}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& /*painter*/, const QRectF& /*bounds*/) override {}

  private:
    QString caption_;
    int alignment_ = kAlignCenter;
    int bevel_ = kBevelRaised;
};

}  // namespace vekaton
