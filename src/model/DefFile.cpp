#include "model/DefFile.h"
#include "model/FileCommit.h"

#include "model/ArchiveFormat.h"
#include "platform/NumberText.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <future>
#include <system_error>
#include <climits>
#include <csignal>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kov::archive;

std::string ArchiveError::describe() const
{
    if (ok()) return {};
    std::string s = message;
    s += " (オフセット ";
    s += kov::platform::formatInt(static_cast<long long>(offset));
    if (!blockPath.empty()) {
        s += ", ブロック ";
        s += blockPath;
    }
    s += ')';
    return s;
}

namespace {

// What went wrong, said in Japanese: the system's own texts are English.
std::string systemMessage(int err)
{
    switch (err) {
    case ENOENT: return "ファイルまたはフォルダーがありません";
    case ENOTDIR: return "途中のフォルダーがありません";
    case EACCES:
    case EPERM: return "アクセスが許可されていません";
    case EISDIR: return "フォルダーです";
    case EROFS: return "読み取り専用の場所です";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EDQUOT: return "ディスクの使用量の上限を超えています";
    case EFBIG: return "ファイルが大きすぎます";
    case EIO: return "入出力エラーが起きました";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ELOOP: return "シンボリックリンクが循環しています";
    case ENOMEM: return "メモリが足りません";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使用中です";
    case ENXIO:
    case ENODEV:
    case EINVAL: return "通常のファイルではありません";
    default: return "システムのエラー (番号 " + kov::platform::formatInt(err) + ")";
    }
}

// A large buffer about to be filled gets its memory at once, in large pages where the system
// gives them, rather than one page fault per 4 KiB while the file is read into it.
void prefault(void* p, std::size_t size)
{
    if (size < (std::size_t(4) << 20)) return;
    const std::uintptr_t page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (std::uintptr_t(p) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (std::uintptr_t(p) + size) & ~(page - 1);
    if (end <= begin) return;
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

// Writes all of `bytes` to `fd`; false with errno set otherwise, `written` telling how far it got.
bool writeAll(int fd, const std::uint8_t* bytes, std::size_t size, std::size_t* written = nullptr)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            if (written) *written = done;
            return false;
        }
        done += std::size_t(n);
    }
    if (written) *written = done;
    return true;
}

// The file a save writes: symbolic links followed (links to links too) to the name they end at,
// which need not exist yet. `err` is set for a loop of links.
std::filesystem::path followLinks(const std::filesystem::path& file, int& err)
{
    std::filesystem::path p = file;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(p, ec);
        if (ec) return p;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    err = ELOOP;
    return file;
}

// Temporary files "<prefix><pid>-<n>" of this document that a save killed while writing left
// behind: ours (this process's) or of a process that no longer runs. Another running instance's
// file is its save in progress and stays.
void removeStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix, bool ownToo = true)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const std::size_t dash = rest.find('-');
        auto digits = [](std::string_view d) {
            return !d.empty() && d.size() <= 10 && d.find_first_not_of("0123456789") == std::string_view::npos;
        };
        if (dash == std::string_view::npos || !digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1)))
            continue;
        const long long pid = std::stoll(std::string(rest.substr(0, dash)));
        const bool gone = pid <= 0 || pid > INT_MAX || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
        if (!gone && (!ownToo || pid != ::getpid())) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

} // namespace

struct CArchive::Impl {
    struct Frame {
        std::string_view name; // points into the bytes read, which never change while loading
        std::size_t startOffset = 0;
        std::size_t bodyStart = 0;
    };

    Mode mode = Mode::Store;
    std::vector<std::uint8_t> data;
    ArchiveError error;     // the first structural or writing fault; sticky
    ArchiveError integrity; // the trailer's verdict on a loaded archive

    // Storing: open block names (capacity reused), and whether the trailer is appended to `data`.
    std::vector<std::string> open;
    std::size_t openDepth = 0;
    bool sealed = false;
    std::size_t bodySize = 0;

    // Storing straight into a file (forWritingFile): the bytes go to the temporary file beside the
    // target whenever the buffer passes kFlushSize, so a large drawing never sits whole in memory.
    struct Sink {
        std::filesystem::path named;  // the file as the caller named it
        std::filesystem::path target; // the file replaced (links followed)
        std::filesystem::path folder;
        std::filesystem::path temp;
        std::string tempPrefix;
        std::string refusal; // why nothing can be written there, said as commitTo says it
        int fd = -1;
        bool keepMode = false;
        mode_t mode = 0;
        std::uint32_t crc = 0;
        std::size_t flushed = 0;
        bool committed = false;
    };
    static constexpr std::size_t kFlushSize = std::size_t(1) << 20;
    std::unique_ptr<Sink> sink;

    ~Impl()
    {
        if (sink && sink->fd >= 0) ::close(sink->fd);
        if (sink && !sink->committed && !sink->temp.empty()) ::unlink(sink->temp.c_str());
    }
    std::size_t flushedSize() const { return sink ? sink->flushed : 0; }

    // Loading: the bytes read, `data` itself or, for a file read whole, `owned` (which no zeroing
    // precedes: the file fills it).
    const std::uint8_t* in = nullptr;
    std::size_t inSize = 0;
    std::unique_ptr<std::uint8_t[]> owned;
    Layout layout;
    std::size_t pos = 0;
    std::vector<Frame> frames;
    std::string scratch; // unescaped value text, reused

    bool storing() const { return mode == Mode::Store; }

    // ---- loading ----

    // A large archive's checksum is computed beside the reading, on another core; the verdict is
    // taken when first asked for (error()).
    static constexpr std::size_t kCrcAsideSize = std::size_t(4) << 20;
    std::future<std::uint32_t> crcAside;

    void startLoading()
    {
        const bool aside = inSize >= kCrcAsideSize;
        layout = examine(in, inSize, !aside);
        if (aside && layout.trailer) {
            const std::uint8_t* bytes = in;
            const std::size_t size = layout.recordsEnd;
            try {
                crcAside = std::async(std::launch::async, [bytes, size] { return crc32(bytes, size); });
            } catch (const std::system_error&) {
                // No thread to spare: here and now.
                if (crc32(bytes, size) != layout.storedCrc) layout.integrity = ArchiveErrc::ChecksumMismatch;
            }
        }
        rewind();
        noteIntegrity();
    }

    void settleCrc()
    {
        if (!crcAside.valid()) return;
        if (crcAside.get() != layout.storedCrc) layout.integrity = ArchiveErrc::ChecksumMismatch;
        noteIntegrity();
    }

    void noteIntegrity()
    {
        if (layout.integrity != ArchiveErrc::None) {
            integrity.code = layout.integrity;
            integrity.message = std::string(messageFor(layout.integrity));
            integrity.offset = layout.recordsEnd;
        }
    }

    void rewind()
    {
        pos = layout.recordsBegin;
        frames.clear();
        error = ArchiveError{};
        if (layout.error != ArchiveErrc::None) {
            std::string detail;
            if (layout.error == ArchiveErrc::UnsupportedVersion)
                detail = kov::platform::formatInt(layout.version);
            fail(layout.error, 0, detail);
        }
    }

    // Which of its same-named siblings the frame is, counted by reading the parent's records again:
    // done only when reporting a fault, so reading keeps no per-name counters.
    unsigned ordinal(std::size_t from, const Frame& f) const
    {
        unsigned n = 1;
        int depth = 0;
        std::size_t p = from;
        while (p < f.startOffset) {
            const Record r = parseRecord(in, p, layout.recordsEnd);
            if (r.kind == RecordKind::Bad || r.kind == RecordKind::EndOfData) break;
            if (r.kind == RecordKind::Start) {
                if (depth == 0 && namesEqual(r.name, f.name)) ++n;
                ++depth;
            } else if (r.kind == RecordKind::End) {
                --depth;
            }
            p = r.next;
        }
        return n;
    }

    std::string path() const
    {
        std::string s;
        if (storing()) {
            for (std::size_t i = 0; i < openDepth; ++i) {
                if (i) s += '/';
                s += open[i];
            }
            return s;
        }
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (i) s += '/';
            s += frames[i].name;
            const unsigned n = ordinal(i == 0 ? layout.recordsBegin : frames[i - 1].bodyStart, frames[i]);
            if (n > 1) {
                s += '#';
                s += kov::platform::formatInt(n);
            }
        }
        return s;
    }

    void fail(ArchiveErrc code, std::size_t offset, std::string_view detail = {})
    {
        if (!error.ok()) return;
        error.code = code;
        error.message = std::string(messageFor(code));
        if (!detail.empty()) {
            error.message += ": ";
            error.message += detail;
        }
        error.offset = offset;
        error.blockPath = path();
    }

    // Reads the next record, keeping the stack of open blocks. Any violation sets the error and
    // comes back as Bad; nothing is read after the first one.
    Record step()
    {
        // One record for every way out, built where the caller takes it: a copy of a record just
        // written field by field stalls on every line.
        Record r;
        if (!error.ok()) {
            r.kind = RecordKind::Bad;
            r.offset = r.next = pos;
            return r;
        }
        if (!parsePlainValue(in, pos, layout.recordsEnd, r)) r = parseRecord(in, pos, layout.recordsEnd);
        switch (r.kind) {
        case RecordKind::Bad:
            fail(r.error, r.offset);
            return r;
        case RecordKind::EndOfData:
            return r;
        case RecordKind::Start:
            if (frames.size() >= kMaxDepth) {
                fail(ArchiveErrc::TooDeep, r.offset, r.name);
                r.kind = RecordKind::Bad;
                return r;
            }
            frames.push_back(Frame{r.name, r.offset, r.next});
            break;
        case RecordKind::End:
            if (frames.empty()) {
                fail(ArchiveErrc::EndWithoutStart, r.offset, r.name);
                r.kind = RecordKind::Bad;
                return r;
            }
            if (!namesEqual(frames.back().name, r.name)) {
                std::string detail(r.name);
                detail += " ≠ ";
                detail += frames.back().name;
                fail(ArchiveErrc::EndMismatch, r.offset, detail);
                r.kind = RecordKind::Bad;
                return r;
            }
            frames.pop_back();
            break;
        case RecordKind::Value:
            if (r.escaped) {
                if (!unescape(r.value, scratch)) {
                    fail(ArchiveErrc::BadEscape, r.offset, r.name);
                    r.kind = RecordKind::Bad;
                    return r;
                }
                if (scratch.size() > kMaxValueSize) {
                    fail(ArchiveErrc::ValueTooLong, r.offset);
                    r.kind = RecordKind::Bad;
                    return r;
                }
                r.value = scratch;
            }
            break;
        case RecordKind::Raw:
            break;
        }
        pos = r.next;
        return r;
    }

    // Reads on until the open-block stack is back to `depth`, by framing alone.
    bool skipTo(std::size_t depth)
    {
        while (frames.size() > depth) {
            const Record r = step();
            if (r.kind == RecordKind::Bad) return false;
            if (r.kind == RecordKind::EndOfData) {
                fail(ArchiveErrc::EndsInsideBlock, r.offset);
                return false;
            }
        }
        return true;
    }

    // ---- storing ----

    bool beginWrite()
    {
        if (!storing()) {
            fail(ArchiveErrc::WrongMode, pos);
            return false;
        }
        if (!error.ok()) return false;
        if (sink && (sink->committed || !sink->refusal.empty())) return false;
        if (sealed) {
            data.resize(bodySize);
            sealed = false;
        }
        if (sink && data.size() >= kFlushSize) return flush();
        return true;
    }

    // Streaming: what the buffer holds goes to the temporary file.
    bool flush()
    {
        Sink& k = *sink;
        k.crc = crc32(data.data(), data.size(), k.crc);
        std::size_t written = 0;
        if (!writeAll(k.fd, data.data(), data.size(), &written)) {
            fail(ArchiveErrc::WriteFailed, k.flushed + written, systemMessage(errno));
            return false;
        }
        k.flushed += data.size();
        data.clear();
        return true;
    }

    void seal()
    {
        if (sealed) return;
        bodySize = data.size();
        const std::string t = trailerFor(crc32(data.data(), data.size(), sink ? sink->crc : 0));
        data.insert(data.end(), t.begin(), t.end());
        sealed = true;
    }

    void writeFail(ArchiveErrc code, std::string_view detail = {})
    {
        fail(code, flushedSize() + (sealed ? bodySize : data.size()), detail);
    }

    void appendText(std::string_view s) { data.insert(data.end(), s.begin(), s.end()); }
};


// ---------------------------------------------------------------- CArchive

CArchive::CArchive(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
CArchive::~CArchive() = default;

std::unique_ptr<CArchive> CArchive::forWriting(std::size_t expectedSize)
{
    auto impl = std::make_unique<Impl>();
    impl->mode = Mode::Store;
    if (expectedSize > 0) impl->data.reserve(expectedSize + kTrailerSize + 64);
    const std::string head = std::string(kMagic) + kov::platform::formatInt(kFormatVersion) + '\n';
    impl->appendText(head);
    return std::unique_ptr<CArchive>(new CArchive(std::move(impl)));
}

std::unique_ptr<CArchive> CArchive::forReading(std::vector<std::uint8_t> bytes)
{
    auto impl = std::make_unique<Impl>();
    impl->mode = Mode::Load;
    impl->data = std::move(bytes);
    impl->in = impl->data.data();
    impl->inSize = impl->data.size();
    impl->startLoading();
    return std::unique_ptr<CArchive>(new CArchive(std::move(impl)));
}

std::unique_ptr<CArchive> CArchive::openForReading(const std::filesystem::path& file, std::string* error)
{
    auto report = [&](int err) {
        if (error) *error = "「" + file.string() + "」を読み込めません: " + systemMessage(err);
        return nullptr;
    };
    // Never blocks: a FIFO or device is refused by its kind before anything is read.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return report(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return report(err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return report(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // What a save killed while writing this document left behind goes now, not only at the next save.
    {
        int linkErr = 0;
        const std::filesystem::path target = followLinks(file, linkErr);
        if (linkErr == 0)
            removeStaleTemporaries(target.parent_path().empty() ? "." : target.parent_path(),
                                   "." + target.filename().string() + ".tmp", false);
    }
    // Read straight into the archive's own buffer, never zeroed first; a file that grows meanwhile is
    // read to its end.
    std::size_t capacity = std::size_t(st.st_size > 0 ? st.st_size : 0) + 1;
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[capacity]);
    prefault(bytes.get(), capacity);
    std::size_t filled = 0;
    for (;;) {
        if (filled == capacity) {
            const std::size_t larger = capacity + capacity / 2 + 65536;
            std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[larger]);
            std::memcpy(grown.get(), bytes.get(), filled);
            bytes = std::move(grown);
            capacity = larger;
        }
        const ssize_t n = ::read(fd, bytes.get() + filled, capacity - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return report(err);
        }
        if (n == 0) break;
        filled += std::size_t(n);
    }
    ::close(fd);
    auto impl = std::make_unique<Impl>();
    impl->mode = Mode::Load;
    impl->owned = std::move(bytes);
    impl->in = impl->owned.get();
    impl->inSize = filled;
    impl->startLoading();
    return std::unique_ptr<CArchive>(new CArchive(std::move(impl)));
}

bool CArchive::IsStoring() const { return m_impl->storing(); }

const std::vector<std::uint8_t>& CArchive::bytes() const
{
    Impl& a = *m_impl;
    if (a.storing()) a.seal();
    // A file read whole keeps its bytes apart: a copy for the rare reader that wants them all.
    else if (a.owned && a.data.empty() && a.inSize > 0) a.data.assign(a.in, a.in + a.inSize);
    return a.data;
}

namespace {

std::string cannotSave(const std::filesystem::path& file, int err)
{
    return "「" + file.string() + "」を保存できません: " + systemMessage(err);
}

// Everything before the bytes: links followed, a read-only file refused, the temporary file made
// beside the target. False with k.refusal set.
bool openSink(CArchive::Impl::Sink& k, const std::filesystem::path& file)
{
    k.named = file;
    // A symbolic link stays a link: the file it names gets the new contents.
    int linkErr = 0;
    k.target = followLinks(file, linkErr);
    if (linkErr != 0) {
        k.refusal = cannotSave(file, linkErr);
        return false;
    }
    // A file the user made read-only is not silently replaced.
    struct stat old {};
    const bool found = ::stat(k.target.c_str(), &old) == 0;
    // A FIFO, device or folder is never replaced by a file.
    if (found && !S_ISREG(old.st_mode)) {
        k.refusal = cannotSave(file, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    const bool exists = found;
    if (exists && ((old.st_mode & 0222) == 0 || ::access(k.target.c_str(), W_OK) != 0)) {
        k.refusal = cannotSave(file, EACCES);
        return false;
    }
    // A hidden temporary name beside the target, so the rename stays on one file system.
    static std::atomic<unsigned> counter{0};
    k.folder = k.target.parent_path().empty() ? "." : k.target.parent_path();
    k.tempPrefix = "." + k.target.filename().string() + ".tmp";
    for (int attempt = 0; attempt < 100 && k.fd < 0; ++attempt) {
        k.temp = k.folder / (k.tempPrefix + kov::platform::formatInt(::getpid()) + "-"
                             + kov::platform::formatInt(counter++));
        // 0666 lets the umask decide, as for any file the program creates.
        k.fd = ::open(k.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (k.fd < 0 && errno != EEXIST) break;
    }
    if (k.fd < 0) {
        k.refusal = cannotSave(file, errno);
        k.temp.clear();
        return false;
    }
    // Replacing a file must not widen who may read it.
    if (exists) ::fchmod(k.fd, old.st_mode & 07777);
    return true;
}

// The last bytes, then the temporary file made durable and renamed over the target.
bool closeSink(CArchive::Impl::Sink& k, const std::vector<std::uint8_t>& tail, std::string& why)
{
    bool ok = writeAll(k.fd, tail.data(), tail.size()) && ::fsync(k.fd) == 0;
    int err = ok ? 0 : errno;
    if (::close(k.fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    k.fd = -1;
    if (ok && ::rename(k.temp.c_str(), k.target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(k.temp.c_str());
        k.temp.clear();
        why = cannotSave(k.named, err);
        return false;
    }
    k.committed = true;
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dirFd = ::open(k.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    removeStaleTemporaries(k.folder, k.tempPrefix);
    return true;
}

} // namespace

std::unique_ptr<CArchive> CArchive::forWritingFile(const std::filesystem::path& file)
{
    std::unique_ptr<CArchive> ar = forWriting();
    Impl& a = *ar->m_impl;
    a.sink = std::make_unique<Impl::Sink>();
    openSink(*a.sink, file);
    a.data.reserve(Impl::kFlushSize + (std::size_t(1) << 16));
    return ar;
}

bool CommitBytesToFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    CArchive::Impl::Sink k;
    std::string why;
    if (!openSink(k, file))
        why = k.refusal;
    else if (closeSink(k, bytes, why))
        return true;
    if (error)
        *error = why;
    return false;
}

bool CArchive::commitTo(const std::filesystem::path& file, std::string* error) const
{
    Impl& a = *m_impl;
    auto refuse = [&](std::string text) {
        if (error) *error = std::move(text);
        return false;
    };
    if (!a.storing()) return refuse(std::string(messageFor(ArchiveErrc::WrongMode)));
    if (a.sink && !a.sink->refusal.empty()) return refuse(a.sink->refusal);
    if (a.sink && (a.sink->committed || a.sink->named != file))
        return refuse(std::string(messageFor(ArchiveErrc::WrongMode)));
    if (!a.error.ok())
        return refuse(a.sink ? "「" + file.string() + "」を保存できません: " + a.error.describe() : a.error.describe());
    if (a.openDepth > 0)
        return refuse(std::string(messageFor(ArchiveErrc::BlocksOpen)) + ": " + a.path());
    a.seal();

    std::string why;
    if (a.sink) return closeSink(*a.sink, a.data, why) || refuse(why);
    Impl::Sink k;
    if (!openSink(k, file)) return refuse(k.refusal);
    if (!closeSink(k, a.data, why)) return refuse(why);
    return true;
}

bool CArchive::WriteRaw(const std::uint8_t* data, std::size_t size)
{
    Impl& a = *m_impl;
    if (!a.beginWrite()) return false;
    a.data.push_back('#');
    a.appendText(kov::platform::formatInt(static_cast<long long>(size)));
    a.data.push_back('\n');
    if (size > 0) a.data.insert(a.data.end(), data, data + size);
    a.data.push_back('\n');
    return true;
}

bool CArchive::ReadRaw(std::vector<std::uint8_t>& out)
{
    Impl& a = *m_impl;
    if (a.storing()) {
        a.fail(ArchiveErrc::WrongMode, a.data.size());
        return false;
    }
    if (!a.error.ok()) return false;
    const Record r = parseRecord(a.in, a.pos, a.layout.recordsEnd);
    if (r.kind == RecordKind::Bad) {
        a.fail(r.error, r.offset);
        return false;
    }
    if (r.kind != RecordKind::Raw) {
        a.fail(ArchiveErrc::NotRawRun, r.offset);
        return false;
    }
    out.assign(a.in + r.rawBegin, a.in + r.rawBegin + r.rawSize);
    a.pos = r.next;
    return true;
}

void CArchive::rewind()
{
    if (!m_impl->storing()) m_impl->rewind();
}

std::uint64_t CArchive::position() const
{
    const Impl& a = *m_impl;
    return a.storing() ? a.flushedSize() + (a.sealed ? a.bodySize : a.data.size()) : a.pos;
}

const ArchiveError& CArchive::error() const
{
    m_impl->settleCrc();
    return m_impl->error.ok() ? m_impl->integrity : m_impl->error;
}

// ---------------------------------------------------------------- CDefFile

int CDefFile::WriteStart(CArchive& ar, std::string_view block) const
{
    CArchive::Impl& a = ar.impl();
    if (!a.beginWrite()) return 0;
    if (!validBlockName(block)) {
        a.writeFail(ArchiveErrc::BadName, block);
        return 0;
    }
    if (a.openDepth >= kMaxDepth) {
        a.writeFail(ArchiveErrc::TooDeep, block);
        return 0;
    }
    a.data.push_back('{');
    a.appendText(block);
    a.data.push_back('\n');
    if (a.open.size() <= a.openDepth) a.open.emplace_back();
    a.open[a.openDepth++].assign(block);
    return 1;
}

int CDefFile::WriteEnd(CArchive& ar, std::string_view block) const
{
    CArchive::Impl& a = ar.impl();
    if (!a.beginWrite()) return 0;
    if (a.openDepth == 0) {
        a.writeFail(ArchiveErrc::EndWithoutStart, block);
        return 0;
    }
    if (!namesEqual(a.open[a.openDepth - 1], block)) {
        a.writeFail(ArchiveErrc::EndMismatch, std::string(block) + " ≠ " + a.open[a.openDepth - 1]);
        return 0;
    }
    a.data.push_back('}');
    a.appendText(a.open[a.openDepth - 1]);
    a.data.push_back('\n');
    --a.openDepth;
    return 1;
}

int CDefFile::WriteData(CArchive& ar, std::string_view key, std::string_view value) const
{
    CArchive::Impl& a = ar.impl();
    if (!a.beginWrite()) return 0;
    if (!validKey(key)) {
        a.writeFail(ArchiveErrc::BadName, key);
        return 0;
    }
    if (value.size() > kMaxValueSize) {
        a.writeFail(ArchiveErrc::ValueTooLong, key);
        return 0;
    }
    a.appendText(key);
    a.data.push_back('=');
    appendEscaped(a.data, value);
    a.data.push_back('\n');
    return 1;
}

int CDefFile::writeNumber(CArchive& ar, std::string_view key, const char* text, std::size_t size) const
{
    CArchive::Impl& a = ar.impl();
    if (!a.beginWrite()) return 0;
    if (!validKey(key)) {
        a.writeFail(ArchiveErrc::BadName, key);
        return 0;
    }
    // A number needs no escaping: key, '=', digits and LF go in at once.
    std::vector<std::uint8_t>& d = a.data;
    const std::size_t at = d.size();
    d.resize(at + key.size() + size + 2);
    std::uint8_t* out = d.data() + at;
    std::memcpy(out, key.data(), key.size());
    out += key.size();
    *out++ = '=';
    std::memcpy(out, text, size);
    out[size] = '\n';
    return 1;
}

int CDefFile::WriteDataInt(CArchive& ar, std::string_view key, int value) const
{
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return writeNumber(ar, key, buf, std::size_t(res.ptr - buf));
}

int CDefFile::WriteDataFixed(CArchive& ar, std::string_view key, double value) const
{
    char buf[kov::platform::kFixedTextCapacity];
    return writeNumber(ar, key, buf, kov::platform::formatFixedTo(buf, value));
}

int CDefFile::WriteDataFixedD(CArchive& ar, std::string_view key, double value) const
{
    char buf[kov::platform::kFixedTextCapacity + 1];
    const std::size_t n = kov::platform::formatFixedTo(buf, value);
    buf[n] = 'd';
    return writeNumber(ar, key, buf, n + 1);
}

int CDefFile::FindStart(CArchive& ar, std::string_view block)
{
    CArchive::Impl& a = ar.impl();
    if (a.storing()) {
        a.fail(ArchiveErrc::WrongMode, a.data.size());
        return 0;
    }
    for (;;) {
        const Record r = a.step();
        switch (r.kind) {
        case RecordKind::Bad:
            return 0;
        case RecordKind::EndOfData:
            // Running out between blocks is the plain "not there"; inside one, the archive is cut short.
            if (!a.frames.empty()) a.fail(ArchiveErrc::EndsInsideBlock, r.offset);
            return 0;
        case RecordKind::Start:
            if (namesEqual(r.name, block)) return 1;
            break;
        default:
            break;
        }
    }
}

int CDefFile::Load(CArchive& ar, std::string_view block)
{
    CArchive::Impl& a = ar.impl();
    if (a.storing()) {
        a.fail(ArchiveErrc::WrongMode, a.data.size());
        return 0;
    }
    if (!a.error.ok()) return 0;
    if (a.frames.empty() || !namesEqual(a.frames.back().name, block)) {
        a.fail(ArchiveErrc::NoBlockOpen, a.pos, block);
        return 0;
    }
    const std::size_t depth = a.frames.size();
    for (;;) {
        const Record r = a.step();
        switch (r.kind) {
        case RecordKind::Bad:
            return 0;
        case RecordKind::EndOfData:
            a.fail(ArchiveErrc::EndsInsideBlock, r.offset);
            return 0;
        case RecordKind::Value:
            if (OnReadData(r.name, r.value) == 0) {
                a.fail(ArchiveErrc::ReaderFailed, r.offset, r.name);
                return 0;
            }
            break;
        case RecordKind::Raw:
            // Bytes no reader asked for are passed over like an unknown key.
            break;
        case RecordKind::End:
            if (a.frames.size() < depth) return 1;
            break;
        case RecordKind::Start: {
            const RD_STATUS status = OnReadStart(ar, r.name);
            if (!a.error.ok()) return 0;
            if (a.frames.size() < depth) {
                a.fail(ArchiveErrc::ReaderOverran, a.pos, r.name);
                return 0;
            }
            if (status == RD_READ || status == RD_SKIP) {
                // A reader that says it read the block but stopped short is skipped to its end too.
                if (!a.skipTo(depth)) return 0;
            } else {
                a.fail(ArchiveErrc::ReaderFailed, r.offset, r.name);
                return 0;
            }
            break;
        }
        }
    }
}

CDefFile::RD_STATUS CDefFile::OnReadStart(CArchive&, std::string_view)
{
    return RD_SKIP;
}

int CDefFile::OnReadData(std::string_view, std::string_view)
{
    return 1;
}
