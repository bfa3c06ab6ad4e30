#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vekaton {

// A save of a set rewrites several files one after another; a kill between two of them would
// leave a set that is half new and half old (a new layout with an old gauge list). The journal
// keeps a copy of every file the save may replace, and a marker naming them, in a folder inside
// the set's folder, from before the first file is written until after the last. A start that
// finds the marker puts the old files back, so the set is whole again as it was before that
// save (the window's recovery copies then offer the changes the save was writing).
class SaveJournal {
  public:
    static constexpr char kFolderName[] = ".Vekaton-save";

    // Copies the files named (in any letter case; missing ones are noted as missing) and writes
    // the marker. An error means no save may start: nothing of the set was touched.
    static std::optional<std::string> Begin(const std::filesystem::path& setFolder,
                                            const std::vector<std::string>& fileNames);
    // During a save: puts one file back as it was before the save (removes it when there was
    // none), for a file whose partner could not be saved with it. The error says why not.
    static std::optional<std::string> PutBack(const std::filesystem::path& setFolder,
                                              const std::string& fileName);
    // The save ended (written or reported): the journal goes, marker first.
    static void Finish(const std::filesystem::path& setFolder);

    // At start-up, by the holder of the lock only: a save that did not finish is undone.
    struct Undone {
        std::string message;  // for the user; empty when there was nothing to undo
        bool failed = false;  // the set could not be made whole: leave it alone
    };
    static Undone UndoUnfinished(const std::filesystem::path& setFolder);
};

// The marker's text: one line per file, "c" (copied) or "a" (absent), its name's length and the
// name, so that no name can start a line of its own.
struct SaveJournalEntry {
    bool copied = false;
    std::string name;
    friend bool operator==(const SaveJournalEntry&, const SaveJournalEntry&) = default;
};
std::string FormatSaveJournal(const std::vector<SaveJournalEntry>& entries);
std::optional<std::vector<SaveJournalEntry>> ParseSaveJournal(const std::string& text);

}  // namespace vekaton
