#pragma once
// Keyed collection: the ordered, optionally keyed list of the product's objects.
//
// Items keep insertion order and are read by position (from 1) or by key. Keys
// are unique without regard to case; adding an existing key fails with 457 and
// keeps the first item; reading a missing key or position fails with 5 or 9.
// "None" is a null CollectionRef, on which every operation fails with 91.
//
// The items live in one list, each with its folded key and the key's hash; the
// index is an open-addressed table of positions in that list, so a key is
// stored once and an item costs no allocation of its own beyond its texts.
// Removing by key leaves a tombstone in the list, which is compacted once the
// tombstones outnumber the live items, or before the list is read by position
// or iterated; so replacing a text costs O(1) amortised and the order of the
// other items is kept.
#include <cstdint>
#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/failure.h"
#include "base/text.h"

namespace base {

template <class T>
class Collection {
 public:
  // What iteration shows of an item: the item and its folded key, if any.
  struct Entry {
    const T& item;
    std::optional<std::u16string> foldedKey;
  };
  class const_iterator;

  int32_t Count() const { return static_cast<int32_t>(items_.size() - nRemoved_); }

  // Adds at the end; with a key, fails (457) when the key is already present.
  void Add(T item, const std::optional<std::u16string>& key = std::nullopt) {
    if (key) {
      AddFolded(std::move(item), LCase(*key));
    } else {
      items_.push_back(Stored{std::move(item), std::u16string(), 0, false, false});
    }
  }
  // Add for a key already in lower case: a loader folds each key once and
  // hands the folded key over.
  void AddFolded(T item, std::u16string folded) {
    const size_t nHash = Hash(folded);
    if (Slot(folded, nHash) != kNone) Raise(kKeyAlreadyExists);
    Append(Stored{std::move(item), std::move(folded), nHash, true, false, false});
  }
  // A lower-case name as an item under itself (a form's key list): the text
  // is kept once, as item and key.
  void AddFoldedName(std::u16string folded) {
    static_assert(std::is_same_v<T, std::u16string>, "a name list holds texts");
    const size_t nHash = Hash(folded);
    if (Slot(folded, nHash) != kNone) Raise(kKeyAlreadyExists);
    Append(Stored{std::move(folded), std::u16string(), nHash, true, false, true});
  }
  // Remove (when present) and Add under the same folded key in one step: the
  // item goes to the end, and the key keeps its place in the index.
  void ReplaceFolded(T item, std::u16string folded) {
    const size_t nHash = Hash(folded);
    const size_t nSlot = Slot(folded, nHash);
    Stored e{std::move(item), std::move(folded), nHash, true, false, false};
    if (nSlot == kNone) return Append(std::move(e));
    const size_t nOld = slots_[nSlot] - 1;
    items_.push_back(std::move(e));
    slots_[nSlot] = static_cast<uint32_t>(items_.size());
    Bury(nOld);
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
  const T* FindFolded(std::u16string_view folded) const {
    const size_t nSlot = Slot(folded, Hash(folded));
    return nSlot == kNone ? nullptr : &items_[slots_[nSlot] - 1].item;
  }
  bool Contains(std::u16string_view key) const { return Find(key) != nullptr; }

  // Room for nItems more items without growing the list or the index.
  void Reserve(size_t nItems) {
    items_.reserve(items_.size() + nItems);
    if (2 * (nKeyed_ + nItems) > slots_.size()) Rehash(nKeyed_ + nItems);
  }

  void Remove(std::u16string_view key) { RemoveFolded(LCase(key)); }
  void RemoveFolded(std::u16string_view folded) {
    const size_t nSlot = Slot(folded, Hash(folded));
    if (nSlot == kNone) Raise(kInvalidProcedureCall);
    const size_t nOld = slots_[nSlot] - 1;
    EraseSlot(nSlot);
    --nKeyed_;
    Bury(nOld);
  }

  // Iteration in insertion order over the items.
  const_iterator begin() const {
    Compact();
    return const_iterator(items_.data());
  }
  const_iterator end() const {
    Compact();
    return const_iterator(items_.data() + items_.size());
  }

 private:
  struct Stored {
    T item;
    std::u16string foldedKey;  // meaningful when bKeyed, unless the item is the key itself
    size_t nHash = 0;
    bool bKeyed = false;
    bool bRemoved = false;
    bool bItemIsKey = false;
    const std::u16string* FoldedKey() const {
      if (!bKeyed) return nullptr;
      if constexpr (std::is_same_v<T, std::u16string>) {
        if (bItemIsKey) return &item;
      }
      return &foldedKey;
    }
  };
  static constexpr size_t kNone = static_cast<size_t>(-1);
  static size_t Hash(std::u16string_view s) { return std::hash<std::u16string_view>{}(s); }

  // The slot that holds folded, or kNone.
  size_t Slot(std::u16string_view folded, size_t nHash) const {
    if (slots_.empty()) return kNone;
    const size_t nMask = slots_.size() - 1;
    for (size_t i = nHash & nMask; slots_[i] != 0; i = (i + 1) & nMask) {
      const Stored& e = items_[slots_[i] - 1];
      if (e.nHash == nHash && *e.FoldedKey() == folded) return i;
    }
    return kNone;
  }
  // Puts list position nPos + 1 into the first free slot for its hash.
  void Place(size_t nPos) const {
    const size_t nMask = slots_.size() - 1;
    size_t i = items_[nPos].nHash & nMask;
    while (slots_[i] != 0) i = (i + 1) & nMask;
    slots_[i] = static_cast<uint32_t>(nPos + 1);
  }
  // A table at most half full for nKeys keys, filled from the list.
  void Rehash(size_t nKeys) const {
    size_t nSize = 16;
    while (nSize < 2 * nKeys) nSize *= 2;
    slots_.assign(nSize, 0);
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].bKeyed) Place(i);
  }
  void Append(Stored e) {
    if (2 * (nKeyed_ + 1) > slots_.size()) Rehash(nKeyed_ + 1);
    items_.push_back(std::move(e));
    Place(items_.size() - 1);
    ++nKeyed_;
  }
  // Empties a slot of the linear-probing table, moving back the entries after
  // it that would no longer be found past the gap.
  void EraseSlot(size_t nGap) {
    const size_t nMask = slots_.size() - 1;
    for (size_t j = (nGap + 1) & nMask; slots_[j] != 0; j = (j + 1) & nMask) {
      const size_t nHome = items_[slots_[j] - 1].nHash & nMask;
      const bool bStays = nGap <= j ? (nGap < nHome && nHome <= j) : (nGap < nHome || nHome <= j);
      if (bStays) continue;
      slots_[nGap] = slots_[j];
      nGap = j;
    }
    slots_[nGap] = 0;
  }
  // Turns the list's item at nPos into a tombstone, compacting when they are many.
  void Bury(size_t nPos) {
    items_[nPos] = Stored{T(), std::u16string(), 0, false, true};
    ++nRemoved_;
    if (nRemoved_ > items_.size() / 2) Compact();
  }
  // Drops the tombstones and renumbers the index; the live items keep their order.
  void Compact() const {
    if (nRemoved_ == 0) return;
    size_t nTo = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].bRemoved) continue;
      if (nTo != i) items_[nTo] = std::move(items_[i]);
      ++nTo;
    }
    items_.resize(nTo);
    nRemoved_ = 0;
    Rehash(nKeyed_);
  }

  // Compaction is invisible from outside: reading by position or iterating
  // compacts first, so those stay const for the caller.
  mutable std::vector<Stored> items_;
  mutable std::vector<uint32_t> slots_;  // position in items_ + 1; 0 is a free slot
  size_t nKeyed_ = 0;
  mutable size_t nRemoved_ = 0;
};

template <class T>
class Collection<T>::const_iterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = Entry;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = Entry;

  explicit const_iterator(const Stored* p) : p_(p) {}
  Entry operator*() const {
    const std::u16string* pKey = p_->FoldedKey();
    return Entry{p_->item, pKey ? std::optional<std::u16string>(*pKey) : std::nullopt};
  }
  const_iterator& operator++() {
    ++p_;
    return *this;
  }
  bool operator==(const const_iterator& o) const { return p_ == o.p_; }
  bool operator!=(const const_iterator& o) const { return p_ != o.p_; }

 private:
  const Stored* p_;
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
