#pragma once

// What the screen tests share: running a shell command (xdotool, import) and reading its output.

#include <cstdio>
#include <string>

namespace kov::test {

// The command's standard output without its trailing line end and blanks.
inline std::string runCommand(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

} // namespace kov::test
