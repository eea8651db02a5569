#pragma once

// The program's settings store by section and key, as the registry profile functions offer it.
// Keys and sections compare without regard to case.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace kov::platform {

class Profile {
public:
    virtual ~Profile() = default;

    virtual int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue = {}) const = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Held in memory only (tests, and a fallback when no file can be written).
class MemoryProfile final : public Profile {
public:
    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) const override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

    bool contains(std::string_view section, std::string_view key) const;

private:
    std::map<std::string, std::string> m_values; // "section\nkey", both folded to lower case
};

// An INI file through QSettings; the program's lives in the user's configuration folder.
class IniProfile final : public Profile {
public:
    explicit IniProfile(const std::filesystem::path& file);
    ~IniProfile() override;

    // <XDG config>/<companyKey>/Kovira.ini
    static std::filesystem::path defaultFile(std::string_view companyKey);

    int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) const override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

    // Writes pending changes to the file.
    bool sync();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace kov::platform
