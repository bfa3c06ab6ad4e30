#pragma once

#include "dashboard/PropertyBag.h"
#include "widgets/PropertyAccess.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <optional>
#include <string_view>
#include <vector>

namespace vekaton {

class RepaintThrottle;

// The font a widget kind starts with. Height 0 means the text follows the widget's size.
struct FontDefaults {
    QString name = QStringLiteral("Sans Serif");
    int height = 0;
    ColourValue colour = kColourWindowText;
    int style = 0;  // FontStyle flags
};

enum FontStyle { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

// Base of every instrument: named properties from the kind's table, the font and background
// colour they all have, a cached picture of what does not move, and repaints throttled to the
// screen's refresh.
//
// Painting is split in two: PaintStatic draws into a pixmap kept at the device's pixel ratio and
// redrawn only after InvalidateStatic (size, range or appearance changed); PaintDynamic draws
// the moving parts over it on every repaint. Value setters store the value and call
// RequestRepaint, which costs next to nothing however often it is called.
class InstrumentWidget : public QWidget {
    Q_OBJECT
  public:
    explicit InstrumentWidget(QWidget* parent = nullptr);
    ~InstrumentWidget() override;

    // The kind's class name as the layout file writes it ("TAngularGauge").
    virtual const char* ClassName() const = 0;
    virtual const PropertyTable& Properties() const = 0;

    std::vector<PropertyDescriptor> Descriptors() const;
    // Every property's current value, in table order.
    PropertyBag ExportProperties() const;
    // Sets the properties found in the bag, in table order (so ranges are set before the values
    // they clamp); unknown names and values of an unusable type are skipped and returned.
    std::vector<std::string> ImportProperties(const PropertyBag& bag);
    std::optional<PropertyValue> Property(std::string_view name) const;
    bool SetProperty(std::string_view name, const PropertyValue& value);
    void ResetToDefaults();

    ColourValue Color() const { return colour_; }
    void SetColor(ColourValue colour);
    QString FontName() const { return fontName_; }
    void SetFontName(const QString& name);
    int FontHeight() const { return fontHeight_; }
    void SetFontHeight(int height);
    ColourValue FontColor() const { return fontColour_; }
    void SetFontColor(ColourValue colour);
    int FontStyleFlags() const { return fontStyle_; }
    void SetFontStyleFlags(int flags);

    // Opens the appearance editor; true when the user accepted changes.
    bool EditAppearance(QWidget* dialogParent = nullptr);

    // Diagnostics for tests and benchmarks.
    int PaintCount() const { return paintCount_; }
    int StaticCacheBuilds() const { return cacheBuilds_; }
    bool RepaintPending() const;

  signals:
    // The user changed the appearance through the editor.
    void AppearanceEdited();

  protected:
    virtual void PaintStatic(QPainter& painter, const QRectF& bounds) = 0;
    virtual void PaintDynamic(QPainter& painter, const QRectF& bounds) = 0;
    // Translucent shading over the moving parts (glass, drums), cached like the background:
    // blending a ready picture is far cheaper than filling translucent shapes every time.
    virtual bool HasOverlay() const { return false; }
    virtual void PaintOverlay(QPainter& /*painter*/, const QRectF& /*bounds*/) {}

    // Something drawn by PaintStatic changed.
    void InvalidateStatic();
    // A moving part changed: repaint soon, at most once per screen refresh.
    void RequestRepaint();

    QColor ColourOf(ColourValue colour) const;
    // The widget's font at the given pixel height unless Font.Height fixes one.
    QFont TextFont(double automaticPixelHeight) const;
    // Appends Font.Name, Font.Height, Font.Color and Font.Style to a table.
    static void AppendFontProperties(PropertyTable& table, const FontDefaults& defaults);

    template <class T>
    void SetAppearance(T& member, const T& value) {
        if (member != value) {
            member = value;
            InvalidateStatic();
        }
    }

    void paintEvent(QPaintEvent* event) final;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    RepaintThrottle* throttle_;
    QPixmap cache_;
    QPixmap overlay_;
    bool cacheValid_ = false;
    int paintCount_ = 0;
    int cacheBuilds_ = 0;
    ColourValue colour_ = kColourBtnFace;
    QString fontName_ = QStringLiteral("Sans Serif");
    int fontHeight_ = 0;
    ColourValue fontColour_ = kColourWindowText;
    int fontStyle_ = 0;
};

}  // namespace vekaton
