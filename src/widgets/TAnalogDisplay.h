#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// A numeric display: prefix, the Value with a fixed precision, suffix, and an optional caption,
// in a bevelled box.
class TAnalogDisplay : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Alignment { kAlignLeft, kAlignRight, kAlignCenter };
    enum Bevel { kBevelNone, kBevelLowered, kBevelRaised };

    explicit TAnalogDisplay(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TAnalogDisplay"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    double Value() const { return value_; }
    // A value that is not a number is ignored.
    void SetValue(double value);
    int Precision() const { return precision_; }
    void SetPrecision(int decimals);
    QString Prefix() const { return prefix_; }
    void SetPrefix(const QString& prefix);
    QString Suffix() const { return suffix_; }
    void SetSuffix(const QString& suffix);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { SetAppearance(caption_, caption); }
    int TextAlignment() const { return alignment_; }
    void SetTextAlignment(int alignment) { SetAppearance(alignment_, std::clamp(alignment, 0, 2)); }
    int BevelStyle() const { return bevel_; }
    void SetBevelStyle(int bevel) { SetAppearance(bevel_, std::clamp(bevel, 0, 2)); }

    // No value to show (the formula faulted): a dash in place of the number until the next value.
    bool NoValue() const { return noValue_; }
    void SetNoValue(bool noValue);

    // The text shown for the value: prefix, number, suffix.
    QString DisplayText() const;

    QSize sizeHint() const override { return {140, 44}; }
    QSize minimumSizeHint() const override { return {30, 14}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;

  private:
    QRectF ValueArea(const QRectF& bounds) const;

    double value_ = 0.0;
    bool noValue_ = false;
    int precision_ = 2;
    QString prefix_;
    QString suffix_;
    QString caption_;
    int alignment_ = kAlignRight;
    int bevel_ = kBevelLowered;
};

}  // namespace vekaton
