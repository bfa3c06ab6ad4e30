#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// A push button drawn in the platform's style with the caption in the button's font. Clicked by
// the mouse (press and release on it) or by Space or Enter when it has the focus.
class TButton : public InstrumentWidget {
    Q_OBJECT
  public:
    explicit TButton(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TButton"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { SetAppearance(caption_, caption); }
    bool Pressed() const { return pressed_; }

    QSize sizeHint() const override { return {75, 25}; }
    QSize minimumSizeHint() const override { return {16, 10}; }

  signals:
    void clicked();

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& /*painter*/, const QRectF& /*bounds*/) override {}
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void SetPressed(bool pressed);

    QString caption_;
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace vekaton
