#pragma once
// Keyed collection: the ordered, optionally keyed list of the product's objects.
//
// Items keep insertion order and are read by position (from 1) or by key. Keys
// are unique without regard to case; adding an existing key fails with 457 and
// keeps the first item; reading a missing key or position fails with 5 or 9.
// "None" is a null CollectionRef, on which every operation fails with 91.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/failure.h"
#include "base/text.h"

namespace base {

template <class T>
class Collection {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }

  // Adds at the end; with a key, fails (457) when the key is already present.
  void Add(T item, const std::optional<std::u16string>& key = std::nullopt) {
    if (key) {
      std::u16string folded = LCase(*key);
      if (index_.count(folded)) Raise(kKeyAlreadyExists);
      index_.emplace(folded, items_.size());
      items_.push_back(Entry{std::move(item), std::move(folded)});
    } else {
      items_.push_back(Entry{std::move(item), std::nullopt});
    }
  }

  const T& Item(int32_t nPosition) const {
    if (nPosition < 1 || nPosition > Count()) Raise(kSubscriptOutOfRange);
    return items_[static_cast<size_t>(nPosition - 1)].item;
  }
  const T& Item(std::u16string_view key) const {
    const T* p = Find(key);
    if (!p) Raise(kInvalidProcedureCall);
    return *p;
  }
  // The item under key, or null: the non-failing lookup for hot paths.
  const T* Find(std::u16string_view key) const {
    auto it = index_.find(LCase(key));
    return it == index_.end() ? nullptr : &items_[it->second].item;
  }
  // Same as Find for a key already in lower case (saves the folding).
  const T* FindFolded(const std::u16string& folded) const {
    auto it = index_.find(folded);
    return it == index_.end() ? nullptr : &items_[it->second].item;
  }
  bool Contains(std::u16string_view key) const { return Find(key) != nullptr; }

  void Remove(std::u16string_view key) {
    auto it = index_.find(LCase(key));
    if (it == index_.end()) Raise(kInvalidProcedureCall);
    size_t pos = it->second;
    index_.erase(it);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(pos));
    for (auto& kv : index_)
      if (kv.second > pos) --kv.second;
  }

  // Iteration in insertion order over the items.
  struct Entry {
    T item;
    std::optional<std::u16string> foldedKey;
  };
  typename std::vector<Entry>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<Entry>::const_iterator end() const { return items_.end(); }

 private:
  std::vector<Entry> items_;
  std::unordered_map<std::u16string, size_t> index_;
};

template <class T>
using CollectionRef = std::shared_ptr<Collection<T>>;

template <class T>
CollectionRef<T> NewCollection() {
  return std::make_shared<Collection<T>>();
}

// Fails with 91 ("Object variable or With block variable not set") when c is none.
template <class T>
Collection<T>& Deref(const CollectionRef<T>& c) {
  if (!c) Raise(kObjectNotSet);
  return *c;
}

}  // namespace base
