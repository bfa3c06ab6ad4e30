#include "session/DefinitionMembers.h"

#include "files/FileLookup.h"
#include "session/Session.h"
#include "set/DetailsFile.h"
#include "set/ParameterFile.h"
#include "set/SettingsFile.h"

namespace vekaton {

namespace {

void AddMessage(std::vector<std::string>& messages, const std::string& text) {
    if (!text.empty()) {
        messages.push_back(text);
    }
}

}  // namespace

std::string SetPointerMember::FileName(const SetNames& /*names*/) const {
    return std::string(kSetPointerFileName);
}

SetFileReport SetPointerMember::Read(Session& session) {
    ConfigurationSet& set = session.Set();
    SetFileReport report;
    report.fileName = FileName(set.Names());
    report.path = ResolveSetFile(set.Folder(), kSetPointerFileName);
    if (const auto& named = session.NamedSet()) {
        // A set named on the command line: the names the pointer would give, the pointer unread.
        set.UsePointerSet(*named);
        session.Host().ShowCaption(SetCaption(*named));
        return report;
    }
    const LoadedSetNames loaded = set.LoadNames();
    if (session.RemovesLeftovers()) {
        set.RemoveLeftovers();  // a set is never read from a killed save's temporary files
    }
    session.Host().ShowCaption(loaded.caption);
    report.found = loaded.pointerFound;
    if (loaded.warning) {
        report.messages.push_back(*loaded.warning);
    }
    return report;
}

std::optional<std::string> SetPointerMember::Contents(const Session& /*session*/) const {
    return std::nullopt;  // recovery copies are of the set's own files
}

std::optional<std::string> SetPointerMember::Write(Session& session) {
    return session.Set().WritePointer();
}

std::string ParameterFileMember::FileName(const SetNames& names) const {
    return names.parameterFileName;
}

SetFileReport ParameterFileMember::Read(Session& session) {
    const ParameterFileRead read = session.Set().ReadParameters(session.Table());
    SetFileReport report{FileName(session.Set().Names()), read.found, read.path, {}};
    AddMessage(report.messages, read.errorMessage);
    AddMessage(report.messages, read.warningMessage);
    return report;
}

std::optional<std::string> ParameterFileMember::Contents(const Session& session) const {
    return WriteParameterText(session.Table(), session.Set().ParameterHeader());
}

std::optional<std::string> ParameterFileMember::Write(Session& session) {
    return session.Set().WriteParameters(session.Table());
}

std::string DetailsFileMember::FileName(const SetNames& names) const {
    return DetailsFileNameFor(names.parameterFileName);
}

SetFileReport DetailsFileMember::Read(Session& session) {
    const DetailsFileRead read = session.Set().ReadDetails(session.Details());
    SetFileReport report{FileName(session.Set().Names()), read.found, read.path, {}};
    AddMessage(report.messages, read.errorMessage);
    AddMessage(report.messages, read.warningMessage);
    return report;
}

std::optional<std::string> DetailsFileMember::Contents(const Session& session) const {
    if (session.Details().Empty() && session.Set().DetailsHeader().empty()) {
        return std::nullopt;  // no details, no file: nothing for a recovery copy to keep
    }
    return FormatDetails(session.Details(), session.Set().DetailsHeader());
}

std::optional<std::string> DetailsFileMember::Write(Session& session) {
    return session.Set().WriteDetails(session.Details());
}

std::string SettingsFileMember::FileName(const SetNames& names) const {
    return names.settingsFileName;
}

SetFileReport SettingsFileMember::Read(Session& session) {
    const SettingsFileRead& read = session.ReadSettingsFile();
    SetFileReport report{FileName(session.Set().Names()), read.found, read.path, {}};
    AddMessage(report.messages, read.errorMessage);
    AddMessage(report.messages, read.warningMessage);
    return report;
}

void SettingsFileMember::Apply(Session& session) {
    const SettingsFileRead& read = session.SettingsRead();
    if (!read.found) {
        return;
    }
    const SettingsReadResult& result = read.result;
    session.ApplyLinkSettings(result.settings, result.ConnectReceivePath());
    if (result.linesRead >= 1) {
        session.Host().OpenPort(result.settings);
    }
}

std::optional<std::string> SettingsFileMember::Contents(const Session& session) const {
    return FormatSettings(session.Settings());
}

std::optional<std::string> SettingsFileMember::Write(Session& session) {
    return session.Set().WriteSettings(session.Settings());
}

}  // namespace vekaton
