#pragma once

#include "widgets/RangeInstrument.h"

#include <array>

namespace vekaton {

// A round dial: scale with major and minor ticks and labels, up to three coloured sections,
// a needle, markers at the lowest and highest position seen, title, units and a readout.
class TAngularGauge : public RangeInstrument {
    Q_OBJECT
  public:
    static constexpr int kSectionCount = 3;

    explicit TAngularGauge(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TAngularGauge"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    ColourValue NeedleColor() const { return needleColour_; }
    void SetNeedleColor(ColourValue colour);
    int ArcAngle() const { return arcAngle_; }
    void SetArcAngle(int degrees) { SetAppearance(arcAngle_, std::clamp(degrees, 90, 340)); }
    bool ShowValue() const { return showValue_; }
    void SetShowValue(bool show) { SetAppearance(showValue_, show); }
    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);

    // Sections are numbered 1 to kSectionCount; a section whose start equals its end is hidden.
    double SectionStart(int section) const;
    double SectionEnd(int section) const;
    ColourValue SectionColor(int section) const;
    void SetSection(int section, double start, double end, ColourValue colour);

    // The needle's angle in degrees, counter-clockwise from three o'clock.
    double NeedleAngle() const { return AngleOf(Position()); }

    QSize sizeHint() const override { return {200, 200}; }
    QSize minimumSizeHint() const override { return {60, 60}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;

  private:
    struct Section {
        double start = 0.0;
        double end = 0.0;
        ColourValue colour = 0;
    };
    struct Dial {
        QPointF centre;
        double radius = 0.0;  // of the face, inside the bezel
    };

    Dial DialIn(const QRectF& bounds) const;
    double AngleOf(double value) const;
    // A dial of 200 degrees or less keeps its lower half for the texts.
    bool HalfDial() const { return arcAngle_ <= 200; }
    QPointF PointAt(const Dial& dial, double angle, double radius) const;
    QRectF ReadoutRect(const Dial& dial) const;
    // Whether text of an automatic height can be read; fixed font heights always are.
    bool Legible(double automaticHeight) const;
    bool ReadoutShown(const Dial& dial) const;
    void PaintBezelAndFace(QPainter& painter, const Dial& dial) const;
    void PaintSections(QPainter& painter, const Dial& dial) const;
    void PaintTicksAndLabels(QPainter& painter, const Dial& dial) const;
    void PaintTexts(QPainter& painter, const Dial& dial) const;
    void PaintMarker(QPainter& painter, const Dial& dial, double value, const QColor& colour) const;
    void PaintNeedle(QPainter& painter, const Dial& dial) const;
    void PaintOverRange(QPainter& painter, const Dial& dial) const;
    QFont ReadoutFont(const QRectF& box) const;

    // Section accessors for the property table.
    template <int N>
    double SectionStartOf() const {
        return SectionStart(N);
    }
    template <int N>
    void SetSectionStartOf(double v) {
        SetSection(N, v, SectionEnd(N), SectionColor(N));
    }
    template <int N>
    double SectionEndOf() const {
        return SectionEnd(N);
    }
    template <int N>
    void SetSectionEndOf(double v) {
        SetSection(N, SectionStart(N), v, SectionColor(N));
    }
    template <int N>
    ColourValue SectionColorOf() const {
        return SectionColor(N);
    }
    template <int N>
    void SetSectionColorOf(ColourValue c) {
        SetSection(N, SectionStart(N), SectionEnd(N), c);
    }
    template <int N>
    static void AppendSection(PropertyTable& table, ColourValue colour);

    ColourValue needleColour_ = 0x0000FF;
    int arcAngle_ = 270;
    bool showValue_ = true;
    int decimals_ = 0;
    std::array<Section, kSectionCount> sections_{};
    QFont readoutFont_;  // chosen with the background
};

}  // namespace vekaton
