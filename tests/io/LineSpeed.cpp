// Kept apart from <termios.h>: the kernel's termios2 comes from <asm/termbits.h>, and the two
// define the same names.
#include "LineSpeed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace vekaton::testing {

int ReadOutputSpeed(int fd) {
    termios2 settings{};
    if (fd < 0 || ioctl(fd, TCGETS2, &settings) != 0) {
        return -1;
    }
    return static_cast<int>(settings.c_ospeed);
}

}  // namespace vekaton::testing
