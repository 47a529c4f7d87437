#pragma once
// Keyed collection: the ordered, optionally keyed list of the product's objects.
//
// Items keep insertion order and are read by position (from 1) or by key. Keys
// are unique without regard to case; adding an existing key fails with 457 and
// keeps the first item; reading a missing key or position fails with 5 or 9.
// "None" is a null CollectionRef, on which every operation fails with 91.
//
// The items live in one list, each with the place of its folded key; the keys
// are packed in an arena, and the index is an open-addressed table of list
// positions and key hashes, so that a probe compares hashes without touching
// the list. A collection of texts (Collection<std::u16string>) packs its texts
// in the same arena, right after their keys, and hands out views of them: a
// language of 200,000 texts costs no allocation per text. Such a view stays
// valid until the collection is next changed. Removing by key leaves a
// tombstone in the list, which is compacted once the tombstones outnumber the
// live items, or before the list is read by position or iterated; so replacing
// a text costs O(1) amortised and the order of the other items is kept.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/text_arena.h"

namespace twinsweep {

namespace base {

namespace collection_detail {

enum class Kind : uint8_t { Unkeyed, Keyed, ItemIsKey, Removed };

/// One entry of the list: an item held as it is, and the place of its key.
template <class T>
struct Stored {
  T item{};
  TextArena::Place place;  // the folded key's
  uint32_t nKeyLength = 0;
  Kind kind = Kind::Unkeyed;
};

/// One entry of a text list: the key and then the text, at one place in the
/// arena (a name that is its own key is stored once).
template <>
struct Stored<std::u16string> {
  TextArena::Place place;
  uint32_t nKeyLength = 0;
  uint32_t nTextLength = 0;
};

}  // namespace collection_detail

/// The keyed collection: items in the order they were added, each with an optional
/// key that is unique without regard to case. Adding a key that is present fails
/// (457) and keeps the first item; reading a key or position that is not there
/// fails (5, 9). The failures are base::Failure.
template <class T>
class Collection {
  static constexpr bool kTexts = std::is_same_v<T, std::u16string>;
  using Stored = collection_detail::Stored<T>;
  using Kind = collection_detail::Kind;

 public:
  /// How an item is handed in and read back: texts as views, others as they are.
  using Arg = std::conditional_t<kTexts, std::u16string_view, T>;
  using Ref = std::conditional_t<kTexts, std::u16string_view, const T&>;  ///< \copydoc Arg
  /// The answer of a lookup that does not fail: the item, or none.
  using Found = std::conditional_t<kTexts, std::optional<std::u16string_view>, const T*>;

  /// What iteration shows of an item: the item and its folded key, if any.
  struct Entry {
    Ref item;                                 ///< the item
    std::optional<std::u16string> foldedKey;  ///< its key in lower case, if it has one
  };
  class const_iterator;

  /// The number of items.
  int32_t Count() const { return static_cast<int32_t>(items_.size() - nRemoved_); }

  /// Adds at the end; with a key, fails (457) when the key is already present.
  void Add(Arg item, const std::optional<std::u16string>& key = std::nullopt) {
    if (key) return AddFolded(std::move(item), LCase(*key));
    Append(Hold(std::move(item), {}, Kind::Unkeyed), std::nullopt);
  }
  /// Add for a key already in lower case: a loader folds each key once and
  /// hands the folded key over.
  void AddFolded(Arg item, std::u16string_view folded) {
    const uint32_t nHash = Hash(folded);
    if (Slot(folded, nHash) != kNone) Raise(kKeyAlreadyExists);
    Append(Hold(std::move(item), folded, Kind::Keyed), nHash);
  }
  /// A lower-case name as an item under itself (a form's key list): the text
  /// is kept once, as item and key.
  void AddFoldedName(std::u16string_view folded) {
    static_assert(kTexts, "a name list holds texts");
    const uint32_t nHash = Hash(folded);
    if (Slot(folded, nHash) != kNone) Raise(kKeyAlreadyExists);
    Append(Hold(folded, folded, Kind::ItemIsKey), nHash);
  }
  /// Remove (when present) and Add under the same folded key in one step: the
  /// item goes to the end, and the key keeps its place in the index.
  void ReplaceFolded(Arg item, std::u16string_view folded) {
    const uint32_t nHash = Hash(folded);
    const size_t nSlot = Slot(folded, nHash);
    if (nSlot == kNone) return AddFolded(std::move(item), folded);
    const size_t nOld = slots_[nSlot].nPosition - 1;
    items_.push_back(Hold(std::move(item), folded, Kind::Keyed));
    slots_[nSlot].nPosition = static_cast<uint32_t>(items_.size());
    Bury(nOld);
  }

  /// The item at nPosition (from 1); fails (9) outside 1 to Count().
  Ref Item(int32_t nPosition) const {
    if (nPosition < 1 || nPosition > Count()) Raise(kSubscriptOutOfRange);
    Compact();
    return ItemOf(items_[static_cast<size_t>(nPosition - 1)]);
  }
  /// The item under key (any case); fails (5) when no item has it.
  Ref Item(std::u16string_view key) const {
    const Found p = Find(key);
    if (!p) Raise(kInvalidProcedureCall);
    return *p;
  }
  /// The item under key, or none: the non-failing lookup for hot paths.
  Found Find(std::u16string_view key) const { return FindFolded(LCase(key)); }
  /// Same as Find for a key already in lower case (saves the folding).
  Found FindFolded(std::u16string_view folded) const {
    const size_t nSlot = Slot(folded, Hash(folded));
    if (nSlot == kNone) return Found{};
    const Stored& e = items_[slots_[nSlot].nPosition - 1];
    if constexpr (kTexts) {
      return ItemOf(e);
    } else {
      return &e.item;
    }
  }
  /// Whether an item has key (any case).
  bool Contains(std::u16string_view key) const { return static_cast<bool>(Find(key)); }

  /// Room for nItems more items without growing the list or the index.
  void Reserve(size_t nItems) {
    items_.reserve(items_.size() + nItems);
    if (!Fits(nKeyed_ + nItems)) Rehash(nKeyed_ + nItems);
  }

  /// Removes the item under key (any case); fails (5) when no item has it.
  void Remove(std::u16string_view key) { RemoveFolded(LCase(key)); }
  /// Remove for a key already in lower case.
  void RemoveFolded(std::u16string_view folded) {
    const size_t nSlot = Slot(folded, Hash(folded));
    if (nSlot == kNone) Raise(kInvalidProcedureCall);
    const size_t nOld = slots_[nSlot].nPosition - 1;
    EraseSlot(nSlot);
    --nKeyed_;
    Bury(nOld);
  }

  /// Iteration in insertion order over the items.
  const_iterator begin() const {
    Compact();
    return const_iterator(this, items_.data());
  }
  /// The end of the iteration.
  const_iterator end() const {
    Compact();
    return const_iterator(this, items_.data() + items_.size());
  }

 private:
  struct IndexSlot {
    uint32_t nPosition;  // in items_ + 1; 0 is a free slot
    uint32_t nHash;
  };
  static constexpr size_t kNone = static_cast<size_t>(-1);
  /// Positions in the index, and lengths in a list entry, are 32 bits wide.
  static constexpr size_t kMaxItems = 0x7fffffff;
  static constexpr size_t kMaxLength = 0x3fffffff;
  static constexpr uint32_t kKindShift = 30;  // a text list keeps the kind in its length's top bits

  static uint32_t Hash(std::u16string_view s) {
    const uint64_t h = std::hash<std::u16string_view>{}(s);
    return static_cast<uint32_t>(h ^ (h >> 32));
  }
  static uint32_t Length(size_t n) {
    if (n > kMaxLength) Raise(kOutOfMemory);
    return static_cast<uint32_t>(n);
  }

  /// A list entry for item under the folded key (none for Unkeyed), its texts in the arena.
  Stored Hold(Arg item, std::u16string_view folded, Kind kind) {
    Stored e;
    e.nKeyLength = Length(folded.size());
    if constexpr (kTexts) {
      if (kind == Kind::ItemIsKey) {
        e.place = arena_.Store(folded);
        e.nTextLength = e.nKeyLength | (static_cast<uint32_t>(kind) << kKindShift);
      } else {
        e.place = arena_.Store(folded, item);
        e.nTextLength = Length(item.size()) | (static_cast<uint32_t>(kind) << kKindShift);
      }
    } else {
      e.item = std::move(item);
      e.place = arena_.Store(folded);
      e.kind = kind;
    }
    return e;
  }
  static Kind KindOf(const Stored& e) {
    if constexpr (kTexts) {
      return static_cast<Kind>(e.nTextLength >> kKindShift);
    } else {
      return e.kind;
    }
  }
  static bool IsKeyed(const Stored& e) { return KindOf(e) == Kind::Keyed || KindOf(e) == Kind::ItemIsKey; }
  std::u16string_view FoldedKey(const Stored& e) const { return arena_.View(e.place, e.nKeyLength); }
  Ref ItemOf(const Stored& e) const {
    if constexpr (kTexts) {
      if (KindOf(e) == Kind::ItemIsKey) return FoldedKey(e);
      return arena_.View(e.place, e.nTextLength & kMaxLength, e.nKeyLength);
    } else {
      return e.item;
    }
  }

  /// The slot that holds folded, or kNone.
  size_t Slot(std::u16string_view folded, uint32_t nHash) const {
    if (slots_.empty()) return kNone;
    const size_t nMask = slots_.size() - 1;
    for (size_t i = nHash & nMask; slots_[i].nPosition != 0; i = (i + 1) & nMask) {
      if (slots_[i].nHash == nHash && FoldedKey(items_[slots_[i].nPosition - 1]) == folded) return i;
    }
    return kNone;
  }
  /// Puts list position nPos + 1 into the first free slot for its hash.
  void Place(size_t nPos, uint32_t nHash) const {
    const size_t nMask = slots_.size() - 1;
    size_t i = nHash & nMask;
    while (slots_[i].nPosition != 0) i = (i + 1) & nMask;
    slots_[i] = IndexSlot{static_cast<uint32_t>(nPos + 1), nHash};
  }
  /// Whether the table holds nKeys keys at most three quarters full: with the
  /// hashes in the slots, a longer probe costs little, and the table less room.
  bool Fits(size_t nKeys) const { return 4 * nKeys <= 3 * slots_.size(); }
  /// The smallest table that fits nKeys keys, filled from the list.
  void Rehash(size_t nKeys) const {
    size_t nSize = 16;
    while (4 * nKeys > 3 * nSize) nSize *= 2;
    slots_.assign(nSize, IndexSlot{0, 0});
    for (size_t i = 0; i < items_.size(); ++i)
      if (IsKeyed(items_[i])) Place(i, Hash(FoldedKey(items_[i])));
  }
  void Append(Stored e, std::optional<uint32_t> nHash) {
    if (items_.size() >= kMaxItems) Raise(kOutOfMemory);
    if (nHash && !Fits(nKeyed_ + 1)) Rehash(2 * (nKeyed_ + 1));
    items_.push_back(std::move(e));
    if (!nHash) return;
    Place(items_.size() - 1, *nHash);
    ++nKeyed_;
  }
  /// Empties a slot of the linear-probing table, moving back the entries after
  /// it that would no longer be found past the gap.
  void EraseSlot(size_t nGap) {
    const size_t nMask = slots_.size() - 1;
    for (size_t j = (nGap + 1) & nMask; slots_[j].nPosition != 0; j = (j + 1) & nMask) {
      const size_t nHome = slots_[j].nHash & nMask;
      const bool bStays = nGap <= j ? (nGap < nHome && nHome <= j) : (nGap < nHome || nHome <= j);
      if (bStays) continue;
      slots_[nGap] = slots_[j];
      nGap = j;
    }
    slots_[nGap] = IndexSlot{0, 0};
  }
  /// Turns the list's item at nPos into a tombstone; once they are many, the
  /// list is compacted and the arena rebuilt without the texts only they used.
  void Bury(size_t nPos) {
    Stored removed;
    if constexpr (kTexts) {
      removed.nTextLength = static_cast<uint32_t>(Kind::Removed) << kKindShift;
    } else {
      removed.kind = Kind::Removed;
    }
    items_[nPos] = std::move(removed);
    ++nRemoved_;
    if (nRemoved_ <= items_.size() / 2) return;
    Compact();
    TextArena fresh;
    for (Stored& e : items_) {
      size_t nLength = e.nKeyLength;
      if constexpr (kTexts) {
        if (KindOf(e) != Kind::ItemIsKey) nLength += ItemOf(e).size();
      }
      e.place = fresh.Store(arena_.View(e.place, nLength));
    }
    arena_ = std::move(fresh);
  }
  /// Drops the tombstones and renumbers the index; the live items keep their
  /// order, and their texts their places, so views given out stay valid.
  void Compact() const {
    if (nRemoved_ == 0) return;
    size_t nTo = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (KindOf(items_[i]) == Kind::Removed) continue;
      if (nTo != i) items_[nTo] = std::move(items_[i]);
      ++nTo;
    }
    items_.resize(nTo);
    nRemoved_ = 0;
    Rehash(nKeyed_);
  }

  /// Compaction is invisible from outside: reading by position or iterating
  /// compacts first, so those stay const for the caller.
  mutable std::vector<Stored> items_;
  mutable std::vector<IndexSlot> slots_;
  TextArena arena_;
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

  const_iterator(const Collection* pOwner, const Stored* p) : pOwner_(pOwner), p_(p) {}
  Entry operator*() const {
    if (!IsKeyed(*p_)) return Entry{pOwner_->ItemOf(*p_), std::nullopt};
    return Entry{pOwner_->ItemOf(*p_), std::u16string(pOwner_->FoldedKey(*p_))};
  }
  const_iterator& operator++() {
    ++p_;
    return *this;
  }
  bool operator==(const const_iterator& o) const { return p_ == o.p_; }
  bool operator!=(const const_iterator& o) const { return p_ != o.p_; }

 private:
  const Collection* pOwner_;
  const Stored* p_;
};

template <class T>
using CollectionRef = std::shared_ptr<Collection<T>>;

template <class T>
CollectionRef<T> NewCollection() {
  return std::make_shared<Collection<T>>();
}

/// Fails with 91 ("Object variable or With block variable not set") when c is none.
template <class T>
Collection<T>& Deref(const CollectionRef<T>& c) {
  if (!c) Raise(kObjectNotSet);
  return *c;
}

}  // namespace base

}  // namespace twinsweep
