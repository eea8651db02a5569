#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <string>

namespace kov::test {

// A fresh folder that disappears with the test.
class TempFolder {
public:
    TempFolder();
    std::filesystem::path path() const { return std::filesystem::path(m_dir.path().toStdString()); }
    std::filesystem::path file(const std::string& name) const { return path() / name; }

private:
    QTemporaryDir m_dir;
};

std::filesystem::path testData(const std::string& name);
std::filesystem::path sampleFile(const std::string& relative);

} // namespace kov::test
