#pragma once

#include <QList>

#include <compare>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace kelvary {

// A list of values kept in implicitly shared chunks of `ChunkSize`. A copy of the list shares every
// chunk, and changing one value copies only the chunk that holds it: undo keeps a copy of the track
// list before every edit, so an edit of one track in a long session copies a few dozen tracks
// instead of all of them. Reading is as with QList; the API is the part of QList the program uses.
template<typename T, qsizetype ChunkSize = 32> class ChunkedList {
    static_assert(ChunkSize > 0 && (ChunkSize & (ChunkSize - 1)) == 0,
                  "an index finds its chunk by a shift and a mask");

    template<bool IsConst> class Iterator;

public:
    using value_type = T;
    using size_type = qsizetype;
    using difference_type = qsizetype;
    using reference = T &;
    using const_reference = const T &;
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    ChunkedList() = default;
    ChunkedList(std::initializer_list<T> values)
        : ChunkedList(values.begin(), values.end())
    {
    }
    explicit ChunkedList(qsizetype size)
    {
        for (qsizetype i = 0; i < size; ++i)
            appendValue(T());
    }
    explicit ChunkedList(const QList<T> &values)
        : ChunkedList(values.cbegin(), values.cend())
    {
    }
    template<std::input_iterator InputIterator> ChunkedList(InputIterator first, InputIterator last)
    {
        for (; first != last; ++first)
            append(*first);
    }

    qsizetype size() const { return m_size; }
    qsizetype count() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool empty() const { return m_size == 0; }

    const T &at(qsizetype i) const { return m_chunks.at(i / ChunkSize).at(i % ChunkSize); }
    const T &operator[](qsizetype i) const { return at(i); }
    // Copies the chunk that holds `i` when another list shares it.
    T &operator[](qsizetype i) { return m_chunks[i / ChunkSize][i % ChunkSize]; }

    const T &first() const { return at(0); }
    const T &last() const { return at(m_size - 1); }
    const T &constFirst() const { return at(0); }
    const T &constLast() const { return at(m_size - 1); }
    const T &front() const { return at(0); }
    const T &back() const { return at(m_size - 1); }
    T &first() { return (*this)[0]; }
    T &last() { return (*this)[m_size - 1]; }
    T &front() { return (*this)[0]; }
    T &back() { return (*this)[m_size - 1]; }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const_iterator constBegin() const { return begin(); }
    const_iterator constEnd() const { return end(); }
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, m_size}; }

    void append(const T &value) { appendValue(T(value)); }
    void append(T &&value) { appendValue(std::move(value)); }
    void append(const ChunkedList &other)
    {
        for (const T &value : other)
            append(value);
    }
    void push_back(const T &value) { append(value); }
    void push_back(T &&value) { append(std::move(value)); }
    void prepend(const T &value) { insert(0, value); }
    void reserve(qsizetype) {}

    void insert(qsizetype i, const T &value)
    {
        editFrom(i, [&](QList<T> &tail, qsizetype offset) { tail.insert(i - offset, value); });
    }
    void removeAt(qsizetype i) { remove(i, 1); }
    void remove(qsizetype i, qsizetype n = 1)
    {
        if (n > 0)
            editFrom(i, [&](QList<T> &tail, qsizetype offset) { tail.remove(i - offset, n); });
    }
    T takeAt(qsizetype i)
    {
        T value = at(i);
        removeAt(i);
        return value;
    }
    void removeFirst() { removeAt(0); }
    void removeLast() { removeAt(m_size - 1); }
    // As QList::move: the value at `from` ends up at `to`.
    void move(qsizetype from, qsizetype to)
    {
        if (from == to)
            return;
        editFrom(std::min(from, to),
                 [&](QList<T> &tail, qsizetype offset) { tail.move(from - offset, to - offset); });
    }
    template<typename Predicate> qsizetype removeIf(Predicate picks)
    {
        const qsizetype before = m_size;
        QList<T> kept;
        kept.reserve(m_size);
        for (const T &value : std::as_const(*this)) {
            if (!picks(value))
                kept.append(value);
        }
        if (kept.size() != before)
            *this = ChunkedList(kept);
        return before - m_size;
    }
    void clear()
    {
        m_chunks.clear();
        m_size = 0;
    }

    QList<T> toList() const { return QList<T>(begin(), end()); }

    bool operator==(const ChunkedList &other) const
    {
        if (m_size != other.m_size)
            return false;
        for (qsizetype c = 0; c < m_chunks.size(); ++c) {
            const QList<T> &mine = m_chunks.at(c);
            const QList<T> &theirs = other.m_chunks.at(c);
            // A chunk still shared between two lists is equal without looking.
            if (mine.constData() != theirs.constData() && mine != theirs)
                return false;
        }
        return true;
    }

private:
    void appendValue(T &&value)
    {
        if (m_chunks.isEmpty() || m_chunks.constLast().size() == ChunkSize) {
            QList<T> chunk;
            chunk.reserve(ChunkSize);
            m_chunks.append(std::move(chunk));
        }
        m_chunks.last().append(std::move(value));
        ++m_size;
    }

    // Applies `edit` to the values from the chunk holding `i` to the end, given as one list with
    // the offset of its first value, and chunks them again. The chunks before it stay shared.
    template<typename Edit> void editFrom(qsizetype i, Edit edit)
    {
        const qsizetype firstChunk = std::min(i, m_size) / ChunkSize;
        const qsizetype offset = firstChunk * ChunkSize;
        QList<T> tail;
        tail.reserve(m_size - offset + 1);
        for (qsizetype c = firstChunk; c < m_chunks.size(); ++c)
            tail.append(std::as_const(m_chunks).at(c));
        m_chunks.resize(firstChunk);
        m_size = offset;
        edit(tail, offset);
        for (T &value : tail)
            appendValue(std::move(value));
    }

    // NOTE: every chunk but the last holds exactly ChunkSize values, so that an index finds its
    // chunk by division; an insertion or removal chunks the values after it again.
    QList<QList<T>> m_chunks;
    qsizetype m_size = 0;
};

template<typename T, qsizetype ChunkSize>
template<bool IsConst>
class ChunkedList<T, ChunkSize>::Iterator {
    using List = std::conditional_t<IsConst, const ChunkedList, ChunkedList>;

public:
    using iterator_concept = std::random_access_iterator_tag;
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T;
    using difference_type = qsizetype;
    using reference = std::conditional_t<IsConst, const T &, T &>;
    using pointer = std::conditional_t<IsConst, const T *, T *>;

    Iterator() = default;
    Iterator(List *list, qsizetype index)
        : m_list(list)
        , m_index(index)
    {
    }
    // A changing iterator reads as a reading one.
    operator Iterator<true>() const requires(!IsConst) { return {m_list, m_index}; }

    reference operator*() const { return (*m_list)[m_index]; }
    pointer operator->() const { return &(*m_list)[m_index]; }
    reference operator[](difference_type n) const { return (*m_list)[m_index + n]; }

    Iterator &operator++()
    {
        ++m_index;
        return *this;
    }
    Iterator operator++(int)
    {
        Iterator before = *this;
        ++m_index;
        return before;
    }
    Iterator &operator--()
    {
        --m_index;
        return *this;
    }
    Iterator operator--(int)
    {
        Iterator before = *this;
        --m_index;
        return before;
    }
    Iterator &operator+=(difference_type n)
    {
        m_index += n;
        return *this;
    }
    Iterator &operator-=(difference_type n)
    {
        m_index -= n;
        return *this;
    }
    friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
    friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
    friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iterator &a, const Iterator &b)
    {
        return a.m_index - b.m_index;
    }
    friend bool operator==(const Iterator &a, const Iterator &b) { return a.m_index == b.m_index; }
    friend auto operator<=>(const Iterator &a, const Iterator &b)
    {
        return a.m_index <=> b.m_index;
    }

    qsizetype index() const { return m_index; }

private:
    List *m_list = nullptr;
    qsizetype m_index = 0;
};

} // namespace kelvary
