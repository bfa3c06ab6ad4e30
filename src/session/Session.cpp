#include "session/Session.h"

#include <algorithm>
#include <utility>

#include "dashboard/DashboardGaugeList.h"
#include "dashboard/GaugeList.h"
#include "engine/EngineTexts.h"
#include "set/SaveJournal.h"

namespace vekaton {

Session::Session(std::filesystem::path folder, PropertyCatalog catalog)
    : decoder_(table_, formulas_),
      set_(std::move(folder)),
      layout_(dashboard_, catalog ? std::move(catalog) : PropertyCatalog([](std::string_view) {
                  return std::vector<PropertyDescriptor>{};
              })),
      members_(MakeSetMembers()) {
    decoder_.SetItems(&dashboard_);
    std::vector<std::pair<int, SetMember*>> ranked;
    for (SetMemberEntry& entry : members_) {
        ranked.emplace_back(entry.writeRank, entry.member.get());
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [rank, member] : ranked) {
        writeOrder_.push_back(member);
    }
}

Session::~Session() = default;

void Session::SetHost(SessionHost* host) {
    host_ = host != nullptr ? host : &quietHost_;
}

Engine& Session::AttachEngine(Port& port, Clock& clock, EngineView& view) {
    engine_.reset();
    port_ = &port;
    engine_ = std::make_unique<Engine>(port, clock, decoder_, view);
    return *engine_;
}

void Session::DetachEngine() {
    if (engine_) {
        settings_ = engine_->Settings();
    }
    engine_.reset();
    port_ = nullptr;
}

const LinkSettings& Session::Settings() const {
    return engine_ ? engine_->Settings() : settings_;
}

void Session::ApplyLinkSettings(const LinkSettings& settings, bool touchReceivePath) {
    LinkSettings applied = settings;
    if (!touchReceivePath) {
        applied.syncMode = Settings().syncMode;
    }
    if (engine_) {
        engine_->ApplySettings(applied);
    } else {
        settings_ = applied;
    }
    host_->LinkSettingsApplied(applied, touchReceivePath);
}

void Session::Open(const OpenOptions& options) {
    namedSet_ = options.setName;
    reports_.clear();
    table_.ClearBindings();
    host_->OpeningSet();
    layout_.Forget();
    ReadStageOf(ReadStage::Names);
    ApplyEngineDefaults();
    ReadStageOf(ReadStage::Definitions);
    host_->DefinitionsRead();
    if (options.dashboard) {
        ReadStageOf(ReadStage::Dashboard);
    }
    host_->SetRead();
}

void Session::ReadStageOf(ReadStage stage) {
    for (SetMemberEntry& entry : members_) {
        if (entry.stage != stage) {
            continue;
        }
        SetFileReport report = entry.member->Read(*this);
        for (const std::string& message : report.messages) {
            host_->Tell(message);
        }
        reports_.push_back(std::move(report));
        entry.member->Apply(*this);
    }
}

// What start-up gives the engine before the set's files are read. The request, the frame
// geometry and the flags keep the previous set's values, as the settings file format expects.
void Session::ApplyEngineDefaults() {
    LinkSettings settings = Settings();
    settings.autoRun = false;
    settings.syncMode = SyncMode::TalkListen;
    settings.syncTime = 500;
    settings.startCommand.clear();
    settings.stopCommand.clear();
    settings.comPort = 0;
    settings.portName.clear();
    settings.sampleRate = 500;
    settings.baudRate = 8192;
    if (engine_) {
        if (engine_->Running()) {
            engine_->PauseClick();
        }
        engine_->ResetSyncErrors();
        engine_->SetLoopBackEnabled(false);
        engine_->SetTestDataChoice(1);
        engine_->SetElapsedSeconds(0.0);
    }
    decoder_.SetRawMode(false);
    host_->EngineDefaultsApplied();
    host_->ClosePort();
    ApplyLinkSettings(settings, true);
    table_.Reset();
}

const SettingsFileRead& Session::ReadSettingsFile() {
    settingsRead_ = set_.ReadSettings(Settings());
    return settingsRead_;
}

std::optional<std::string> Session::BeginSave() {
    std::vector<std::string> names;
    for (const SetMember* member : writeOrder_) {
        names.push_back(member->FileName(set_.Names()));
    }
    return SaveJournal::Begin(set_.Folder(), names);
}

std::vector<std::string> Session::WriteMembers() {
    std::vector<std::string> errors;
    const SetNames& names = set_.Names();
    bool layoutFailed = false;
    bool gaugesFailed = false;
    for (SetMember* member : writeOrder_) {
        if (auto error = member->Write(*this)) {
            errors.push_back(std::move(*error));
            const std::string file = member->FileName(names);
            layoutFailed = layoutFailed || file == names.layoutFileName;
            gaugesFailed = gaugesFailed || file == names.gaugeListFileName;
        }
    }
    if (layoutFailed != gaugesFailed) {
        // One half of the dashboard alone would not match the other half still on disk.
        const std::string& written = layoutFailed ? names.gaugeListFileName : names.layoutFileName;
        const std::string& failed = layoutFailed ? names.layoutFileName : names.gaugeListFileName;
        if (auto error = SaveJournal::PutBack(set_.Folder(), written)) {
            errors.push_back("\"" + written + "\" was saved but \"" + failed +
                             "\" was not, and it could not be put back as it was: " + *error);
        } else {
            errors.push_back(
                "\"" + written + "\" was put back as it was, since \"" + failed +
                "\" could not be saved with it: the gauge list and the layout file are "
                "saved together or not at all.");
        }
    }
    return errors;
}

std::vector<std::string> Session::Save() {
    if (auto error = BeginSave()) {
        return {*error};
    }
    std::vector<std::string> errors = WriteMembers();
    SaveJournal::Finish(set_.Folder());
    return errors;
}

std::vector<std::string> Session::SaveAs(std::string_view setName) {
    set_.UseChosenSet(setName);
    if (auto error = BeginSave()) {
        return {*error};
    }
    std::vector<std::string> errors;
    if (auto error = set_.WriteSettings(Settings())) {
        errors.push_back(std::move(*error));
    }
    if (port_ != nullptr) {
        port_->FlushInput();
    }
    for (std::string& error : WriteMembers()) {
        errors.push_back(std::move(error));
    }
    SaveJournal::Finish(set_.Folder());
    return errors;
}

std::optional<std::string> Session::Load(std::string_view setName) {
    set_.UseChosenSet(setName);
    std::optional<std::string> error = set_.WritePointer();
    Open();
    return error;
}

RecoverySnapshot Session::Snapshot() const {
    const SetNames& names = set_.Names();
    RecoverySnapshot snapshot;
    snapshot.setFolder = set_.Folder().string();
    // The default set has no name of its own; its files still do.
    snapshot.setName = names.setName.empty()
                           ? names.parameterFileName.substr(0, names.parameterFileName.find('.'))
                           : names.setName;
    for (const SetMember* member : writeOrder_) {
        if (auto contents = member->Contents(*this)) {
            snapshot.files.emplace_back(member->FileName(names), std::move(*contents));
        }
    }
    return snapshot;
}

bool Session::Pause() {
    if (!engine_ || !engine_->Running()) {
        return false;
    }
    engine_->PauseClick();
    return true;
}

void Session::StopAcquisition() {
    if (engine_) {
        engine_->StopPlayback();
        Pause();
    }
}

void Session::CloseLogAndPort() {
    if (engine_) {
        // Every completed frame is in the log already; it is closed before the set is saved.
        engine_->CloseRecordingNow(kProgramEndsReason);
    }
    if (port_ != nullptr) {
        port_->FlushInput();
    }
    host_->ClosePort();
}

void Session::StopForClose() {
    StopAcquisition();
    CloseLogAndPort();
}

std::vector<std::string> Session::Close() {
    StopForClose();
    return Save();
}

std::vector<StreamComponent> Session::LayoutRecords() const {
    return layout_.Records(host_->CaptureWindowLayout());
}

LayoutTrailer Session::LayoutTrailerNow() const {
    return layout_.Trailer(host_->CaptureWindowLayout());
}

std::string Session::LayoutBytes() const {
    return layout_.Bytes(host_->CaptureWindowLayout());
}

std::string Session::GaugeListText() const {
    return FormatGaugeList(GaugeListOf(dashboard_, dashboard_.NumberForSave()));
}

}  // namespace vekaton
