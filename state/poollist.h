// An ordered, doubly linked list whose nodes live in a fixed pool: no allocation, and a
// full pool simply refuses further entries.
#pragma once

template <typename T, int N> class PoolList
{
public:
    static constexpr int kCapacity = N;

    void Clear()
    {
        for (Node &node : nodes_)
            node = Node{};
        first_ = last_ = -1;
        count_ = 0;
    }

    // Appends value after the entry at position `after` (-1: at the front); false when full.
    bool InsertAfter(int after, const T &value)
    {
        int slot = FreeSlot();
        if (slot < 0) return false;
        int prev = after < 0 ? -1 : NodeAt(after);
        if (after >= 0 && prev < 0) return false;
        Node &node = nodes_[slot];
        node.value = value;
        node.used = true;
        node.prev = prev;
        node.next = prev < 0 ? first_ : nodes_[prev].next;
        if (node.prev >= 0)
            nodes_[node.prev].next = slot;
        else
            first_ = slot;
        if (node.next >= 0)
            nodes_[node.next].prev = slot;
        else
            last_ = slot;
        ++count_;
        return true;
    }

    bool Append(const T &value) { return InsertAfter(count_ - 1, value); }
    int Count() const { return count_; }

    // The n-th entry in list order, or null.
    T *Get(int n)
    {
        int slot = NodeAt(n);
        return slot < 0 ? nullptr : &nodes_[slot].value;
    }
    const T *Get(int n) const { return const_cast<PoolList *>(this)->Get(n); }

    template <typename F> void ForEach(F f) const
    {
        for (int slot = first_; slot >= 0; slot = nodes_[slot].next)
            f(nodes_[slot].value);
    }

private:
    struct Node {
        T value{};
        int prev = -1;
        int next = -1;
        bool used = false;
    };

    int FreeSlot() const
    {
        if (count_ >= N) return -1;
        for (int i = 0; i < N; ++i)
            if (!nodes_[i].used) return i;
        return -1;
    }

    int NodeAt(int n) const
    {
        if (n < 0 || n >= count_) return -1;
        int slot = first_;
        while (n-- > 0)
            slot = nodes_[slot].next;
        return slot;
    }

    Node nodes_[N]{};
    int first_ = -1;
    int last_ = -1;
    int count_ = 0;
};
