#include "render/BandPainting.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <thread>
#include <vector>

namespace kov::render {

namespace {

using platform::DeviceRect;

constexpr int kMaxThreads = 16;
constexpr int kRowPeriod = 8;   // hatch cells repeat every 8 rows and columns
constexpr int kMinBandRows = 32; // thinner pieces cost more in passes over the drawing than they save
constexpr int kBandsPerThread = 1;

std::atomic<int> g_threads{0};

std::mutex g_timesMutex;
BandPainter::Times g_times;

// This thread's processor time.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

int machineThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return std::clamp(int(n == 0 ? 1 : n), 1, kMaxThreads);
}

int effectiveThreads()
{
    const int n = g_threads.load(std::memory_order_relaxed);
    return n <= 0 ? machineThreads() : std::min(n, kMaxThreads);
}

// The first multiple of the period at or above y.
int nextEdge(int y)
{
    const int r = ((y % kRowPeriod) + kRowPeriod) % kRowPeriod;
    return r == 0 ? y : y + kRowPeriod - r;
}

// Worker threads that wait for bands. They are never joined: at the program's end they are
// simply gone, so nothing of theirs (fonts, text pictures) outlives the application object.
class Workers {
public:
    static Workers& instance()
    {
        static Workers* workers = new Workers;
        return *workers;
    }

    // Runs task(i) for every i in [0, count) on `threads` threads, the calling one among them.
    // Task k goes to thread k when it is free for it, so that a view drawn again in the same bands
    // finds each band's texts in the same thread's caches.
    void run(int count, int threads, const std::function<void(int)>& task)
    {
        std::lock_guard one(m_paintMutex);  // one painting at a time
        grow(threads - 1);
        {
            std::lock_guard lock(m_mutex);
            m_task = &task;
            m_count = count;
            m_claimed = std::vector<std::atomic<bool>>(std::size_t(count));
            m_finished = 0;
            m_helpers = threads - 1;
            ++m_generation;
        }
        m_wake.notify_all();
        const int mine = work(0);
        std::unique_lock lock(m_mutex);
        m_finished += mine;
        m_done.wait(lock, [&] { return m_finished == m_count && m_busy == 0; });
        m_task = nullptr;
    }

private:
    // Takes its own task first, then any left; how many it ran.
    int work(int own)
    {
        int ran = 0;
        auto take = [&](int i) {
            if (m_claimed[std::size_t(i)].exchange(true)) return;
            (*m_task)(i);
            ++ran;
        };
        if (own < m_count) take(own);
        for (int i = 0; i < m_count; ++i) take(i);
        return ran;
    }

    void grow(int helpers)
    {
        while (int(m_threads.size()) < helpers) {
            const int index = int(m_threads.size());
            m_threads.emplace_back([this, index] { loop(index); });
            m_threads.back().detach();
        }
    }

    void loop(int index)
    {
        std::uint64_t seen = 0;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [&] { return m_generation != seen; });
                seen = m_generation;
                if (index >= m_helpers || m_task == nullptr) continue;
                ++m_busy;
            }
            const int ran = work(index + 1);
            {
                std::lock_guard lock(m_mutex);
                m_finished += ran;
                --m_busy;
            }
            m_done.notify_all();
        }
    }

    std::mutex m_paintMutex;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::vector<std::thread> m_threads;
    const std::function<void(int)>* m_task = nullptr;
    int m_count = 0;
    std::vector<std::atomic<bool>> m_claimed;
    int m_finished = 0;
    int m_helpers = 0;
    int m_busy = 0;
    std::uint64_t m_generation = 0;
};

DeviceRect intersect(const DeviceRect& a, const DeviceRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

} // namespace

void BandPainter::SetThreadCount(int threads)
{
    g_threads.store(std::max(0, threads), std::memory_order_relaxed);
}

int BandPainter::ThreadCount()
{
    return effectiveThreads();
}

void BandPainter::Run(int count, const std::function<void(int)>& task)
{
    const int threads = std::min(effectiveThreads(), count);
    if (threads <= 1) {
        for (int i = 0; i < count; ++i) task(i);
        return;
    }
    Workers::instance().run(count, threads, task);
}

namespace {

// Cuts [from, to) into `count` pieces of about equal length, inner edges on the hatch period.
std::vector<std::pair<int, int>> cuts(int from, int to, int count)
{
    std::vector<std::pair<int, int>> out;
    const int step = (to - from) / count;
    int first = from;
    for (int k = 1; k <= count; ++k) {
        const int last = k == count ? to : std::min(to, nextEdge(from + k * step));
        if (last <= first) continue;
        out.emplace_back(first, last);
        first = last;
    }
    return out;
}

} // namespace

std::vector<DeviceRect> BandPainter::Bands(std::span<const DeviceRect> rects, int threads)
{
    long long total = 0;
    for (const DeviceRect& r : rects)
        if (r.width() > 0 && r.height() > 0) total += static_cast<long long>(r.width()) * r.height();
    std::vector<DeviceRect> bands;
    if (total == 0) return bands;
    const int wanted = threads <= 1 ? 1 : threads * kBandsPerThread;
    for (const DeviceRect& r : rects) {
        if (r.width() <= 0 || r.height() <= 0) continue;
        // Each rectangle gets pieces by its share of the pixels, none thinner than the minimum.
        const long long area = static_cast<long long>(r.width()) * r.height();
        const long long share = std::max<long long>(1, (wanted * area + total - 1) / total);
        const int maxRows = std::max(1, r.height() / kMinBandRows);
        const int maxColumns = std::max(1, r.width() / kMinBandRows);
        const int count = int(std::clamp<long long>(share, 1, static_cast<long long>(maxRows) * maxColumns));
        // Rows times columns making `count` pieces, with the shortest edges between them: an object
        // across an edge is drawn by both pieces, so a wide strip is cut in columns, a window in tiles.
        int bestRows = 1, bestColumns = 1;
        long long bestEdges = -1;
        for (int rows = 1; rows <= std::min(count, maxRows); ++rows) {
            if (count % rows != 0 || count / rows > maxColumns) continue;
            const int columns = count / rows;
            const long long edges = static_cast<long long>(rows - 1) * r.width() +
                                    static_cast<long long>(columns - 1) * r.height();
            if (bestEdges < 0 || edges < bestEdges) bestEdges = edges, bestRows = rows, bestColumns = columns;
        }
        if (bestEdges < 0) bestRows = std::min(count, maxRows);  // no exact product: rows alone
        for (const auto& [top, bottom] : cuts(r.top, r.bottom, bestRows))
            for (const auto& [left, right] : cuts(r.left, r.right, bestColumns))
                bands.push_back({left, top, right, bottom});
    }
    return bands;
}

void BandPainter::Paint(QImage& target, std::span<const DeviceRect> rects,
                        const platform::PainterSurfaceOptions& options,
                        const std::function<void(platform::Surface&)>& draw)
{
    if (target.isNull()) return;
    const platform::DevicePoint o = options.origin;
    const DeviceRect whole{o.x, o.y, o.x + target.width(), o.y + target.height()};
    std::vector<DeviceRect> clipped;
    for (const DeviceRect& r : rects) {
        const DeviceRect c = intersect(r.normalized(), whole);
        if (c.width() > 0 && c.height() > 0) clipped.push_back(c);
    }
    const int threads = effectiveThreads();
    const std::vector<DeviceRect> bands = Bands(clipped, threads);
    if (bands.empty()) return;
    const auto started = std::chrono::steady_clock::now();
    std::vector<double> seconds(bands.size());
    std::vector<char> byCaller(bands.size(), 0);
    const std::thread::id caller = std::this_thread::get_id();
    // Made its own here, on this thread: the bands write into its rows.
    uchar* bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const int depth = target.depth() / 8;
    const QImage::Format format = target.format();
    auto paintBand = [&](int i) {
        const DeviceRect& b = bands[std::size_t(i)];
        // A window onto the target's pixels of the band: painting it paints the target.
        QImage band(bits + qsizetype(b.top - o.y) * stride + qsizetype(b.left - o.x) * depth, b.width(), b.height(),
                    stride, format);
        platform::PainterSurfaceOptions own = options;
        own.origin = {b.left, b.top};
        const double from = threadSeconds();
        {
            platform::PainterSurface surface(band, own);
            draw(surface);
        }
        seconds[std::size_t(i)] = threadSeconds() - from;
        byCaller[std::size_t(i)] = std::this_thread::get_id() == caller;
    };
    if (threads <= 1 || bands.size() == 1) {
        for (int i = 0; i < int(bands.size()); ++i) paintBand(i);
    } else {
        const std::function<void(int)> task = paintBand;
        Workers::instance().run(int(bands.size()), std::min(threads, int(bands.size())), task);
    }
    std::lock_guard lock(g_timesMutex);
    g_times.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    g_times.callerSeconds = 0;
    for (std::size_t i = 0; i < seconds.size(); ++i)
        if (byCaller[i]) g_times.callerSeconds += seconds[i];
    g_times.bandSeconds = std::move(seconds);
}

BandPainter::Times BandPainter::LastTimes()
{
    std::lock_guard lock(g_timesMutex);
    return g_times;
}

} // namespace kov::render
