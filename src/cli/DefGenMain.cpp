// vekaton-defgen: makes the library's definition sets from their reviewed sources.
//   vekaton-defgen [--check] SOURCES LIBRARY
// Every SOURCES/ID.def becomes LIBRARY/ID/ with ID.ini, ID.cfg, ID.details, ID.gau and ID.dsf.
// --check writes nothing and fails when a set in LIBRARY differs from what its source makes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "definitions/DefinitionLibrary.h"
#include "files/SafeFile.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 64;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Usage() {
    std::cerr << "usage: vekaton-defgen [--check] SOURCES LIBRARY\n"
                 "  Makes LIBRARY/ID/ (ID.ini, ID.cfg, ID.details, ID.gau, ID.dsf) from every\n"
                 "  SOURCES/ID.def. --check writes nothing and exits 1 when a set differs.\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool check = false;
    if (!args.empty() && args.front() == "--check") {
        check = true;
        args.erase(args.begin());
    }
    if (args.size() != 2) {
        return Usage();
    }
    const std::filesystem::path sources = args[0];
    const std::filesystem::path library = args[1];
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(sources, ec)) {
        if (item.path().extension() == ".def") {
            files.push_back(item.path());
        }
    }
    if (ec || files.empty()) {
        std::cerr << "vekaton-defgen: no .def sources in " << sources << "\n";
        return kExitFailed;
    }
    std::sort(files.begin(), files.end());
    int failures = 0;
    for (const std::filesystem::path& file : files) {
        const std::string id = file.stem().string();
        const vekaton::BuiltDefinition built =
            vekaton::BuildDefinition(vekaton::ParseDefinitionSource(ReadFile(file)),
                                     "definitions/source/" + file.filename().string());
        if (!built.errors.empty() || built.id != id) {
            for (const std::string& error : built.errors) {
                std::cerr << file.filename().string() << ": " << error << "\n";
            }
            if (built.id != id) {
                std::cerr << file.filename().string() << ": the id must be the file's name\n";
            }
            ++failures;
            continue;
        }
        for (const std::string& note : built.lookupNotes) {
            std::cout << id << ": " << note << "\n";
        }
        const std::filesystem::path folder = library / id;
        if (!check) {
            std::filesystem::create_directories(folder, ec);
        }
        for (const auto& [name, contents] : vekaton::DefinitionFiles(built, id)) {
            const std::filesystem::path path = folder / name;
            if (check) {
                if (ReadFile(path) != contents) {
                    std::cerr << path.string() << " differs from what " << file.filename().string()
                              << " makes; run vekaton-defgen " << sources.string() << " "
                              << library.string() << "\n";
                    ++failures;
                }
            } else if (auto error = vekaton::WriteFileAtomically(path, contents)) {
                std::cerr << "vekaton-defgen: " << *error << "\n";
                ++failures;
            }
        }
        std::cout << id << ": " << (check ? "checked" : "written") << "\n";
    }
    return failures == 0 ? 0 : kExitFailed;
}
