#include "platform/Profile.h"
#include "platform/NumberText.h"

namespace kov::platform {

namespace {

// ASCII letters only, whatever the process locale: tolower() in a single-byte locale would fold
// bytes of UTF-8 names too, and the file store folds only ASCII.
char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string foldedKey(std::string_view section, std::string_view key)
{
    std::string k;
    k.reserve(section.size() + key.size() + 1);
    for (char c : section) k += foldAscii(c);
    k += '\n';
    for (char c : key) k += foldAscii(c);
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
