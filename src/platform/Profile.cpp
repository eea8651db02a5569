#include "platform/Profile.h"
#include "platform/NumberText.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// IniProfile keeps the case in which a section or key was first written: a later write or read in
// other case finds that entry (the registry compares names without case), so the file never holds
// two spellings of one setting and stays readable by hand.

namespace kov::platform {

namespace {

QString toQt(std::string_view text)
{
    return QString::fromUtf8(text);
}

// ASCII folding only: the same rule as MemoryProfile, so both stores find the same names.
bool sameName(const QString& stored, std::string_view wanted)
{
    const QByteArray s = stored.toUtf8();
    if (static_cast<size_t>(s.size()) != wanted.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i) {
        auto a = static_cast<unsigned char>(s[static_cast<qsizetype>(i)]);
        auto b = static_cast<unsigned char>(wanted[i]);
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

std::optional<QString> findName(const QStringList& names, std::string_view wanted)
{
    for (const QString& n : names)
        if (sameName(n, wanted)) return n;
    return std::nullopt;
}

bool usableName(std::string_view name)
{
    // A '/' or '\' would open a nested group in QSettings, which the case-blind lookup cannot see.
    return !name.empty() && name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos;
}

} // namespace

struct IniProfile::Impl {
    explicit Impl(const std::filesystem::path& file)
        : settings(QString::fromStdString(file.string()), QSettings::IniFormat)
    {
    }

    // The stored "Section/Key" for a name in any case, or none.
    std::optional<QString> storedKey(std::string_view section, std::string_view key) const
    {
        if (!usableName(section) || !usableName(key)) return std::nullopt;
        const QString exact = toQt(section) + u'/' + toQt(key);
        if (settings.contains(exact)) return exact;

        auto group = findName(settings.childGroups(), section);
        if (!group) return std::nullopt;
        settings.beginGroup(*group);
        auto name = findName(settings.childKeys(), key);
        settings.endGroup();
        if (!name) return std::nullopt;
        return *group + u'/' + *name;
    }

    // Where a write goes: the existing entry, else the existing section, else the names as given.
    QString keyForWrite(std::string_view section, std::string_view key) const
    {
        if (auto found = storedKey(section, key)) return *found;
        auto group = findName(settings.childGroups(), section);
        return group.value_or(toQt(section)) + u'/' + toQt(key);
    }

    std::optional<std::string> read(std::string_view section, std::string_view key) const
    {
        auto stored = storedKey(section, key);
        if (!stored) return std::nullopt;
        const QVariant v = settings.value(*stored);
        // A hand-edited value with a bare comma reads back as a list; join it again.
        if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(u',').toStdString();
        return v.toString().toStdString();
    }

    bool write(std::string_view section, std::string_view key, const QString& value)
    {
        if (!usableName(section) || !usableName(key)) return false;
        // Testing costs a file creation, so once; sync() reports later failures.
        if (!writable) writable = settings.isWritable();
        if (!*writable) return false;
        // Always a QString: QSettings quotes and escapes it so that commas, quotes and blanks survive.
        settings.setValue(keyForWrite(section, key), value);
        return true;
    }

    mutable QSettings settings; // lookups walk its groups
    std::optional<bool> writable;
};

IniProfile::IniProfile(const std::filesystem::path& file) : m_impl(std::make_unique<Impl>(file)) {}

IniProfile::~IniProfile() = default;

std::filesystem::path IniProfile::defaultFile(std::string_view companyKey)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::filesystem::path(config.toStdString()) / std::string(companyKey) / "Kovira.ini";
}

int IniProfile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const
{
    auto value = m_impl->read(section, key);
    return value ? parseInt(*value) : defaultValue;
}

std::string IniProfile::GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const
{
    auto value = m_impl->read(section, key);
    return value ? *value : std::string(defaultValue);
}

bool IniProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    return m_impl->write(section, key, QString::fromStdString(formatInt(value)));
}

bool IniProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    return m_impl->write(section, key, toQt(value));
}

bool IniProfile::sync()
{
    m_impl->settings.sync();
    return m_impl->settings.status() == QSettings::NoError;
}

} // namespace kov::platform
