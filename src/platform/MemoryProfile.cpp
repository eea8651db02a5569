#include "platform/Profile.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cctype>

namespace kov::platform {

namespace {

std::string foldedKey(std::string_view section, std::string_view key)
{
    std::string k;
    k.reserve(section.size() + key.size() + 1);
    for (char c : section) k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    k += '\n';
    for (char c : key) k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

} // namespace

int MemoryProfile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const
{
    auto it = m_values.find(foldedKey(section, key));
    return it == m_values.end() ? defaultValue : parseInt(it->second);
}

std::string MemoryProfile::GetProfileString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const
{
    auto it = m_values.find(foldedKey(section, key));
    return it == m_values.end() ? std::string(defaultValue) : it->second;
}

bool MemoryProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    m_values[foldedKey(section, key)] = formatInt(value);
    return true;
}

bool MemoryProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    m_values[foldedKey(section, key)] = std::string(value);
    return true;
}

bool MemoryProfile::contains(std::string_view section, std::string_view key) const
{
    return m_values.count(foldedKey(section, key)) != 0;
}

} // namespace kov::platform
