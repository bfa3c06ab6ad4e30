#include "engine/LoopBackData.h"

#include <array>

namespace vekaton {

namespace {

template <std::size_t kDataBytes, typename DataByte>
constexpr auto MakeAnswer(std::uint8_t lengthByte, DataByte dataByte) {
    std::array<std::uint8_t, kLoopBackHeaderBytes + kDataBytes + 1> answer{};
    answer[0] = 0xF4;
    answer[1] = lengthByte;
    answer[2] = 0x01;
    unsigned sum = 0xF4u + lengthByte + 0x01u;
    for (std::size_t p = 1; p <= kDataBytes; ++p) {
        const auto b = static_cast<std::uint8_t>(dataByte(p));
        answer[kLoopBackHeaderBytes + p - 1] = b;
        sum += b;
    }
    answer[answer.size() - 1] = static_cast<std::uint8_t>((256u - (sum & 0xFFu)) & 0xFFu);
    return answer;
}

// The length byte counts the mode byte and the data, plus 0x55, as ALDL headers do.
constexpr auto kAnswer1 = MakeAnswer<kLoopBackDataBytes1>(
    static_cast<std::uint8_t>(0x55 + kLoopBackDataBytes1 + 1), [](std::size_t p) { return p; });
constexpr auto kAnswer2 =
    MakeAnswer<kLoopBackDataBytes2>(static_cast<std::uint8_t>(0x55 + kLoopBackDataBytes2 + 1),
                                    [](std::size_t p) { return 256 - p; });

static_assert(kAnswer1.size() == 67 && kAnswer1[1] == 0x95);
static_assert(kAnswer2.size() == 144 && kAnswer2[1] == 0xE2);

}  // namespace

std::span<const std::uint8_t> LoopBackAnswer(int choice) {
    if (choice == 2) {
        return kAnswer2;
    }
    return kAnswer1;
}

}  // namespace vekaton
