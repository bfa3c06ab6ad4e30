#include "definitions/AdxLink.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "definitions/AdxFields.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

constexpr int kGmBaud = 8192;
constexpr int kMaxMacroNesting = 8;
constexpr int kGmChecksumType = 2;
constexpr int kPollStepMs = 50;

std::string Quoted(const AdxObject& object) {
    return "\"" + object.Name() + "\"";
}

// The steps a command runs, macros opened up, in order.
class StepList {
  public:
    explicit StepList(const AdxDocument& document) : document_(document) {}

    void Add(const AdxObject& object, int depth) {
        if (object.kind != AdxKind::Macro) {
            steps.push_back(&object);
            return;
        }
        macros.push_back(&object);
        if (depth > kMaxMacroNesting || !open_.insert(&object).second) {
            notes.push_back("the macro " + Quoted(object) + " calls itself");
            return;
        }
        if (const auto* macro = std::get_if<AdxMacro>(&object.data)) {
            for (const AdxMacroStep& step : macro->steps) {
                if (const AdxObject* target = document_.FindById(step.command)) {
                    Add(*target, depth + 1);
                } else {
                    notes.push_back("its step \"" + Clipped(step.command) +
                                    "\" names no object of the file");
                }
            }
        }
        open_.erase(&object);
    }

    std::vector<const AdxObject*> steps;
    std::vector<const AdxObject*> macros;  // the macros opened, the command's own first
    std::vector<std::string> notes;

  private:
    const AdxDocument& document_;
    std::set<const AdxObject*> open_;
};

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

// A poll period that leaves the module time to answer: twice a frame's time on the wire, in
// steps of 50 ms, and never under 200 ms, since the module's own delay, a USB adapter's latency
// and a busy computer all come on top of the wire time.
int PollPeriod(int baud, int requestBytes, int replyBytes) {
    const double frameMs = (requestBytes + replyBytes + 1) * 10.0 * 1000.0 / baud;
    const int period = static_cast<int>(std::ceil(2.0 * frameMs / kPollStepMs)) * kPollStepMs;
    return std::clamp(period, 200, 2000);
}

// The bytes a connect command sends, as advice for the set's start command.
std::string ConnectAdvice(const std::vector<const AdxObject*>& steps) {
    std::vector<std::uint8_t> bytes;
    for (const AdxObject* step : steps) {
        if (const auto* command = std::get_if<AdxSendCommand>(&step->data)) {
            std::vector<std::uint8_t> sent = command->bytes;
            if (command->checksumType == kGmChecksumType) {
                sent.push_back(GmChecksum(sent));
            }
            bytes.insert(bytes.end(), sent.begin(), sent.end());
        }
    }
    if (bytes.empty() || static_cast<int>(bytes.size()) > kMaxRequestBytes) {
        return "";
    }
    return "; if the module needs it, give " + RequestText(bytes) + " as the start command";
}

}  // namespace

std::uint8_t GmChecksum(const std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (const std::uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<std::uint8_t>((256U - (sum & 0xFFU)) & 0xFFU);
}

bool IsPolledExchange(const AdxLinkChoice& link, std::uint32_t parent) {
    return (link.reply != nullptr && link.reply->idHash == parent) ||
           (link.request != nullptr && link.request->idHash == parent);
}

namespace {

// Chooses the exchange, fills the settings and words the report lines, keeping what the lines
// need to say on the way.
class LinkChooser {
  public:
    explicit LinkChooser(const AdxDocument& document)
        : document_(document), header_(document.Header()), monitor_(document), connect_(document) {}

    AdxLinkChoice Choose() {
        FindSteps();
        if (PickExchange() && ReadReply() && ReadRequest()) {
            choice_.settings.sampleRate =
                PollPeriod(choice_.settings.baudRate, static_cast<int>(request_.size()),
                           choice_.settings.responseBytes + choice_.settings.dataBytes);
            for (std::size_t i = 0; i < document_.objects.size(); ++i) {
                if (auto line = LineOf(document_.objects[i])) {
                    choice_.lines[i] = *line;
                }
            }
        }
        return choice_;
    }

  private:
    void FindSteps() {
        monitorObject_ = document_.FindById(header_.monitorCommand);
        if (monitorObject_ != nullptr) {
            monitor_.Add(*monitorObject_, 0);
        } else {
            headerNotes_.push_back(header_.monitorCommand.empty()
                                       ? "it names no monitor command, so the file's first "
                                         "request and reply are used"
                                       : "its monitor command \"" + header_.monitorCommand +
                                             "\" names no object, so the file's first request "
                                             "and reply are used");
            for (const AdxObject& object : document_.objects) {
                if (object.kind == AdxKind::SendCommand || object.kind == AdxKind::ListenPacket) {
                    monitor_.steps.push_back(&object);
                }
            }
        }
        connectObject_ = document_.FindById(header_.connectCommand);
        if (connectObject_ != nullptr) {
            connect_.Add(*connectObject_, 0);
        }
    }

    // The first request and the first reply after it; a link without requests only listens.
    bool PickExchange() {
        const auto& steps = monitor_.steps;
        const auto isRequest = [](const AdxObject* o) { return o->kind == AdxKind::SendCommand; };
        const auto isReply = [](const AdxObject* o) { return o->kind == AdxKind::ListenPacket; };
        const auto firstRequest = std::find_if(steps.begin(), steps.end(), isRequest);
        const auto firstReply = std::find_if(
            firstRequest == steps.end() ? steps.begin() : firstRequest, steps.end(), isReply);
        requests_ = std::count_if(steps.begin(), steps.end(), isRequest);
        if (firstReply == steps.end()) {
            choice_.error = monitorObject_ != nullptr
                                ? "its monitor command " + Quoted(*monitorObject_) +
                                      " reads no reply (ADXCLISTENPACKET), so no value has a place"
                                : "it holds no reply (ADXCLISTENPACKET), so no value has a place";
            return false;
        }
        choice_.request = firstRequest == steps.end() ? nullptr : *firstRequest;
        choice_.reply = *firstReply;
        for (const AdxObject* object : {choice_.reply, choice_.request}) {
            if (object != nullptr && !object->problem.empty()) {
                choice_.error =
                    std::string(object == choice_.reply ? "its reply " : "its request ") +
                    Quoted(*object) + " cannot be read: " + object->problem;
                return false;
            }
        }
        return true;
    }

    bool ReadReply() {
        LinkSettings& settings = choice_.settings;
        settings.baudRate = header_.baud.value_or(kGmBaud);
        if (!header_.baud || CheckRange(LinkField::BaudRate, settings.baudRate)) {
            headerNotes_.push_back("it gives no usable baud rate, so 8192 is used");
            settings.baudRate = kGmBaud;
        }
        gm_ = settings.baudRate == kGmBaud;
        const auto& packet = std::get<AdxListenPacket>(choice_.reply->data);
        if (!packet.dataBytes || *packet.dataBytes < 1) {
            choice_.error = "its reply " + Quoted(*choice_.reply) + " gives no packetsize";
            return false;
        }
        choice_.dataBytes = std::min(*packet.dataBytes, kMaxDataBytes);
        if (*packet.dataBytes > kMaxDataBytes) {
            replyNotes_.push_back("its " + std::to_string(*packet.dataBytes) +
                                  " data bytes are cut to the 500 a frame may hold");
        }
        settings.dataBytes = choice_.dataBytes;
        settings.responseBytes = std::clamp(packet.headerBytes.value_or(0), 0, 65535);
        if (!packet.headerBytes) {
            replyNotes_.push_back(
                "it gives no packetoffsetinbody, so no header bytes are expected");
        }
        if (!packet.headerString.empty()) {
            replyNotes_.push_back("its header string " + packet.headerString +
                                  " is not looked for");
        }
        settings.useCheckSum = gm_;
        if (packet.flags) {
            replyFlags_ = " (flags " + HexWord(*packet.flags) + ")";
        }
        return true;
    }

    bool ReadRequest() {
        LinkSettings& settings = choice_.settings;
        if (choice_.request == nullptr) {
            settings.syncMode = SyncMode::ListenOnly;
            headerNotes_.push_back("it sends no request, so the set only listens");
            return true;
        }
        const auto& command = std::get<AdxSendCommand>(choice_.request->data);
        request_ = command.bytes;
        std::vector<std::string> notes;
        if (command.declaredSize && *command.declaredSize != static_cast<int>(request_.size())) {
            notes.push_back("its size says " + std::to_string(*command.declaredSize) +
                            " bytes, its bytestring holds " + std::to_string(request_.size()));
        }
        if (command.checksumType == kGmChecksumType) {
            const std::uint8_t checksum = GmChecksum(request_);
            request_.push_back(checksum);
            notes.push_back("checksum " + RequestText({checksum}) + " added");
        } else if (command.checksumType) {
            notes.push_back("checksum type " + std::to_string(*command.checksumType) +
                            " is not known, so the request is sent as written");
        }
        if (request_.empty() || static_cast<int>(request_.size()) > kMaxRequestBytes) {
            choice_.error = "its request " + Quoted(*choice_.request) + " has " +
                            std::to_string(request_.size()) + " bytes; a request holds 1 to 84";
            return false;
        }
        settings.requestString = RequestText(request_);
        settings.syncMode = SyncMode::TalkListen;
        settings.requestEchoed = gm_;
        requestLine_ = "the request, " + settings.requestString +
                       (notes.empty() ? "" : " (" + Joined(notes) + ")") +
                       (gm_ ? ", heard back as its echo" : "");
        return true;
    }

    static bool Within(const StepList& list, const AdxObject& object) {
        return std::count(list.steps.begin(), list.steps.end(), &object) > 0 ||
               std::count(list.macros.begin(), list.macros.end(), &object) > 0;
    }

    std::string HeaderLine(const AdxObject& object) const {
        if (&std::get<AdxHeader>(object.data) != &header_) {
            return "skipped: only the first header is read";
        }
        const LinkSettings& settings = choice_.settings;
        return "link at " + std::to_string(settings.baudRate) + " baud, " +
               (settings.syncMode == SyncMode::TalkListen
                    ? "polled every " + std::to_string(settings.sampleRate) + " ms"
                    : std::string("listen only")) +
               (settings.useCheckSum ? ", checksum tested" : ", no checksum tested") +
               (headerNotes_.empty() ? "" : "; " + Joined(headerNotes_));
    }

    std::string MacroLine(const AdxObject& object) const {
        if (&object == monitorObject_) {
            const auto further = requests_ - 1;
            return "the monitor command: " +
                   (choice_.request ? "sends " + Quoted(*choice_.request) + ", " : "") + "reads " +
                   Quoted(*choice_.reply) +
                   (further > 0
                        ? "; only one frame can be polled, so its " + std::to_string(further) +
                              (further == 1 ? " further request is" : " further requests are") +
                              " not sent"
                        : "") +
                   (monitor_.notes.empty() ? "" : "; " + Joined(monitor_.notes));
        }
        if (&object == connectObject_ || Within(connect_, object)) {
            return "skipped: the connect command is not imported" + ConnectAdvice(connect_.steps);
        }
        return Within(monitor_, object)
                   ? "a step of the monitor command"
                   : "skipped: neither the monitor nor the connect command runs it";
    }

    std::optional<std::string> LineOf(const AdxObject& object) const {
        const bool inMonitor = Within(monitor_, object);
        switch (object.kind) {
            case AdxKind::Header:
                return HeaderLine(object);
            case AdxKind::SendCommand:
                if (&object == choice_.request) {
                    return requestLine_;
                }
                if (inMonitor) {
                    return "skipped: only one frame can be polled, and the monitor command sends "
                           "another first";
                }
                if (Within(connect_, object)) {
                    return "skipped: only the connect command sends it, which is not imported" +
                           ConnectAdvice({&object});
                }
                return "skipped: the monitor command does not send it";
            case AdxKind::ListenPacket:
                if (&object == choice_.reply) {
                    const LinkSettings& settings = choice_.settings;
                    return "the reply, " + std::to_string(settings.responseBytes) +
                           " header bytes and " + std::to_string(settings.dataBytes) +
                           " data bytes, " +
                           (settings.useCheckSum ? "checksum tested" : "no checksum tested") +
                           replyFlags_ + (replyNotes_.empty() ? "" : "; " + Joined(replyNotes_));
                }
                return inMonitor ? "skipped: only one frame can be polled, and the monitor "
                                   "command reads another first"
                                 : "skipped: the monitor command does not read it";
            case AdxKind::Silence:
                return "skipped: pauses are not imported; the poll period sets the pace";
            case AdxKind::Macro:
                return MacroLine(object);
            default:
                return std::nullopt;
        }
    }

    const AdxDocument& document_;
    const AdxHeader& header_;
    StepList monitor_;
    StepList connect_;
    const AdxObject* monitorObject_ = nullptr;
    const AdxObject* connectObject_ = nullptr;
    AdxLinkChoice choice_;
    bool gm_ = false;
    std::vector<std::uint8_t> request_;
    std::ptrdiff_t requests_ = 0;
    std::vector<std::string> headerNotes_;
    std::vector<std::string> replyNotes_;
    std::string replyFlags_;
    std::string requestLine_;
};

}  // namespace

AdxLinkChoice ChooseAdxLink(const AdxDocument& document) {
    return LinkChooser(document).Choose();
}

}  // namespace vekaton
