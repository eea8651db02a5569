#include "support/TestSupport.h"

namespace kov::test {

TempFolder::TempFolder() = default;

std::filesystem::path testData(const std::string& name)
{
    return std::filesystem::path(KOVIRA_TEST_DATA) / name;
}

std::filesystem::path sampleFile(const std::string& relative)
{
    return std::filesystem::path(KOVIRA_SAMPLES) / relative;
}

} // namespace kov::test
