#pragma once
// TLista: an owning list of objects, 1-based. Growing the count leaves the new slots empty
// (null); shrinking frees the items beyond the new count.
#include <memory>
#include <vector>

template <class T>
class TLista {
public:
    TLista() = default;
    virtual ~TLista() = default;
    TLista(const TLista&) = delete;
    TLista& operator=(const TLista&) = delete;
    TLista(TLista&&) = default;
    TLista& operator=(TLista&&) = default;

    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int n) { items_.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
    void Clear() { items_.clear(); }
    bool IsEmpty() const { return items_.empty(); }
    // Item i, 1-based; null for an empty slot. Unchecked like the grids.
    T* Item(int i) const { return items_[static_cast<size_t>(i - 1)].get(); }
    T* operator[](int i) const { return Item(i); }
    // Appends (takes ownership); returns the item.
    T* Add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    T* Add(T* item) { return Add(std::unique_ptr<T>(item)); }

private:
    std::vector<std::unique_ptr<T>> items_;
};
