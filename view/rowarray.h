// A growable array of plain values whose growth is a checked allocation: running out of memory
// is a false answer, never an exception. The list keeps its copies of the rows in these.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <typename T> class RowArray
{
    static_assert(std::is_trivially_copyable_v<T>, "rows move with memmove");

public:
    RowArray() = default;
    RowArray(const RowArray &) = delete;
    RowArray &operator=(const RowArray &) = delete;
    ~RowArray() { free(items_); }

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    T &operator[](size_t i) { return items_[i]; }
    const T &operator[](size_t i) const { return items_[i]; }
    const T *data() const { return items_; }

    // Room for more values at the end; false, nothing changed, when memory cannot be had.
    bool Reserve(size_t more)
    {
        if (more <= capacity_ - count_) return true;
        const size_t limit = SIZE_MAX / sizeof(T);
        if (more > limit - count_) return false;
        size_t want = capacity_ ? capacity_ : 256;
        while (want < count_ + more)
            want = want > limit / 2 ? count_ + more : want * 2;
        T *grown = static_cast<T *>(realloc(items_, want * sizeof(T)));
        if (!grown) return false;
        items_ = grown;
        capacity_ = want;
        return true;
    }
    bool Insert(size_t at, T value)
    {
        if (at > count_ || !Reserve(1)) return false;
        memmove(items_ + at + 1, items_ + at, (count_ - at) * sizeof(T));
        items_[at] = value;
        ++count_;
        return true;
    }
    bool Append(const T *values, size_t n)
    {
        if (!Reserve(n)) return false;
        if (n) memcpy(items_ + count_, values, n * sizeof(T));
        count_ += n;
        return true;
    }
    void Erase(size_t at)
    {
        if (at >= count_) return;
        memmove(items_ + at, items_ + at + 1, (count_ - at - 1) * sizeof(T));
        --count_;
    }
    // Keeps the first n values (n at most the size); the memory stays for the next rows.
    void Shrink(size_t n)
    {
        if (n < count_) count_ = n;
    }

private:
    T *items_ = nullptr;
    size_t count_ = 0;
    size_t capacity_ = 0;
};
