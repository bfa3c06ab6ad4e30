#pragma once

#include <QColor>

namespace vekaton {

// The colour night driving wants: dim amber, or red, which keeps the eyes' dark adaptation best.
enum class NightTint { Amber, Red };

// Night colours for the instruments: dark backgrounds, faces and text in the tint, nothing
// white, everything as bright as `brightness` (0.15 to 1) allows.
struct NightColours {
    static constexpr double kDimmest = 0.15;

    bool on = false;
    NightTint tint = NightTint::Amber;
    double brightness = 0.7;

    bool operator==(const NightColours&) const = default;
};

// What a colour does in a drawing, which decides what night makes of it.
enum class ColourRole {
    Face,    // a surface: dial face, display window, card, page
    Ink,     // text, scale ticks, pointers that should read like text
    Metal,   // bezels, frames, hubs, shadows: kept in relief, but dark
    Signal,  // a colour that means something (lit LED, coloured band, trace): hue kept, dimmed
    Glare,   // translucent reflections: nearly gone at night
};

// A day colour as the night shows it in that role; the colour itself by day.
QColor NightShade(const QColor& day, ColourRole role, const NightColours& night);

// The colour of a warning's read-out, needle or bar: red by day and on amber nights, yellow on
// red nights, so it always stands apart from the normal colours.
QColor WarningInk(const NightColours& night);
// A face tinted for a warning.
QColor WarningFace(const QColor& face, const NightColours& night);

// The background of a page at night.
QColor NightPageColour(const NightColours& night);

// Whether a colour reads as white or nearly so: bright and without much colour.
bool NearWhite(const QColor& colour);

}  // namespace vekaton
