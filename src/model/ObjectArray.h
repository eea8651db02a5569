#pragma once

// The owning array of one kind of drawing object (array order = drawing order), with a lookup of
// the first object that carries an identifier.
//
// Copies share. Undo keeps a whole copy of the drawing before every edit, so a copy must cost
// almost nothing: the objects sit in fixed-size chunks, and both the chunks and the objects are
// shared between copies until one of them changes. Every way to change an object or the order goes
// through the members below, which first give this array its own copy of what they touch (one
// chunk and one object for an edit in place). A mutable pointer from operator[], GetAt or Find is
// therefore good only until the array is next copied: take it after the undo snapshot, never
// before. Reading (the const members and iteration) never copies anything.
//
// The lookup keeps an index from identifier to first position, rebuilt lazily after the array's
// structure changes. Objects already in the array are renumbered through Renumber(), which keeps
// the index right; a number written straight into an object is caught only when it breaks a cached
// hit, never for the new number.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

template <class T, int T::*IdField>
class ObjectArray {
public:
    using Ptr = std::unique_ptr<T>;
    static constexpr int T::*kIdField = IdField;

    // What iteration yields: a read-only pointer to one object.
    class ReadPtr {
    public:
        explicit ReadPtr(const T* p) : m_p(p) {}
        const T& operator*() const { return *m_p; }
        const T* operator->() const { return m_p; }
        const T* get() const { return m_p; }
        explicit operator bool() const { return m_p != nullptr; }

    private:
        const T* m_p;
    };

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = ReadPtr;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = ReadPtr;

        const_iterator() = default;
        const_iterator(const ObjectArray* array, std::size_t index) : m_array(array), m_index(index) {}
        ReadPtr operator*() const { return ReadPtr(m_array->slot(m_index).get()); }
        const_iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++m_index;
            return old;
        }
        bool operator==(const const_iterator& o) const { return m_index == o.m_index; }
        bool operator!=(const const_iterator& o) const { return m_index != o.m_index; }

    private:
        const ObjectArray* m_array = nullptr;
        std::size_t m_index = 0;
    };

    ObjectArray() = default;
    // A copy shares every chunk and object; its lookup is built when first needed.
    ObjectArray(const ObjectArray& o) : m_chunks(o.m_chunks), m_size(o.m_size) {}
    ObjectArray& operator=(const ObjectArray& o)
    {
        if (this != &o) {
            m_chunks = o.m_chunks;
            m_size = o.m_size;
            changed();
        }
        return *this;
    }
    ObjectArray(ObjectArray&& o) noexcept
        : m_chunks(std::move(o.m_chunks)), m_size(std::exchange(o.m_size, 0))
    {
        o.changed();
    }
    ObjectArray& operator=(ObjectArray&& o) noexcept
    {
        m_chunks = std::move(o.m_chunks);
        m_size = std::exchange(o.m_size, 0);
        o.m_chunks.clear();
        o.changed();
        changed();
        return *this;
    }

    int GetSize() const { return static_cast<int>(m_size); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    // Mutable access gives this array its own copy of the object first.
    T* operator[](int i) { return own(static_cast<std::size_t>(i)); }
    const T* operator[](int i) const { return slot(static_cast<std::size_t>(i)).get(); }
    T* GetAt(int i) { return (*this)[i]; }
    const T* GetAt(int i) const { return (*this)[i]; }

    // Iteration is read-only; change objects through operator[] or Find.
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_size); }

    // Calls f(T&) on every object in order, each made this array's own first: for changes to all
    // objects of a kind (iteration itself is read-only).
    template <class F>
    void ForEachMutable(F&& f)
    {
        for (std::size_t i = 0; i < m_size; ++i)
            f(*own(i));
    }

    // Appends at the end (drawn last); returns the new index.
    int Add(Ptr obj)
    {
        const int index = GetSize();
        const int id = (*obj).*IdField;
        push(Shared(std::move(obj)));
        if (!m_dirty)
            remember(id, index);
        return index;
    }
    // Inserts just before the object now at index (index == size appends).
    void InsertAt(int index, Ptr obj)
    {
        const int id = (*obj).*IdField;
        std::vector<Shared> tail = takeTail(static_cast<std::size_t>(index));
        push(Shared(std::move(obj)));
        for (Shared& p : tail)
            push(std::move(p));
        if (m_dirty)
            return;
        shiftFrom(index, +1);
        const int first = lookup(id);
        if (first >= 0)
            m_hasDuplicates = true;
        if (first < 0 || first > index)
            store(id, index);
    }
    // Takes the object out without destroying it (a copy when another array still shares it).
    Ptr RemoveAt(int index) { return std::make_unique<T>(*removeShared(index)); }
    // Destroys the object (unless another array shares it) and closes the gap.
    void DeleteAt(int index) { removeShared(index); }
    // Destroys, in one pass, every object for which doomed(object) is true (called once per object,
    // in array order); the others keep their order. Returns how many went. For deleting many
    // objects at once: DeleteAt closes the gap anew for each one. The chunks before the first
    // doomed object stay shared.
    template <class Pred>
    int DeleteIf(Pred doomed)
    {
        std::vector<bool> gone(m_size);
        int count = 0;
        std::size_t first = m_size;
        for (std::size_t i = 0; i < m_size; ++i) {
            if (doomed(static_cast<const T&>(*slot(i)))) {
                gone[i] = true;
                ++count;
                first = std::min(first, i);
            }
        }
        if (count == 0)
            return 0;
        std::vector<Shared> tail = takeTail(first);
        for (std::size_t k = 0; k < tail.size(); ++k)
            if (!gone[first + k])
                push(std::move(tail[k]));
        changed();
        return count;
    }
    // Moves the object at from so that it ends at position to (drawing-order changes).
    void MoveItem(int from, int to)
    {
        if (from == to)
            return;
        const std::size_t first = static_cast<std::size_t>(from < to ? from : to);
        std::vector<Shared> tail = takeTail(first);
        const std::size_t f = static_cast<std::size_t>(from) - first;
        const std::size_t t = static_cast<std::size_t>(to) - first;
        Shared p = std::move(tail[f]);
        tail.erase(tail.begin() + static_cast<std::ptrdiff_t>(f));
        tail.insert(tail.begin() + static_cast<std::ptrdiff_t>(t), std::move(p));
        for (Shared& q : tail)
            push(std::move(q));
        changed();
    }
    void Swap(int a, int b)
    {
        if (a == b)
            return;
        std::swap(ownSlot(static_cast<std::size_t>(a)), ownSlot(static_cast<std::size_t>(b)));
        changed();
    }
    // Destroys every object (those still shared live on in the other arrays).
    void RemoveAll()
    {
        m_chunks.clear();
        m_chunks.shrink_to_fit();
        m_size = 0;
        changed();
    }
    // Hands every object over and leaves the array empty.
    std::vector<Ptr> TakeAll()
    {
        std::vector<Ptr> out;
        out.reserve(m_size);
        for (std::size_t i = 0; i < m_size; ++i) {
            Shared& p = ownSlot(i);
            out.push_back(std::make_unique<T>(*p));
        }
        RemoveAll();
        return out;
    }
    void Reserve(std::size_t n) { m_chunks.reserve((n + kChunk - 1) / kChunk); }

    // Takes the lookup of `o` when both hold the very same chunks (this a copy of it) and its
    // lookup is built: a copy made to be read at once then needs no lookup of its own built.
    void TakeLookupFrom(const ObjectArray& o)
    {
        if (o.m_dirty || m_size != o.m_size || m_chunks != o.m_chunks)
            return;
        m_dense = o.m_dense;
        m_sparse = o.m_sparse;
        m_hasDuplicates = o.m_hasDuplicates;
        m_dirty = false;
    }

    // The index of the first object with that identifier, -1 when none has it.
    int FindIndex(int id) const
    {
        if (m_dirty)
            rebuild();
        int index = lookup(id);
        if (index >= 0 && (index >= GetSize() || (*slot(static_cast<std::size_t>(index))).*IdField != id)) {
            rebuild();
            index = lookup(id);
        }
        return index;
    }
    // The index the lookup holds for id without going to the object (-1 when none, or when the
    // lookup is not built): for passes that only read and check what they take.
    int LookupIndex(int id) const { return m_dirty ? -1 : lookup(id); }
    bool Contains(int id) const { return FindIndex(id) >= 0; }
    T* Find(int id)
    {
        const int i = FindIndex(id);
        return i < 0 ? nullptr : (*this)[i];
    }
    const T* Find(int id) const
    {
        const int i = FindIndex(id);
        return i < 0 ? nullptr : (*this)[i];
    }

    // Gives the object at index a new identifier and keeps the lookup in step with it.
    void Renumber(int index, int id)
    {
        if ((*slot(static_cast<std::size_t>(index))).*IdField == id)
            return;
        T& obj = *own(static_cast<std::size_t>(index));
        const int old = obj.*IdField;
        obj.*IdField = id;
        if (m_dirty)
            return;
        // The common case (unique numbers, the new one free) is two table writes; anything that
        // needs a search for the next holder of either number rebuilds.
        if (!m_hasDuplicates && lookup(old) == index && lookup(id) < 0) {
            erase(old);
            store(id, index);
        } else {
            changed();
        }
    }

    // True when both arrays hold the very same objects in the same order (nothing was changed or
    // made its own on either side since one was copied from the other). Cheap while chunks are
    // still shared.
    bool SharesAllWith(const ObjectArray& o) const
    {
        if (m_size != o.m_size)
            return false;
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            if (m_chunks[c] == o.m_chunks[c])
                continue;
            if (*m_chunks[c] != *o.m_chunks[c])
                return false;
        }
        return true;
    }
    // True when the object at index is the very one the other array holds there (shared, not
    // copied); for tests and the undo benchmark.
    bool SharesObjectWith(const ObjectArray& o, int index) const
    {
        const auto i = static_cast<std::size_t>(index);
        return i < m_size && i < o.m_size && slot(i) == o.slot(i);
    }
    // Bytes this array holds that no other array shares: its chunk table, unshared chunks and the
    // objects' shells (sizeof T) only it holds. For the undo benchmark.
    std::size_t UnsharedBytes() const
    {
        std::size_t bytes = m_chunks.capacity() * sizeof(ChunkPtr);
        for (const ChunkPtr& c : m_chunks) {
            if (c.use_count() > 1)
                continue;
            bytes += sizeof(Chunk) + c->capacity() * sizeof(Shared);
            for (const Shared& p : *c)
                if (p.use_count() == 1)
                    bytes += sizeof(T);
        }
        return bytes;
    }

private:
    using Shared = std::shared_ptr<T>;
    using Chunk = std::vector<Shared>;
    using ChunkPtr = std::shared_ptr<Chunk>;
    // Objects per chunk: one edit in place copies one chunk of this many pointers.
    static constexpr std::size_t kChunk = 256;
    // Identifiers below this bound (every one a container hands out) sit in a flat table; others,
    // which only odd files carry, in a hash map.
    static constexpr int kDenseLimit = 65536;

    const Shared& slot(std::size_t i) const { return (*m_chunks[i / kChunk])[i % kChunk]; }

    // The chunk holding i, made this array's own.
    Chunk& ownChunk(std::size_t c)
    {
        ChunkPtr& chunk = m_chunks[c];
        if (chunk.use_count() > 1) {
            auto copy = std::make_shared<Chunk>();
            copy->reserve(kChunk);
            copy->assign(chunk->begin(), chunk->end());
            chunk = std::move(copy);
        }
        return *chunk;
    }
    Shared& ownSlot(std::size_t i) { return ownChunk(i / kChunk)[i % kChunk]; }
    T* own(std::size_t i)
    {
        Shared& p = ownSlot(i);
        if (p.use_count() > 1)
            p = std::make_shared<T>(*p);
        return p.get();
    }

    void push(Shared p)
    {
        if (m_size % kChunk == 0) {
            auto chunk = std::make_shared<Chunk>();
            chunk->reserve(kChunk);
            m_chunks.push_back(std::move(chunk));
        }
        ownChunk(m_chunks.size() - 1).push_back(std::move(p));
        ++m_size;
    }

    // Cuts the array at `from` and returns what followed, in order.
    std::vector<Shared> takeTail(std::size_t from)
    {
        std::vector<Shared> tail;
        tail.reserve(m_size - from);
        for (std::size_t i = from; i < m_size; ++i)
            tail.push_back(slot(i));
        const std::size_t keepChunks = (from + kChunk - 1) / kChunk;
        m_chunks.resize(keepChunks);
        if (from % kChunk != 0)
            ownChunk(keepChunks - 1).resize(from % kChunk);
        m_size = from;
        return tail;
    }

    Shared removeShared(int index)
    {
        std::vector<Shared> tail = takeTail(static_cast<std::size_t>(index));
        Shared removed = std::move(tail.front());
        for (std::size_t k = 1; k < tail.size(); ++k)
            push(std::move(tail[k]));
        const int id = (*removed).*IdField;
        // Without shared identifiers the index follows cheaply; otherwise the next holder of the
        // removed identifier would have to be searched, so rebuild.
        if (!m_dirty && !m_hasDuplicates && lookup(id) == index) {
            erase(id);
            shiftFrom(index + 1, -1);
        } else {
            changed();
        }
        return removed;
    }

    void changed() const { m_dirty = true; }

    // Records index for id unless an earlier object holds it.
    void remember(int id, int index) const
    {
        if (lookup(id) >= 0)
            m_hasDuplicates = true;
        else
            store(id, index);
    }

    void store(int id, int index) const
    {
        if (id >= 0 && id < kDenseLimit) {
            const auto s = static_cast<std::size_t>(id);
            if (s >= m_dense.size())
                m_dense.resize(s + 1, -1);
            m_dense[s] = index;
        } else {
            m_sparse[id] = index;
        }
    }

    void erase(int id) const
    {
        if (id >= 0 && id < kDenseLimit) {
            const auto s = static_cast<std::size_t>(id);
            if (s < m_dense.size())
                m_dense[s] = -1;
        } else {
            m_sparse.erase(id);
        }
    }

    // Every recorded position at or after `from` moves by delta.
    void shiftFrom(int from, int delta) const
    {
        for (int& index : m_dense)
            if (index >= from)
                index += delta;
        for (auto& entry : m_sparse)
            if (entry.second >= from)
                entry.second += delta;
    }

    int lookup(int id) const
    {
        if (id >= 0 && id < kDenseLimit) {
            const auto s = static_cast<std::size_t>(id);
            return s < m_dense.size() ? m_dense[s] : -1;
        }
        const auto it = m_sparse.find(id);
        return it == m_sparse.end() ? -1 : it->second;
    }

    void rebuild() const
    {
        m_dense.clear();
        m_sparse.clear();
        m_hasDuplicates = false;
        for (std::size_t i = 0; i < m_size; ++i)
            remember((*slot(i)).*IdField, static_cast<int>(i));
        m_dirty = false;
    }

    std::vector<ChunkPtr> m_chunks;
    std::size_t m_size = 0;
    mutable std::vector<int> m_dense;
    mutable std::unordered_map<int, int> m_sparse;
    mutable bool m_hasDuplicates = false;
    mutable bool m_dirty = true;
};
