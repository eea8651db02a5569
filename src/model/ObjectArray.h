#pragma once

// The owning array of one kind of drawing object (array order = drawing order), with a lookup of
// the first object that carries an identifier.
//
// The lookup keeps an index from identifier to first position, rebuilt lazily after the array's
// structure changes (every structural change goes through the members below). Objects already in
// the array are renumbered only through Renumber(), which keeps the index right; a number written
// straight into an object is caught only when it breaks a cached hit, never for the new number.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

template <class T, int T::*IdField>
class ObjectArray {
public:
    using Ptr = std::unique_ptr<T>;
    using const_iterator = typename std::vector<Ptr>::const_iterator;

    ObjectArray() = default;
    ObjectArray(ObjectArray&& o) noexcept : m_items(std::move(o.m_items)) { o.changed(); }
    ObjectArray& operator=(ObjectArray&& o) noexcept
    {
        m_items = std::move(o.m_items);
        o.changed();
        changed();
        return *this;
    }
    ObjectArray(const ObjectArray&) = delete;
    ObjectArray& operator=(const ObjectArray&) = delete;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }

    T* operator[](int i) { return m_items[static_cast<std::size_t>(i)].get(); }
    const T* operator[](int i) const { return m_items[static_cast<std::size_t>(i)].get(); }
    T* GetAt(int i) { return (*this)[i]; }
    const T* GetAt(int i) const { return (*this)[i]; }

    // Iteration yields the owning pointers (read them, never reset them).
    const_iterator begin() const { return m_items.cbegin(); }
    const_iterator end() const { return m_items.cend(); }

    // Appends at the end (drawn last); returns the new index.
    int Add(Ptr obj)
    {
        const int index = GetSize();
        const int id = (*obj).*IdField;
        m_items.push_back(std::move(obj));
        if (!m_dirty)
            remember(id, index);
        return index;
    }
    // Inserts just before the object now at index (index == size appends).
    void InsertAt(int index, Ptr obj)
    {
        const int id = (*obj).*IdField;
        m_items.insert(m_items.begin() + index, std::move(obj));
        if (m_dirty)
            return;
        shiftFrom(index, +1);
        const int first = lookup(id);
        if (first >= 0)
            m_hasDuplicates = true;
        if (first < 0 || first > index)
            store(id, index);
    }
    // Takes the object out without destroying it.
    Ptr RemoveAt(int index)
    {
        Ptr p = std::move(m_items[static_cast<std::size_t>(index)]);
        m_items.erase(m_items.begin() + index);
        // Without shared identifiers the index follows cheaply; otherwise the next holder of the
        // removed identifier would have to be searched, so rebuild.
        if (!m_dirty && !m_hasDuplicates && lookup((*p).*IdField) == index) {
            erase((*p).*IdField);
            shiftFrom(index + 1, -1);
        } else {
            changed();
        }
        return p;
    }
    // Destroys the object and closes the gap. Spare storage is released once it outgrows the
    // objects, not at every deletion (that would copy the whole array each time).
    void DeleteAt(int index)
    {
        RemoveAt(index).reset();
        if (m_items.capacity() > 2 * m_items.size() + 16)
            m_items.shrink_to_fit();
    }
    // Destroys, in one pass, every object for which doomed(object) is true (called once per object,
    // in array order); the others keep their order. Returns how many went. For deleting many
    // objects at once: DeleteAt closes the gap anew for each one.
    template <class Pred>
    int DeleteIf(Pred doomed)
    {
        const auto firstGone = std::remove_if(m_items.begin(), m_items.end(),
                                              [&](const Ptr& p) { return doomed(static_cast<const T&>(*p)); });
        const int count = static_cast<int>(m_items.end() - firstGone);
        if (count == 0)
            return 0;
        m_items.erase(firstGone, m_items.end());
        changed();
        if (m_items.capacity() > 2 * m_items.size() + 16)
            m_items.shrink_to_fit();
        return count;
    }
    // Moves the object at from so that it ends at position to (drawing-order changes).
    void MoveItem(int from, int to)
    {
        if (from == to)
            return;
        Ptr p = std::move(m_items[static_cast<std::size_t>(from)]);
        m_items.erase(m_items.begin() + from);
        m_items.insert(m_items.begin() + to, std::move(p));
        changed();
    }
    void Swap(int a, int b)
    {
        std::swap(m_items[static_cast<std::size_t>(a)], m_items[static_cast<std::size_t>(b)]);
        changed();
    }
    // Destroys every object.
    void RemoveAll()
    {
        m_items.clear();
        m_items.shrink_to_fit();
        changed();
    }
    // Hands every object over and leaves the array empty.
    std::vector<Ptr> TakeAll()
    {
        std::vector<Ptr> out;
        out.swap(m_items);
        changed();
        return out;
    }
    void Reserve(std::size_t n) { m_items.reserve(n); }

    // The index of the first object with that identifier, -1 when none has it.
    int FindIndex(int id) const
    {
        if (m_dirty)
            rebuild();
        int index = lookup(id);
        if (index >= 0 && (index >= GetSize() || (*m_items[static_cast<std::size_t>(index)]).*IdField != id)) {
            rebuild();
            index = lookup(id);
        }
        return index;
    }
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
        T& obj = *m_items[static_cast<std::size_t>(index)];
        const int old = obj.*IdField;
        if (old == id)
            return;
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

private:
    // Identifiers below this bound (every one a container hands out) sit in a flat table; others,
    // which only odd files carry, in a hash map.
    static constexpr int kDenseLimit = 65536;

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
            const auto slot = static_cast<std::size_t>(id);
            if (slot >= m_dense.size())
                m_dense.resize(slot + 1, -1);
            m_dense[slot] = index;
        } else {
            m_sparse[id] = index;
        }
    }

    void erase(int id) const
    {
        if (id >= 0 && id < kDenseLimit) {
            const auto slot = static_cast<std::size_t>(id);
            if (slot < m_dense.size())
                m_dense[slot] = -1;
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
            const auto slot = static_cast<std::size_t>(id);
            return slot < m_dense.size() ? m_dense[slot] : -1;
        }
        const auto it = m_sparse.find(id);
        return it == m_sparse.end() ? -1 : it->second;
    }

    void rebuild() const
    {
        m_dense.clear();
        m_sparse.clear();
        m_hasDuplicates = false;
        for (int i = 0; i < GetSize(); ++i)
            remember((*m_items[static_cast<std::size_t>(i)]).*IdField, i);
        m_dirty = false;
    }

    std::vector<Ptr> m_items;
    mutable std::vector<int> m_dense;
    mutable std::unordered_map<int, int> m_sparse;
    mutable bool m_hasDuplicates = false;
    mutable bool m_dirty = true;
};
