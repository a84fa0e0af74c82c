#pragma once
// Process-wide companion component instances: each is created on first use
// and all are released together at the end of the application.

#include <functional>

namespace keyholm {

// Releases every component instance made so far, the newest first.
void ReleaseComponents();

namespace detail {
void OnRelease(std::function<void()> release);
}

template <class T>
class SingleInstance {
public:
    static T& Instance()
    {
        if (!instance_) {
            instance_ = new T;
            detail::OnRelease([] {
                delete instance_;
                instance_ = nullptr;
            });
        }
        return *instance_;
    }
    static bool Exists() { return instance_ != nullptr; }

protected:
    SingleInstance() = default;
    ~SingleInstance() = default;

private:
    static inline T* instance_ = nullptr;
};

} // namespace keyholm
