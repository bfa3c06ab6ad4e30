#pragma once

#include "widgets/InstrumentWidget.h"

#include <QStringList>

namespace vekaton {

// A slide switch with two or more stops, each with a caption; the user moves it by clicking,
// dragging or with the arrow keys.
class TSliderSwitch : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Orientation { kHorizontal, kVertical };

    explicit TSliderSwitch(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TSliderSwitch"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    // The stop the switch stands at, 0 to PositionCount() - 1.
    int Position() const { return position_; }
    void SetPosition(int position);
    int PositionCount() const { return positionCount_; }
    void SetPositionCount(int count);
    // The stops' captions, separated by commas ("Off,On").
    QString Captions() const { return captions_; }
    void SetCaptions(const QString& captions) { SetAppearance(captions_, captions); }
    int SwitchOrientation() const { return orientation_; }
    void SetSwitchOrientation(int orientation) {
        SetAppearance(orientation_, std::clamp(orientation, 0, 1));
    }
    ColourValue ActiveColor() const { return activeColour_; }
    void SetActiveColor(ColourValue colour);
    ColourValue ThumbColor() const { return thumbColour_; }
    void SetThumbColor(ColourValue colour);

    QString CaptionOf(int stop) const;
    // The stop nearest to a point of the widget.
    int StopAt(const QPointF& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The user moved the switch.
    void PositionChanged(int position);

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF Track(const QRectF& bounds) const;
    QRectF StopRect(const QRectF& bounds, int stop) const;
    void MoveByUser(int position);

    int position_ = 0;
    int positionCount_ = 2;
    QString captions_ = QStringLiteral("Off,On");
    int orientation_ = kHorizontal;
    ColourValue activeColour_ = RgbColour(40, 170, 70);
    ColourValue thumbColour_ = RgbColour(245, 245, 245);
};

}  // namespace vekaton
