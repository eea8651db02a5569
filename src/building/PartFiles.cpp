// Reading part files into scratch containers, inserting their group into a drawing and writing
// them.

#include "building/PartFiles.h"

#include "model/DefFile.h"
#include "model/IdentifierBatch.h"
#include "model/KovUnit.h"
#include "model/PlotInfo.h"
#include "model/UnitBlocks.h"

#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace kov::building {

namespace {

constexpr std::string_view kPictureBlock = "BLK_UnitImage";

// A container that passes over pictures while it reads: a part holds none, and a picture's bytes
// would otherwise become a temporary file.
class PartUnit final : public CKovUnit {
protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (keyIs(block, kPictureBlock)) return RD_SKIP;
        return CKovUnit::OnReadStart(ar, block);
    }
};

// Routes the "KovUnit" block of "KOVDATA" into the part; other blocks are skipped.
class PartLoader final : public CDefFile {
public:
    PartLoader(PartUnit& unit, UnitFileContext& ctx) : m_unit(unit), m_ctx(ctx) {}
    bool sawUnit = false;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (!keyIs(block, kPartUnitBlock)) return RD_SKIP;
        sawUnit = true;
        return m_unit.ReadUnit(ar, block, m_ctx) ? RD_READ : RD_FAILED;
    }

private:
    PartUnit& m_unit;
    UnitFileContext& m_ctx;
};

std::string brokenText(const fs::path& file, const std::string& why)
{
    return "「" + file.string() + "」は部品ファイルとして読み込めません: " + why;
}

} // namespace

namespace {

PartRead readPart(CArchive& ar, CKovUnit& part, const fs::path& file, std::string* error)
{
    CDefFile finder;
    if (!finder.FindStart(ar, kPartBlock)) {
        if (!ar.error().ok()) {
            if (error) *error = brokenText(file, ar.error().describe());
            return PartRead::Failed;
        }
        return PartRead::NotPartFile;
    }
    PartUnit unit;
    UnitFileContext ctx;
    PartLoader loader(unit, ctx);
    const int loaded = loader.Load(ar, kPartBlock);
    if (!loaded || !ar.error().ok() || !ctx.warnings.empty()) {
        if (error) {
            if (!ar.error().ok()) *error = brokenText(file, ar.error().describe());
            else if (!ctx.warnings.empty()) *error = brokenText(file, ctx.warnings.front());
            else *error = brokenText(file, "読み込みが途中で止まりました");
        }
        unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
        return PartRead::Failed;
    }
    part = std::move(static_cast<CKovUnit&>(unit));
    return PartRead::Read;
}

} // namespace

PartRead ReadPartFile(const fs::path& file, CKovUnit& part, std::string* error)
{
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    std::string why;
    std::unique_ptr<CArchive> ar = CArchive::openForReading(file, &why);
    if (!ar) {
        if (error) *error = why;
        return PartRead::Failed;
    }
    return readPart(*ar, part, file, error);
}

PartRead ReadPartBytes(std::vector<std::uint8_t> bytes, CKovUnit& part, const fs::path& name, std::string* error)
{
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    std::unique_ptr<CArchive> ar = CArchive::forReading(std::move(bytes));
    return readPart(*ar, part, name, error);
}

bool WritePartFile(const fs::path& file, const CKovUnit& unit, std::string* error)
{
    std::unique_ptr<CArchive> ar = CArchive::forWritingFile(file);
    UnitFileContext ctx;
    CDefFile writer;
    // A failed write leaves the archive failed, and a failed archive is never committed.
    if (writer.WriteStart(*ar, kPartBlock)) {
        unit.WriteUnit(*ar, kPartUnitBlock, ctx);
        writer.WriteEnd(*ar, kPartBlock);
    }
    return ar->commitTo(file, error);
}

// -- the cache ------------------------------------------------------------------------------------

struct PartFileCache::Entry {
    fs::file_time_type time;
    std::uintmax_t size = 0;
    PartRead status = PartRead::Failed;
    std::string error;
    CKovUnit unit;
};

PartFileCache::PartFileCache() = default;

PartFileCache::~PartFileCache()
{
    for (auto& [path, entry] : m_entries) entry->unit.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
}

const CKovUnit* PartFileCache::Get(const fs::path& file, std::string* error)
{
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(file, ec);
    const std::uintmax_t size = ec ? 0 : fs::file_size(file, ec);
    auto& slot = m_entries[file];
    if (!slot || ec || slot->time != time || slot->size != size) {
        if (!slot) slot = std::make_unique<Entry>();
        slot->time = time;
        slot->size = size;
        slot->error.clear();
        slot->status = ReadPartFile(file, slot->unit, &slot->error);
    }
    if (slot->status != PartRead::Read) {
        if (error) *error = slot->error;
        return nullptr;
    }
    return &slot->unit;
}

int InsertPartFile(const fs::path& file, CKovUnit& target, const CPlotInfo& plot, PartFileCache* cache,
                   std::string* error)
{
    if (cache) {
        const CKovUnit* part = cache->Get(file, error);
        return part ? target.InsertPartGroup(*part, plot) : 0;
    }
    CKovUnit part;
    const PartRead read = ReadPartFile(file, part, error);
    const int id = read == PartRead::Read ? target.InsertPartGroup(part, plot) : 0;
    part.RemoveAllObjects(CKovUnit::REMOVE_KEEP_PICTURE_FILES);
    return id;
}

} // namespace kov::building

// -- inserting a part's group -----------------------------------------------------------------------

int CKovUnit::InsertPartGroup(const CKovUnit& part, const CPlotInfo& plot)
{
    if (part.m_Groups.empty()) return 0;
    const CKovGroup& source = *part.m_Groups[0];
    const int layerGroup = plot.m_Layer.m_nCurrentGroup;
    const int layer = plot.m_Layer.m_nCurrentLayer;
    const int groupId = NextGroupId();
    if (groupId == kNoFreeId) return 0;

    std::vector<int> lines, walls, texts;
    // Every identifier of a kind in use: what was added so far goes again, and nothing is inserted.
    auto undo = [&] {
        for (int id : lines) DeleteLine(id);
        for (int id : walls) DeleteWall(id);
        for (int id : texts) DeleteText(id);
        return 0;
    };
    // Batches keep the search for free numbers linear in a drawing past a counter's wrap limit.
    kov::model::IdentifierBatch lineIds(*this, kov::model::IdKind::Line);
    kov::model::IdentifierBatch wallIds(*this, kov::model::IdKind::Wall);
    kov::model::IdentifierBatch textIds(*this, kov::model::IdKind::Text);
    for (int id : source.MGrpLineID) {
        const CKovLine* f = part.FindLine(id);
        if (!f) continue;
        const int newId = lineIds.Next();
        if (newId == kNoFreeId) return undo();
        auto copy = std::make_unique<CKovLine>(*f);
        copy->MLineID = newId;
        copy->MLineGrpID = groupId;
        copy->MLineLayer1 = layerGroup;
        copy->MLineLayer2 = layer;
        m_Lines.Add(std::move(copy));
        lines.push_back(newId);
    }
    for (int id : source.MGrpWallID) {
        const CKovWall* w = part.FindWall(id);
        if (!w) continue;
        const int newId = wallIds.Next();
        if (newId == kNoFreeId) return undo();
        auto copy = std::make_unique<CKovWall>(*w);
        copy->MWallID = newId;
        copy->MWallGrpID = groupId;
        copy->MWallLayer1 = layerGroup;
        copy->MWallLayer2 = layer;
        m_Walls.Add(std::move(copy));
        walls.push_back(newId);
    }
    // Texts are sized for 1:100: at another scale they keep their size against the part's lines.
    const double scale = plot.m_Layer.m_dScale[static_cast<std::size_t>(std::clamp(layerGroup, 0, 15))];
    for (int id : source.MGrpTextID) {
        const CKovText* t = part.FindText(id);
        if (!t) continue;
        const int newId = textIds.Next();
        if (newId == kNoFreeId) return undo();
        auto copy = std::make_unique<CKovText>(*t);
        copy->MTextID = newId;
        copy->MTextGrpID = groupId;
        copy->MTextLayer1 = layerGroup;
        copy->MTextLayer2 = layer;
        if (scale != 0) copy->MTextFontMenu.m_size /= scale / 100.0;
        m_Texts.Add(std::move(copy));
        texts.push_back(newId);
    }
    auto group = std::make_unique<CKovGroup>(source);
    group->MGrpID = groupId;
    group->MGrpLineID = std::move(lines);
    group->MGrpWallID = std::move(walls);
    group->MGrpTextID = std::move(texts);
    group->MGrpLayer1 = layerGroup;
    group->MGrpLayer2 = layer;
    m_Groups.Add(std::move(group));
    return groupId;
}
