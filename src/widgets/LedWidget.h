#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// What the round and the rectangular LED share: on or off, the two colours (the dark one
// optionally derived from the lit one) and the bevel around the lens.
class LedWidget : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Bevel { kBevelNone, kBevelLowered, kBevelRaised };

    explicit LedWidget(QWidget* parent = nullptr);

    bool Active() const { return active_; }
    void SetActive(bool active);
    ColourValue ActiveColor() const { return activeColour_; }
    void SetActiveColor(ColourValue colour);
    ColourValue InactiveColor() const { return inactiveColour_; }
    void SetInactiveColor(ColourValue colour);
    // When on, the dark colour is a dim version of the lit one and InactiveColor is unused.
    bool AutoInactiveColor() const { return autoInactiveColour_; }
    void SetAutoInactiveColor(bool on);
    int BevelStyle() const { return bevel_; }
    void SetBevelStyle(int bevel) { SetAppearance(bevel_, std::clamp(bevel, 0, 2)); }

    // The colour the lens shows now, and in either state. A warning lights the lens in the
    // warning colour, whatever the bit says.
    QColor LensColour() const { return LensColour(active_ || WarningShown()); }
    QColor LensColour(bool active) const;

  protected:
    template <class W>
    static void AppendLedProperties(PropertyTable& table);
    // The lit and unlit lens share a gradient; the lit one glows a little brighter.
    QGradientStops LensStops(const QColor& colour, bool active) const;

    // The bevel goes into the cached background, the lens of each state into a picture of
    // its own, so that switching costs one blit.
    virtual void PaintBevel(QPainter& painter, const QRectF& bounds) = 0;
    virtual void PaintLens(QPainter& painter, const QRectF& bounds, bool active) = 0;
    void PaintStatic(QPainter& painter, const QRectF& bounds) final;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) final;
    // The bevel ring's gradient from the top-left corner to the bottom-right one of box.
    QLinearGradient BevelGradient(const QRectF& box) const;

  private:
    bool active_ = false;
    ColourValue activeColour_ = RgbColour(0, 255, 0);
    ColourValue inactiveColour_ = RgbColour(0, 64, 0);
    bool autoInactiveColour_ = true;
    int bevel_ = kBevelLowered;
    QPixmap litLens_;
    QPixmap darkLens_;
};

template <class W>
void LedWidget::AppendLedProperties(PropertyTable& table) {
    table.push_back(BooleanProperty<W>("Active", false, &W::Active, &W::SetActive));
    table.push_back(ColourProperty<W>("ActiveColor", RgbColour(0, 255, 0), &W::ActiveColor,
                                      &W::SetActiveColor));
    table.push_back(ColourProperty<W>("InactiveColor", RgbColour(0, 64, 0), &W::InactiveColor,
                                      &W::SetInactiveColor));
    table.push_back(BooleanProperty<W>("AutoInactiveColor", true, &W::AutoInactiveColor,
                                       &W::SetAutoInactiveColor));
    table.push_back(ChoiceProperty<W>("Bevel", {"bvNone", "bvLowered", "bvRaised"}, kBevelLowered,
                                      &W::BevelStyle, &W::SetBevelStyle));
}

}  // namespace vekaton
