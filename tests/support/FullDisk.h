#pragma once
// Makes the disk look full for this process while the object lives: no file
// may grow past `bytes` (writes beyond fail with EFBIG instead of a signal).

#include <csignal>
#include <sys/resource.h>

namespace keyholm::test {

class FullDisk {
public:
    explicit FullDisk(long long bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool Active() const { return active_; }

private:
    struct rlimit saved_ { };
    void (*oldHandler_)(int) = nullptr;
    bool active_ = false;
};

} // namespace keyholm::test
