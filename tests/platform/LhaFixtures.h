#pragma once

// Builds small LHA archives in memory: level-0 headers with stored (-lh0-) members, so tests can give
// members any name, including ones no archiver would write.

#include "platform/LhaArchive.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kov::test {

struct StoredMember {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t announcedSize = 0; // original size the header claims; 0 for the real one
};

inline std::vector<std::uint8_t> storedLhaArchive(const std::vector<StoredMember>& members)
{
    std::vector<std::uint8_t> out;
    auto put32 = [](std::vector<std::uint8_t>& v, std::uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    };
    for (const auto& m : members) {
        std::vector<std::uint8_t> body;
        for (char c : std::string("-lh0-")) body.push_back(static_cast<std::uint8_t>(c));
        put32(body, static_cast<std::uint32_t>(m.bytes.size())); // packed size
        put32(body, m.announcedSize ? m.announcedSize : static_cast<std::uint32_t>(m.bytes.size()));
        put32(body, 0x5A8A6210);                                 // DOS time stamp
        body.push_back(0x20);                                    // attribute: archive
        body.push_back(0);                                       // header level 0
        body.push_back(static_cast<std::uint8_t>(m.name.size()));
        body.insert(body.end(), m.name.begin(), m.name.end());
        const std::uint16_t crc = kov::platform::lhaCrc16(m.bytes.data(), m.bytes.size());
        body.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        body.push_back(static_cast<std::uint8_t>(crc >> 8));
        std::uint8_t sum = 0;
        for (std::uint8_t b : body) sum = static_cast<std::uint8_t>(sum + b);
        out.push_back(static_cast<std::uint8_t>(body.size()));
        out.push_back(sum);
        out.insert(out.end(), body.begin(), body.end());
        out.insert(out.end(), m.bytes.begin(), m.bytes.end());
    }
    out.push_back(0); // end of archive
    return out;
}

inline std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace kov::test
