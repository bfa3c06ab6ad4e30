#include "widgets/NightColours.h"

#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

double Brightness(const NightColours& night) {
    return std::isfinite(night.brightness)
               ? std::clamp(night.brightness, NightColours::kDimmest, 1.0)
               : 0.7;
}

QColor Scaled(const QColor& colour, double factor, int alpha) {
    const auto channel = [factor](int value) {
        return std::clamp(static_cast<int>(std::lround(value * factor)), 0, 255);
    };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()), alpha);
}

QColor Mix(const QColor& a, const QColor& b, double share) {
    const auto channel = [share](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * share));
    };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()), a.alpha());
}

// The tint at full strength.
QColor TintColour(NightTint tint) {
    return tint == NightTint::Red ? QColor(255, 50, 30) : QColor(255, 165, 50);
}

}  // namespace

QColor NightShade(const QColor& day, ColourRole role, const NightColours& night) {
    if (!night.on || !day.isValid()) {
        return day;
    }
    const double brightness = Brightness(night);
    const double lightness = day.lightnessF();
    const QColor tint = TintColour(night.tint);
    switch (role) {
        case ColourRole::Face: {
            // Near black with a breath of the tint; lighter day faces stay a shade lighter.
            const double level = 0.035 + 0.045 * lightness;
            return Scaled(Mix(QColor(255, 255, 255), tint, 0.5), level, day.alpha());
        }
        case ColourRole::Ink:
            return Scaled(tint, 0.3 + 0.55 * brightness, day.alpha());
        case ColourRole::Metal: {
            const double level = (0.05 + 0.2 * lightness) * (0.5 + 0.5 * brightness);
            return Scaled(Mix(QColor(255, 255, 255), tint, 0.25), level, day.alpha());
        }
        case ColourRole::Signal: {
            // The hue is what tells; the light is what dazzles.
            float h = 0;
            float s = 0;
            float v = 0;
            float a = 0;
            day.getHsvF(&h, &s, &v, &a);
            if (s < 0.25f) {  // a white or grey signal becomes the tint
                return Scaled(tint, (0.25 + 0.5 * brightness) * v, day.alpha());
            }
            const double top = 0.3 + 0.5 * brightness;
            QColor shaded;
            shaded.setHsvF(h, s, static_cast<float>(std::min<double>(v, top)), a);
            return shaded;
        }
        case ColourRole::Glare:
            return Scaled(tint, 0.5, static_cast<int>(day.alpha() * 0.15));
    }
    return day;
}

QColor WarningInk(const NightColours& night) {
    if (!night.on) {
        return QColor(215, 20, 20);
    }
    const double level = 0.6 + 0.4 * Brightness(night);
    return night.tint == NightTint::Red ? Scaled(QColor(255, 220, 70), level, 255)
                                        : Scaled(QColor(255, 40, 40), level, 255);
}

QColor WarningFace(const QColor& face, const NightColours& night) {
    if (!night.on) {
        return Mix(face, QColor(255, 60, 50), 0.38);
    }
    // A dark red face on any night: under yellow warning ink on red nights too, since a
    // yellowish face reads as dirt, not as alarm.
    return Mix(face, Scaled(QColor(255, 40, 30), 0.6 + 0.4 * Brightness(night), 255), 0.24);
}

QColor NightPageColour(const NightColours& night) {
    return NightShade(QColor(0, 0, 0), ColourRole::Face, night.on ? night : NightColours{true});
}

bool NearWhite(const QColor& colour) {
    return colour.isValid() && colour.lightnessF() > 0.8 && colour.hsvSaturationF() < 0.2;
}

}  // namespace vekaton
