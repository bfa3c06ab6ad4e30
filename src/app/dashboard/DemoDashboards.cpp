#include "app/dashboard/DemoDashboards.h"

#include <QUndoStack>

#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardView.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ItemDefaults.h"
#include "decode/Decoder.h"

namespace vekaton {
namespace {

constexpr ColourValue kFace = RgbColour(28, 30, 34);
constexpr ColourValue kWhite = RgbColour(240, 240, 240);
constexpr ColourValue kGreen = RgbColour(0, 170, 60);
constexpr ColourValue kAmber = RgbColour(255, 190, 0);
constexpr ColourValue kRed = RgbColour(230, 20, 20);
constexpr ColourValue kBlue = RgbColour(40, 110, 230);

struct Section {
    double start;
    double end;
    ColourValue colour;
};

class Builder {
  public:
    explicit Builder(DashboardController& dashboard)
        : model_(dashboard.Model()), decoder_(dashboard.Parts().decoder) {}

    int Add(ItemKind kind, int page, const ItemGeometry& at, int position,
            std::initializer_list<std::pair<const char*, PropertyValue>> properties,
            int bit = BindingEntry::kNoBit) {
        const int id = *model_.AddItem(kind, page);
        PropertyBag bag = model_.Find(id)->properties;
        PutGeometry(bag, at);
        for (const auto& [name, value] : properties) {
            bag.Set(name, value);
        }
        model_.SetProperties(id, bag);
        if (position > 0) {
            decoder_.BindItem(id, position);
            BindingEntry entry = model_.Binding(id);
            entry.bit = bit;
            model_.SetBinding(id, entry);
        }
        return id;
    }

    int Dial(int page, const ItemGeometry& at, int position, const char* caption, const char* units,
             double maximum, int majorTicks, std::vector<Section> sections, double minimum = 0.0,
             int decimals = 0) {
        const int id = Add(ItemKind::AngularGauge, page, at, position,
                           {{"Caption", PropertyValue::String(caption)},
                            {"Units", PropertyValue::String(units)},
                            {"Minimum", PropertyValue::Float(minimum)},
                            {"Maximum", PropertyValue::Float(maximum)},
                            {"MajorTicks", PropertyValue::Integer(majorTicks)},
                            {"Decimals", PropertyValue::Integer(decimals)},
                            {"Color", PropertyValue::Colour(kFace)},
                            {"TickColor", PropertyValue::Colour(kWhite)},
                            {"NeedleColor", PropertyValue::Colour(RgbColour(255, 110, 20))},
                            {"Font.Color", PropertyValue::Colour(kWhite)}});
        for (std::size_t i = 0; i < sections.size() && i < 3; ++i) {
            const std::string n = "Section" + std::to_string(i + 1);
            model_.SetProperty(id, n + "Start", PropertyValue::Float(sections[i].start));
            model_.SetProperty(id, n + "End", PropertyValue::Float(sections[i].end));
            model_.SetProperty(id, n + "Color", PropertyValue::Colour(sections[i].colour));
        }
        return id;
    }

    int Thermometer(int page, const ItemGeometry& at, int position, const char* caption,
                    const char* units, double minimum, double maximum, int majorTicks,
                    ColourValue mercury) {
        return Add(ItemKind::Thermometer, page, at, position,
                   {{"Caption", PropertyValue::String(caption)},
                    {"Units", PropertyValue::String(units)},
                    {"Minimum", PropertyValue::Float(minimum)},
                    {"Maximum", PropertyValue::Float(maximum)},
                    {"MajorTicks", PropertyValue::Integer(majorTicks)},
                    {"MercuryColor", PropertyValue::Colour(mercury)}});
    }

    int Segments(int page, const ItemGeometry& at, int position, int digits, int decimals,
                 ColourValue on) {
        return Add(ItemKind::SevenSegmentAnalog, page, at, position,
                   {{"Digits", PropertyValue::Integer(digits)},
                    {"Decimals", PropertyValue::Integer(decimals)},
                    {"OnColor", PropertyValue::Colour(on)}});
    }

    int Display(int page, const ItemGeometry& at, int position, const char* caption,
                const char* suffix, int precision) {
        return Add(ItemKind::AnalogDisplay, page, at, position,
                   {{"Caption", PropertyValue::String(caption)},
                    {"Suffix", PropertyValue::String(suffix)},
                    {"Precision", PropertyValue::Integer(precision)}});
    }

    int Label(int page, int left, int top, const char* caption, int height = -15,
              bool bold = true) {
        return Add(ItemKind::Label, page, {left, top, 0, 0}, 0,
                   {{"Caption", PropertyValue::String(caption)},
                    {"Font.Height", PropertyValue::Integer(height)},
                    {"Font.Style", PropertyValue::Set(bold ? std::vector<std::string>{"fsBold"}
                                                           : std::vector<std::string>{})},
                    {"Transparent", PropertyValue::Boolean(true)}});
    }

    int Led(int page, int left, int top, int position, int bit, const char* caption,
            ColourValue lit) {
        const int id = Add(ItemKind::LedRound, page, {1, 1, 15, 15}, position,
                           {{"ActiveColor", PropertyValue::Colour(lit)}}, bit);
        const int panel = model_.Find(id)->parentId;
        PropertyBag bag = model_.Find(panel)->properties;
        PutGeometry(bag, {left, top, 170, 17});
        bag.Set("Caption", PropertyValue::String(std::string("     ") + caption));
        model_.SetProperties(panel, bag);
        return id;
    }

    int ResetButton(int page, int left, int top, std::vector<int> ids) {
        const int id = Add(ItemKind::ResetButton, page, {left, top, 110, 28}, 0,
                           {{"Caption", PropertyValue::String("Reset Min/Max")}});
        model_.SetResetButton(
            id, ResetButtonEntry{std::move(ids), kPresetCurrentValue, kPresetCurrentValue});
        return id;
    }

    void SetHold(int id, int mode) { model_.SetHoldMode(id, mode); }
    // A held value that starts from a preset, once the dashboard stands.
    void StartFrom(int id, double value) { startValues_.emplace_back(id, value); }
    void ApplyStartValues() {
        for (const auto& [id, value] : startValues_) {
            model_.ResetMinMax(id, value, value);
        }
    }
    void NamePage(int page, const char* name) { model_.SetPageCaption(page, name); }

  private:
    DashboardModel& model_;
    Decoder& decoder_;
    std::vector<std::pair<int, double>> startValues_;
};

void EnginePage(Builder& b) {
    constexpr int page = 0;
    b.NamePage(page, "Engine");
    const int rpm = b.Dial(page, {10, 10, 240, 240}, 4, "Engine", "rpm", 6000, 6,
                           {{0, 4500, kGreen}, {4500, 5200, kAmber}, {5200, 6000, kRed}});
    const int speed = b.Dial(page, {256, 10, 240, 240}, 10, "Speed", "km/h", 200, 10,
                             {{0, 130, kGreen}, {130, 200, kAmber}});
    const int coolant =
        b.Thermometer(page, {506, 10, 76, 240}, 1, "Coolant", "\u00b0C", -40, 140, 9, kRed);
    b.Thermometer(page, {592, 10, 76, 240}, 2, "Intake air", "\u00b0C", -40, 80, 6, kBlue);

    b.Label(page, 10, 262, "Throttle %");
    b.Segments(page, {10, 284, 116, 48}, 3, 4, 0, RgbColour(255, 40, 30));
    b.Label(page, 134, 262, "Manifold kPa");
    b.Segments(page, {134, 284, 116, 48}, 6, 4, 0, RgbColour(60, 230, 90));
    b.Label(page, 258, 262, "Spark deg");
    b.Segments(page, {258, 284, 116, 48}, 9, 4, 1, RgbColour(255, 190, 0));

    const int peak = b.Display(page, {384, 262, 138, 70}, 4, "Peak rpm", "", 0);
    b.SetHold(peak, kHoldMax);
    b.Display(page, {530, 262, 138, 70}, 8, "Battery", " V", 1);

    b.Led(page, 10, 350, 18, 3, "Engine running", RgbColour(0, 230, 0));
    b.Led(page, 10, 374, 18, 0, "Closed loop", RgbColour(0, 230, 0));
    b.Led(page, 200, 350, 18, 1, "Fan on", kBlue);
    b.Led(page, 200, 374, 18, 7, "Check engine", RgbColour(255, 140, 0));
    b.ResetButton(page, 384, 350, {rpm, speed, coolant, peak});
}

void FuelPage(Builder& b) {
    constexpr int page = 1;
    b.NamePage(page, "Fuel & Air");
    const int o2 = b.Dial(page, {10, 10, 190, 190}, 7, "O2 sensor", "mV", 1000, 10,
                          {{0, 300, kBlue}, {300, 600, kGreen}, {600, 1000, kRed}});
    const int map = b.Dial(page, {205, 10, 190, 190}, 6, "Manifold", "kPa", 110, 10,
                           {{10, 40, kGreen}, {40, 90, kAmber}, {90, 110, kRed}}, 10);
    const int blm = b.Dial(page, {400, 10, 190, 190}, 16, "Block learn", "", 256, 8,
                           {{0, 110, kAmber}, {110, 146, kGreen}, {146, 256, kAmber}});
    b.Thermometer(page, {595, 10, 75, 190}, 22, "Fuel", "%", 0, 100, 10, RgbColour(230, 160, 0));

    b.Label(page, 10, 212, "Injector pulse");
    b.Display(page, {10, 234, 130, 56}, 12, "", " ms", 2);
    b.Label(page, 150, 212, "Integrator");
    b.Segments(page, {150, 234, 100, 48}, 17, 3, 0, RgbColour(60, 230, 90));
    b.Label(page, 260, 212, "Idle air");
    b.Segments(page, {260, 234, 100, 48}, 11, 3, 0, RgbColour(255, 40, 30));
    const int lowO2 = b.Display(page, {370, 234, 140, 56}, 7, "O2 lowest", " mV", 0);
    b.SetHold(lowO2, kHoldMin);
    b.StartFrom(lowO2, 1000);  // a low hold starts above anything the sensor gives
    b.Display(page, {520, 234, 150, 56}, 21, "Barometer", " kPa", 1);

    b.Led(page, 10, 308, 18, 4, "Rich", RgbColour(255, 60, 60));
    b.Led(page, 10, 332, 18, 6, "Power enrichment", kAmber);
    b.Led(page, 200, 308, 19, 2, "Decel fuel cut-off", kBlue);
    b.ResetButton(page, 370, 308, {o2, map, blm, lowO2});
}

struct Flag {
    int bit;
    const char* caption;
    ColourValue colour;
};

void StatusPage(Builder& b) {
    constexpr int page = 2;
    b.NamePage(page, "Status");
    b.Label(page, 10, 10, "Engine flags (position 18)");
    const Flag engineFlags[] = {
        {0, "Closed loop", RgbColour(0, 230, 0)},
        {1, "Fan on", kBlue},
        {2, "A/C request", kBlue},
        {3, "Engine running", RgbColour(0, 230, 0)},
        {4, "Rich", RgbColour(255, 60, 60)},
        {5, "Idle", RgbColour(0, 230, 0)},
        {6, "Power enrichment", kAmber},
        {7, "Check engine lamp", RgbColour(255, 140, 0)},
    };
    int top = 38;
    for (const Flag& flag : engineFlags) {
        b.Led(page, 10, top, 18, flag.bit, flag.caption, flag.colour);
        top += 24;
    }
    b.Label(page, 270, 10, "Transmission and knock (position 19)");
    const Flag otherFlags[] = {
        {0, "Park/neutral", RgbColour(0, 230, 0)},
        {1, "Knock", kRed},
        {2, "Decel fuel cut-off", kBlue},
        {3, "Converter clutch locked", RgbColour(0, 230, 0)},
    };
    top = 38;
    for (const Flag& flag : otherFlags) {
        b.Led(page, 270, top, 19, flag.bit, flag.caption, flag.colour);
        top += 24;
    }
    b.Label(page, 270, 150, "Knock count");
    b.Segments(page, {270, 172, 120, 48}, 20, 3, 0, RgbColour(255, 40, 30));
    b.Label(page, 400, 150, "Frame counter");
    b.Segments(page, {400, 172, 120, 48}, 23, 3, 0, RgbColour(60, 230, 90));
    b.Display(page, {270, 232, 250, 56}, 14, "Engine run time", " s", 0);
    b.Label(page, 10, 310, "Right-click a page to add instruments, an instrument to edit it.", -12,
            false);
    b.Label(page, 10, 330, "Shift+drag moves, Ctrl+drag resizes, Ctrl+Z undoes.", -12, false);
}

}  // namespace

void BuildDemoDashboards(DashboardController& dashboard) {
    Builder builder(dashboard);
    EnginePage(builder);
    FuelPage(builder);
    StatusPage(builder);
    dashboard.AfterLoad();
    builder.ApplyStartValues();
}

}  // namespace vekaton
