#pragma once

// The caches of fonts, laid-out lines and outlines. Each thread keeps its own: Qt's fonts and
// laid-out text share data behind the scenes that two threads must not draw from at once, and a
// thread that owns its cache needs no lock. ClearTextCaches() empties every thread's cache, each
// one at its next use (and the shared pictures of texts).

#include <atomic>
#include <cstdint>

namespace kov::platform {

// The caches' generation; ClearTextCaches() starts the next one.
std::uint64_t TextCacheGeneration();

// One thread's cache of type T (a map), emptied when the generation has moved on since it was
// last used. Hold it `thread_local`.
template <class T>
class ThreadTextCache {
public:
    T& get()
    {
        const std::uint64_t now = TextCacheGeneration();
        if (now != m_generation) {
            m_entries = T{};
            m_generation = now;
        }
        return m_entries;
    }

private:
    T m_entries;
    std::uint64_t m_generation = 0;
};

} // namespace kov::platform
