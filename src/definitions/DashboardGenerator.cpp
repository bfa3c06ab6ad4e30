#include "definitions/DashboardGenerator.h"

#include <algorithm>

#include "dashboard/ChartRecord.h"
#include "dashboard/DashboardGaugeList.h"
#include "dashboard/StreamProperties.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "definitions/DashboardMaker.h"
#include "definitions/DashboardRoles.h"
#include "definitions/FlagBits.h"
#include "set/ConfigurationSet.h"

namespace vekaton {
namespace {

using Roles = std::map<DashboardRole, std::vector<int>>;

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Instruments' captions fit in this many characters.
constexpr std::size_t kDialCaption = 16;
constexpr std::size_t kThermometerCaption = 10;
constexpr std::size_t kDisplayCaption = 15;

// The window's controls ahead of the items in the layout file: two unnamed labels, the three
// dashboard pages, the "Graphs" page and the strip chart.
constexpr int kPages = 3;
constexpr const char* kPageNames[kPages] = {"TabSheet2", "TabSheet3", "TabSheet4"};
constexpr const char* kPageCaptions[kPages] = {"Engine", "Fuel", "Flags"};
constexpr const char* kGraphsPage = "TabSheet6";

struct Context {
    const ParameterTable& table;
    const DetailsTable& details;
    const Roles& roles;
    DashboardMaker& make;

    // The first position of a role, or 0.
    int First(DashboardRole role) const {
        const auto found = roles.find(role);
        return found == roles.end() || found->second.empty() ? 0 : found->second.front();
    }
    std::vector<int> All(DashboardRole role, std::size_t most) const {
        const auto found = roles.find(role);
        std::vector<int> positions = found == roles.end() ? std::vector<int>{} : found->second;
        if (positions.size() > most) {
            positions.resize(most);
        }
        return positions;
    }
    InstrumentScale Scale(int position) const { return ScaleOf(table, details, position); }
    // The scale with a caption of at most `most` characters: the description's own, else what
    // the role is called, with the bank when the description names one.
    InstrumentScale Scale(int position, DashboardRole role, std::size_t most) const {
        InstrumentScale scale = Scale(position);
        if (scale.caption.size() > most) {
            const std::string description = Lower(table.At(position).Descriptions[0]);
            std::string label(RoleLabel(role));
            for (const char* side : {"left", "right"}) {
                if (description.find(side) != std::string::npos) {
                    label = std::string(1, static_cast<char>(side[0] - 'a' + 'A')) +
                            std::string(side + 1) + " " + Lower(label);
                }
            }
            scale.caption = label;
        }
        return scale;
    }
};

// A row of instruments that closes up over the ones a definition lacks.
class Row {
  public:
    Row(int left, int top, int gap) : x_(left), top_(top), gap_(gap) {}
    int Next(int width) {
        const int left = x_;
        x_ += width + gap_;
        return left;
    }
    int X() const { return x_; }
    int Top() const { return top_; }

  private:
    int x_;
    int top_;
    int gap_;
};

void KeyLeds(Context& c, int page, int left, int top, int width, const std::vector<FlagBit>& leds) {
    for (const FlagBit& bit : leds) {
        c.make.Led(page, c.make.At(left, top, width, 18), bit.position, bit.bit, bit.caption,
                   bit.code || bit.alarm ? kLedRed : kLedGreen, bit.activeWhenClear);
        top += 22;
    }
}

void EnginePage(Context& c, const std::vector<FlagBit>& bits) {
    constexpr int page = 0;
    DashboardMaker& make = c.make;
    make.NamePage(page, kPageCaptions[page]);
    std::vector<int> resets;

    Row big(10, 10, 10);
    const DashboardRole load =
        c.First(DashboardRole::Map) != 0 ? DashboardRole::Map : DashboardRole::Airflow;
    for (const DashboardRole role :
         {DashboardRole::EngineSpeed, DashboardRole::VehicleSpeed, load}) {
        if (const int position = c.First(role)) {
            resets.push_back(make.Dial(page, make.At(big.Next(245), big.Top(), 245, 245), position,
                                       c.Scale(position, role, kDialCaption)));
        }
    }
    for (const DashboardRole role : {DashboardRole::Coolant, DashboardRole::IntakeAir}) {
        if (const int position = c.First(role)) {
            make.Thermometer(page, make.At(big.Next(105), big.Top(), 105, 245), position,
                             c.Scale(position, role, kThermometerCaption));
        }
    }

    Row small(10, 270, 10);
    for (const DashboardRole role :
         {DashboardRole::Throttle, DashboardRole::Spark, DashboardRole::Battery}) {
        if (const int position = c.First(role)) {
            resets.push_back(make.Dial(page, make.At(small.Next(205), small.Top(), 205, 205),
                                       position, c.Scale(position, role, kDialCaption)));
        }
    }
    const int right = std::max(small.X(), 660);
    Row displays(right, 275, 10);
    for (const DashboardRole role : {DashboardRole::EngineSpeed, DashboardRole::KnockRetard}) {
        if (const int position = c.First(role)) {
            InstrumentScale peak = c.Scale(position, role, kDisplayCaption - 5);
            peak.caption = "Peak " + Lower(peak.caption);
            resets.push_back(make.Display(page, make.At(displays.Next(160), 275, 160, 62), position,
                                          peak, kHoldMax));
        }
    }
    make.ResetButton(page, make.At(right, 348, 140, 28), resets);
    KeyLeds(c, page, right, 390, 320, KeyFlags(bits, FlagPurpose::Engine));
}

void FuelPage(Context& c, const std::vector<FlagBit>& bits) {
    constexpr int page = 1;
    DashboardMaker& make = c.make;
    make.NamePage(page, kPageCaptions[page]);
    std::vector<std::pair<int, DashboardRole>> dials;
    for (const DashboardRole role :
         {DashboardRole::O2, DashboardRole::Integrator, DashboardRole::BlockLearn}) {
        for (const int position : c.All(role, 2)) {
            dials.emplace_back(position, role);
        }
    }
    // A definition with both loads shows the one not on the first page here.
    if (c.First(DashboardRole::Map) != 0 && c.First(DashboardRole::Airflow) != 0) {
        dials.emplace_back(c.First(DashboardRole::Airflow), DashboardRole::Airflow);
    }
    constexpr int kDial = 230;
    constexpr int kPerRow = 4;
    std::vector<int> resets;
    int top = 10;
    for (std::size_t i = 0; i < dials.size(); ++i) {
        const int column = static_cast<int>(i % kPerRow);
        if (i > 0 && column == 0) {
            top += kDial + 10;
        }
        const auto [position, role] = dials[i];
        resets.push_back(make.Dial(page, make.At(10 + column * (kDial + 10), top, kDial, kDial),
                                   position, c.Scale(position, role, kDialCaption)));
    }
    // The reset button and the loop's flags take a free place in the last row of dials, or
    // go beside the displays below them.
    const bool freeSlot = !dials.empty() && dials.size() % kPerRow != 0;
    const int slotTop = top;
    top = dials.empty() ? 30 : top + kDial + 35;

    Row row(10, top, 20);
    if (const int cell = c.First(DashboardRole::BlmCell)) {
        make.Segments(page, make.At(row.Next(120), top, 120, 56), cell,
                      c.Scale(cell, DashboardRole::BlmCell, kDisplayCaption), 3, kLedGreen);
    }
    for (const int position : c.All(DashboardRole::InjectorPulse, 2)) {
        make.Display(page, make.At(row.Next(170), top - 22, 170, 78), position,
                     c.Scale(position, DashboardRole::InjectorPulse, kDisplayCaption));
    }
    if (const int idle = c.First(DashboardRole::IdleAir)) {
        make.Segments(page, make.At(row.Next(120), top, 120, 56), idle,
                      c.Scale(idle, DashboardRole::IdleAir, kDisplayCaption), 3, kLedRed);
    }
    const int right = freeSlot ? 10 + (kPerRow - 1) * (kDial + 10) : std::max(row.X(), 700);
    const int flagsTop = freeSlot ? slotTop : top - 22;
    if (!resets.empty()) {
        make.ResetButton(page, make.At(right, flagsTop, 140, 28), resets);
    }
    KeyLeds(c, page, right, flagsTop + 38, 260, KeyFlags(bits, FlagPurpose::FuelLoop));
}

// Columns of LEDs, the malfunction codes first under their own heading.
void FlagsPage(Context& c, const std::vector<FlagBit>& bits, int pageHeight) {
    constexpr int page = 2;
    DashboardMaker& make = c.make;
    make.NamePage(page, kPageCaptions[page]);
    constexpr int kColumn = 245;
    constexpr int kColumns = 4;
    constexpr int kLedPitch = 20;
    constexpr int kHeading = 28;
    const int bottom = pageHeight - 10;
    const std::vector<FlagPlace> places =
        PlaceFlags(bits, kColumns, 10, bottom, kLedPitch, kHeading);
    for (const FlagPlace& place : places) {
        const int left = 10 + place.column * kColumn;
        if (place.bit == nullptr) {
            make.Label(page, make.Scaled(left), make.Scaled(place.top), place.heading, -15, true);
            continue;
        }
        const FlagBit& bit = *place.bit;
        make.Led(page, make.At(left, place.top, kColumn - 8, 18), bit.position, bit.bit,
                 FitCaption(bit.caption, 32), bit.code || bit.alarm ? kLedRed : kLedGreen,
                 bit.activeWhenClear);
    }
}

ChartChannelList ChartChannels(const Context& c) {
    ChartChannelList channels;
    const std::int32_t colours[] = {RgbColour(255, 80, 80), RgbColour(80, 160, 255),
                                    RgbColour(80, 220, 120), RgbColour(255, 190, 0),
                                    RgbColour(200, 120, 255)};
    for (const DashboardRole role :
         {DashboardRole::EngineSpeed, DashboardRole::Throttle, DashboardRole::Map,
          DashboardRole::Coolant, DashboardRole::O2}) {
        if (const int position = c.First(role)) {
            const InstrumentScale scale = c.Scale(position);
            ChartChannelSetting channel;
            channel.position = position;
            channel.colour = colours[channels.size()];
            channel.autoScale = false;
            channel.minimum = scale.minimum;
            channel.maximum = scale.maximum;
            channels.push_back(channel);
        }
    }
    return channels;
}

StreamComponent Fixed(const char* className, const char* name) {
    StreamComponent record;
    record.className = className;
    record.name = name;
    return record;
}

StreamComponent ItemRecord(const DashboardItem& item) {
    StreamComponent record;
    record.className = std::string(ItemClassName(item.kind));
    record.name = item.name;
    for (const PropertyBag::Entry& entry : item.properties) {
        if (std::optional<StreamValue> value = ToStreamValue(entry.value)) {
            record.properties.push_back(StreamProperty{entry.name, std::move(*value)});
        }
    }
    return record;
}

}  // namespace

std::string GeneratedDashboard::GaugeListText() const {
    return FormatGaugeList(gaugeList);
}

std::optional<std::string> GeneratedDashboard::LayoutBytes() const {
    std::string bytes;
    if (WriteLayoutBytes(layout, trailer, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

GeneratedDashboard GenerateDashboard(const ParameterTable& table, const DetailsTable& details,
                                     const DashboardOptions& options) {
    const int width = std::max(options.pageWidth, 200);
    const int height = std::max(options.pageHeight, 120);
    const double scale = std::min(width / 1000.0, height / 600.0);
    DashboardModel model;
    DashboardMaker make(model, scale);
    const Roles roles = AssignRoles(table, details);
    Context c{table, details, roles, make};
    const std::vector<FlagBit> bits = UsedFlagBits(table, details);
    EnginePage(c, bits);
    FuelPage(c, bits);
    FlagsPage(c, bits, static_cast<int>(height / scale));

    GeneratedDashboard dashboard;
    const ItemNumbering numbering = model.NumberForSave();
    dashboard.gaugeList = GaugeListOf(model, numbering);
    dashboard.layout.push_back(Fixed("TLabel", ""));
    dashboard.layout.push_back(Fixed("TLabel", ""));
    for (int page = 0; page < kPages; ++page) {
        StreamComponent record = Fixed("TTabSheet", kPageNames[page]);
        record.properties.push_back(
            StreamProperty{"Caption", *ToStreamValue(PropertyValue::String(kPageCaptions[page]))});
        dashboard.layout.push_back(std::move(record));
    }
    dashboard.layout.push_back(Fixed("TTabSheet", kGraphsPage));
    StreamComponent chart = Fixed(kChartClassName.data(), kChartComponentName.data());
    PutChartChannels(ChartChannels(c), chart);
    dashboard.layout.push_back(std::move(chart));
    for (const int id : numbering.Ids()) {
        dashboard.layout.push_back(ItemRecord(*model.Find(id)));
    }
    // The window that gives such pages: 1024 x 700 for the default, the pages plus the window's
    // menu, tabs and status strip for larger ones.
    dashboard.trailer = LayoutTrailer{
        0, 0, std::max(1024, width + 24), std::max(700, height + 100), kColourBtnFace, 0};
    return dashboard;
}

std::optional<std::string> WriteDashboard(ConfigurationSet& set,
                                          const GeneratedDashboard& dashboard) {
    if (auto error = set.WriteLayout(dashboard.layout, dashboard.trailer)) {
        return error;
    }
    return set.WriteGaugeList(dashboard.gaugeList);
}

}  // namespace vekaton
