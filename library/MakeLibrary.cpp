// Makes the library files the program ships (fittings, their elevation drawings, the notation
// symbols and the parts library) from the readable sources beside this file, with the program's
// own part-file writer. The build runs it into build/<dir>/library; the copy under data/ is
// refreshed by hand with
//   build/test/library/kov_make_library data library/sources/*.txt
// and a test checks that it matches what the sources make.

#include "LibrarySource.h"

#include "building/PartFiles.h"
#include "model/KovUnit.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The folders this tool owns below the output folder: their part files are all made here.
constexpr const char* kOwnedFolders[] = {"tateg", "ritutateg", "hyouki", "data"};

void removeOldParts(const fs::path& out)
{
    std::error_code ec;
    for (const char* folder : kOwnedFolders) {
        std::vector<fs::path> doomed;
        for (auto it = fs::recursive_directory_iterator(out / folder, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (it->is_regular_file() && it->path().extension() == ".mgp") doomed.push_back(it->path());
        for (const fs::path& p : doomed) fs::remove(p, ec);
        ec.clear();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kov_make_library OUTPUT_FOLDER SOURCE...\n");
        return 2;
    }
    const fs::path out = argv[1];
    std::vector<kov::library::SourceDrawing> drawings;
    std::vector<CKovUnit> units;
    for (int i = 2; i < argc; ++i) {
        std::string error;
        if (!kov::library::ReadLibrarySource(argv[i], drawings, units, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    std::set<std::string> seen;
    for (const auto& d : drawings)
        if (!seen.insert(d.path).second) {
            std::fprintf(stderr, "%s: made twice\n", d.path.c_str());
            return 1;
        }
    removeOldParts(out);
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const fs::path file = out / (drawings[i].path + std::string(kov::building::kPartExtension));
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        std::string error;
        if (!kov::building::WritePartFile(file, units[i], &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        units[i].RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    }
    return 0;
}
