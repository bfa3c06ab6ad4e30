// Component stream and layout file readers: any bytes must read without touching memory outside
// the data, without hanging and within the value limit. A record that reads must be written back
// byte for byte (a value cut to its first 64 KB as kept), and the window's reading with its
// questions must give one slot per control whatever the answers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/ComponentStream.h"
#include "dashboard/LayoutFile.h"
#include "dashboard/StreamProperties.h"

namespace {

// Answers the questions from the data's own bytes, so the fuzzer explores every path.
class ScriptedPrompts : public vekaton::LayoutReadPrompts {
  public:
    explicit ScriptedPrompts(std::string_view script) : script_(script) {}
    void ShowMessage(std::string_view) override { ++calls; }
    bool AskOkCancel(std::string_view) override {
        ++calls;
        if (script_.empty()) {
            return false;
        }
        const bool answer = (static_cast<unsigned char>(script_[next_ % script_.size()]) & 1) != 0;
        ++next_;
        return answer;
    }
    std::size_t calls = 0;

  private:
    std::string_view script_;
    std::size_t next_ = 0;
};

const std::vector<vekaton::PropertyDescriptor>& Descriptors() {
    using vekaton::PropertyValue;
    static const std::vector<vekaton::PropertyDescriptor> descriptors{
        {"Left", PropertyValue::Integer(0)},
        {"Caption", PropertyValue::String("")},
        {"Color", PropertyValue::Colour(vekaton::kColourBtnFace)},
        {"Position", PropertyValue::Float(0.0)},
        {"Visible", PropertyValue::Boolean(true)},
        {"Style", PropertyValue::Identifier("bsRaised")},
        {"Options", PropertyValue::Set({})},
    };
    return descriptors;
}

void CheckRecordRoundTrip(std::string_view data) {
    const vekaton::ComponentRecordRead read = vekaton::ReadComponentRecord(data, 0);
    if (read.end > data.size()) {
        std::abort();
    }
    if (!read.component) {
        if (!read.error || read.error->offset > data.size()) {
            std::abort();
        }
        return;
    }
    std::string written;
    if (vekaton::WriteComponentRecord(*read.component, written)) {
        std::abort();
    }
    if (read.cut.empty()) {
        if (written != data.substr(0, read.end)) {
            std::abort();
        }
    } else {
        // Values cut to their first 64 KB: what was kept writes and reads back as kept.
        const vekaton::ComponentRecordRead back = vekaton::ReadComponentRecord(written, 0);
        if (!back.component || !back.cut.empty() || !(*back.component == *read.component)) {
            std::abort();
        }
    }
    // Known properties through the widget's types and back must still make a valid record.
    const vekaton::LoadedProperties loaded =
        vekaton::LoadProperties(read.component->properties, Descriptors());
    vekaton::StreamComponent rewritten = *read.component;
    rewritten.properties =
        vekaton::PropertiesToWrite(loaded.values, Descriptors(), read.component->properties);
    std::string again;
    if (vekaton::WriteComponentRecord(rewritten, again)) {
        std::abort();
    }
    const vekaton::ComponentRecordRead reread = vekaton::ReadComponentRecord(again, 0);
    if (!reread.component || reread.end != again.size() ||
        reread.component->properties != rewritten.properties) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    CheckRecordRoundTrip(data);

    const vekaton::LayoutParse parse = vekaton::ParseLayout(data);
    if (parse.error && parse.error->offset > data.size()) {
        std::abort();
    }

    // As many controls as the data has records, give or take one, so that reading meets the
    // exact, the short and the long case; the answers come from the data's last bytes.
    std::size_t records = 0;
    for (std::size_t at = data.find(vekaton::kStreamSignature);
         at != std::string_view::npos && records < 8;
         at = data.find(vekaton::kStreamSignature, at + 1)) {
        ++records;
    }
    const int shift = size == 0 ? 0 : static_cast<unsigned char>(data.back()) % 3 - 1;
    const int wanted = static_cast<int>(records) + shift;
    const std::size_t controls = wanted < 0 ? 0 : static_cast<std::size_t>(wanted);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < controls; ++i) {
        names.push_back("Control" + std::to_string(i));
    }
    ScriptedPrompts prompts(data.substr(size > 16 ? size - 16 : 0));
    const vekaton::LayoutRead read = vekaton::ReadLayout(data, names, prompts);
    if (read.records.size() != names.size() || prompts.calls > 4 * names.size()) {
        std::abort();
    }
    return 0;
}
