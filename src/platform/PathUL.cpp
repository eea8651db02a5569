#include "platform/PathUL.h"

#include <filesystem>
#include <system_error>

std::string CPathUL::GetModuleFileNameA()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string CPathUL::GetLastSeparatePath(std::string_view path)
{
    auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    // The root keeps its slash: the folder of "/kovira" is "/", not "".
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

std::string CPathUL::MixPath(std::string_view folder, std::string_view name)
{
    while (!name.empty() && name.front() == '/') name.remove_prefix(1);
    // An empty folder gives the bare name rather than a path in the root folder.
    if (folder.empty()) return std::string(name);
    while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
    std::string joined(folder);
    if (joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

int CPathUL::CreateMultiDirectory(std::string_view path)
{
    if (path.empty()) return 0;
    std::error_code ec;
    std::filesystem::path p{std::string(path)};
    std::filesystem::create_directories(p, ec);
    return !ec && std::filesystem::is_directory(p, ec) ? 1 : 0;
}

const char* CULReg::GetCompanyKey()
{
    return "KoviraSoft";
}
