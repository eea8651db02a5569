// The document file: the archive layout and the "KOVDATA" block with its settings and every object
// kind, pictures' bytes included. What was read must write, read and write again the same bytes.
// The same bytes as a part file (the libraries' files are this archive too): read whole or not at
// all, and a part read is inserted with every member it names.

#include "building/PartFiles.h"
#include "model/DefFile.h"
#include "model/Grid.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/UnitBlocks.h"

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// The sub-blocks of the document block, as the document reads them.
class DocumentLoad : public CDefFile {
public:
    DocumentLoad(CPlotInfo& plot, CGrid& grid, CKovUnit& unit, UnitFileContext& ctx)
        : m_plot(plot), m_grid(grid), m_unit(unit), m_ctx(ctx)
    {
    }

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (keyIs(block, "PlotInfo")) return m_plot.Load(ar, block) ? RD_READ : RD_FAILED;
        if (keyIs(block, "Grid")) return m_grid.Load(ar, block) ? RD_READ : RD_FAILED;
        if (keyIs(block, "KovUnit")) return m_unit.ReadUnit(ar, block, m_ctx) ? RD_READ : RD_FAILED;
        return RD_SKIP;
    }

private:
    CPlotInfo& m_plot;
    CGrid& m_grid;
    CKovUnit& m_unit;
    UnitFileContext& m_ctx;
};

// One picture folder for the run, emptied after every input.
const std::filesystem::path& pictureFolder()
{
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "kovira-fuzz-XXXXXX").string();
        if (!::mkdtemp(name.data())) std::abort();
        CKovUnit::UseTempImageFolder(name);
        return std::filesystem::path(name);
    }();
    return folder;
}

std::vector<std::uint8_t> write(const CPlotInfo& plot, const CGrid& grid, const CKovUnit& unit, bool& ok)
{
    UnitFileContext ctx;
    ctx.pictureFolder = pictureFolder();
    // Room for what the last save wrote: the settings alone are some 40 kB, and growing the buffer
    // key by key (each step copied and, under the sanitizer, filled) was most of a run's time.
    static std::size_t lastSize = 64 * 1024;
    auto ar = CArchive::forWriting(lastSize);
    CDefFile w;
    ok = w.WriteStart(*ar, "KOVDATA") && plot.WriteBlock(*ar, "PlotInfo") && grid.WriteBlock(*ar, "Grid")
        && unit.WriteUnit(*ar, "KovUnit", ctx) && w.WriteEnd(*ar, "KOVDATA");
    lastSize = std::max(lastSize, ar->bytes().size());
    return ar->bytes();
}

// The settings as a new document has them, read once: reading them was a good part of a run.
const CPlotInfo& defaultPlot()
{
    static const CPlotInfo plot;
    return plot;
}

struct Read {
    CPlotInfo plot{defaultPlot()};
    CGrid grid;
    CKovUnit unit;
    UnitFileContext ctx;
    bool found = false;   // the bytes hold a document block

    explicit Read(std::vector<std::uint8_t> bytes)
    {
        ctx.pictureFolder = pictureFolder();
        auto ar = CArchive::forReading(std::move(bytes));
        DocumentLoad load(plot, grid, unit, ctx);
        found = load.FindStart(*ar, "KOVDATA");
        if (found) load.Load(*ar, "KOVDATA");
        // Where a fault lies is worked out only when asked: ask, so that path is tried too.
        (void)ar->error().describe();
    }
    ~Read() { unit.RemoveAllObjects(CKovUnit::REMOVE_DELETE_PICTURE_FILES); }
};

// Reads the bytes, writes what was read; false when the save refuses (a picture whose bytes could
// not be kept), or when the bytes hold no document at all (a new document's save, the same every
// time, would be most of such a run). The pictures' files go with the drawing, so the next read
// finds the same free names.
bool readAndWrite(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t>& out)
{
    Read r(std::move(bytes));
    if (!r.found) return false;
    bool ok = false;
    out = write(r.plot, r.grid, r.unit, ok);
    return ok;
}

} // namespace

// Read as a part file: nothing kept from a part that breaks; a part read inserts its group, whose
// members all exist in the drawing.
void readAsPart(const std::uint8_t* data, std::size_t size)
{
    CKovUnit part;
    const kov::building::PartRead read = kov::building::ReadPartBytes(std::vector<std::uint8_t>(data, data + size), part);
    if (read != kov::building::PartRead::Read && !(part.m_Lines.empty() && part.m_Groups.empty())) std::abort();
    CKovUnit target;
    CPlotInfo plot;
    if (const int id = target.InsertPartGroup(part, plot)) {
        const CKovGroup* g = target.FindGroup(id);
        if (!g) std::abort();
        for (int m : g->MGrpLineID)
            if (!target.FindLine(m)) std::abort();
        for (int m : g->MGrpWallID)
            if (!target.FindWall(m)) std::abort();
        for (int m : g->MGrpTextID)
            if (!target.FindText(m)) std::abort();
    }
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    target.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    readAsPart(data, size);
    // The first saves may settle what a read left open: a transparent BMP read becomes a PNG that
    // still carries its colour until read again, and a picture without bytes in a damaged file takes
    // the file of its number, which another picture of the same file may have just written. From
    // the third save on the document must write the same bytes.
    std::vector<std::uint8_t> first, second, third, fourth;
    if (!readAndWrite(std::vector<std::uint8_t>(data, data + size), first) || !readAndWrite(first, second))
        return 0;
    // A save is a function of the bytes read (the picture folder is emptied after every read):
    // bytes that write themselves again are settled, and the third and fourth saves would repeat
    // them. Most inputs settle at once or after one save, and the saves left out were most of a run.
    if (first == second)
        return 0;
    // Show the first line that differs, and stop.
    auto fail = [](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
        std::size_t at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
        while (at > 0 && a[at - 1] != '\n') --at;
        auto lineAt = [at](const std::vector<std::uint8_t>& v) {
            std::string s(v.begin() + std::ptrdiff_t(std::min(at, v.size())), v.end());
            return s.substr(0, s.find('\n'));
        };
        std::fprintf(stderr, "read, written and read again, the document wrote other bytes at %zu:\n%s\n%s\n", at,
                     lineAt(a).c_str(), lineAt(b).c_str());
        std::abort();
    };
    if (!readAndWrite(second, third))
        fail(second, third);
    if (second == third)
        return 0;
    if (!readAndWrite(third, fourth) || third != fourth)
        fail(third, fourth);
    return 0;
}
