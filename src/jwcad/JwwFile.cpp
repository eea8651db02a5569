#include "jwcad/JwwFile.h"

#include "model/PictureFiles.h"

#include <cstring>

namespace {

template <std::size_t N>
void ioAll(JwArchive& ar, std::array<double, N>& a)
{
    for (double& v : a)
        ar.io(v);
}

template <std::size_t N>
void ioAll(JwArchive& ar, std::array<std::uint32_t, N>& a)
{
    for (std::uint32_t& v : a)
        ar.io(v);
}

JwReadResult failure(const JwFormatError& e) { return JwReadResult{false, e.what, e.offset}; }

// The drawing's records, then the block definitions; the block list holds nothing else.
void readRecordLists(JwArchive& ar, JwRecordList& records, JwRecordList& blocks)
{
    records.clear();
    blocks.clear();
    ar.ioList(records);
    ar.ioList(blocks);
    for (const auto& r : blocks)
        if (r && r->GetKind() != CData::LIST)
            ar.Fail("a block list entry that is no block definition");
}

} // namespace

void JwwHeader::ClearJwwHeader()
{
    JwRecordList records = std::move(m_DataList);
    JwRecordList blocks = std::move(m_DataListList);
    *this = JwwHeader();
    std::memset(m_signature, 0, sizeof m_signature);
    m_DataList = std::move(records);
    m_DataListList = std::move(blocks);
}

void JwwHeader::serializeHeader(JwArchive& ar, int version)
{
    ar.ioFixed(m_signature, sizeof m_signature);
    ar.io(m_nVersion);
    if (ar.IsLoading())
        version = static_cast<int>(m_nVersion);
    ar.ioString(m_strMemo);
    ar.io(m_nZumen);
    ar.io(m_nWriteGLay);
    for (GroupInfo& g : m_groups) {
        ar.io(g.state);
        ar.io(g.writeLayer);
        ar.io(g.scale);
        ar.io(g.protect);
        for (int l = 0; l < 16; ++l) {
            ar.io(g.layerState[l]);
            ar.io(g.layerProtect[l]);
        }
    }
    ar.pad(14 * 4);
    ioAll(ar, m_dimension);
    ar.pad(4);
    ar.io(m_maxDrawWidth);
    ar.io(m_printOriginX);
    ar.io(m_printOriginY);
    ar.io(m_printScale);
    ar.io(m_printRotate);
    ar.io(m_gridMode);
    ioAll(ar, m_grid);
    for (GroupInfo& g : m_groups)
        for (std::string& name : g.layerName)
            ar.ioString(name);
    for (GroupInfo& g : m_groups)
        ar.ioString(g.name);
    ioAll(ar, m_sunShadow);
    ar.io(m_sunShadow9to15);
    ar.io(m_wallShadowHeight);
    if (version >= 300)
        ioAll(ar, m_skyChart);
    ar.io(m_2p5dUnit);
    ioAll(ar, m_view);
    if (version >= 300) {
        for (Jump& j : m_jumps) {
            ar.io(j.scale);
            ar.io(j.x);
            ar.io(j.y);
            ar.io(j.group);
        }
        ar.pad(44);
        ar.io(m_textBackValue);
        ar.io(m_textDrawMode);
    } else {
        for (int i = 0; i < 4; ++i) {
            ar.io(m_jumps[i].scale);
            ar.io(m_jumps[i].x);
            ar.io(m_jumps[i].y);
        }
    }
    ioAll(ar, m_multiLine);
    ar.io(m_multiLineEnd);
    for (int p = 0; p < 10; ++p) {
        ar.io(m_pens[p].color);
        ar.io(m_pens[p].width);
    }
    for (int p = 0; p < 10; ++p) {
        ar.io(m_pens[p].printColor);
        ar.io(m_pens[p].printWidth);
        ar.io(m_pens[p].pointRadius);
    }
    auto ioLineType = [&](LineType& t) {
        ar.io(t.pattern);
        ar.io(t.unitDots);
        ar.io(t.pitch);
        ar.io(t.printPitch);
    };
    for (int t = 2; t <= 9; ++t)
        ioLineType(m_lineTypes[t]);
    for (int t = 11; t <= 15; ++t) {
        LineType& lt = m_lineTypes[t];
        ar.io(lt.pattern);
        ar.io(lt.randomWidth);
        ar.io(lt.pitch);
        ar.io(lt.printRandomWidth);
        ar.io(lt.printPitch);
    }
    for (int t = 16; t <= 19; ++t)
        ioLineType(m_lineTypes[t]);
    ioAll(ar, m_switches);
    ioAll(ar, m_eyeAngles);
    ioAll(ar, m_eyeAndLast);
    ar.io(m_solidColorMode);
    ar.io(m_solidColor);
    if (version >= 420) {
        for (int n = 0; n <= 256; ++n) {
            ar.io(m_pens[100 + n].color);
            ar.io(m_pens[100 + n].width);
        }
        for (int n = 0; n <= 256; ++n) {
            ar.ioString(m_sxfColorName[n]);
            ar.io(m_pens[100 + n].printColor);
            ar.io(m_pens[100 + n].printWidth);
            ar.io(m_pens[100 + n].pointRadius);
        }
        for (int n = 0; n <= 32; ++n)
            ioLineType(m_lineTypes[30 + n]);
        for (int n = 0; n <= 32; ++n) {
            ar.ioString(m_sxfLineTypeName[n]);
            ar.io(m_sxfParamCount[n]);
            ioAll(ar, m_sxfParams[n]);
        }
    }
    for (TextKind& k : m_textKinds) {
        ar.io(k.sizeX);
        ar.io(k.sizeY);
        ar.io(k.spacing);
        ar.io(k.color);
    }
    ar.io(m_curTextSizeX);
    ar.io(m_curTextSizeY);
    ar.io(m_curTextSpacing);
    ar.io(m_curTextColor);
    ar.io(m_curTextKind);
    ar.io(m_textLineSpacing);
    ar.io(m_textCharCount);
    ar.io(m_baseShift);
    ioAll(ar, m_baseShiftXY);
}

int JwwHeader::ReadJwwHeader(JwArchive& ar)
{
    JwwHeader read;
    read.serializeHeader(ar, 0);
    read.m_DataList = std::move(m_DataList);
    read.m_DataListList = std::move(m_DataListList);
    *this = std::move(read);
    ar.m_nRecordVersion = static_cast<int>(m_nVersion);
    return 1;
}

void JwwHeader::WriteJwwHeader(JwArchive& ar)
{
    std::memcpy(m_signature, "JwwData.", 8);
    m_nVersion = kWriteVersion;
    serializeHeader(ar, kWriteVersion);
}

JwReadResult JwwHeader::ReadJwwArchive(const std::uint8_t* data, std::size_t size)
{
    JwArchive ar(data, size);
    try {
        ReadJwwHeader(ar);
        readRecordLists(ar, m_DataList, m_DataListList);
    } catch (const JwFormatError& e) {
        return failure(e);
    }
    return JwReadResult{true, {}, ar.Position()};
}

std::vector<std::uint8_t> JwwHeader::WriteJwwArchive()
{
    JwArchive ar;
    ar.m_nWriteSchema = kWriteVersion;
    WriteJwwHeader(ar);
    auto setVersion = [](auto& self, JwRecordList& list) -> void {
        for (auto& r : list) {
            if (!r)
                continue;
            r->m_nVersion = kWriteVersion;
            if (r->GetKind() == CData::LIST)
                self(self, static_cast<CDataList&>(*r).m_DataList);
        }
    };
    setVersion(setVersion, m_DataList);
    setVersion(setVersion, m_DataListList);
    ar.ioList(m_DataList);
    ar.ioList(m_DataListList);
    return ar.Bytes();
}

void JwwHeader::DeleteJwwRecords()
{
    m_DataList.clear();
    m_DataListList.clear();
}

JwReadResult JwwHeader::ReadJwwFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return JwReadResult{false, "the file cannot be read", 0};
    return ReadJwwArchive(bytes.data(), bytes.size());
}

JwReadResult JwwHeader::ReadJwwHeaderFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return JwReadResult{false, "the file cannot be read", 0};
    JwArchive ar(bytes.data(), bytes.size());
    try {
        ReadJwwHeader(ar);
    } catch (const JwFormatError& e) {
        return failure(e);
    }
    return JwReadResult{true, {}, ar.Position()};
}

JwReadResult JwsHeader::ReadJwsHeader(const std::uint8_t* data, std::size_t size, int fallbackVersion)
{
    JwArchive ar(data, size);
    try {
        ar.ioFixed(m_signature, sizeof m_signature);
        // The figure file's own version stands where the drawing file keeps it; older files carry
        // none there, and their records take the fallback.
        const std::uint32_t maybeVersion = ar.ReadDWord();
        m_nVersion = (maybeVersion >= 200 && maybeVersion <= 10000) ? maybeVersion
                                                                    : static_cast<std::uint32_t>(fallbackVersion);
        ar.pad(196 - 4);
        m_originX = ar.ReadDouble();
        m_originY = ar.ReadDouble();
        for (double& s : m_groupScale)
            s = ar.ReadDouble();
        ar.pad(72);
        for (double& v : m_further)
            v = ar.ReadDouble();
        ar.m_nRecordVersion = static_cast<int>(m_nVersion);
        readRecordLists(ar, m_DataList, m_DataListList);
    } catch (const JwFormatError& e) {
        return failure(e);
    }
    return JwReadResult{true, {}, ar.Position()};
}

JwReadResult JwsHeader::ReadJwsFile(const std::filesystem::path& path, int fallbackVersion)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return JwReadResult{false, "the file cannot be read", 0};
    return ReadJwsHeader(bytes.data(), bytes.size(), fallbackVersion);
}

void JwsHeader::DeleteJwsRecords()
{
    m_DataList.clear();
    m_DataListList.clear();
}
