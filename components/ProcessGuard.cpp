#include "components/ProcessGuard.h"

#include <sys/resource.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace keyholm {

bool ProcessGuard::Harden()
{
    bool hardened = true;
    const rlimit noCore { 0, 0 };
    if (::setrlimit(RLIMIT_CORE, &noCore) != 0)
        hardened = false;
#ifdef __linux__
    if (::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) != 0)
        hardened = false;
#endif
    ::umask(077);
    return hardened;
}

} // namespace keyholm
