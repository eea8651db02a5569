#include "jwcad/JwwFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<std::uint8_t> storeList(JwRecordList& list, int version = 600)
{
    for (auto& r : list)
        if (r)
            r->m_nVersion = version;
    JwArchive ar;
    ar.ioList(list);
    return ar.Bytes();
}

JwRecordList loadList(const std::vector<std::uint8_t>& bytes, int version = 600)
{
    JwArchive ar(bytes.data(), bytes.size());
    ar.m_nRecordVersion = version;
    JwRecordList list;
    ar.ioList(list);
    return list;
}

std::vector<std::uint8_t> bytesOf(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

template <class R>
std::size_t storedSize(int version, void (*setup)(R&) = nullptr)
{
    JwRecordList list;
    auto r = std::make_unique<R>();
    if (setup)
        setup(*r);
    list.push_back(std::move(r));
    JwRecordList again;
    auto second = list[0]->Clone();
    list.push_back(std::move(second));
    const auto bytes = storeList(list, version);
    // The second entry of a class is its short tag (2 bytes) and its fields.
    const std::size_t withFirst = bytes.size();
    list.pop_back();
    return withFirst - storeList(list, version).size() - 2;
}

} // namespace

TEST(JwRecordStream, FieldSizesFollowTheVersion)
{
    struct Row {
        const char* name;
        std::size_t size;
        std::size_t expected;
    } rows[] = {
        {"line, version 350", storedSize<CDataSen>(350), 13 + 32},
        {"line, version 351", storedSize<CDataSen>(351), 15 + 32},
        {"point without code", storedSize<CDataTen>(600), 15 + 20},
        {"point with code", storedSize<CDataTen>(600, [](CDataTen& t) { t.m_nCode = 3; }), 15 + 20 + 20},
        {"point with code, version 251", storedSize<CDataTen>(251, [](CDataTen& t) { t.m_nCode = 3; }), 13 + 20},
        {"solid, pen colour 9", storedSize<CDataSolid>(600, [](CDataSolid& s) { s.m_nPenColor = 9; }), 15 + 64},
        {"solid, own colour", storedSize<CDataSolid>(600, [](CDataSolid& s) { s.m_nPenColor = 10; }), 15 + 64 + 4},
        {"solid, pen colour 11", storedSize<CDataSolid>(600, [](CDataSolid& s) { s.m_nPenColor = 11; }), 15 + 64},
        {"dimension, version 419", storedSize<CDataSunpou>(419), 15 + (15 + 32) + (15 + 32 + 4 + 32 + 2)},
        {"dimension, version 420",
         storedSize<CDataSunpou>(420), 15 + 47 + 85 + 2 + 2 * 47 + 4 * 35},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.size, r.expected) << r.name;
}

TEST(JwRecordStream, ClassDescribedOnceThenTagged)
{
    JwRecordList list;
    list.push_back(std::make_unique<CDataSen>());
    list.push_back(std::make_unique<CDataSen>());
    list.push_back(nullptr);
    list.push_back(std::make_unique<CDataEnko>());
    JwArchive ar;
    ar.m_nWriteSchema = 600;
    ar.ioList(list);
    const auto& b = ar.Bytes();
    // count 4; FFFF, schema 600, length 8, "CDataSen" (class index 1, record 2)
    const auto head = bytesOf({4, 0, 0xFF, 0xFF, 0x58, 0x02, 8, 0});
    ASSERT_GE(b.size(), head.size() + 8);
    EXPECT_TRUE(std::equal(head.begin(), head.end(), b.begin()));
    EXPECT_EQ(std::memcmp(b.data() + head.size(), "CDataSen", 8), 0);
    const std::size_t second = head.size() + 8 + 47;
    EXPECT_EQ(b[second], 0x01);
    EXPECT_EQ(b[second + 1], 0x80);
    EXPECT_EQ(b[second + 2 + 47], 0x00);   // the empty entry
    EXPECT_EQ(b[second + 2 + 47 + 1], 0x00);
    const JwRecordList back = loadList(b);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[1]->GetKind(), CData::SEN);
    EXPECT_EQ(back[2], nullptr);
    EXPECT_EQ(back[3]->GetKind(), CData::ENKO);
}

TEST(JwRecordStream, StringAndCountPrefixes)
{
    struct Row {
        std::size_t length;
        std::vector<std::uint8_t> prefix;
    } rows[] = {{0, {0}}, {254, {254}}, {255, {0xFF, 0xFF, 0}}, {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0}}};
    for (const Row& r : rows) {
        std::string s(r.length, 'a');
        JwArchive ar;
        ar.ioString(s);
        const auto& b = ar.Bytes();
        ASSERT_EQ(b.size(), r.prefix.size() + r.length) << r.length;
        EXPECT_TRUE(std::equal(r.prefix.begin(), r.prefix.end(), b.begin())) << r.length;
        JwArchive in(b.data(), b.size());
        std::string back;
        in.ioString(back);
        EXPECT_EQ(back, s);
    }
    JwRecordList many(65535);
    const auto bytes = storeList(many);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 6), bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
}

TEST(JwRecordStream, JapaneseAndWideStrings)
{
    std::string text = "洋室６帖";
    JwArchive ar;
    ar.ioString(text);
    EXPECT_EQ(ar.Bytes().size(), 1u + 8u);   // four double-byte characters in code page 932
    // A wide string: FF FE FF, a length in characters, UTF-16LE.
    const auto wide = bytesOf({0xFF, 0xFE, 0xFF, 2, 0x0B, 0x6D, 0xA4, 0x5B});
    JwArchive in(wide.data(), wide.size());
    std::string back;
    in.ioString(back);
    EXPECT_EQ(back, "洋室");
}

TEST(JwRecordStream, BlockTimeBothForms)
{
    CDataList list;
    list.m_time = 1700000000;
    JwArchive out;
    list.Serialize(out);
    CDataList back;
    JwArchive in(out.Bytes().data(), out.Bytes().size());
    back.Serialize(in);
    EXPECT_EQ(back.m_time, 1700000000);
    // The bare 32-bit form of older files.
    std::vector<std::uint8_t> old(15 + 8, 0);
    const std::int32_t t = -5;
    old.resize(old.size() + 4);
    std::memcpy(old.data() + 23, &t, 4);
    old.push_back(0);      // empty name
    old.push_back(0);
    old.push_back(0);      // empty list
    JwArchive oldIn(old.data(), old.size());
    CDataList fromOld;
    fromOld.Serialize(oldIn);
    EXPECT_EQ(fromOld.m_time, -5);
}

TEST(JwRecordStream, DamagedStreamsFailCleanly)
{
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
    } rows[] = {
        {"unknown class", bytesOf({1, 0, 0xFF, 0xFF, 0, 0, 5, 0, 'C', 'F', 'o', 'o', 'X'}), "unknown record class"},
        {"class name too long", bytesOf({1, 0, 0xFF, 0xFF, 0, 0, 64, 0}), "64 bytes"},
        {"undescribed class index", bytesOf({1, 0, 0x05, 0x80}), "names no class"},
        {"back reference", bytesOf({1, 0, 0x01, 0x00}), "already read"},
        {"count beyond the file", bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), "count larger"},
        {"ends inside a record", bytesOf({1, 0, 0xFF, 0xFF, 0, 0, 8, 0, 'C', 'D', 'a', 't', 'a', 'S', 'e', 'n', 1, 2}),
         "ends inside"},
    };
    for (const Row& r : rows) {
        try {
            loadList(r.bytes);
            ADD_FAILURE() << r.name << ": no failure";
        } catch (const JwFormatError& e) {
            EXPECT_NE(e.what.find(r.message), std::string::npos) << r.name << ": " << e.what;
        }
    }
    // A string whose length exceeds what is left.
    const auto longString = bytesOf({0xFF, 0xFF, 0x00, 0xF0});
    JwArchive in(longString.data(), longString.size());
    std::string s;
    EXPECT_THROW(in.ioString(s), JwFormatError);
}

TEST(JwRecordStream, DeeplyNestedBlockListsFail)
{
    // Each level: a block definition whose own list holds the next one.
    std::unique_ptr<CData> inner = std::make_unique<CDataList>();
    for (int i = 0; i < 100; ++i) {
        auto outer = std::make_unique<CDataList>();
        outer->m_DataList.push_back(std::move(inner));
        inner = std::move(outer);
    }
    JwRecordList list;
    list.push_back(std::move(inner));
    EXPECT_THROW(storeList(list), JwFormatError);
}
