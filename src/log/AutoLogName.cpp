#include <cstdio>
#include <ctime>
#include <system_error>

#include "log/DataLog.h"
#include "platform/LocalTime.h"

namespace vekaton {

LogDate TodayLocalDate() {
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return LogDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::filesystem::path MakeAutoLogName(const std::filesystem::path& folder, const LogDate& date) {
    // Two digits each, whatever the caller passes, so the name keeps its shape.
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d%02d%02d", ((date.month % 100) + 100) % 100,
                  ((date.day % 100) + 100) % 100, ((date.year % 100) + 100) % 100);
    for (unsigned long long n = 0;; ++n) {
        char name[48];
        std::snprintf(name, sizeof name, "%s%02llu.Dat", prefix, n);
        std::filesystem::path candidate = folder / name;
        std::error_code error;
        // Only a name that is there is passed over; when the folder cannot be examined the
        // name is returned and creating the log reports why.
        const auto status = std::filesystem::symlink_status(candidate, error);
        if (status.type() == std::filesystem::file_type::not_found ||
            status.type() == std::filesystem::file_type::none) {
            return candidate;
        }
    }
}

}  // namespace vekaton
