#include "platform/LocalTime.h"

namespace vekaton::platform {

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    localtime_s(&local, &when);
    return local;
}

}  // namespace vekaton::platform
