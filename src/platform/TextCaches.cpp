#include "platform/TextCaches.h"

#include "platform/PainterSurface.h"

namespace kov::platform {

namespace {

std::atomic<std::uint64_t> g_generation{1};

} // namespace

std::uint64_t TextCacheGeneration()
{
    return g_generation.load(std::memory_order_relaxed);
}

void ClearTextCaches()
{
    g_generation.fetch_add(1, std::memory_order_relaxed);
}

} // namespace kov::platform
