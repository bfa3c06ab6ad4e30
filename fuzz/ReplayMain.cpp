// Runs a fuzz target over every file of its seed corpus, so the corpus is a regression test in
// ordinary (non-clang) builds. Exits non-zero when the corpus is missing or empty.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 64;
    }
    std::error_code error;
    std::filesystem::directory_iterator dir(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot read corpus %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    int count = 0;
    for (const auto& entry : dir) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++count;
    }
    if (count == 0) {
        std::fprintf(stderr, "corpus %s is empty\n", argv[1]);
        return 1;
    }
    std::printf("%d corpus inputs replayed\n", count);
    return 0;
}
