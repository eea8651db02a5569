#pragma once

// Path helpers and the company key the rest of the program calls by their familiar names.
// Paths are UTF-8 text joined with "/".

#include <string>
#include <string_view>

class CPathUL {
public:
    // The full path of the running executable, or "" when it cannot be read.
    static std::string GetModuleFileNameA();
    // The part before the last "/": the folder of a file path; "" when there is no "/".
    static std::string GetLastSeparatePath(std::string_view path);
    // Folder and name joined by exactly one "/", whether or not the folder ends with one.
    static std::string MixPath(std::string_view folder, std::string_view name);
    // Creates the folder and every missing parent; an existing folder is no error. 1 done, 0 failed.
    static int CreateMultiDirectory(std::string_view path);
};

class CULReg {
public:
    // Names the settings file's folder and the saved window layout.
    static const char* GetCompanyKey();
};
