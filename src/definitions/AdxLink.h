#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "common/LinkSettings.h"
#include "definitions/AdxDocument.h"

namespace vekaton {

// The link an ADX file polls, as our single-frame link can poll it: the first request of the
// monitor command and the first reply after it.
struct AdxLinkChoice {
    LinkSettings settings;
    const AdxObject* request = nullptr;  // null for a link that only listens
    const AdxObject* reply = nullptr;
    int dataBytes = 0;
    // Report lines of the header and of every command, reply, pause and macro, by object index.
    std::map<std::size_t, std::string> lines;
    // Why no set can be made from the file: no reply to read values from, or a link that our
    // settings cannot hold. Empty when the link was chosen.
    std::string error;
};

AdxLinkChoice ChooseAdxLink(const AdxDocument& document);

// Whether a value's parentcmdidhash names the polled exchange: its reply, or the request that
// asks for it.
bool IsPolledExchange(const AdxLinkChoice& link, std::uint32_t parent);

// The GM checksum byte: the two's complement of the byte sum, so that all bytes sum to 0.
std::uint8_t GmChecksum(const std::vector<std::uint8_t>& bytes);

}  // namespace vekaton
