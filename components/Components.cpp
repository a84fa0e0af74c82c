#include "components/Components.h"

#include <vector>

namespace keyholm {
namespace {
std::vector<std::function<void()>>& Releases()
{
    static std::vector<std::function<void()>> releases;
    return releases;
}
} // namespace

void detail::OnRelease(std::function<void()> release)
{
    Releases().push_back(std::move(release));
}

void ReleaseComponents()
{
    auto& releases = Releases();
    while (!releases.empty()) {
        auto release = std::move(releases.back());
        releases.pop_back();
        release();
    }
}

} // namespace keyholm
