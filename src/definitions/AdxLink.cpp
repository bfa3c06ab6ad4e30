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

AdxLinkChoice ChooseAdxLink(const AdxDocument& document) {
    AdxLinkChoice choice;
    const AdxHeader& header = document.Header();
    std::vector<std::string> headerNotes;

    StepList monitor(document);
    const AdxObject* monitorObject = document.FindById(header.monitorCommand);
    if (monitorObject != nullptr) {
        monitor.Add(*monitorObject, 0);
    } else {
        headerNotes.push_back(header.monitorCommand.empty()
                                  ? "it names no monitor command, so the file's first request "
                                    "and reply are used"
                                  : "its monitor command \"" + header.monitorCommand +
                                        "\" names no object, so the file's first request and "
                                        "reply are used");
        for (const AdxObject& object : document.objects) {
            if (object.kind == AdxKind::SendCommand || object.kind == AdxKind::ListenPacket) {
                monitor.steps.push_back(&object);
            }
        }
    }
    StepList connect(document);
    const AdxObject* connectObject = document.FindById(header.connectCommand);
    if (connectObject != nullptr) {
        connect.Add(*connectObject, 0);
    }

    // The first request and the first reply after it; a link without requests only listens.
    const auto& steps = monitor.steps;
    const auto isRequest = [](const AdxObject* o) { return o->kind == AdxKind::SendCommand; };
    const auto isReply = [](const AdxObject* o) { return o->kind == AdxKind::ListenPacket; };
    const auto firstRequest = std::find_if(steps.begin(), steps.end(), isRequest);
    const auto firstReply = std::find_if(firstRequest == steps.end() ? steps.begin() : firstRequest,
                                         steps.end(), isReply);
    if (firstReply != steps.end()) {
        choice.request = firstRequest == steps.end() ? nullptr : *firstRequest;
        choice.reply = *firstReply;
    }
    const auto requests = std::count_if(steps.begin(), steps.end(), isRequest);
    if (choice.reply == nullptr) {
        choice.error = monitorObject != nullptr
                           ? "its monitor command " + Quoted(*monitorObject) +
                                 " reads no reply (ADXCLISTENPACKET), so no value has a place"
                           : "it holds no reply (ADXCLISTENPACKET), so no value has a place";
        return choice;
    }
    if (!choice.reply->problem.empty()) {
        choice.error =
            "its reply " + Quoted(*choice.reply) + " cannot be read: " + choice.reply->problem;
        return choice;
    }
    if (choice.request != nullptr && !choice.request->problem.empty()) {
        choice.error = "its request " + Quoted(*choice.request) +
                       " cannot be read: " + choice.request->problem;
        return choice;
    }

    LinkSettings& settings = choice.settings;
    settings.baudRate = header.baud.value_or(kGmBaud);
    if (!header.baud || CheckRange(LinkField::BaudRate, settings.baudRate)) {
        headerNotes.push_back("it gives no usable baud rate, so 8192 is used");
        settings.baudRate = kGmBaud;
    }
    const bool gm = settings.baudRate == kGmBaud;

    const auto& packet = std::get<AdxListenPacket>(choice.reply->data);
    std::vector<std::string> replyNotes;
    if (!packet.dataBytes || *packet.dataBytes < 1) {
        choice.error = "its reply " + Quoted(*choice.reply) + " gives no packetsize";
        return choice;
    }
    choice.dataBytes = std::min(*packet.dataBytes, kMaxDataBytes);
    if (*packet.dataBytes > kMaxDataBytes) {
        replyNotes.push_back("its " + std::to_string(*packet.dataBytes) +
                             " data bytes are cut to the 500 a frame may hold");
    }
    settings.dataBytes = choice.dataBytes;
    settings.responseBytes = std::clamp(packet.headerBytes.value_or(0), 0, 65535);
    if (!packet.headerBytes) {
        replyNotes.push_back("it gives no packetoffsetinbody, so no header bytes are expected");
    }
    if (!packet.headerString.empty()) {
        replyNotes.push_back("its header string " + packet.headerString + " is not looked for");
    }
    settings.useCheckSum = gm;

    std::vector<std::uint8_t> request;
    std::string requestLine;
    if (choice.request != nullptr) {
        const auto& command = std::get<AdxSendCommand>(choice.request->data);
        request = command.bytes;
        std::vector<std::string> notes;
        if (command.declaredSize && *command.declaredSize != static_cast<int>(request.size())) {
            notes.push_back("its size says " + std::to_string(*command.declaredSize) +
                            " bytes, its bytestring holds " + std::to_string(request.size()));
        }
        if (command.checksumType == kGmChecksumType) {
            const std::uint8_t checksum = GmChecksum(request);
            request.push_back(checksum);
            notes.push_back("checksum " + RequestText({checksum}) + " added");
        } else if (command.checksumType) {
            notes.push_back("checksum type " + std::to_string(*command.checksumType) +
                            " is not known, so the request is sent as written");
        }
        if (request.empty() || static_cast<int>(request.size()) > kMaxRequestBytes) {
            choice.error = "its request " + Quoted(*choice.request) + " has " +
                           std::to_string(request.size()) + " bytes; a request holds 1 to 84";
            return choice;
        }
        settings.requestString = RequestText(request);
        settings.syncMode = SyncMode::TalkListen;
        settings.requestEchoed = gm;
        requestLine = "the request, " + settings.requestString + (notes.empty() ? "" : " (") +
                      Joined(notes) + (notes.empty() ? "" : ")") +
                      (gm ? ", heard back as its echo" : "");
    } else {
        settings.syncMode = SyncMode::ListenOnly;
        headerNotes.push_back("it sends no request, so the set only listens");
    }
    settings.sampleRate = PollPeriod(settings.baudRate, static_cast<int>(request.size()),
                                     settings.responseBytes + settings.dataBytes);

    // Report lines: the header, then every object of the link.
    for (std::size_t i = 0; i < document.objects.size(); ++i) {
        const AdxObject& object = document.objects[i];
        const auto within = [&object](const StepList& list) {
            return std::count(list.steps.begin(), list.steps.end(), &object) > 0 ||
                   std::count(list.macros.begin(), list.macros.end(), &object) > 0;
        };
        const bool inMonitor = within(monitor);
        const bool inConnect = within(connect);
        std::string line;
        switch (object.kind) {
            case AdxKind::Header:
                if (&std::get<AdxHeader>(object.data) != &header) {
                    line = "skipped: only the first header is read";
                    break;
                }
                line = "link at " + std::to_string(settings.baudRate) + " baud, " +
                       (settings.syncMode == SyncMode::TalkListen
                            ? "polled every " + std::to_string(settings.sampleRate) + " ms"
                            : std::string("listen only")) +
                       (settings.useCheckSum ? ", checksum tested" : ", no checksum tested") +
                       (headerNotes.empty() ? "" : "; ") + Joined(headerNotes);
                break;
            case AdxKind::SendCommand:
                if (&object == choice.request) {
                    line = requestLine;
                } else if (inMonitor) {
                    line =
                        "skipped: only one frame can be polled, and the monitor command "
                        "sends another first";
                } else if (inConnect) {
                    line = "skipped: only the connect command sends it, which is not imported" +
                           ConnectAdvice({&object});
                } else {
                    line = "skipped: the monitor command does not send it";
                }
                break;
            case AdxKind::ListenPacket:
                if (&object == choice.reply) {
                    line = "the reply, " + std::to_string(settings.responseBytes) +
                           " header bytes and " + std::to_string(settings.dataBytes) +
                           " data bytes, " +
                           (settings.useCheckSum ? "checksum tested" : "no checksum tested") +
                           (packet.flags ? " (flags " + HexWord(*packet.flags) + ")" : "") +
                           (replyNotes.empty() ? "" : "; ") + Joined(replyNotes);
                } else if (inMonitor) {
                    line =
                        "skipped: only one frame can be polled, and the monitor command "
                        "reads another first";
                } else {
                    line = "skipped: the monitor command does not read it";
                }
                break;
            case AdxKind::Silence:
                line = "skipped: pauses are not imported; the poll period sets the pace";
                break;
            case AdxKind::Macro:
                if (&object == monitorObject) {
                    line = "the monitor command: " +
                           (choice.request ? "sends " + Quoted(*choice.request) + ", " : "") +
                           "reads " + Quoted(*choice.reply) +
                           (requests > 1 ? "; only one frame can be polled, so its " +
                                               std::to_string(requests - 1) +
                                               " further requests are not sent"
                                         : "") +
                           (monitor.notes.empty() ? "" : "; ") + Joined(monitor.notes);
                } else if (&object == connectObject || inConnect) {
                    line = "skipped: the connect command is not imported" +
                           ConnectAdvice(connect.steps);
                } else if (inMonitor) {
                    line = "a step of the monitor command";
                } else {
                    line = "skipped: neither the monitor nor the connect command runs it";
                }
                break;
            default:
                continue;
        }
        choice.lines[i] = line;
    }
    return choice;
}

}  // namespace vekaton
