#pragma once

namespace vekaton::testing {

// The output speed in bit/s of the terminal behind fd, read with termios2 so that speeds
// without a Bxxxx constant (8192) show as they are; -1 when it cannot be read.
int ReadOutputSpeed(int fd);

}  // namespace vekaton::testing
