#pragma once
// What the process does to keep the user's secrets in memory out of reach:
// no core dump (it would write the decoded tree and the keys to the disk), no
// other process of the user reading its memory, and files and folders made
// by the user alone.

namespace keyholm {

class ProcessGuard {
public:
    // Sets the core file limit to zero (soft and hard, so that nothing can
    // raise it again), makes the process non-dumpable on Linux (which also
    // keeps debuggers of the same user out), and the umask 077. True when
    // all of it took.
    static bool Harden();
};

} // namespace keyholm
