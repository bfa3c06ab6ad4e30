#include "set/RecoveryManifest.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace vekaton {

namespace {

constexpr std::string_view kMagic = "Vekaton recovery 2";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEnd = "End";

void PutNumber(std::string& out, std::string_view key, std::uint64_t value) {
    out += key;
    out += '=';
    out += std::to_string(value);
    out += kLineEnd;
}

// key=<length>:<bytes>: the length says where the text ends, whatever bytes it holds.
void PutText(std::string& out, std::string_view key, std::string_view text) {
    out += key;
    out += '=';
    out += std::to_string(text.size());
    out += ':';
    out += text;
    out += kLineEnd;
}

// Reads the manifest front to back; any byte out of place ends the reading.
class ManifestReader {
  public:
    explicit ManifestReader(std::string_view text) : rest_(text) {}

    bool Literal(std::string_view expected) {
        if (rest_.substr(0, expected.size()) != expected) {
            return false;
        }
        rest_.remove_prefix(expected.size());
        return true;
    }

    bool Key(std::string_view key) { return Literal(key) && Literal("="); }

    // Decimal digits up to `stop` (not taken); no sign, no blanks, no overflow.
    template <class T>
    bool Number(T& value, char stop) {
        const std::size_t end = rest_.find(stop);
        if (end == 0 || end == std::string_view::npos) {
            return false;
        }
        const auto [ptr, error] = std::from_chars(rest_.data(), rest_.data() + end, value);
        if (error != std::errc{} || ptr != rest_.data() + end) {
            return false;
        }
        rest_.remove_prefix(end);
        return true;
    }

    bool NumberLine(std::string_view key, std::uint64_t& value) {
        return Key(key) && Number(value, '\r') && Literal(kLineEnd);
    }

    bool Text(std::string& text) {
        std::size_t length = 0;
        if (!Number(length, ':') || !Literal(":") || length > RecoveryManifest::kMaxTextBytes ||
            length > rest_.size()) {
            return false;
        }
        text = std::string(rest_.substr(0, length));
        rest_.remove_prefix(length);
        return true;
    }

    bool TextLine(std::string_view key, std::string& text) {
        return Key(key) && Text(text) && Literal(kLineEnd);
    }

    bool AtEnd() const { return rest_.empty(); }

  private:
    std::string_view rest_;
};

}  // namespace

std::string FormatRecoveryManifest(const RecoveryManifest& manifest) {
    std::string out(kMagic);
    out += kLineEnd;
    PutNumber(out, "Generation", manifest.generation);
    PutText(out, "Folder", manifest.folder);
    out += "FolderId=" + std::to_string(manifest.folderDevice) + ":" +
           std::to_string(manifest.folderInode);
    out += kLineEnd;
    PutText(out, "Set", manifest.setName);
    for (const auto& [name, size] : manifest.files) {
        out += "File=" + std::to_string(size) + ",";
        out += std::to_string(name.size()) + ":" + name;
        out += kLineEnd;
    }
    out += kEnd;
    out += kLineEnd;
    return out;
}

std::optional<RecoveryManifest> ParseRecoveryManifest(std::string_view text, std::string* problem) {
    const auto fail = [problem](const char* why) -> std::optional<RecoveryManifest> {
        if (problem != nullptr) {
            *problem = why;
        }
        return std::nullopt;
    };
    ManifestReader reader(text);
    if (!reader.Literal(kMagic) || !reader.Literal(kLineEnd)) {
        return fail("it is not a recovery manifest of this version of Vekaton");
    }
    RecoveryManifest manifest;
    std::uint64_t generation = 0;
    if (!reader.NumberLine("Generation", generation) || generation == 0 ||
        generation > std::numeric_limits<unsigned>::max()) {
        return fail("its generation is damaged");
    }
    manifest.generation = static_cast<unsigned>(generation);
    if (!reader.TextLine("Folder", manifest.folder) || manifest.folder.empty()) {
        return fail("its folder is damaged");
    }
    if (!reader.Key("FolderId") || !reader.Number(manifest.folderDevice, ':') ||
        !reader.Literal(":") || !reader.Number(manifest.folderInode, '\r') ||
        !reader.Literal(kLineEnd)) {
        return fail("its folder's identity is damaged");
    }
    if (!reader.TextLine("Set", manifest.setName)) {
        return fail("its set name is damaged");
    }
    while (!reader.Literal(kEnd)) {
        std::pair<std::string, std::uint64_t> file;
        if (manifest.files.size() == RecoveryManifest::kMaxFiles || !reader.Key("File") ||
            !reader.Number(file.second, ',') || !reader.Literal(",") || !reader.Text(file.first) ||
            !reader.Literal(kLineEnd)) {
            return fail("its list of files is damaged");
        }
        manifest.files.push_back(std::move(file));
    }
    if (!reader.Literal(kLineEnd) || !reader.AtEnd()) {
        return fail("it does not end where it should");
    }
    return manifest;
}

}  // namespace vekaton
