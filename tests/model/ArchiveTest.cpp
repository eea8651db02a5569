#include "model/ArchiveFormat.h"
#include "model/DefFile.h"
#include "model/FileCommit.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

Bytes toBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

const std::string kHead = "KOVIRA-ARCHIVE 1\n";

// An archive of exactly these records, with a correct trailer.
Bytes withTrailer(const std::string& body)
{
    const std::string all = kHead + body;
    return toBytes(all + kov::archive::trailerFor(kov::archive::crc32(toBytes(all).data(), all.size())));
}

std::string hexOf(const Bytes& b)
{
    static const char hex[] = "0123456789abcdef";
    std::string s;
    for (auto c : b) {
        s += hex[c >> 4];
        s += hex[c & 15];
    }
    return s;
}

// Logs every value and block it meets, nested readers sharing one log. Blocks named "BLKImage..."
// hold a raw run that the reader takes itself and then leaves the rest to Load (as picture readers
// do); blocks named in `skip` are left to Load unread.
class Recorder : public CDefFile {
public:
    explicit Recorder(Log& log, std::vector<std::string> skip = {}) : m_log(log), m_skip(std::move(skip)) {}

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        for (const auto& s : m_skip)
            if (keyIs(s, block)) {
                m_log.push_back("skip " + std::string(block));
                return RD_SKIP;
            }
        if (block.substr(0, 8) == "BLKImage") {
            Bytes raw;
            if (!ar.ReadRaw(raw)) return RD_FAILED;
            m_log.push_back("raw " + std::string(block) + " " + hexOf(raw));
            return RD_SKIP;
        }
        m_log.push_back("{" + std::string(block));
        Recorder inner(m_log, m_skip);
        if (!inner.Load(ar, block)) return RD_FAILED;
        m_log.push_back("}" + std::string(block));
        return RD_READ;
    }
    int OnReadData(std::string_view key, std::string_view value) override
    {
        m_log.push_back(std::string(key) + "=" + std::string(value));
        return 1;
    }

private:
    Log& m_log;
    std::vector<std::string> m_skip;
};

// Reads the top block `top` as the document reader does; the log of what was read.
Log readAll(CArchive& ar, const std::string& top = "A", std::vector<std::string> skip = {})
{
    Log log;
    Recorder r(log, std::move(skip));
    if (r.FindStart(ar, top)) r.Load(ar, top);
    return log;
}

// ---------------------------------------------------------------- round trips

TEST(Archive, RoundTripsNestedBlocksWithCaseInsensitiveNames)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    ASSERT_TRUE(w.WriteStart(*ar, "KOVDATA"));
    ASSERT_TRUE(w.WriteStart(*ar, "KovUnit"));
    ASSERT_TRUE(w.WriteDataInt(*ar, "MUnitGrpID", -7));
    ASSERT_TRUE(w.WriteStart(*ar, "BLK_UnitLine"));
    ASSERT_TRUE(w.WriteData(*ar, "MLinePntX", "12.500000d"));
    ASSERT_TRUE(w.WriteEnd(*ar, "blk_unitline")); // writers may close in another case too
    ASSERT_TRUE(w.WriteEnd(*ar, "KovUnit"));
    ASSERT_TRUE(w.WriteEnd(*ar, "KOVDATA"));

    auto in = CArchive::forReading(ar->bytes());
    Log log;
    Recorder r(log);
    ASSERT_EQ(r.FindStart(*in, "kovdata"), 1);
    EXPECT_EQ(r.Load(*in, "KovData"), 1);
    EXPECT_TRUE(in->error().ok()) << in->error().describe();
    EXPECT_EQ(log, (Log{"{KovUnit", "MUnitGrpID=-7", "{BLK_UnitLine", "MLinePntX=12.500000d", "}BLK_UnitLine",
                        "}KovUnit"}));
}

TEST(Archive, ValuesComeBackUnchanged)
{
    const struct {
        const char* name;
        std::string value;
    } cases[] = {
        {"plain", "abc"},
        {"empty", ""},
        {"japanese", "日本語の文字列　全角"},
        {"tab comma equals", "AB\tC,1,2=3=="},
        {"backslashes", "C:\\temp\\x41\\n\\"},
        {"line breaks", "a\r\nb\nc\r"},
        {"control bytes", std::string("\x01\x1f\x7f\0z", 5)},
        {"looks like records", "}A\n{B\n#3\n!crc32 00000000\n"},
        {"not utf-8", "\xff\xfe\x80"},
        {"largest plain", std::string(kov::archive::kMaxValueSize, 'x')},
        {"largest escaped", std::string(kov::archive::kMaxValueSize, '\x01')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDefFile w;
        auto ar = CArchive::forWriting();
        ASSERT_TRUE(w.WriteStart(*ar, "A"));
        ASSERT_TRUE(w.WriteData(*ar, "k", c.value));
        ASSERT_TRUE(w.WriteData(*ar, "next", "1"));
        ASSERT_TRUE(w.WriteEnd(*ar, "A"));
        auto in = CArchive::forReading(ar->bytes());
        const Log log = readAll(*in);
        EXPECT_TRUE(in->error().ok()) << in->error().describe();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_TRUE(log[0] == "k=" + c.value);
        EXPECT_EQ(log[1], "next=1");
    }
}

TEST(Archive, ValueLinesStayOneLineEach)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    w.WriteStart(*ar, "A");
    w.WriteData(*ar, "MTextstr", "一行目\t二行目\r\n\\");
    w.WriteEnd(*ar, "A");
    const std::string text(ar->bytes().begin(), ar->bytes().end());
    EXPECT_EQ(text.substr(0, text.size() - kov::archive::kTrailerSize),
              kHead + "{A\nMTextstr=一行目\t二行目\\r\\n\\\\\n}A\n");
}

TEST(Archive, RawRunsComeBackUnchanged)
{
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[std::size_t(i)] = std::uint8_t(i);
    Bytes big(3 << 20);
    std::mt19937 rng(7);
    for (auto& b : big) b = std::uint8_t(rng());
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"every byte", all},
        {"looks like records", toBytes("\n}BLKImagePng\n}A\n{B\nk=v\n#2\n\n!crc32 00000000\n")},
        {"large", big},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDefFile w;
        auto ar = CArchive::forWriting();
        ASSERT_TRUE(w.WriteStart(*ar, "A"));
        ASSERT_TRUE(w.WriteStart(*ar, "BLKImagePng"));
        ASSERT_TRUE(ar->WriteRaw(c.bytes));
        ASSERT_TRUE(w.WriteEnd(*ar, "BLKImagePng"));
        ASSERT_TRUE(w.WriteData(*ar, "after", "1"));
        ASSERT_TRUE(w.WriteEnd(*ar, "A"));
        auto in = CArchive::forReading(ar->bytes());
        const Log log = readAll(*in);
        EXPECT_TRUE(in->error().ok()) << in->error().describe();
        EXPECT_EQ(log, (Log{"raw BLKImagePng " + hexOf(c.bytes), "after=1"}));
    }
}

// ---------------------------------------------------------------- skipping

TEST(Archive, UnknownBlocksAreSkippedByTheirFraming)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    w.WriteStart(*ar, "A");
    w.WriteData(*ar, "before", "1");
    w.WriteStart(*ar, "BLK_Future");
    w.WriteData(*ar, "inner", "x");
    w.WriteStart(*ar, "Deeper");
    ar->WriteRaw(toBytes("\n}BLK_Future\n}A\nfake=1\n"));
    w.WriteEnd(*ar, "Deeper");
    ar->WriteRaw(toBytes("#9\n"));
    w.WriteEnd(*ar, "BLK_Future");
    w.WriteData(*ar, "after", "2");
    w.WriteEnd(*ar, "A");

    auto in = CArchive::forReading(ar->bytes());
    EXPECT_EQ(readAll(*in, "A", {"blk_future"}), (Log{"before=1", "skip BLK_Future", "after=2"}));
    EXPECT_TRUE(in->error().ok()) << in->error().describe();

    // The base class skips every nested block on its own.
    auto again = CArchive::forReading(ar->bytes());
    CDefFile base;
    ASSERT_EQ(base.FindStart(*again, "A"), 1);
    EXPECT_EQ(base.Load(*again, "A"), 1);
    EXPECT_TRUE(again->error().ok());
}

// A picture reader takes the byte run, then hands the rest of its block back to Load.
class PartialReader : public CDefFile {
public:
    Log log;

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        if (keyIs(block, "BLKImagePng")) {
            Bytes raw;
            if (!ar.ReadRaw(raw)) return RD_FAILED;
            log.push_back("raw " + std::string(raw.begin(), raw.end()));
            return RD_SKIP;
        }
        if (keyIs(block, "Outer")) {
            // Goes into a grandchild and leaves from inside it.
            CDefFile finder;
            if (!finder.FindStart(ar, "Inner")) return RD_FAILED;
            log.push_back("found Inner");
            return RD_SKIP;
        }
        if (keyIs(block, "Lazy")) return RD_READ; // claims to have read what it did not
        return RD_SKIP;
    }
    int OnReadData(std::string_view key, std::string_view value) override
    {
        log.push_back(std::string(key) + "=" + std::string(value));
        return 1;
    }
};

TEST(Archive, SkipAfterTheReaderReadPartOfTheBlock)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    w.WriteStart(*ar, "A");
    w.WriteStart(*ar, "BLKImagePng");
    ar->WriteRaw(toBytes("PNG"));
    w.WriteData(*ar, "hidden", "1");
    w.WriteStart(*ar, "Nested");
    ar->WriteRaw(toBytes("}BLKImagePng\n"));
    w.WriteEnd(*ar, "Nested");
    w.WriteEnd(*ar, "BLKImagePng");
    w.WriteData(*ar, "mid", "2");
    w.WriteStart(*ar, "Outer");
    w.WriteStart(*ar, "Middle");
    w.WriteStart(*ar, "Inner");
    w.WriteData(*ar, "hidden", "3");
    w.WriteEnd(*ar, "Inner");
    w.WriteEnd(*ar, "Middle");
    w.WriteEnd(*ar, "Outer");
    w.WriteStart(*ar, "Lazy");
    w.WriteData(*ar, "hidden", "5");
    w.WriteEnd(*ar, "Lazy");
    w.WriteData(*ar, "last", "4");
    w.WriteEnd(*ar, "A");

    auto in = CArchive::forReading(ar->bytes());
    PartialReader r;
    ASSERT_EQ(r.FindStart(*in, "A"), 1);
    EXPECT_EQ(r.Load(*in, "A"), 1);
    EXPECT_TRUE(in->error().ok()) << in->error().describe();
    EXPECT_EQ(r.log, (Log{"raw PNG", "mid=2", "found Inner", "last=4"}));
}

TEST(Archive, FindStartFindsTheFirstBlockOfThatNameAtAnyDepth)
{
    auto in = CArchive::forReading(withTrailer("{Other\n{KovUnit\nk=1\n}KovUnit\n}Other\n{KovUnit\nk=2\n}KovUnit\n"));
    Log log;
    Recorder r(log);
    ASSERT_EQ(r.FindStart(*in, "KOVUNIT"), 1);
    EXPECT_EQ(r.Load(*in, "KovUnit"), 1);
    EXPECT_EQ(log, (Log{"k=1"}));

    // Not there: 0 without an error, and a rewind reads from the start again.
    Log none;
    Recorder s(none);
    auto cold = CArchive::forReading(withTrailer("{Other\n}Other\n"));
    EXPECT_EQ(s.FindStart(*cold, "KOVDATA"), 0);
    EXPECT_TRUE(cold->error().ok()) << cold->error().describe();
    cold->rewind();
    EXPECT_EQ(s.FindStart(*cold, "other"), 1);
}

// ---------------------------------------------------------------- malformed archives

TEST(Archive, MalformedArchivesStopWithOffsetAndBlockPath)
{
    const std::size_t h = kHead.size();
    std::string deep = "{A\n";
    std::string deepPath = "A";
    for (int i = 0; i < 64; ++i) deep += "{B\n";
    for (int i = 0; i < 63; ++i) deepPath += "/B";
    std::string huge = "{A\nk=" + std::string(16u << 20, 'x') + "\n}A\n";
    std::string noise;
    std::mt19937 rng(42);
    for (int i = 0; i < 4096; ++i) noise += char(rng());

    struct Case {
        const char* name;
        Bytes bytes;
        ArchiveErrc code;
        std::uint64_t offset;
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {"unknown record", withTrailer("{A\nhello\n}A\n"), ArchiveErrc::UnknownRecord, h + 3, "A",
         "不明なレコードがあります"},
        {"blank line", withTrailer("{A\n\n}A\n"), ArchiveErrc::UnknownRecord, h + 3, "A", "不明なレコードがあります"},
        {"trailer among records", withTrailer("{A\n!crc32 00000000\n}A\n"), ArchiveErrc::UnknownRecord, h + 3, "A",
         "不明なレコードがあります"},
        {"bad raw length", withTrailer("{A\n#1x\nab\n}A\n"), ArchiveErrc::BadRawLength, h + 3, "A",
         "バイト列の長さが不正です"},
        {"raw length with leading zero", withTrailer("{A\n#01\na\n}A\n"), ArchiveErrc::BadRawLength, h + 3, "A",
         "バイト列の長さが不正です"},
        {"raw length overflow", withTrailer("{A\n#99999999999999999999999\n}A\n"), ArchiveErrc::BadRawLength, h + 3,
         "A", "バイト列の長さが不正です"},
        {"raw run longer than stated", withTrailer("{A\n#2\nabc\n}A\n"), ArchiveErrc::BadRawLength, h + 3, "A",
         "バイト列の長さが不正です"},
        {"raw run longer than the file", withTrailer("{A\n#999\nabc\n}A\n"), ArchiveErrc::RawPastEnd, h + 3, "A",
         "バイト列がアーカイブの終わりを越えています"},
        {"missing end", withTrailer("{A\nk=v\n"), ArchiveErrc::EndsInsideBlock, h + 7, "A",
         "ブロックの途中でアーカイブが終わっています"},
        {"end names another block", withTrailer("{A\n{B\n}C\n}A\n"), ArchiveErrc::EndMismatch, h + 6, "A/B",
         "ブロックの終わりが開いているブロックと一致しません: C ≠ B"},
        {"end without start", withTrailer("}A\n"), ArchiveErrc::EndWithoutStart, h, "",
         "始まりのないブロックの終わりがあります: A"},
        {"bad escape", withTrailer("{A\nk=a\\qb\n}A\n"), ArchiveErrc::BadEscape, h + 3, "A",
         "値のエスケープが不正です: k"},
        {"empty block name", withTrailer("{A\n{\n}\n}A\n"), ArchiveErrc::BadName, h + 3, "A",
         "ブロック名またはキーが不正です"},
        {"key with a blank", withTrailer("{A\nk y=1\n}A\n"), ArchiveErrc::BadName, h + 3, "A",
         "ブロック名またはキーが不正です"},
        {"japanese key", withTrailer("{A\nキー=1\n}A\n"), ArchiveErrc::BadName, h + 3, "A",
         "ブロック名またはキーが不正です"},
        {"nesting too deep", withTrailer(deep), ArchiveErrc::TooDeep, h + 64 * 3, deepPath,
         "ブロックの入れ子が深すぎます: B"},
        {"value of 16 MiB", withTrailer(huge), ArchiveErrc::ValueTooLong, h + 3, "A", "値が長すぎます"},
        {"third sibling of a name",
         withTrailer("{A\n{KovUnit\n{BLK_UnitImage\n}BLK_UnitImage\n{BLK_UnitLine\n}BLK_UnitLine\n"
                     "{blk_unitimage\n}BLK_UnitImage\n{BLK_UnitImage\n}Other\n"),
         ArchiveErrc::EndMismatch, h + 115, "A/KovUnit/BLK_UnitImage#3",
         "ブロックの終わりが開いているブロックと一致しません: Other ≠ BLK_UnitImage"},
        {"cut inside a record", toBytes(kHead + "{A\nk=v"), ArchiveErrc::CutRecord, h + 3, "A",
         "レコードの途中でアーカイブが終わっています"},
        {"newer format", toBytes("KOVIRA-ARCHIVE 2\n{A\n}A\n"), ArchiveErrc::UnsupportedVersion, 0, "",
         "新しい版で保存されたアーカイブです: 2"},
        {"no magic line", toBytes("{A\n}A\n"), ArchiveErrc::NotArchive, 0, "", "Kovira のアーカイブではありません"},
        {"random bytes", toBytes(noise), ArchiveErrc::NotArchive, 0, "", "Kovira のアーカイブではありません"},
        {"empty file", {}, ArchiveErrc::NotArchive, 0, "", "Kovira のアーカイブではありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto in = CArchive::forReading(c.bytes);
        readAll(*in);
        const ArchiveError& e = in->error();
        EXPECT_EQ(e.code, c.code);
        EXPECT_EQ(e.offset, c.offset);
        EXPECT_EQ(e.blockPath, c.path);
        EXPECT_EQ(e.message, c.message);
    }
}

TEST(Archive, WhatWasReadBeforeAFaultStays)
{
    auto in = CArchive::forReading(withTrailer("{A\n{B\nk=1\n}B\nj=2\n{C\nbroken\n}C\nz=3\n}A\n"));
    EXPECT_EQ(readAll(*in), (Log{"{B", "k=1", "}B", "j=2", "{C"}));
    EXPECT_EQ(in->error().code, ArchiveErrc::UnknownRecord);
    EXPECT_EQ(in->error().describe(), "不明なレコードがあります (オフセット " + std::to_string(kHead.size() + 20)
                                          + ", ブロック A/C)");

    // Reading again from the start meets the same fault at the same place.
    in->rewind();
    EXPECT_TRUE(in->error().ok());
    EXPECT_EQ(readAll(*in), (Log{"{B", "k=1", "}B", "j=2", "{C"}));
    EXPECT_EQ(in->error().offset, kHead.size() + 20);
}

TEST(Archive, ABadOrMissingChecksumStillReadsEverything)
{
    const std::string body = "{A\nk=1\n}A\n";
    Bytes bad = withTrailer(body);
    bad[kHead.size() + 5] = '2'; // k=2, trailer unchanged
    const struct {
        const char* name;
        Bytes bytes;
        ArchiveErrc code;
        std::string value;
    } cases[] = {
        {"missing", toBytes(kHead + body), ArchiveErrc::ChecksumMissing, "k=1"},
        {"mismatch", bad, ArchiveErrc::ChecksumMismatch, "k=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto in = CArchive::forReading(c.bytes);
        EXPECT_EQ(readAll(*in), Log{c.value});
        EXPECT_EQ(in->error().code, c.code);
        EXPECT_EQ(in->error().offset, kHead.size() + body.size());
    }
}

// Readers that fail or misbehave stop the read with an error instead of derailing it.
class FaultyReader : public CDefFile {
public:
    enum Fault { RefuseKey, FailBlock, ReadPastOwnEnd, UnknownStatus, RawWhereNoneIs };
    explicit FaultyReader(Fault f) : m_fault(f) {}

protected:
    RD_STATUS OnReadStart(CArchive& ar, std::string_view block) override
    {
        switch (m_fault) {
        case FailBlock: return RD_FAILED;
        case UnknownStatus: return RD_STATUS(3);
        case ReadPastOwnEnd: {
            CDefFile inner;
            inner.Load(ar, block);
            inner.Load(ar, "A"); // the parent's block: reads through the caller's end
            return RD_READ;
        }
        case RawWhereNoneIs: {
            Bytes raw;
            return ar.ReadRaw(raw) ? RD_SKIP : RD_FAILED;
        }
        default: return RD_SKIP;
        }
    }
    int OnReadData(std::string_view key, std::string_view) override { return m_fault == RefuseKey ? 0 : 1; }

private:
    Fault m_fault;
};

TEST(Archive, FailingReadersStopTheRead)
{
    const Bytes bytes = withTrailer("{A\nk=1\n{B\nj=2\n}B\n}A\n");
    const std::size_t h = kHead.size();
    const struct {
        const char* name;
        FaultyReader::Fault fault;
        ArchiveErrc code;
        std::uint64_t offset;
        std::string path;
    } cases[] = {
        {"key refused", FaultyReader::RefuseKey, ArchiveErrc::ReaderFailed, h + 3, "A"},
        {"block failed", FaultyReader::FailBlock, ArchiveErrc::ReaderFailed, h + 7, "A/B"},
        {"unknown status", FaultyReader::UnknownStatus, ArchiveErrc::ReaderFailed, h + 7, "A/B"},
        {"read past its own end", FaultyReader::ReadPastOwnEnd, ArchiveErrc::ReaderOverran, h + 20, ""},
        {"raw where none is", FaultyReader::RawWhereNoneIs, ArchiveErrc::NotRawRun, h + 10, "A/B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto in = CArchive::forReading(bytes);
        FaultyReader r(c.fault);
        ASSERT_EQ(r.FindStart(*in, "A"), 1);
        EXPECT_EQ(r.Load(*in, "A"), 0);
        EXPECT_EQ(in->error().code, c.code);
        EXPECT_EQ(in->error().offset, c.offset);
        EXPECT_EQ(in->error().blockPath, c.path);
    }

    auto in = CArchive::forReading(bytes);
    CDefFile r;
    EXPECT_EQ(r.Load(*in, "A"), 0) << "no start read yet";
    EXPECT_EQ(in->error().code, ArchiveErrc::NoBlockOpen);
}

// ---------------------------------------------------------------- writing

TEST(Archive, WritersRefuseWhatCannotBeReadBack)
{
    const std::string tooLong(kov::archive::kMaxValueSize + 1, 'x');
    const struct {
        const char* name;
        std::function<int(CDefFile&, CArchive&)> write;
        ArchiveErrc code;
    } cases[] = {
        {"empty key", [](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "", "1"); }, ArchiveErrc::BadName},
        {"key with =", [](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "a=b", "1"); }, ArchiveErrc::BadName},
        {"key like a start", [](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "{B", "1"); },
         ArchiveErrc::BadName},
        {"key like a raw run", [](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "#1", "1"); },
         ArchiveErrc::BadName},
        {"key with a blank", [](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "a b", "1"); },
         ArchiveErrc::BadName},
        {"japanese key", [](CDefFile& w, CArchive& ar) { return w.WriteDataInt(ar, "キー", 1); },
         ArchiveErrc::BadName},
        {"block name with LF", [](CDefFile& w, CArchive& ar) { return w.WriteStart(ar, "B\nk=1"); },
         ArchiveErrc::BadName},
        {"block name of 256", [](CDefFile& w, CArchive& ar) { return w.WriteStart(ar, std::string(256, 'B')); },
         ArchiveErrc::BadName},
        {"value over 1 MiB", [&](CDefFile& w, CArchive& ar) { return w.WriteData(ar, "k", tooLong); },
         ArchiveErrc::ValueTooLong},
        {"end of another block", [](CDefFile& w, CArchive& ar) { return w.WriteEnd(ar, "B"); },
         ArchiveErrc::EndMismatch},
        {"end without start",
         [](CDefFile& w, CArchive& ar) { return w.WriteEnd(ar, "A") && w.WriteEnd(ar, "A"); },
         ArchiveErrc::EndWithoutStart},
        {"nesting too deep",
         [](CDefFile& w, CArchive& ar) {
             for (int i = 0; i < 64; ++i)
                 if (!w.WriteStart(ar, "B")) return 0;
             return 1;
         },
         ArchiveErrc::TooDeep},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDefFile w;
        auto ar = CArchive::forWriting();
        ASSERT_TRUE(w.WriteStart(*ar, "A"));
        EXPECT_EQ(c.write(w, *ar), 0);
        EXPECT_EQ(ar->error().code, c.code);
        // The first failure is final: nothing after it is written, nothing is committed.
        EXPECT_EQ(w.WriteData(*ar, "k", "1"), 0);
        EXPECT_EQ(ar->error().code, c.code);
        kov::test::TempFolder dir;
        std::string why;
        EXPECT_FALSE(ar->commitTo(dir.file("x.kva"), &why));
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("x.kva")));
    }
}

std::string readFile(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void writeFile(const std::filesystem::path& p, const std::string& text)
{
    std::ofstream f(p, std::ios::binary);
    f << text;
}

std::unique_ptr<CArchive> smallArchive(bool closed = true)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    w.WriteStart(*ar, "A");
    w.WriteData(*ar, "k", "new");
    if (closed) w.WriteEnd(*ar, "A");
    return ar;
}

TEST(Archive, CommitReplacesTheFileOnlyWhole)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    writeFile(target, "old");

    std::string why;
    EXPECT_FALSE(smallArchive(false)->commitTo(target, &why)) << "a block is still open";
    EXPECT_EQ(why, "閉じていないブロックがあります: A");
    EXPECT_EQ(readFile(target), "old");

    EXPECT_FALSE(smallArchive()->commitTo(dir.file("missing/plan.kva"), &why));
    EXPECT_FALSE(why.empty());

    // A folder in the target's place cannot be replaced; it stays, and no temporary file is left.
    std::filesystem::create_directory(dir.file("folder.kva"));
    writeFile(dir.file("folder.kva") / "keep", "x");
    EXPECT_FALSE(smallArchive()->commitTo(dir.file("folder.kva"), &why));
    EXPECT_EQ(readFile(dir.file("folder.kva") / "keep"), "x");

    if (::geteuid() != 0) { // root writes into read-only folders anyway
        std::filesystem::create_directory(dir.file("ro"));
        writeFile(dir.file("ro/plan.kva"), "old");
        ::chmod(dir.file("ro").c_str(), 0555);
        EXPECT_FALSE(smallArchive()->commitTo(dir.file("ro/plan.kva"), &why));
        EXPECT_EQ(readFile(dir.file("ro/plan.kva")), "old");
        ::chmod(dir.file("ro").c_str(), 0755);
    }

    ::chmod(target.c_str(), 0640);
    auto ar = smallArchive();
    ASSERT_TRUE(ar->commitTo(target, &why)) << why;
    const std::string saved = readFile(target);
    EXPECT_EQ(saved, std::string(ar->bytes().begin(), ar->bytes().end()));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the old file's permissions are kept";

    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u) << "plan.kva and folder.kva only";

    auto in = CArchive::openForReading(target, &why);
    ASSERT_TRUE(in) << why;
    EXPECT_EQ(readAll(*in), (Log{"k=new"}));
    EXPECT_TRUE(in->error().ok());

    EXPECT_FALSE(CArchive::openForReading(dir.file("nothing.kva"), &why));
    EXPECT_EQ(why, "「" + dir.file("nothing.kva").string() + "」を読み込めません: ファイルまたはフォルダーがありません");
    EXPECT_FALSE(CArchive::openForReading(dir.file("folder.kva"), &why));
}

TEST(Archive, CommitWritesThroughSymbolicLinks)
{
    namespace fs = std::filesystem;
    kov::test::TempFolder dir;
    fs::create_directory(dir.file("real"));
    const fs::path real = dir.file("real/plan.kva");
    // A relative link, an absolute one, a link to a link, and one whose file does not exist yet.
    struct Case { const char* link; fs::path to; fs::path file; bool fileThere; };
    const Case cases[] = {
        {"rel.kva", "real/plan.kva", real, true},
        {"abs.kva", real, real, true},
        {"chain.kva", "rel.kva", real, true},
        {"dangling.kva", "real/new.kva", dir.file("real/new.kva"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        writeFile(real, "old");
        fs::remove(dir.file("real/new.kva"));
        fs::create_symlink(c.to, dir.file(c.link));
        auto ar = smallArchive();
        std::string why;
        ASSERT_TRUE(ar->commitTo(dir.file(c.link), &why)) << why;
        EXPECT_TRUE(fs::is_symlink(dir.file(c.link))) << "the link stays a link";
        EXPECT_EQ(readFile(c.file), std::string(ar->bytes().begin(), ar->bytes().end()));
        // The temporary file went beside the file it replaced, and none is left anywhere.
        for (const auto& folder : {dir.path(), dir.file("real")})
            for (const auto& e : fs::directory_iterator(folder))
                EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
    fs::create_symlink("loop2.kva", dir.file("loop1.kva"));
    fs::create_symlink("loop1.kva", dir.file("loop2.kva"));
    std::string why;
    EXPECT_FALSE(smallArchive()->commitTo(dir.file("loop1.kva"), &why));
    EXPECT_NE(why.find("保存できません"), std::string::npos) << why;
}

TEST(Archive, CommitRefusesAReadOnlyFile)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    writeFile(target, "old");
    ::chmod(target.c_str(), 0444);
    std::string why;
    EXPECT_FALSE(smallArchive()->commitTo(target, &why));
    EXPECT_EQ(why.rfind("「" + target.string() + "」を保存できません: ", 0), 0u) << why;
    EXPECT_EQ(readFile(target), "old");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST(Archive, CommitSweepsOnlyThisFilesStaleTemporaries)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    const std::string me = std::to_string(::getpid());
    // Process 2147483646 runs nowhere (beyond any pid limit); process 1 always runs.
    struct Case { std::string name; bool removed; };
    const Case cases[] = {
        {".plan.kva.tmp2147483646-3", true},        // a save killed while writing
        {".plan.kva.tmp" + me + "-999", true},       // an earlier one of this process
        {".plan.kva.tmp1-5", false},                // another running instance's save in progress
        {".other.kva.tmp2147483646-1", false},      // another document's
        {".plan.kva.tmp2147483646-x", false},       // not our naming
        {".plan.kva.tmp2147483646", false},
        {"plan.kva.tmp2147483646-1", false},
        {".plan.kva.bak", false},
    };
    for (const Case& c : cases) writeFile(dir.file(c.name), std::string(1000, 'x'));
    std::string why;
    ASSERT_TRUE(smallArchive()->commitTo(target, &why)) << why;
    for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(dir.file(c.name)), !c.removed) << c.name;
}

TEST(Archive, OpeningSweepsTemporariesOfEndedSaves)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    ASSERT_TRUE(smallArchive()->commitTo(target, nullptr));
    const std::string me = std::to_string(::getpid());
    struct Case { std::string name; bool removed; };
    const Case cases[] = {
        {".plan.kva.tmp2147483646-3", true},  // a save killed while writing, before this start
        {".plan.kva.tmp" + me + "-999", false}, // this process may be saving it
        {".plan.kva.tmp1-5", false},          // another running instance's save in progress
        {".other.kva.tmp2147483646-1", false}, // another document's
    };
    for (const Case& c : cases) writeFile(dir.file(c.name), std::string(1000, 'x'));
    std::string why;
    ASSERT_TRUE(CArchive::openForReading(target, &why)) << why;
    for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(dir.file(c.name)), !c.removed) << c.name;
}

TEST(Archive, FifosAndDevicesAreNeitherReplacedNorWaitedFor)
{
    namespace fs = std::filesystem;
    kov::test::TempFolder dir;
    const fs::path fifo = dir.file("x.kvr");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& node : {fifo, fs::path("/dev/null")}) {
        SCOPED_TRACE(node.string());
        std::string why;
        EXPECT_FALSE(smallArchive()->commitTo(node, &why));
        EXPECT_EQ(why, "「" + node.string() + "」を保存できません: 通常のファイルではありません");
        why.clear();
        EXPECT_FALSE(CommitBytesToFile(node, toBytes("x"), &why));
        EXPECT_NE(why.find("通常のファイルではありません"), std::string::npos) << why;
        struct stat st {};
        ASSERT_EQ(::lstat(node.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)) << "the node stays what it was";
        // Reading one answers at once (a FIFO with no writer would block an open for reading).
        EXPECT_FALSE(CArchive::openForReading(node, &why));
        EXPECT_EQ(why, "「" + node.string() + "」を読み込めません: 通常のファイルではありません");
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file is left";
}

TEST(Archive, FailedLargeSaveNamesTheFileAndWhereItStopped)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    // The file size limit stands in for a full disk: writes past it fail with EFBIG.
    const std::size_t limit = 1536 * 1024 + 17;
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldSignal)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string why;
    {
        auto ar = CArchive::forWritingFile(target);
        CDefFile w;
        w.WriteStart(*ar, "A");
        for (int i = 0; i < 200000; ++i) w.WriteDataFixedD(*ar, "x", i * 0.25);
        w.WriteEnd(*ar, "A");
        EXPECT_FALSE(ar->commitTo(target, &why));
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(why.rfind("「" + target.string() + "」を保存できません: ", 0), 0u) << why;
    EXPECT_NE(why.find("ファイルが大きすぎます (オフセット " + std::to_string(limit)), std::string::npos) << why;
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(Archive, ArchiveWrittenIntoItsFileMatchesOneWrittenInMemory)
{
    kov::test::TempFolder dir;
    const auto target = dir.file("plan.kva");
    // Several times the size at which the buffer goes out to the file.
    auto fill = [](CArchive& ar) {
        CDefFile w;
        w.WriteStart(ar, "A");
        for (int i = 0; i < 120000; ++i) {
            w.WriteDataFixedD(ar, "x", i * 0.25);
            w.WriteData(ar, "t", "壁\n" + std::to_string(i));
        }
        const std::vector<std::uint8_t> raw(70000, 7);
        ar.WriteRaw(raw);
        w.WriteEnd(ar, "A");
    };
    auto memory = CArchive::forWriting();
    fill(*memory);
    std::string why;
    for (const bool commit : {false, true}) {
        SCOPED_TRACE(commit ? "committed" : "dropped");
        writeFile(target, "old");
        {
            auto ar = CArchive::forWritingFile(target);
            fill(*ar);
            EXPECT_EQ(ar->position(), memory->bytes().size() - kov::archive::kTrailerSize);
            EXPECT_EQ(readFile(target), "old") << "untouched until committed";
            if (commit) {
                EXPECT_FALSE(ar->commitTo(dir.file("other.kva"), &why)) << "only into its own file";
                ASSERT_TRUE(ar->commitTo(target, &why)) << why;
            }
        }
        EXPECT_EQ(readFile(target), commit ? std::string(memory->bytes().begin(), memory->bytes().end()) : "old");
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
        EXPECT_EQ(entries, 1u) << "no temporary file is left";
    }
    // A read-only file refuses before anything is written.
    ::chmod(target.c_str(), 0444);
    auto ar = CArchive::forWritingFile(target);
    CDefFile w;
    EXPECT_EQ(w.WriteStart(*ar, "A"), 0);
    EXPECT_FALSE(ar->commitTo(target, &why));
    EXPECT_EQ(why.rfind("「" + target.string() + "」を保存できません: ", 0), 0u) << why;
}

TEST(Archive, WritingOnAfterBytesKeepsOneTrailer)
{
    CDefFile w;
    auto ar = CArchive::forWriting();
    w.WriteStart(*ar, "A");
    const std::size_t first = ar->bytes().size();
    w.WriteData(*ar, "k", "1");
    w.WriteEnd(*ar, "A");
    EXPECT_EQ(ar->bytes().size(), first + 7);
    auto in = CArchive::forReading(ar->bytes());
    EXPECT_EQ(readAll(*in), Log{"k=1"});
    EXPECT_TRUE(in->error().ok()) << in->error().describe();
}

// ---------------------------------------------------------------- golden archive

// A drawing-like archive: nested blocks, Japanese and TAB values, raw runs, a block readers do not know.
void writeGolden(CArchive& ar)
{
    CDefFile w;
    Bytes picture = toBytes("\x89PNG\r\n\x1a\n}BLKImagePng\n}BLK_UnitImage\n{KOVDATA\nMUnitGrpID=9\n#3\n");
    for (int i = 0; i < 256; ++i) picture.push_back(std::uint8_t(i));
    w.WriteStart(ar, "KOVDATA");
    w.WriteStart(ar, "KovUnit");
    w.WriteDataInt(ar, "MUnitGrpID", 3);
    w.WriteDataInt(ar, "MUnitWallID", 1);
    w.WriteDataInt(ar, "MUnitLineID", 2);
    w.WriteStart(ar, "BLK_UnitLine");
    w.WriteDataInt(ar, "MLineID", 1);
    w.WriteData(ar, "MLinePntX", "0.000000d");
    w.WriteData(ar, "MLinePntY", "0.000000d");
    w.WriteData(ar, "MLinePntX", "12.500000d");
    w.WriteData(ar, "MLinePntY", "-3.000000d");
    w.WriteData(ar, "MLineColor", "255");
    w.WriteEnd(ar, "BLK_UnitLine");
    w.WriteStart(ar, "BLK_UnitText");
    w.WriteStart(ar, "BLKMTextFontMenu");
    w.WriteData(ar, "FontName", "ゴシック");
    w.WriteDataInt(ar, "FontSize", 12);
    w.WriteEnd(ar, "BLKMTextFontMenu");
    w.WriteData(ar, "MTextstr", "一行目\t二行目, a=b \\ c");
    w.WriteEnd(ar, "BLK_UnitText");
    w.WriteStart(ar, "BLK_UnitWall");
    w.WriteData(ar, "MWallPntKado", "1.000000,2.000000,3.000000,4.000000,5.000000,6.000000,7.000000,8.000000");
    w.WriteEnd(ar, "BLK_UnitWall");
    w.WriteStart(ar, "BLK_UnitImage");
    w.WriteData(ar, "ImageName", "temp1.bmp");
    w.WriteDataInt(ar, "IMGImagetype", 2);
    w.WriteStart(ar, "BLKImagePng");
    ar.WriteRaw(picture);
    w.WriteEnd(ar, "BLKImagePng");
    w.WriteEnd(ar, "BLK_UnitImage");
    w.WriteStart(ar, "BLK_Future");
    w.WriteData(ar, "Unknown", "1");
    w.WriteStart(ar, "BLKNested");
    ar.WriteRaw(toBytes("}BLK_Future\n"));
    w.WriteEnd(ar, "BLKNested");
    w.WriteEnd(ar, "BLK_Future");
    w.WriteEnd(ar, "KovUnit");
    w.WriteStart(ar, "BLKPlotInfo");
    w.WriteData(ar, "PlotScale", "100.000000");
    w.WriteEnd(ar, "BLKPlotInfo");
    w.WriteEnd(ar, "KOVDATA");
}

Log goldenLog()
{
    Bytes picture = toBytes("\x89PNG\r\n\x1a\n}BLKImagePng\n}BLK_UnitImage\n{KOVDATA\nMUnitGrpID=9\n#3\n");
    for (int i = 0; i < 256; ++i) picture.push_back(std::uint8_t(i));
    return {"{KovUnit", "MUnitGrpID=3", "MUnitWallID=1", "MUnitLineID=2", "{BLK_UnitLine", "MLineID=1",
            "MLinePntX=0.000000d", "MLinePntY=0.000000d", "MLinePntX=12.500000d", "MLinePntY=-3.000000d",
            "MLineColor=255", "}BLK_UnitLine", "{BLK_UnitText", "{BLKMTextFontMenu", "FontName=ゴシック",
            "FontSize=12", "}BLKMTextFontMenu", "MTextstr=一行目\t二行目, a=b \\ c", "}BLK_UnitText",
            "{BLK_UnitWall",
            "MWallPntKado=1.000000,2.000000,3.000000,4.000000,5.000000,6.000000,7.000000,8.000000",
            "}BLK_UnitWall", "{BLK_UnitImage", "ImageName=temp1.bmp", "IMGImagetype=2",
            "raw BLKImagePng " + hexOf(picture), "}BLK_UnitImage", "skip BLK_Future", "}KovUnit",
            "{BLKPlotInfo", "PlotScale=100.000000", "}BLKPlotInfo"};
}

Bytes goldenBytes()
{
    const std::string text = readFile(kov::test::testData("archive-golden.kva"));
    return toBytes(text);
}

// KOVIRA_WRITE_GOLDEN=1 rewrites the file: only for a deliberate layout change, with a new format version.
TEST(Archive, GoldenArchiveIsWrittenByteForByteAndReadBack)
{
    auto ar = CArchive::forWriting();
    writeGolden(*ar);
    if (std::getenv("KOVIRA_WRITE_GOLDEN")) {
        std::string why;
        ASSERT_TRUE(ar->commitTo(kov::test::testData("archive-golden.kva"), &why)) << why;
    }
    const Bytes golden = goldenBytes();
    ASSERT_FALSE(golden.empty());
    EXPECT_TRUE(ar->bytes() == golden) << "the byte layout changed; old archives must still read";

    auto in = CArchive::forReading(golden);
    EXPECT_EQ(readAll(*in, "KOVDATA", {"BLK_Future"}), goldenLog());
    EXPECT_TRUE(in->error().ok()) << in->error().describe();
}

// Every cut of the golden archive reads a prefix of it and reports an error; never a crash or a hang.
TEST(Archive, TruncatedGoldenArchivesReadWhatTheyCan)
{
    const Bytes golden = goldenBytes();
    const Log full = goldenLog();
    for (std::size_t len = 0; len < golden.size(); ++len) {
        auto in = CArchive::forReading(Bytes(golden.begin(), golden.begin() + std::ptrdiff_t(len)));
        const Log log = readAll(*in, "KOVDATA", {"BLK_Future"});
        ASSERT_FALSE(in->error().ok()) << "cut at " << len;
        ASSERT_LE(log.size(), full.size());
        ASSERT_TRUE(std::equal(log.begin(), log.end(), full.begin())) << "cut at " << len;
        ASSERT_LE(in->error().offset, len);
    }
}

// Flipped, inserted and dropped bytes: a clear error every time, never a crash or a hang.
TEST(Archive, CorruptedGoldenArchivesReportAnError)
{
    const Bytes golden = goldenBytes();
    std::mt19937 rng(20261210);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = golden;
        const int changes = 1 + int(rng() % 4);
        for (int i = 0; i < changes; ++i) {
            const auto at = std::ptrdiff_t(rng() % bytes.size());
            switch (rng() % 3) {
            case 0: bytes[std::size_t(at)] ^= std::uint8_t(1 + rng() % 255); break;
            case 1: bytes.insert(bytes.begin() + at, std::uint8_t(rng())); break;
            default: bytes.erase(bytes.begin() + at); break;
            }
        }
        auto in = CArchive::forReading(bytes);
        readAll(*in, "KOVDATA", {"BLK_Future"});
        if (bytes != golden) {
            ASSERT_FALSE(in->error().ok()) << "round " << round;
        }
        ASSERT_EQ(in->error().ok(), in->error().code == ArchiveErrc::None);
    }
}

} // namespace
