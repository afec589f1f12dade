#pragma once
// A list of object pointers kept in a HeapBuffer. Out-of-range indices read as null.
// OwnedPtrList owns its objects and deletes them last to first.
#include <cstring>

#include "framework/HeapBuffer.h"

namespace framework {

template <class T>
class PtrList {
public:
  PtrList() = default;
  PtrList(PtrList&&) noexcept = default;
  PtrList& operator=(PtrList&&) noexcept = default;

  int Count() const noexcept { return buffer_.Size() / static_cast<int>(sizeof(T*)); }
  T* Get(int index) const noexcept {
    if (index < 0 || index >= Count()) return nullptr;
    return Items()[index];
  }
  T* operator[](int index) const noexcept { return Get(index); }

  // Appends; returns the pointer, or null when the list could not grow.
  T* Add(T* item) noexcept {
    auto* slot = buffer_.Grow(sizeof(T*));
    if (!slot) return nullptr;
    std::memcpy(slot, &item, sizeof(T*));
    return item;
  }
  // Inserts before index (clamped to 0 … Count).
  T* Insert(int index, T* item) noexcept {
    const int n = Count();
    if (index < 0) index = 0;
    if (index > n) index = n;
    if (!buffer_.Grow(sizeof(T*))) return nullptr;
    T** items = Items();
    std::memmove(items + index + 1, items + index, (n - index) * sizeof(T*));
    items[index] = item;
    return item;
  }
  // Removes the entry without deleting the object it points to.
  void Remove(int index) noexcept {
    const int n = Count();
    if (index < 0 || index >= n) return;
    T** items = Items();
    std::memmove(items + index, items + index + 1, (n - index - 1) * sizeof(T*));
    buffer_.Resize((n - 1) * static_cast<int>(sizeof(T*)));
  }
  int Find(const T* item) const noexcept {
    for (int i = 0; i < Count(); ++i)
      if (Items()[i] == item) return i;
    return -1;
  }
  void Clear() noexcept { buffer_.Resize(0); }

  T** begin() const noexcept { return Items(); }
  T** end() const noexcept { return Items() + Count(); }

private:
  T** Items() const noexcept { return reinterpret_cast<T**>(const_cast<uint8_t*>(buffer_.Data())); }
  HeapBuffer buffer_{static_cast<int>(sizeof(T*)) * 32};
};

template <class T>
class OwnedPtrList : public PtrList<T> {
public:
  OwnedPtrList() = default;
  OwnedPtrList(const OwnedPtrList&) = delete;
  OwnedPtrList& operator=(const OwnedPtrList&) = delete;
  ~OwnedPtrList() { DeleteAll(); }

  // Deletes the object at index and removes its entry.
  void Delete(int index) noexcept {
    T* item = this->Get(index);
    this->Remove(index);
    delete item;
  }
  void DeleteAll() noexcept {
    for (int i = this->Count() - 1; i >= 0; --i) Delete(i);
  }
};

}  // namespace framework
