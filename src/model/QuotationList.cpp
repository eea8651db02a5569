#include "model/QuotationList.h"

#include "model/FileCommit.h"
#include "model/PictureFiles.h"
#include "model/TextLines.h"
#include "platform/Cp932.h"

namespace kov::model {

std::vector<std::string> ParseQuotations(std::string_view cp932)
{
    std::vector<std::string> out;
    for (std::string_view line : SplitTextLines(cp932)) {
        if (line.empty()) {
            out.emplace_back();
            continue;
        }
        while (!line.empty()) {
            std::size_t n = 0;
            // Whole characters only: a piece cut inside one would write a broken character back.
            while (n < line.size()) {
                const std::size_t w = IsCp932LeadByte(static_cast<unsigned char>(line[n])) && n + 1 < line.size() ? 2 : 1;
                if (n + w > kQuotationChunkBytes) break;
                n += w;
            }
            out.push_back(kov::platform::fromCp932(line.substr(0, n)));
            line.remove_prefix(n);
        }
    }
    return out;
}

std::string FormatQuotations(const std::vector<std::string>& quotations, int* replaced)
{
    std::string out;
    int lost = 0;
    for (const std::string& q : quotations) {
        const kov::platform::Cp932Text t = kov::platform::toCp932(q);
        lost += t.replaced;
        out += t.bytes;
        out += "\r\n";
    }
    if (replaced) *replaced = lost;
    return out;
}

std::vector<std::string> ReadQuotationFile(const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) return {};
    return ParseQuotations(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool WriteQuotationFile(const std::filesystem::path& file, const std::vector<std::string>& quotations,
                        std::string* error)
{
    const std::string text = FormatQuotations(quotations);
    return CommitBytesToFile(file, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

} // namespace kov::model
