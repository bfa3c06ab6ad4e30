// Definition source reader and set builder: any text must read and build without a crash,
// every error naming its line, and a source that builds must make files the set readers take.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "definitions/DefinitionLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) {
        return 0;  // sources are a few kilobytes; larger ones only slow the search down
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vekaton::DefinitionSource source = vekaton::ParseDefinitionSource(text);
    for (const std::string& error : source.errors) {
        if (error.rfind("Line ", 0) != 0) {
            std::abort();
        }
    }
    const vekaton::BuiltDefinition built = vekaton::BuildDefinition(source, "fuzz");
    if (built.errors.empty()) {
        for (const auto& [name, contents] : vekaton::DefinitionFiles(built, "Fuzz")) {
            if (contents.empty() && name.ends_with(".dsf")) {
                std::abort();  // a generated layout always writes
            }
        }
    }
    return 0;
}
