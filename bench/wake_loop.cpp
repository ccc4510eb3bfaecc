// tikora-bench-wake-loop: sleeps 200 ms at a time, forever, and does nothing else. The CPU time
// that five wake-ups a second cost on this machine before a program does any work in them; a
// reference for bench/measure-process.

#include <poll.h>

int main() {
    for (;;) {
        poll(nullptr, 0, 200);
    }
}
