#include "session/DashboardMembers.h"

#include <string>

#include "common/MessageText.h"
#include "dashboard/DashboardGaugeList.h"
#include "session/Session.h"
#include "set/DashboardFiles.h"

namespace vekaton {

namespace {

// Beyond this many items a message names only how many more there are.
constexpr std::size_t kItemsNamed = 20;

void AddMessage(std::vector<std::string>& messages, const std::string& text) {
    if (!text.empty()) {
        messages.push_back(text);
    }
}

// Answers every question of the layout reader with Cancel, for a host that asks nothing.
class CancelEveryQuestion : public LayoutReadPrompts {
  public:
    void ShowMessage(std::string_view /*text*/) override {}
    bool AskOkCancel(std::string_view /*question*/) override { return false; }
};

std::vector<GaugeListEntry> EntriesOf(const DashboardModel& model) {
    return GaugeListOf(model, model.NumberForSave());
}

}  // namespace

std::string GaugeListMember::FileName(const SetNames& names) const {
    return names.gaugeListFileName;
}

SetFileReport GaugeListMember::Read(Session& session) {
    ConfigurationSet& set = session.Set();
    const GaugeListFileRead gauges = set.ReadGaugeList();
    SetFileReport report{FileName(set.Names()), gauges.found, gauges.path, {}};
    AddMessage(report.messages, gauges.errorMessage);
    AddMessage(report.messages, gauges.warningMessage);
    if (!gauges.found) {
        return report;
    }
    Decoder& decoder = session.GetDecoder();
    const GaugeListApplied applied =
        ApplyGaugeList(gauges.result.entries, session.Dashboard(), session.Layout().PageCount(),
                       [&decoder](int id, int position) { decoder.BindItem(id, position); });
    if (!applied.notes.empty()) {
        std::string text = gauges.path.filename().string() + ":";  // the name on disk
        for (const std::string& note : applied.notes) {
            text += "\n" + note;
        }
        if (applied.dropped) {
            text += "\n" + set.NoteDropped(set.Names().gaugeListFileName);
        }
        report.messages.push_back(text);
    }
    return report;
}

std::optional<std::string> GaugeListMember::Contents(const Session& session) const {
    return FormatGaugeList(EntriesOf(session.Dashboard()));
}

std::optional<std::string> GaugeListMember::Write(Session& session) {
    return session.Set().WriteGaugeList(EntriesOf(session.Dashboard()));
}

std::string LayoutFileMember::FileName(const SetNames& names) const {
    return names.layoutFileName;
}

SetFileReport LayoutFileMember::Read(Session& session) {
    ConfigurationSet& set = session.Set();
    SetLayout& layout = session.Layout();
    CancelEveryQuestion cancel;
    LayoutReadPrompts* prompts = session.Host().LayoutPrompts();
    const std::vector<std::string> names = layout.ComponentNames();
    const LayoutFileRead read = set.ReadLayout(names, prompts != nullptr ? *prompts : cancel);
    SetFileReport report{FileName(set.Names()), read.found, read.path, {}};
    AddMessage(report.messages, read.errorMessage);
    AddMessage(report.messages, read.warningMessage);
    if (read.found) {
        std::vector<std::string> changed;
        session.Host().ApplyWindowLayout(layout.Apply(read.result, report.messages, changed));
        if (!changed.empty()) {
            // A save writes what the items show, so the file as read is kept aside first.
            std::string text = "Layout file " + QuotePath(read.path.filename()) +
                               " holds values the items cannot take as written; they use and "
                               "save these instead:";
            for (std::size_t i = 0; i < changed.size() && i < kItemsNamed; ++i) {
                text += "\n" + changed[i];
            }
            if (changed.size() > kItemsNamed) {
                text +=
                    "\n... and " + std::to_string(changed.size() - kItemsNamed) + " more items.";
            }
            text += "\n" + set.NoteDropped(set.Names().layoutFileName);
            report.messages.push_back(text);
        }
    }
    return report;
}

std::optional<std::string> LayoutFileMember::Contents(const Session& session) const {
    return session.Layout().Bytes(session.Host().CaptureWindowLayout());
}

std::optional<std::string> LayoutFileMember::Write(Session& session) {
    const WindowLayout window = session.Host().CaptureWindowLayout();
    const SetLayout& layout = session.Layout();
    return session.Set().WriteLayout(layout.Records(window), layout.Trailer(window));
}

}  // namespace vekaton
