// vekaton-sim: a simulated engine module on a pseudo-terminal.
#include <cstdio>

int main() {
    std::fprintf(stderr, "vekaton-sim: not available in this build\n");
    return 1;
}
