#include "dashboard/LayoutFile.h"

#include <algorithm>

#include "common/NoteList.h"
#include "dashboard/LayoutTexts.h"

namespace vekaton {
namespace {

void PutInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

std::int32_t GetInt32(std::string_view data, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | static_cast<std::uint8_t>(data[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(bits);
}

bool SignatureAt(std::string_view data, std::size_t offset) {
    return offset <= data.size() && data.size() - offset >= kStreamSignature.size() &&
           data.substr(offset, kStreamSignature.size()) == kStreamSignature;
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// Cut values of every record, told once for the whole file.
void NoteCut(NoteList& notes, std::vector<std::string>& cut) {
    for (std::string& note : cut) {
        notes.Add(std::move(note));
    }
    cut.clear();
}

}  // namespace

std::optional<std::string> WriteLayoutBytes(const std::vector<StreamComponent>& records,
                                            const LayoutTrailer& trailer, std::string& out) {
    std::string bytes;
    for (const StreamComponent& record : records) {
        if (auto error = WriteComponentRecord(record, bytes)) {
            return error;
        }
    }
    for (const std::int32_t value :
         {trailer.left, trailer.top, trailer.right, trailer.bottom, trailer.colour, trailer.page}) {
        PutInt32(bytes, value);
    }
    // A layout may be tens of megabytes: not copied when there is nothing before it.
    if (out.empty()) {
        out.swap(bytes);
    } else {
        out += bytes;
    }
    return std::nullopt;
}

std::optional<LayoutTrailer> ReadLayoutTrailer(std::string_view data, std::size_t offset) {
    if (offset > data.size() || data.size() - offset < kLayoutTrailerSize) {
        return std::nullopt;
    }
    LayoutTrailer trailer;
    trailer.left = GetInt32(data, offset);
    trailer.top = GetInt32(data, offset + 4);
    trailer.right = GetInt32(data, offset + 8);
    trailer.bottom = GetInt32(data, offset + 12);
    trailer.colour = GetInt32(data, offset + 16);
    trailer.page = GetInt32(data, offset + 20);
    return trailer;
}

LayoutParse ParseLayout(std::string_view data) {
    LayoutParse parse;
    StreamBudget budget;
    NoteList cut;
    std::size_t pos = 0;
    const auto finish = [&parse, &cut] {
        parse.cut = cut.Lines("values cut like these");
        return std::move(parse);
    };
    for (;;) {
        const std::size_t remaining = data.size() - pos;
        if (remaining == 0) {
            if (parse.records.size() != 1) {
                parse.error = StreamError{
                    pos, parse.records.empty()
                             ? "the file is empty"
                             : "the file ends without the 24-byte trailer of a layout file"};
            }
            return finish();
        }
        if (SignatureAt(data, pos)) {
            ComponentRecordRead read = ReadComponentRecord(data, pos, &budget);
            NoteCut(cut, read.cut);
            if (read.component) {
                parse.records.push_back(std::move(*read.component));
                pos = read.end;
                continue;
            }
            parse.error = std::move(read.error);
            return finish();
        }
        if (remaining == kLayoutTrailerSize && !parse.records.empty()) {
            parse.trailer = ReadLayoutTrailer(data, pos);
            return finish();
        }
        parse.error =
            StreamError{pos, "expected a \"TPF0\" record or the 24-byte trailer, found " +
                                 Plural(remaining, "byte", "bytes") + " of something else"};
        return finish();
    }
}

namespace {

// The records and the trailer; `cut` collects the values that were cut on the way.
void ReadLayoutInto(LayoutRead& out, NoteList& cut, StreamBudget& budget, std::string_view data,
                    std::span<const std::string> componentNames, LayoutReadPrompts& prompts) {
    out.records.resize(componentNames.size());
    std::size_t pos = 0;
    for (std::size_t i = 0; i < componentNames.size(); ++i) {
        const std::string& name = componentNames[i];
        // Past the last record (only the trailer or nothing left) there is nothing to ask about.
        const std::size_t left = data.size() - std::min(pos, data.size());
        if (left == 0 || (left == kLayoutTrailerSize && !SignatureAt(data, pos))) {
            out.damaged = true;
            out.notes.push_back(
                "The layout file has no record for \"" + name + "\"; " +
                Plural(componentNames.size() - i, "control keeps its", "controls keep their") +
                " design.");
            break;
        }
        const std::size_t start = pos;
        ComponentRecordRead read = ReadComponentRecord(data, start, &budget);
        NoteCut(cut, read.cut);
        if (read.component) {
            out.records[i] = std::move(read.component);
            pos = read.end;
            continue;
        }
        out.damaged = true;
        prompts.ShowMessage(std::string(texts::kLayoutReadError) + std::to_string(start) +
                            std::string(texts::kLayoutTryingToRead) + name);
        if (prompts.AskOkCancel(texts::kTrySkippingFile)) {
            const std::size_t next = data.find(kStreamSignature, start + 1);
            ComponentRecordRead again;
            if (next != std::string_view::npos) {
                again = ReadComponentRecord(data, next, &budget);
                NoteCut(cut, again.cut);
            }
            if (!again.component) {
                prompts.ShowMessage(texts::kUnableToRecover);
                const std::size_t rest = componentNames.size() - i - 1;
                if (rest > 0) {
                    out.notes.push_back(
                        "The rest of the layout file was not read; " +
                        Plural(rest, "more control keeps its", "more controls keep their") +
                        " design.");
                }
                return;
            }
            out.records[i] = std::move(again.component);
            pos = again.end;
        } else if (prompts.AskOkCancel(texts::kTrySkippingForm)) {
            pos = start;
        } else {
            pos = std::max(read.end, start);
        }
    }
    const std::size_t remaining = data.size() - std::min(pos, data.size());
    if (remaining == kLayoutTrailerSize) {
        out.trailer = ReadLayoutTrailer(data, pos);
    } else if (remaining > kLayoutTrailerSize) {
        // More records than controls: the window's place is still the file's last 24 bytes.
        out.damaged = true;
        out.trailer = ReadLayoutTrailer(data, data.size() - kLayoutTrailerSize);
        out.notes.push_back(Plural(remaining - kLayoutTrailerSize, "byte", "bytes") +
                            " of the layout file after the last control's record were not read.");
    } else {
        out.damaged = true;
        out.notes.push_back(
            "The window's size and position are missing from the layout file; it keeps its own.");
    }
}

}  // namespace

LayoutRead ReadLayout(std::string_view data, std::span<const std::string> componentNames,
                      LayoutReadPrompts& prompts) {
    LayoutRead out;
    NoteList cut;
    StreamBudget budget;
    ReadLayoutInto(out, cut, budget, data, componentNames, prompts);
    if (budget.valuesLeft == 0) {
        out.damaged = true;
        out.notes.push_back("The layout file holds more than " + std::to_string(kMaxStreamValues) +
                            " values, more than any dashboard holds; what follows them was not "
                            "read.");
    }
    if (!cut.Empty()) {
        out.damaged = true;
        out.notes.push_back("Values longer than " + std::to_string(kMaxStreamContentBytes / 1024) +
                            " KB keep only their beginning:");
        for (std::string& line : cut.Lines("values cut like these")) {
            out.notes.push_back(std::move(line));
        }
    }
    return out;
}

}  // namespace vekaton
