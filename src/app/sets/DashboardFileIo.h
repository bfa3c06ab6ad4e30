#pragma once

#include <QStringList>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dashboard/LayoutFile.h"

class QMainWindow;
class QTabWidget;

namespace vekaton {

class ConfigurationSet;
class DashboardController;
class Decoder;
class GraphsPage;

// The dashboard's side of a configuration set: the gauge list that says which items exist and
// what they show, and the layout file with a record for each streamed control (the window's
// two unnamed labels, the pages but "Debug", the strip chart, the items with their panels) and
// the window's bounds.
//
// Records read from a file are kept for the session, so that what this program does not know
// (properties of another version, the unnamed labels' own records) is written back unchanged.
class DashboardFileIo {
  public:
    DashboardFileIo(DashboardController& dashboard, Decoder& decoder, GraphsPage& graphs,
                    QMainWindow& window, QTabWidget& tabs);

    // The names of the streamed controls in the order their records are written and read.
    std::vector<std::string> ComponentNames() const;
    // What a save writes: the records and trailer of the layout file, and the gauge list.
    std::vector<StreamComponent> LayoutRecords() const;
    LayoutTrailer Trailer() const;
    std::string LayoutBytes() const;
    std::string GaugeListText() const;

    // Start-up, after the parameter file and the settings: the gauge list creates the items,
    // the layout gives them, the pages and the chart their look, and the window its bounds.
    // Returns the messages for the user.
    QStringList Load(ConfigurationSet& set, LayoutReadPrompts& prompts);
    // The close-time writes, layout first: each error names its file; a failure of one does
    // not stop the other.
    QStringList Save(ConfigurationSet& set);
    // Before another set is read: forget the records kept from the last one.
    void Forget();

  private:
    static constexpr int kUnnamedLabels = 2;
    int FixedCount() const;  // unnamed labels, pages, strip chart
    StreamComponent FixedRecord(int index) const;
    void ApplyFixedRecord(int index, const StreamComponent& record, QStringList& messages);
    // `changed` gathers, one line per item, the values the item took otherwise than read.
    void ApplyItemRecord(int id, const StreamComponent& record, QStringList& messages,
                         std::vector<std::string>& changed);
    void ApplyTrailer(const LayoutTrailer& trailer);

    DashboardController& dashboard_;
    Decoder& decoder_;
    GraphsPage& graphs_;
    QMainWindow& window_;
    QTabWidget& tabs_;

    std::vector<std::optional<StreamComponent>> fixedRead_;
    std::map<int, std::vector<StreamProperty>> itemRead_;  // by item ID: the properties read
    std::optional<std::int32_t> colourRead_;
};

}  // namespace vekaton
