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

namespace kov::archive {

// Names compare without case. Inline: readers test a key against a chain of names, and nearly
// every test is settled by the length or an exact match.
inline bool namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace kov::archive

// What went wrong, for callers that react to the kind rather than the text.
enum class ArchiveErrc {
    None,
    NotArchive,         // no magic line
    UnsupportedVersion, // written by a newer program
    UnknownRecord,
    BadName,            // block name or key not printable ASCII, empty or too long
    BadEscape,
    ValueTooLong,
    BadRawLength,
    RawPastEnd,
    CutRecord,          // the archive ends in the middle of a record
    EndsInsideBlock,
    EndMismatch,        // an end naming another block than the open one
    EndWithoutStart,
    TooDeep,
    ReaderFailed,       // a reader returned 0
    ReaderOverran,      // a reader read past the end of its own block
    NotRawRun,          // ReadRaw where no raw run follows
    NoBlockOpen,        // Load without a block start read
    ChecksumMissing,
    ChecksumMismatch,
    WrongMode,          // writing a loading archive or reading a storing one
    BlocksOpen,         // committing while blocks are still open
    WriteFailed,        // an earlier write failed, or the file could not be written
};

// Where and why reading stopped: the byte offset and the block path ("KOVDATA/KovUnit/BLK_UnitImage#3").
// A bad or missing checksum is reported here too, but only after every structural error: what could be
// read was still read.
struct ArchiveError {
    ArchiveErrc code = ArchiveErrc::None;
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

    // `expectedSize` reserves room for that many bytes, so a large save does not grow its buffer.
    static std::unique_ptr<CArchive> forWriting(std::size_t expectedSize = 0);
    // Storing into that file: the bytes go to a temporary file beside it as they are written, and
    // commitTo(file) (the same name) finishes it and renames it over the file. Until then the file
    // is untouched; an archive dropped uncommitted removes its temporary file. bytes() holds only
    // what was not yet written out.
    static std::unique_ptr<CArchive> forWritingFile(const std::filesystem::path& file);
    static std::unique_ptr<CArchive> forReading(std::vector<std::uint8_t> bytes);
    // Reads the whole file; null with `error` set when it cannot be read.
    static std::unique_ptr<CArchive> openForReading(const std::filesystem::path& file, std::string* error = nullptr);

    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const;
    bool IsLoading() const { return !IsStoring(); }

    // Storing: the bytes written so far (with their trailer), and committing them to a file (temporary
    // file + rename; the old file's permissions are kept). Committing refuses after a failed write,
    // while a block is open and over a read-only file, leaving the old file as it was. A symbolic
    // link is written through (its file replaced, the link kept); after a save, temporary files of
    // this target that an interrupted save left behind are removed.
    const std::vector<std::uint8_t>& bytes() const;
    bool commitTo(const std::filesystem::path& file, std::string* error = nullptr) const;

    // A raw byte run inside the current block (picture bytes), framed by its length so its bytes are
    // never taken for records. Reading takes the run that comes next; anything else there is an error.
    bool WriteRaw(const std::uint8_t* data, std::size_t size);
    bool WriteRaw(const std::vector<std::uint8_t>& data) { return WriteRaw(data.data(), data.size()); }
    bool ReadRaw(std::vector<std::uint8_t>& out);

    // Reading: back to the first record (the document reader rewinds after a failed FindStart). A
    // reading fault is forgotten and found again if read again; a bad magic line or version stays.
    void rewind();
    std::uint64_t position() const;
    const ArchiveError& error() const;

    // The record writers and readers of CDefFile work on the archive's state directly.
    struct Impl;

private:
    friend class CDefFile;
    Impl& impl() { return *m_impl; }

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

    // Writers: nonzero on success, 0 on failure; callers stop at the first 0 (after one, every write
    // fails and the archive will not commit). Block names and keys are 1..255 bytes of printable
    // ASCII; a key holds no '=' and does not begin with '{', '}', '#' or '!'. Values take any bytes up
    // to 1 MiB (line breaks included: they are escaped). Blocks nest at most 64 deep.
    int WriteStart(CArchive& ar, std::string_view block) const;
    int WriteEnd(CArchive& ar, std::string_view block) const;
    int WriteData(CArchive& ar, std::string_view key, std::string_view value) const;
    int WriteDataInt(CArchive& ar, std::string_view key, int value) const;
    // "%f" (six decimals) and "%fd" as formatFixed and formatFixedD write them, without a string
    // made per number.
    int WriteDataFixed(CArchive& ar, std::string_view key, double value) const;
    int WriteDataFixedD(CArchive& ar, std::string_view key, double value) const;

    // Reads forward to the start of the first block of that name, at any depth; 0 when the archive
    // ends first (no error then, unless it ends inside a block or breaks its layout).
    int FindStart(CArchive& ar, std::string_view block);
    // Reads the inside of the named block (its start already read) through its end. 0 on any fault,
    // with ar.error() saying where; what the handlers received before stays with them. A 0 from
    // OnReadData or OnReadStart stops the read too. Raw runs no reader asked for are passed over.
    int Load(CArchive& ar, std::string_view block);

protected:
    // Nested block start; the archive is directly after that start. RD_READ: read through its end
    // (a reader that stopped short is skipped to the end); RD_SKIP: Load skips what is left of it;
    // RD_FAILED: Load stops. The base class skips.
    virtual RD_STATUS OnReadStart(CArchive& ar, std::string_view block);
    // One keyed value of the block being loaded. Names compare without case (see keyIs).
    virtual int OnReadData(std::string_view key, std::string_view value);

    static bool keyIs(std::string_view a, std::string_view b) { return kov::archive::namesEqual(a, b); }

private:
    int writeNumber(CArchive& ar, std::string_view key, const char* text, std::size_t size) const;
};
