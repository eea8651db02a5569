#pragma once

// The object-archive byte stream of Jw_cad files (JWW, JWS): little-endian numbers, strings with a
// length prefix in code page 932, counts, and list entries tagged with class and object indices that
// run once across the whole archive.
//
// One class serves both directions so that every record states its fields once (`Serialize`); a
// loading archive reads from a byte buffer and throws JwFormatError on any violation, a storing one
// appends to a byte buffer. The exception never leaves this module: the file readers catch it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CData;

struct JwFormatError {
    std::string what;     // what was wrong (English, for the log and tests)
    std::size_t offset;   // byte offset in the file
};

class JwArchive {
public:
    // Loading over bytes the caller keeps alive.
    JwArchive(const std::uint8_t* data, std::size_t size);
    // Storing into a buffer of its own.
    JwArchive();

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // The version records take when they are read (the file's own version).
    int m_nRecordVersion = 600;
    // Class schema written with every class description (files carry their version there).
    std::uint16_t m_nWriteSchema = 600;

    void io(std::uint8_t& v);
    void io(std::uint16_t& v);
    void io(std::uint32_t& v);
    void io(std::int32_t& v);
    void io(double& v);
    // A string: CP932 bytes in the file, UTF-8 here.
    void ioString(std::string& utf8);
    void ioFixed(char* bytes, std::size_t n);
    // Skips (loading) or writes zeros (storing).
    void pad(std::size_t n);

    // A record list: count, then one entry per record (nullptr for an empty entry).
    void ioList(std::vector<std::unique_ptr<CData>>& list);

    std::size_t Position() const { return m_storing ? m_out.size() : m_pos; }
    std::size_t Remaining() const { return m_size - m_pos; }
    const std::vector<std::uint8_t>& Bytes() const { return m_out; }
    [[noreturn]] void Fail(std::string what) const;

    // Raw numbers, for the fixed parts of headers.
    std::uint32_t ReadDWord();
    double ReadDouble();
    void WriteDWord(std::uint32_t v);
    void WriteDouble(double v);

private:
    void need(std::size_t n) const;
    void put(const void* p, std::size_t n);
    void get(void* p, std::size_t n);
    std::uint32_t readCount();
    void writeCount(std::uint32_t n);
    std::size_t readLength();
    std::unique_ptr<CData> readEntry();
    void writeEntry(CData* record);

    bool m_storing;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    std::vector<std::uint8_t> m_out;

    // Loading: what each index handed out so far names (a class kind, or -1 for a record).
    std::vector<int> m_loadedIndex;
    // Storing: the index of each class kind's description, 0 while not yet written.
    std::vector<std::uint32_t> m_classIndex;
    std::uint32_t m_nextIndex = 1;
    int m_listDepth = 0;
};
