#include "model/DefFile.h"

#include "model/ArchiveFormat.h"
#include "platform/NumberText.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <climits>
#include <csignal>
#include <string>
#include <system_error>

#include <fcntl.h>
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

struct CArchive::Impl {
    struct Frame {
        std::string_view name; // points into `data`, which never changes while loading
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

    // Loading.
    Layout layout;
    std::size_t pos = 0;
    std::vector<Frame> frames;
    std::string scratch; // unescaped value text, reused

    bool storing() const { return mode == Mode::Store; }

    // ---- loading ----

    void startLoading()
    {
        layout = examine(data);
        rewind();
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
            const Record r = parseRecord(data.data(), p, layout.recordsEnd);
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
        if (!error.ok()) {
            Record r;
            r.kind = RecordKind::Bad;
            r.offset = r.next = pos;
            return r;
        }
        Record r = parseRecord(data.data(), pos, layout.recordsEnd);
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
        if (sealed) {
            data.resize(bodySize);
            sealed = false;
        }
        return true;
    }

    void seal()
    {
        if (sealed) return;
        bodySize = data.size();
        const std::string t = trailerFor(crc32(data.data(), data.size()));
        data.insert(data.end(), t.begin(), t.end());
        sealed = true;
    }

    void writeFail(ArchiveErrc code, std::string_view detail = {})
    {
        fail(code, sealed ? bodySize : data.size(), detail);
    }

    void appendText(std::string_view s) { data.insert(data.end(), s.begin(), s.end()); }
};

namespace {

std::string systemMessage(int err) { return std::system_category().message(err); }

// Writes all of `bytes` to `fd`; false with errno set otherwise.
bool writeAll(int fd, const std::uint8_t* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= std::size_t(n);
    }
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
void removeStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix)
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
        if (pid != ::getpid() && !gone) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

} // namespace

// ---------------------------------------------------------------- CArchive

CArchive::CArchive(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
CArchive::~CArchive() = default;

std::unique_ptr<CArchive> CArchive::forWriting(std::size_t expectedSize)
{
    auto impl = std::make_unique<Impl>();
    impl->mode = Mode::Store;
    if (expectedSize > 0) impl->data.reserve(expectedSize + kTrailerSize + 64);
    impl->appendText(kMagic);
    impl->appendText(kov::platform::formatInt(kFormatVersion));
    impl->data.push_back('\n');
    return std::unique_ptr<CArchive>(new CArchive(std::move(impl)));
}

std::unique_ptr<CArchive> CArchive::forReading(std::vector<std::uint8_t> bytes)
{
    auto impl = std::make_unique<Impl>();
    impl->mode = Mode::Load;
    impl->data = std::move(bytes);
    impl->startLoading();
    return std::unique_ptr<CArchive>(new CArchive(std::move(impl)));
}

std::unique_ptr<CArchive> CArchive::openForReading(const std::filesystem::path& file, std::string* error)
{
    auto report = [&](int err) {
        if (error) *error = "「" + file.string() + "」を読み込めません: " + systemMessage(err);
        return nullptr;
    };
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
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
    // Read straight into the archive's own buffer; a file that grows meanwhile is read to its end.
    std::vector<std::uint8_t> bytes(std::size_t(st.st_size > 0 ? st.st_size : 0) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() + bytes.size() / 2 + 65536);
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return report(err);
        }
        if (n == 0) break;
        filled += std::size_t(n);
    }
    bytes.resize(filled);
    ::close(fd);
    return forReading(std::move(bytes));
}

bool CArchive::IsStoring() const { return m_impl->storing(); }

const std::vector<std::uint8_t>& CArchive::bytes() const
{
    if (m_impl->storing()) m_impl->seal();
    return m_impl->data;
}

bool CArchive::commitTo(const std::filesystem::path& file, std::string* error) const
{
    Impl& a = *m_impl;
    auto refuse = [&](std::string text) {
        if (error) *error = std::move(text);
        return false;
    };
    if (!a.storing()) return refuse(std::string(messageFor(ArchiveErrc::WrongMode)));
    if (!a.error.ok()) return refuse(a.error.describe());
    if (a.openDepth > 0)
        return refuse(std::string(messageFor(ArchiveErrc::BlocksOpen)) + ": " + a.path());
    a.seal();

    // A symbolic link stays a link: the file it names gets the new contents.
    int linkErr = 0;
    const std::filesystem::path target = followLinks(file, linkErr);
    if (linkErr != 0) return refuse("「" + file.string() + "」を保存できません: " + systemMessage(linkErr));
    // A file the user made read-only is not silently replaced.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (exists && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return refuse("「" + file.string() + "」を保存できません: " + systemMessage(EACCES));

    // A hidden temporary name beside the target, so the rename stays on one file system.
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::string tempPrefix = "." + target.filename().string() + ".tmp";
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / (tempPrefix + kov::platform::formatInt(::getpid()) + "-" + kov::platform::formatInt(counter++));
        // 0666 lets the umask decide, as for any file the program creates.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return refuse("「" + file.string() + "」を保存できません: " + systemMessage(errno));
    // Replacing a file must not widen who may read it.
    if (exists) ::fchmod(fd, old.st_mode & 07777);

    bool ok = writeAll(fd, a.data.data(), a.data.size()) && ::fsync(fd) == 0;
    int err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return refuse("「" + file.string() + "」を保存できません: " + systemMessage(err));
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    removeStaleTemporaries(folder, tempPrefix);
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
    const Record r = parseRecord(a.data.data(), a.pos, a.layout.recordsEnd);
    if (r.kind == RecordKind::Bad) {
        a.fail(r.error, r.offset);
        return false;
    }
    if (r.kind != RecordKind::Raw) {
        a.fail(ArchiveErrc::NotRawRun, r.offset);
        return false;
    }
    out.assign(a.data.begin() + std::ptrdiff_t(r.rawBegin), a.data.begin() + std::ptrdiff_t(r.rawBegin + r.rawSize));
    a.pos = r.next;
    return true;
}

void CArchive::rewind()
{
    if (!m_impl->storing()) m_impl->rewind();
}

std::uint64_t CArchive::position() const
{
    return m_impl->storing() ? (m_impl->sealed ? m_impl->bodySize : m_impl->data.size()) : m_impl->pos;
}

const ArchiveError& CArchive::error() const
{
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
