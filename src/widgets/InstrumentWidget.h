#pragma once

#include "dashboard/PropertyBag.h"
#include "warnings/WarningMonitor.h"
#include "widgets/NightColours.h"
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

    // The properties a layout file keeps for a dashboard item, the same for every kind: Left,
    // Top, Width and Height, then the kind's table without its live readings (Position, Value,
    // Active, which the decoder sets). Width and Height default to 0, meaning the kind's
    // natural size, so real geometry is always written.
    std::vector<PropertyDescriptor> StreamedDescriptors() const;
    // Every streamed property's current value, geometry first.
    PropertyBag ExportStreamed() const;
    // Exactly what differs from the defaults: what a layout file writes for the item.
    PropertyBag ChangedStreamed() const;
    // Gives every streamed property the bag's value or, where the bag has none, its default,
    // so that importing what ChangedStreamed wrote rebuilds the item. Returns the names it
    // could not use.
    std::vector<std::string> ImportStreamed(const PropertyBag& bag);
    static bool IsLiveProperty(std::string_view name);

    // Where the item stands on its page, unscaled: what layouts keep and design mode edits. While
    // a page is drawn scaled the widget's own geometry is this one mapped to the screen.
    QRect PageGeometry() const { return pageGeometry_ ? *pageGeometry_ : geometry(); }
    bool HasPageGeometry() const { return pageGeometry_.has_value(); }
    void SetPageGeometry(std::optional<QRect> geometry) { pageGeometry_ = geometry; }

    // Greyed out: what it shows is stale (no data from the link).
    void SetDimmed(bool dimmed);
    bool Dimmed() const { return dimmed_; }

    // Night colours: every colour drawn goes through its role's night shade (NightColours.h).
    void SetNightColours(const NightColours& night);
    const NightColours& Night() const { return night_; }

    // A warning on the value shown: the face tinted, the read-out, needle or bar in the warning
    // colour. A sounding alarm flashes, in step with SetFlashPhase.
    void SetWarningLevel(WarningLevel level);
    WarningLevel Warning() const { return warning_; }
    void SetFlashPhase(bool lit);
    // Whether the warning look is drawn now (on, and not in the dark half of a flash).
    bool WarningShown() const;

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

    // Called at the end of ImportStreamed, when geometry and appearance are in place.
    virtual void StreamedImported() {}

    // Something drawn by PaintStatic changed.
    void InvalidateStatic();
    // Called by InvalidateStatic: a kind whose size follows its appearance adjusts here.
    virtual void AppearanceChanged() {}
    // A moving part changed: repaint soon, at most once per screen refresh.
    void RequestRepaint();

    QColor ColourOf(ColourValue colour) const;
    // A colour as drawn now: the night shade of its role, and a face tinted while a warning
    // shows. Every paint routine takes its colours through here.
    QColor Shade(const QColor& day, ColourRole role) const;
    QColor Shade(ColourValue day, ColourRole role) const { return Shade(ColourOf(day), role); }
    QColor WarningColour() const { return WarningInk(night_); }
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
    bool dimmed_ = false;
    std::optional<QRect> pageGeometry_;
    NightColours night_;
    WarningLevel warning_ = WarningLevel::None;
    bool flashLit_ = true;
};

}  // namespace vekaton
