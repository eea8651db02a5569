// The oldest packed documents: LHA archives read in memory, and the places their member names
// would take below a folder.

#include "platform/LhaArchive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kov::platform::looksLikeLha(data, size);
    // Small limits, so that an announced size cannot make the fuzzer run out of memory.
    kov::platform::LhaLimits limits;
    limits.maxMemberSize = limits.maxTotalSize = std::size_t(8) << 20;
    const kov::platform::LhaReadResult result = kov::platform::readLhaArchive(data, size, limits);
    for (const kov::platform::LhaMember& member : result.members) {
        if (member.bytes.size() > limits.maxMemberSize) std::abort();
        if (const auto place = kov::platform::safeMemberPath(member.path)) {
            if (place->is_absolute()) std::abort();
            for (const auto& part : *place)
                if (part == "..") std::abort();
        }
    }
    return 0;
}
