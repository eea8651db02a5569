#pragma once

// The keyed-block archive: named, nestable blocks of key=value lines and raw byte runs.
// Every persistent object and settings class derives from CDefFile.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Where and why reading stopped: the byte offset and the block path ("KOVDATA/KovUnit/BLK_UnitImage#3").
struct ArchiveError {
    std::string message;   // empty while nothing went wrong
    std::uint64_t offset = 0;
    std::string blockPath;

    bool ok() const { return message.empty(); }
    std::string describe() const;
};

// One archive being written or read. Storing archives collect bytes in memory and are committed to a
// file only whole (temporary file beside the target, renamed over it), so a failed save never harms
// the old file. Loading archives read a whole file or buffer held in memory.
class CArchive {
public:
    enum class Mode { Store, Load };

    static std::unique_ptr<CArchive> forWriting();
    static std::unique_ptr<CArchive> forReading(std::vector<std::uint8_t> bytes);
    // Reads the whole file; null with `error` set when it cannot be read.
    static std::unique_ptr<CArchive> openForReading(const std::filesystem::path& file, std::string* error = nullptr);

    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const;
    bool IsLoading() const { return !IsStoring(); }

    // Storing: the bytes written so far, and committing them to a file (temporary file + rename).
    const std::vector<std::uint8_t>& bytes() const;
    bool commitTo(const std::filesystem::path& file, std::string* error = nullptr) const;

    // A raw byte run inside the current block (picture bytes). Reading takes the run that comes next.
    bool WriteRaw(const std::uint8_t* data, std::size_t size);
    bool WriteRaw(const std::vector<std::uint8_t>& data) { return WriteRaw(data.data(), data.size()); }
    bool ReadRaw(std::vector<std::uint8_t>& out);

    // Reading: back to the first byte (the document reader rewinds after a failed FindStart).
    void rewind();
    std::uint64_t position() const;
    const ArchiveError& error() const;

    struct Impl;
    Impl& impl() { return *m_impl; }

private:
    explicit CArchive(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

class CDefFile {
public:
    enum RD_STATUS { RD_FAILED = 0, RD_READ = 1, RD_SKIP = 2 };

    CDefFile() = default;
    CDefFile(const CDefFile&) = default;
    CDefFile& operator=(const CDefFile&) = default;
    virtual ~CDefFile() = default;

    // Writers: nonzero on success, 0 on failure; callers stop at the first 0.
    int WriteStart(CArchive& ar, std::string_view block) const;
    int WriteEnd(CArchive& ar, std::string_view block) const;
    int WriteData(CArchive& ar, std::string_view key, std::string_view value) const;
    int WriteDataInt(CArchive& ar, std::string_view key, int value) const;

    // Reads forward to the start of the first block of that name; 0 when the archive ends first.
    int FindStart(CArchive& ar, std::string_view block);
    // Reads the inside of the named block (its start already read) through its end.
    int Load(CArchive& ar, std::string_view block);

protected:
    // Nested block start; the archive is directly after that start.
    virtual RD_STATUS OnReadStart(CArchive& ar, std::string_view block);
    // One keyed value of the block being loaded. Names compare without case (see keyIs).
    virtual int OnReadData(std::string_view key, std::string_view value);

    static bool keyIs(std::string_view a, std::string_view b);
};
