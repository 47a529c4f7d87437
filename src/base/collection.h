#pragma once
// Keyed collection: the ordered, optionally keyed list of the product's objects.
//
// Items keep insertion order and are read by position (from 1) or by key. Keys
// are unique without regard to case; adding an existing key fails with 457 and
// keeps the first item; reading a missing key or position fails with 5 or 9.
// "None" is a null CollectionRef, on which every operation fails with 91.
//
// Removing by key leaves a tombstone in the item list, and the list is compacted
// once the tombstones outnumber the live items, or before it is read by position
// or iterated; so replacing a text (remove, then add) costs O(1) amortised while
// the order of the other items is kept.
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
  struct Entry {
    T item;
    const std::u16string* pFoldedKey;  // the index's own copy of the key; null without a key
    bool bRemoved = false;
  };

  int32_t Count() const { return static_cast<int32_t>(items_.size() - nRemoved_); }

  // Adds at the end; with a key, fails (457) when the key is already present.
  void Add(T item, const std::optional<std::u16string>& key = std::nullopt) {
    if (key) {
      AddFolded(std::move(item), LCase(*key));
    } else {
      items_.push_back(Entry{std::move(item), nullptr});
    }
  }
  // Add for a key already in lower case: a loader folds each key once and
  // hands the folded key over.
  void AddFolded(T item, std::u16string folded) {
    auto [it, bNew] = index_.try_emplace(std::move(folded), items_.size());
    if (!bNew) Raise(kKeyAlreadyExists);
    try {
      items_.push_back(Entry{std::move(item), &it->first});  // map nodes never move
    } catch (...) {
      index_.erase(it);
      throw;
    }
  }

  const T& Item(int32_t nPosition) const {
    if (nPosition < 1 || nPosition > Count()) Raise(kSubscriptOutOfRange);
    Compact();
    return items_[static_cast<size_t>(nPosition - 1)].item;
  }
  const T& Item(std::u16string_view key) const {
    const T* p = Find(key);
    if (!p) Raise(kInvalidProcedureCall);
    return *p;
  }
  // The item under key, or null: the non-failing lookup for hot paths.
  const T* Find(std::u16string_view key) const { return FindFolded(LCase(key)); }
  // Same as Find for a key already in lower case (saves the folding).
  const T* FindFolded(const std::u16string& folded) const {
    auto it = index_.find(folded);
    return it == index_.end() ? nullptr : &items_[it->second].item;
  }
  bool Contains(std::u16string_view key) const { return Find(key) != nullptr; }

  void Remove(std::u16string_view key) { RemoveFolded(LCase(key)); }
  void RemoveFolded(const std::u16string& folded) {
    auto it = index_.find(folded);
    if (it == index_.end()) Raise(kInvalidProcedureCall);
    Entry& e = items_[it->second];
    index_.erase(it);
    e = Entry{T(), nullptr, true};
    ++nRemoved_;
    if (nRemoved_ > items_.size() / 2) Compact();
  }

  // Iteration in insertion order over the items.
  typename std::vector<Entry>::const_iterator begin() const {
    Compact();
    return items_.begin();
  }
  typename std::vector<Entry>::const_iterator end() const {
    Compact();
    return items_.end();
  }

 private:
  // Drops the tombstones and renumbers the index; the live items keep their order.
  void Compact() const {
    if (nRemoved_ == 0) return;
    size_t nTo = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].bRemoved) continue;
      if (nTo != i) items_[nTo] = std::move(items_[i]);
      if (items_[nTo].pFoldedKey) index_.find(*items_[nTo].pFoldedKey)->second = nTo;
      ++nTo;
    }
    items_.resize(nTo);
    nRemoved_ = 0;
  }

  // Compaction is invisible from outside: reading by position or iterating
  // compacts first, so those stay const for the caller.
  mutable std::vector<Entry> items_;
  mutable std::unordered_map<std::u16string, size_t> index_;
  mutable size_t nRemoved_ = 0;
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
