#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// A dashboard label: a caption in the label's font, on its colour unless transparent. With
// AutoSize (the default) it is as large as its text.
class TLabel : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Alignment { kAlignLeft, kAlignRight, kAlignCenter };

    explicit TLabel(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TLabel"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { SetAppearance(caption_, caption); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { SetAppearance(transparent_, on); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on) { SetAppearance(autoSize_, on); }
    int TextAlignment() const { return alignment_; }
    void SetTextAlignment(int alignment) { SetAppearance(alignment_, std::clamp(alignment, 0, 2)); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {4, 4}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& /*painter*/, const QRectF& /*bounds*/) override {}
    void StreamedImported() override { FitText(); }
    void AppearanceChanged() override { FitText(); }
    void changeEvent(QEvent* event) override;

  private:
    void FitText();

    QString caption_;
    bool transparent_ = false;
    bool autoSize_ = true;
    int alignment_ = kAlignLeft;
};

}  // namespace vekaton
