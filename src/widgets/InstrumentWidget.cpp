#include "widgets/InstrumentWidget.h"

#include "widgets/AppearanceEditor.h"
#include "widgets/RepaintThrottle.h"
#include "widgets/StreamColour.h"

#include <QEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

const std::vector<std::string>& FontStyleNames() {
    static const std::vector<std::string> names{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return names;
}

PropertyValue FontStyleValue(int flags) {
    std::vector<std::string> members;
    const auto& names = FontStyleNames();
    for (size_t bit = 0; bit < names.size(); ++bit) {
        if ((flags & (1 << bit)) != 0) {
            members.push_back(names[bit]);
        }
    }
    return PropertyValue::Set(std::move(members));
}

int FontStyleFlagsOf(const PropertyValue& value) {
    int flags = 0;
    const auto& names = FontStyleNames();
    for (size_t bit = 0; bit < names.size(); ++bit) {
        if (value.HasMember(names[bit])) {
            flags |= 1 << bit;
        }
    }
    return flags;
}

}  // namespace

InstrumentWidget::InstrumentWidget(QWidget* parent)
    : QWidget(parent), throttle_(new RepaintThrottle(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

InstrumentWidget::~InstrumentWidget() = default;

std::vector<PropertyDescriptor> InstrumentWidget::Descriptors() const {
    std::vector<PropertyDescriptor> descriptors;
    for (const PropertyAccess& access : Properties()) {
        descriptors.push_back(access.descriptor);
    }
    return descriptors;
}

PropertyBag InstrumentWidget::ExportProperties() const {
    PropertyBag bag;
    for (const PropertyAccess& access : Properties()) {
        bag.Set(access.descriptor.name, access.get(*this));
    }
    return bag;
}

std::vector<std::string> InstrumentWidget::ImportProperties(const PropertyBag& bag) {
    std::vector<std::string> skipped;
    for (const PropertyBag::Entry& entry : bag) {
        const bool known = std::any_of(
            Properties().begin(), Properties().end(),
            [&entry](const PropertyAccess& a) { return a.descriptor.name == entry.name; });
        if (!known) {
            skipped.push_back(entry.name);
        }
    }
    for (const PropertyAccess& access : Properties()) {
        const PropertyValue* value = bag.Find(access.descriptor.name);
        if (value == nullptr) {
            continue;
        }
        const auto converted = value->ConvertedTo(access.descriptor.Type());
        if (converted) {
            access.set(*this, *converted);
        } else {
            skipped.push_back(access.descriptor.name);
        }
    }
    return skipped;
}

std::optional<PropertyValue> InstrumentWidget::Property(std::string_view name) const {
    for (const PropertyAccess& access : Properties()) {
        if (access.descriptor.name == name) {
            return access.get(*this);
        }
    }
    return std::nullopt;
}

bool InstrumentWidget::SetProperty(std::string_view name, const PropertyValue& value) {
    for (const PropertyAccess& access : Properties()) {
        if (access.descriptor.name == name) {
            const auto converted = value.ConvertedTo(access.descriptor.Type());
            if (!converted) {
                return false;
            }
            access.set(*this, *converted);
            return true;
        }
    }
    return false;
}

void InstrumentWidget::ResetToDefaults() {
    for (const PropertyAccess& access : Properties()) {
        access.set(*this, access.descriptor.defaultValue);
    }
}

void InstrumentWidget::SetColor(ColourValue colour) {
    SetAppearance(colour_, colour);
}

void InstrumentWidget::SetFontName(const QString& name) {
    SetAppearance(fontName_, name);
}

void InstrumentWidget::SetFontHeight(int height) {
    SetAppearance(fontHeight_, height);
}

void InstrumentWidget::SetFontColor(ColourValue colour) {
    SetAppearance(fontColour_, colour);
}

void InstrumentWidget::SetFontStyleFlags(int flags) {
    SetAppearance(fontStyle_, flags & 15);
}

bool InstrumentWidget::IsLiveProperty(std::string_view name) {
    return name == "Position" || name == "Value" || name == "Active";
}

std::vector<PropertyDescriptor> InstrumentWidget::StreamedDescriptors() const {
    constexpr double kLimit = 100000;
    std::vector<PropertyDescriptor> descriptors;
    for (const char* name : {"Left", "Top", "Width", "Height"}) {
        descriptors.emplace_back(name, PropertyValue::Integer(0), std::vector<std::string>{},
                                 -kLimit, kLimit);
    }
    for (const PropertyAccess& access : Properties()) {
        if (!IsLiveProperty(access.descriptor.name)) {
            descriptors.push_back(access.descriptor);
        }
    }
    return descriptors;
}

PropertyBag InstrumentWidget::ExportStreamed() const {
    PropertyBag bag;
    const QRect page = PageGeometry();
    bag.Set("Left", PropertyValue::Integer(page.x()));
    bag.Set("Top", PropertyValue::Integer(page.y()));
    bag.Set("Width", PropertyValue::Integer(page.width()));
    bag.Set("Height", PropertyValue::Integer(page.height()));
    for (const PropertyAccess& access : Properties()) {
        if (!IsLiveProperty(access.descriptor.name)) {
            bag.Set(access.descriptor.name, access.get(*this));
        }
    }
    return bag;
}

PropertyBag InstrumentWidget::ChangedStreamed() const {
    return ChangedProperties(ExportStreamed(), StreamedDescriptors());
}

std::vector<std::string> InstrumentWidget::ImportStreamed(const PropertyBag& bag) {
    std::vector<std::string> skipped;
    PropertyBag full;
    for (const PropertyDescriptor& descriptor : StreamedDescriptors()) {
        const PropertyValue* value = bag.Find(descriptor.name);
        std::optional<PropertyValue> converted;
        if (value != nullptr) {
            converted = value->ConvertedTo(descriptor.Type());
            if (!converted) {
                skipped.push_back(descriptor.name);
            }
        }
        full.Set(descriptor.name, converted ? *converted : descriptor.defaultValue);
    }
    for (const PropertyBag::Entry& entry : bag) {
        if (!full.Contains(entry.name)) {
            skipped.push_back(entry.name);
        }
    }
    const auto integer = [&full](const char* name) {
        return static_cast<int>(
            std::clamp<std::int64_t>(full.Find(name)->AsInteger(), -100000, 100000));
    };
    ImportProperties(full);
    const QSize natural = sizeHint();
    const int w = integer("Width");
    const int h = integer("Height");
    // Read geometry is page geometry; a scaled page lays it out again.
    pageGeometry_.reset();
    setGeometry(integer("Left"), integer("Top"), w > 0 ? w : natural.width(),
                h > 0 ? h : natural.height());
    StreamedImported();
    return skipped;
}

void InstrumentWidget::SetDimmed(bool dimmed) {
    if (dimmed != dimmed_) {
        dimmed_ = dimmed;
        update();
    }
}

void InstrumentWidget::SetNightColours(const NightColours& night) {
    SetAppearance(night_, night);
}

void InstrumentWidget::SetWarningLevel(WarningLevel level) {
    if (level == warning_) {
        return;
    }
    const bool shown = WarningShown();
    warning_ = level;
    if (level != WarningLevel::Sounding) {
        flashLit_ = true;
    }
    if (WarningShown() != shown) {
        InvalidateStatic();
    }
}

void InstrumentWidget::SetFlashPhase(bool lit) {
    if (lit == flashLit_) {
        return;
    }
    const bool shown = WarningShown();
    flashLit_ = lit;
    if (WarningShown() != shown) {
        InvalidateStatic();
    }
}

bool InstrumentWidget::WarningShown() const {
    return warning_ == WarningLevel::Warning || (warning_ == WarningLevel::Sounding && flashLit_);
}

QColor InstrumentWidget::Shade(const QColor& day, ColourRole role) const {
    const QColor shaded = NightShade(day, role, night_);
    return role == ColourRole::Face && WarningShown() ? WarningFace(shaded, night_) : shaded;
}

bool InstrumentWidget::EditAppearance(QWidget* dialogParent) {
    AppearanceEditor editor(*this, dialogParent != nullptr ? dialogParent : window());
    if (editor.exec() != QDialog::Accepted) {
        return false;
    }
    ImportProperties(editor.EditedProperties());
    emit AppearanceEdited();
    return true;
}

bool InstrumentWidget::RepaintPending() const {
    return throttle_->Pending();
}

void InstrumentWidget::InvalidateStatic() {
    cacheValid_ = false;
    update();
    AppearanceChanged();
}

void InstrumentWidget::RequestRepaint() {
    throttle_->Request();
}

QColor InstrumentWidget::ColourOf(ColourValue colour) const {
    return ToQColor(colour, palette());
}

QFont InstrumentWidget::TextFont(double automaticPixelHeight) const {
    QFont font(fontName_);
    const double height = fontHeight_ != 0 ? std::abs(fontHeight_) : automaticPixelHeight;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height))));
    font.setBold((fontStyle_ & kFontBold) != 0);
    font.setItalic((fontStyle_ & kFontItalic) != 0);
    font.setUnderline((fontStyle_ & kFontUnderline) != 0);
    font.setStrikeOut((fontStyle_ & kFontStrikeOut) != 0);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void InstrumentWidget::AppendFontProperties(PropertyTable& table, const FontDefaults& defaults) {
    table.push_back(StringProperty<InstrumentWidget>(
        "Font.Name", defaults.name, &InstrumentWidget::FontName, &InstrumentWidget::SetFontName));
    table.push_back(IntegerProperty<InstrumentWidget>("Font.Height", defaults.height, -500, 500,
                                                      &InstrumentWidget::FontHeight,
                                                      &InstrumentWidget::SetFontHeight));
    table.push_back(ColourProperty<InstrumentWidget>("Font.Color", defaults.colour,
                                                     &InstrumentWidget::FontColor,
                                                     &InstrumentWidget::SetFontColor));
    PropertyDescriptor style{"Font.Style", FontStyleValue(defaults.style), FontStyleNames()};
    table.push_back({std::move(style),
                     [](const InstrumentWidget& w) { return FontStyleValue(w.FontStyleFlags()); },
                     [](InstrumentWidget& w, const PropertyValue& v) {
                         w.SetFontStyleFlags(FontStyleFlagsOf(v));
                     }});
}

void InstrumentWidget::paintEvent(QPaintEvent* /*event*/) {
    ++paintCount_;
    throttle_->Painted();
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QPainter painter(this);
    const QRectF bounds(rect());
    // When rendered into an image or printer the engine's device is the real target; cache at
    // its pixel ratio, not the screen's, so the picture stays crisp.
    const QPaintEngine* engine = painter.paintEngine();
    const qreal ratio = engine != nullptr && engine->paintDevice() != nullptr
                            ? engine->paintDevice()->devicePixelRatioF()
                            : painter.device()->devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                       static_cast<int>(std::ceil(height() * ratio)));
    if (!cacheValid_ || cache_.size() != pixels || cache_.devicePixelRatio() != ratio) {
        cache_ = QPixmap(pixels);
        cache_.setDevicePixelRatio(ratio);
        cache_.fill(Qt::transparent);
        QPainter cachePainter(&cache_);
        cachePainter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                    QPainter::SmoothPixmapTransform);
        PaintStatic(cachePainter, bounds);
        overlay_ = QPixmap();
        if (HasOverlay()) {
            overlay_ = QPixmap(pixels);
            overlay_.setDevicePixelRatio(ratio);
            overlay_.fill(Qt::transparent);
            QPainter overlayPainter(&overlay_);
            overlayPainter.setRenderHints(QPainter::Antialiasing);
            PaintOverlay(overlayPainter, bounds);
        }
        cacheValid_ = true;
        ++cacheBuilds_;
    }
    painter.drawPixmap(QPointF(0, 0), cache_);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    PaintDynamic(painter, bounds);
    if (!overlay_.isNull()) {
        painter.drawPixmap(QPointF(0, 0), overlay_);
    }
    if (dimmed_) {
        QColor wash = palette().color(QPalette::Window);
        wash.setAlpha(175);
        painter.fillRect(bounds, wash);
    }
}

void InstrumentWidget::resizeEvent(QResizeEvent* event) {
    cacheValid_ = false;
    QWidget::resizeEvent(event);
}

void InstrumentWidget::changeEvent(QEvent* event) {
    // System colours and fonts follow the palette and the screen.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange) {
        cacheValid_ = false;
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace vekaton
