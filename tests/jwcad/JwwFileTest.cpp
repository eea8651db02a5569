#include "jwcad/JwExport.h"
#include "jwcad/JwwFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

const std::string kSamples = KOVIRA_SAMPLES "/jww/";

std::map<int, int> countKinds(const JwRecordList& list)
{
    std::map<int, int> counts;
    for (const auto& r : list)
        if (r)
            counts[r->GetKind()]++;
    return counts;
}

std::vector<std::uint8_t> headerBytes(JwwHeader& h, int version)
{
    h.m_nVersion = static_cast<std::uint32_t>(version);
    JwArchive ar;
    h.SerializeHeader(ar, version);
    JwRecordList none;
    ar.ioList(none);
    ar.ioList(none);
    return ar.Bytes();
}

} // namespace

TEST(JwwFile, EverySampleReadsWithItsRecords)
{
    // Counts taken from the files themselves (records by class, block definitions).
    struct Row {
        const char* file;
        int version, lines, arcs, points, texts, solids, inserts, blocks;
    } rows[] = {
        {"Test1.jww", 600, 1642, 4, 4, 36, 0, 0, 0},
        {"Test2.jww", 600, 38, 4, 6, 23, 0, 0, 0},
        {"Test3.jww", 600, 104, 6, 33, 56, 0, 0, 0},
        {"Test4.jww", 600, 72, 1, 18, 21, 0, 0, 0},
        {"Test5.jww", 600, 46, 0, 0, 43, 0, 0, 0},
        {"サンプル.jww", 600, 592, 64, 19, 20, 0, 0, 0},
        {"敷地図.jww", 600, 9, 0, 0, 0, 0, 0, 0},
        {"Ａマンション平面例.jww", 600, 1394, 215, 10, 56, 79, 0, 0},
        {"2-circles-blocks.jww", 700, 4, 0, 0, 6, 0, 1, 1},
        {"2blocks.jww", 700, 0, 0, 0, 6, 0, 2, 2},
        {"copy-block.jww", 700, 0, 0, 0, 6, 0, 1, 1},
        {"sqr-circle-blocks.jww", 700, 0, 1, 0, 6, 0, 1, 1},
        {"non_block.jww", 700, 4, 2, 0, 6, 0, 0, 0},
    };
    for (const Row& r : rows) {
        JwwHeader h;
        const JwReadResult res = h.ReadJwwFile(kSamples + r.file);
        ASSERT_TRUE(res.ok) << r.file << ": " << res.error << " at " << res.offset;
        auto c = countKinds(h.m_DataList);
        EXPECT_EQ(static_cast<int>(h.m_nVersion), r.version) << r.file;
        EXPECT_EQ(c[CData::SEN], r.lines) << r.file;
        EXPECT_EQ(c[CData::ENKO], r.arcs) << r.file;
        EXPECT_EQ(c[CData::TEN], r.points) << r.file;
        EXPECT_EQ(c[CData::MOJI], r.texts) << r.file;
        EXPECT_EQ(c[CData::SOLID], r.solids) << r.file;
        EXPECT_EQ(c[CData::BLOCK], r.inserts) << r.file;
        EXPECT_EQ(static_cast<int>(h.m_DataListList.size()), r.blocks) << r.file;
    }
}

TEST(JwwFile, SampleTextsDecodeFromCodePage932)
{
    JwwHeader h;
    ASSERT_TRUE(h.ReadJwwFile(kSamples + "Ａマンション平面例.jww").ok);
    bool found = false;
    for (const auto& r : h.m_DataList)
        if (r && r->GetKind() == CData::MOJI) {
            const auto& t = static_cast<const CDataMoji&>(*r);
            EXPECT_EQ(t.m_string.find("\xEF\xBF\xBD"), std::string::npos) << t.m_string;   // no U+FFFD
            found = found || t.m_string.find("洋室") != std::string::npos || t.m_string.find("ＬＤＫ") != std::string::npos;
        }
    EXPECT_TRUE(found);
}

TEST(JwwFile, HeaderLayoutsOfTheVersions)
{
    // The fixed part plus one prefix byte per (empty) string, plus two empty lists.
    struct Row {
        int version;
        std::size_t bytes;
    } rows[] = {{299, 3864 + 273 + 4}, {300, 4064 + 273 + 4}, {419, 4064 + 273 + 4}, {420, 13532 + 563 + 4},
                {600, 13532 + 563 + 4}};
    for (const Row& r : rows) {
        JwwHeader h;
        const auto bytes = headerBytes(h, r.version);
        EXPECT_EQ(bytes.size(), r.bytes) << r.version;
        JwwHeader back;
        const JwReadResult res = back.ReadJwwArchive(bytes.data(), bytes.size());
        EXPECT_TRUE(res.ok) << r.version << ": " << res.error;
        EXPECT_EQ(res.offset, bytes.size());
    }
    // A version-299 file has no text drawing mode: it stays 0.
    JwwHeader old;
    old.m_textDrawMode = 3;
    const auto bytes = headerBytes(old, 299);
    JwwHeader back;
    ASSERT_TRUE(back.ReadJwwArchive(bytes.data(), bytes.size()).ok);
    EXPECT_EQ(back.m_textDrawMode, 0u);
}

TEST(JwwFile, EmptyDrawingIs14099BytesAndSignatureIsNotChecked)
{
    JwwHeader h;
    h.ClearJwwHeader();
    auto bytes = h.WriteJwwArchive();
    EXPECT_EQ(bytes.size(), 14099u);
    EXPECT_EQ(std::memcmp(bytes.data(), "JwwData.", 8), 0);
    std::memcpy(bytes.data(), "Whatever", 8);
    JwwHeader back;
    EXPECT_TRUE(back.ReadJwwArchive(bytes.data(), bytes.size()).ok);
}

TEST(JwwFile, SamplesWriteReadWriteByteEqual)
{
    for (const char* file : {"Test1.jww", "Ａマンション平面例.jww", "2blocks.jww", "サンプル.jww"}) {
        JwwHeader h;
        ASSERT_TRUE(h.ReadJwwFile(kSamples + file).ok) << file;
        const auto first = h.WriteJwwArchive();
        JwwHeader again;
        const JwReadResult res = again.ReadJwwArchive(first.data(), first.size());
        ASSERT_TRUE(res.ok) << file << ": " << res.error;
        EXPECT_EQ(again.WriteJwwArchive(), first) << file;
        EXPECT_EQ(countKinds(again.m_DataList), countKinds(h.m_DataList)) << file;
    }
}

TEST(JwwFile, TruncatedAndDamagedFilesFail)
{
    JwwHeader h;
    ASSERT_TRUE(h.ReadJwwFile(kSamples + "Test2.jww").ok);
    const auto bytes = h.WriteJwwArchive();
    // Cut anywhere: a clean failure, never a crash.
    for (std::size_t cut = 0; cut < bytes.size(); cut += 97) {
        JwwHeader back;
        EXPECT_FALSE(back.ReadJwwArchive(bytes.data(), cut).ok) << cut;
    }
    // A block list entry that is no block definition.
    JwwHeader bad;
    bad.ClearJwwHeader();
    bad.m_DataListList.push_back(std::make_unique<CDataSen>());
    const auto badBytes = bad.WriteJwwArchive();
    JwwHeader back;
    const JwReadResult res = back.ReadJwwArchive(badBytes.data(), badBytes.size());
    EXPECT_FALSE(res.ok);
    EXPECT_NE(res.error.find("block definition"), std::string::npos);
}

TEST(JwsFile, RecordsTakeTheFilesOwnVersion)
{
    // A figure file: signature, version, the values not taken, origin, scales, further values, lists.
    JwArchive ar;
    char sig[8] = {'J', 'w', 's', 'D', 'a', 't', 'a', '.'};
    ar.ioFixed(sig, 8);
    ar.WriteDWord(300);
    ar.pad(196 - 4);
    ar.WriteDouble(10);
    ar.WriteDouble(20);
    for (int g = 0; g < 16; ++g)
        ar.WriteDouble(50);
    ar.pad(72);
    for (int i = 0; i < 4; ++i)
        ar.WriteDouble(0);
    JwRecordList list;
    auto line = std::make_unique<CDataSen>();
    line->m_nVersion = 300;   // 13 base bytes
    line->m_end_x = 5;
    list.push_back(std::move(line));
    ar.ioList(list);
    JwRecordList none;
    ar.ioList(none);
    JwsHeader jws;
    const JwReadResult res = jws.ReadJwsHeader(ar.Bytes().data(), ar.Bytes().size(), 600);
    ASSERT_TRUE(res.ok) << res.error;
    EXPECT_EQ(jws.m_nVersion, 300u);
    ASSERT_EQ(jws.m_DataList.size(), 1u);
    EXPECT_EQ(static_cast<const CDataSen&>(*jws.m_DataList[0]).m_end_x, 5);
    EXPECT_EQ(jws.m_originX, 10);
    EXPECT_EQ(jws.m_groupScale[3], 50);
}
