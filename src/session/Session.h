#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/DashboardModel.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "engine/Engine.h"
#include "session/SessionHost.h"
#include "session/SetLayout.h"
#include "session/SetMemberList.h"
#include "set/ConfigurationSet.h"
#include "set/RecoveryStore.h"

namespace vekaton {

// How a set is opened.
struct OpenOptions {
    // A set named on the command line instead of the one the set pointer names.
    std::optional<std::string> setName;
    // False: the names, the definitions and the settings only, no dashboard (vekaton-cli).
    bool dashboard = true;
};

// One running configuration: the parameter table with the formulas and the decoder, the
// dashboard model, the configuration set's files and the acquisition engine, with what is done
// to them as a whole - start-up, Save, Save Config Info, Load Config Files, recovery copies and
// the closing sequence - in their fixed order. The window and vekaton-cli each own one; the
// host (SessionHost) shows and asks what the sequences need, so they run without a window too.
class Session {
  public:
    // The set's files live in `folder`; `catalog` names the streamed properties of item kinds.
    explicit Session(std::filesystem::path folder, PropertyCatalog catalog = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The program around the session; nullptr: one that shows and asks nothing.
    void SetHost(SessionHost* host);
    SessionHost& Host() const { return *host_; }
    // Only the holder of the single-instance lock removes what killed saves left behind.
    void SetRemovesLeftovers(bool on) { removesLeftovers_ = on; }
    bool RemovesLeftovers() const { return removesLeftovers_; }

    // The engine, made here and only here, on the shell's port, clock and view. Before it there
    // is none (vekaton-cli decode needs none).
    Engine& AttachEngine(Port& port, Clock& clock, EngineView& view);
    // The engine goes (before the port and clock it was given).
    void DetachEngine();
    bool HasEngine() const { return engine_ != nullptr; }
    Engine& GetEngine() { return *engine_; }
    const Engine& GetEngine() const { return *engine_; }

    ParameterTable& Table() { return table_; }
    const ParameterTable& Table() const { return table_; }
    // Units, ranges, limits and flag-bit sense of the positions, from the set's details file.
    DetailsTable& Details() { return details_; }
    const DetailsTable& Details() const { return details_; }
    FormulaFrontEnd& Formulas() { return formulas_; }
    Decoder& GetDecoder() { return decoder_; }
    const Decoder& GetDecoder() const { return decoder_; }
    DashboardModel& Dashboard() { return dashboard_; }
    const DashboardModel& Dashboard() const { return dashboard_; }
    ConfigurationSet& Set() { return set_; }
    const ConfigurationSet& Set() const { return set_; }
    SetLayout& Layout() { return layout_; }
    const SetLayout& Layout() const { return layout_; }

    // The link settings in force: the engine's, or those read while there is no engine.
    const LinkSettings& Settings() const;
    // Takes link settings as reading the settings file and confirming Setup do: the engine
    // gets them (the mode of the settings in force stays unless `touchReceivePath`), then the
    // host shows them.
    void ApplyLinkSettings(const LinkSettings& settings, bool touchReceivePath);

    // Start-up (FormCreate with InitEngineDefaults): bindings emptied; the set pointer read;
    // the engine's defaults; the parameter table reset; the parameter file and the settings
    // file read (which may open the port); then the gauge list and the layout file.
    void Open(const OpenOptions& options = {});
    // What each file's reading came to in the last Open, in reading order.
    const std::vector<SetFileReport>& Reports() const { return reports_; }
    const SettingsFileRead& SettingsRead() const { return settingsRead_; }
    const std::optional<std::string>& NamedSet() const { return namedSet_; }

    // Save: every file of the set, layout first and settings last; each is written even when
    // one before failed. One message per file not written, naming it.
    std::vector<std::string> Save();
    // Save Config Info: the set takes the new name; its settings are written, the port's input
    // discarded, then the whole set saved.
    std::vector<std::string> SaveAs(std::string_view setName);
    // Load Config Files: the chosen set's names and the set pointer naming it, then start-up
    // again. Returns the error of writing the pointer; start-up reads the set all the same.
    std::optional<std::string> Load(std::string_view setName);
    // What the set's files would hold if it were saved now (the set pointer aside).
    RecoverySnapshot Snapshot() const;

    // Stops a running acquisition; true when it was running.
    bool Pause();
    // The closing sequence: playback and acquisition stopped (StopAcquisition), the data log
    // closed, the port's input discarded and the port closed (CloseLogAndPort); then (Close)
    // the whole set saved.
    void StopAcquisition();
    void CloseLogAndPort();
    void StopForClose();
    std::vector<std::string> Close();

    // What a save writes of the dashboard, as the window stands now.
    std::vector<StreamComponent> LayoutRecords() const;
    LayoutTrailer LayoutTrailerNow() const;
    std::string LayoutBytes() const;
    std::string GaugeListText() const;

    // For the settings member: reads the settings file over the settings in force.
    const SettingsFileRead& ReadSettingsFile();

  private:
    void ReadStageOf(ReadStage stage);
    void ApplyEngineDefaults();

    SessionHost quietHost_;
    SessionHost* host_ = &quietHost_;
    bool removesLeftovers_ = false;
    std::optional<std::string> namedSet_;

    ParameterTable table_;
    DetailsTable details_;
    FormulaFrontEnd formulas_;
    Decoder decoder_;
    DashboardModel dashboard_;
    ConfigurationSet set_;
    SetLayout layout_;
    std::vector<SetMemberEntry> members_;  // in reading order
    std::vector<SetMember*> writeOrder_;   // the same, in writing order
    std::vector<SetFileReport> reports_;
    SettingsFileRead settingsRead_;
    LinkSettings settings_;  // while there is no engine
    Port* port_ = nullptr;

    // Last, so that it goes first: it refers to the decoder and the port.
    std::unique_ptr<Engine> engine_;
};

}  // namespace vekaton
