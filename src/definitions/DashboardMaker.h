#pragma once

#include <string>
#include <vector>

#include "dashboard/DashboardModel.h"
#include "dashboard/ItemDefaults.h"
#include "definitions/InstrumentScale.h"

namespace vekaton {

// Colours of generated dashboards.
inline constexpr ColourValue kDialFace = RgbColour(28, 30, 34);
inline constexpr ColourValue kDialText = RgbColour(240, 240, 240);
inline constexpr ColourValue kNormalGreen = RgbColour(0, 170, 60);
inline constexpr ColourValue kWarnAmber = RgbColour(255, 190, 0);
inline constexpr ColourValue kAlarmRed = RgbColour(230, 20, 20);
inline constexpr ColourValue kLedGreen = RgbColour(0, 230, 0);
inline constexpr ColourValue kLedRed = RgbColour(255, 40, 30);
inline constexpr ColourValue kLedAmber = RgbColour(255, 150, 0);
inline constexpr ColourValue kLedDark = RgbColour(20, 20, 20);

// Makes the items of a generated dashboard in a model, in design units of a 1000 x 600 page that
// are scaled to the page's real size.
class DashboardMaker {
  public:
    DashboardMaker(DashboardModel& model, double scale) : model_(model), scale_(scale) {}

    int Scaled(int units) const;
    ItemGeometry At(int left, int top, int width, int height) const;

    int Dial(int page, const ItemGeometry& at, int position, const InstrumentScale& scale);
    int Thermometer(int page, const ItemGeometry& at, int position, const InstrumentScale& scale);
    // A caption above a seven-segment display.
    int Segments(int page, const ItemGeometry& at, int position, const InstrumentScale& scale,
                 int digits, ColourValue on);
    int Display(int page, const ItemGeometry& at, int position, const InstrumentScale& scale,
                int holdMode = kHoldFollow);
    int Label(int page, int left, int top, const std::string& caption, int fontHeight, bool bold);
    // A round LED in its panel; `activeWhenClear` swaps its colours, so that it lights while the
    // bit is clear.
    int Led(int page, const ItemGeometry& panel, int position, int bit, const std::string& caption,
            ColourValue lit, bool activeWhenClear);
    int ResetButton(int page, const ItemGeometry& at, std::vector<int> ids);
    void NamePage(int page, const std::string& name) { model_.SetPageCaption(page, name); }

  private:
    int Add(ItemKind kind, int page, const ItemGeometry& at, int position,
            std::vector<std::pair<std::string, PropertyValue>> properties,
            int bit = BindingEntry::kNoBit, int holdMode = kHoldFollow);

    DashboardModel& model_;
    double scale_;
};

// An LED caption that fits its panel: at most `most` characters, cut at a word with "...".
std::string FitCaption(const std::string& text, std::size_t most);

}  // namespace vekaton
