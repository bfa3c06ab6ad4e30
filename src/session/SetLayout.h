#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/LayoutFile.h"
#include "dashboard/PropertyBag.h"
#include "session/SessionHost.h"

namespace vekaton {

class DashboardModel;

// The dashboard pages of the window, and the layout file's names for its pages.
inline constexpr int kDashboardPageCount = 3;
inline constexpr std::string_view kGraphsPageName = "TabSheet6";
// "TabSheet2" for the first dashboard page, and so on.
std::string DashboardPageName(int index);

// A kind's streamed properties with their defaults, by class name ("TAngularGauge"). The
// widgets define them; the layout writes and reads item records through them.
using PropertyCatalog = std::function<std::vector<PropertyDescriptor>(std::string_view)>;

// A set's layout file as the session keeps it: one record for each streamed control (the
// window's two unnamed labels, the dashboard pages, the "Graphs" page, the strip chart, then the
// items in the numbering of the save) and the trailer with the window's placement.
//
// The dashboard model holds the items' properties and the pages' captions; the window holds its
// placement and the chart's channels, which it hands over as a WindowLayout. Records read from a
// file are kept, so that what this program does not know (properties of another version, the
// unnamed labels' own records) is written back unchanged. The window's colour goes to the window
// and comes back from it; a window that keeps none writes back the file's.
class SetLayout {
  public:
    SetLayout(DashboardModel& model, PropertyCatalog catalog, int pageCount = kDashboardPageCount);

    int PageCount() const { return pageCount_; }
    // The names of the streamed controls in the order their records are written and read.
    std::vector<std::string> ComponentNames() const;

    // What a save writes with the window standing as `window` says.
    std::vector<StreamComponent> Records(const WindowLayout& window) const;
    LayoutTrailer Trailer(const WindowLayout& window) const;
    // The whole file; empty should records ever fail to stream (a fault of ours).
    std::string Bytes(const WindowLayout& window) const;

    // Takes in what a file held: page captions and item properties go into the model, the
    // chart's channels and the placement into the returned layout for the window. `messages`
    // gets what the user should know (values kept as read, in one message).
    // `changed` gathers, one line per item, the values an item took otherwise than read, and
    // the chart's channels left out (a save would write without them, so the caller keeps the
    // file as read aside).
    WindowLayout Apply(const LayoutRead& read, std::vector<std::string>& messages,
                       std::vector<std::string>& changed);
    // Before another set is read: the records kept from the last one are forgotten.
    void Forget();

  private:
    static constexpr int kUnnamedLabels = 2;
    int FixedCount() const { return kUnnamedLabels + pageCount_ + 2; }
    StreamComponent FixedRecord(int index, const WindowLayout& window) const;
    void ApplyFixedRecord(int index, const StreamComponent& record, WindowLayout& window,
                          std::vector<std::string>& changed);
    void ApplyItemRecord(int id, const StreamComponent& record, std::vector<std::string>& messages,
                         std::vector<std::string>& changed);

    DashboardModel& model_;
    PropertyCatalog catalog_;
    int pageCount_;
    std::vector<std::optional<StreamComponent>> fixedRead_;
    std::map<int, std::vector<StreamProperty>> itemRead_;  // by item ID: the properties read
    std::optional<std::int32_t> colourRead_;
};

}  // namespace vekaton
