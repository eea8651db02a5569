#include "model/FileCommit.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <unistd.h>

bool CommitBytesToFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    const std::filesystem::path temp =
        file.parent_path() / ("." + file.filename().string() + ".tmp" + std::to_string(::getpid()));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            if (error)
                *error = "「" + file.string() + "」を保存できません";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        if (error)
            *error = "「" + file.string() + "」を保存できません";
        return false;
    }
    return true;
}
