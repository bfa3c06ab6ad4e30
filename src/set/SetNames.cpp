#include "set/SetNames.h"

#include <system_error>

#include "common/MessageText.h"
#include "common/TextLines.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

SetNames FormNames(std::string_view setName, std::string_view layoutExt,
                   std::string_view gaugeListExt) {
    const std::string name(setName);
    SetNames names;
    names.setName = name;
    names.parameterFileName = name + ".cfg";
    names.settingsFileName = name + ".ini";
    names.layoutFileName = name + std::string(layoutExt);
    names.gaugeListFileName = name + std::string(gaugeListExt);
    return names;
}

}  // namespace

SetNames NamesFromPointer(std::string_view setName) {
    return FormNames(setName, ".dsf", ".gau");
}

SetNames NamesForChosenSet(std::string_view setName) {
    return FormNames(setName, ".Dsf", ".Gau");
}

std::string SetCaption(std::string_view setName) {
    return "Vekaton v" + std::string(kProgramVersion) + " : " + std::string(setName);
}

std::string SetNameFromChosenFile(std::string_view chosenPath) {
    std::string name = std::filesystem::path(chosenPath).filename().string();
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

bool IsUsableSetName(std::string_view setName) {
    return !SetNameProblem(setName);
}

std::optional<std::string> SetNameProblem(std::string_view setName) {
    if (setName.empty()) {
        return "it is empty";
    }
    for (const char c : setName) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return "it holds a control character";
        }
    }
    if (setName.find_first_of("/\\") != std::string_view::npos) {
        return "it holds a folder separator, and a set's files are always in its own folder";
    }
    if (setName.find("..") != std::string_view::npos) {
        return "it holds \"..\", which could name a folder above the set's";
    }
    return std::nullopt;
}

LoadedSetNames LoadSetNames(const std::filesystem::path& folder, const SetNames& current) {
    DamagedFileGuard guard;
    return LoadSetNames(folder, current, guard);
}

LoadedSetNames LoadSetNames(const std::filesystem::path& folder, const SetNames& current,
                            DamagedFileGuard& guard) {
    LoadedSetNames loaded;
    loaded.names = current;
    loaded.names.setName.clear();
    loaded.caption = SetCaption("");
    SetFileRead read;
    const auto text = OpenSetFile(folder, kSetPointerFileName, kSetPointerType, guard, read);
    loaded.pointerFound = read.found;
    if (!text) {
        if (read.found) {
            loaded.warning = std::move(read.errorMessage);
        }
        return loaded;
    }
    const std::filesystem::path& path = read.path;
    const auto lines = SplitLines(*text);
    const std::string setName = lines.empty() ? std::string() : lines.front();
    if (setName.empty()) {
        return loaded;  // as good as no pointer at all
    }
    if (const auto problem = SetNameProblem(setName)) {
        // A name from the file must not send the set's files to another folder.
        loaded.warning = "The set name \"" + QuoteText(setName) + "\" in \"" +
                         QuotePath(path.filename()) + "\" is not used: " + *problem + ".";
        return loaded;
    }
    loaded.names = NamesFromPointer(setName);
    loaded.caption = SetCaption(setName);
    return loaded;
}

std::optional<std::string> WriteSetPointer(const std::filesystem::path& folder,
                                           std::string_view parameterFileName) {
    const std::size_t dot = parameterFileName.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const std::filesystem::path path = ResolveSetFile(folder, kSetPointerWriteName);
    const std::string text = JoinLinesCrLf({std::string(parameterFileName.substr(0, dot))});
    if (auto error = SaveSizeProblem(path, text.size())) {
        return error;
    }
    return WriteFileAtomically(path, text);
}

}  // namespace vekaton
