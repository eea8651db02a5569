#include "DocumentTestSupport.h"

#include <fstream>
#include <iterator>

namespace kov::test {

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<double> lineStarts(const CKovUnit& unit)
{
    std::vector<double> xs;
    for (const auto& line : unit.m_Lines) xs.push_back(line->MLinePnt.empty() ? -1.0 : line->MLinePnt.front().x);
    return xs;
}

} // namespace kov::test
