#pragma once
// TextArena: the texts of one collection (its items, its keys, or both), packed
// end to end in blocks instead of one allocation each.
//
// Stored characters never move, so a place (block and offset) stays valid for
// as long as the arena lives. Texts are only ever appended: one that is no
// longer used stays until the owner rebuilds the arena. Blocks grow with the
// arena, from 128 bytes up to 32 KB, so that a collection of three texts does
// not hold 32 KB; a text longer than a quarter of the largest block gets a
// block of its own, so that a block is never left mostly empty.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace twinsweep {

namespace base {

/// The texts of one collection packed end to end in blocks; a stored text never moves.
class TextArena {
 public:
  /// Where a stored text starts.
  struct Place {
    uint32_t nBlock = 0;   ///< the block
    uint32_t nOffset = 0;  ///< the first character's offset in it
  };

  /// Copies a and then b into the arena, one after the other; the place of the
  /// first character finds both again (b starts a.size() characters later).
  Place Store(std::u16string_view a, std::u16string_view b = {}) {
    const size_t nLength = a.size() + b.size();
    if (nLength == 0) return Place{};
    char16_t* pTo;
    Place place;
    if (nLength > kMaxBlockChars / 4) {
      blocks_.emplace_back(new char16_t[nLength]);  // filled at once: no zeroing
      pTo = blocks_.back().get();
      place = Place{static_cast<uint32_t>(blocks_.size() - 1), 0};
    } else {
      if (nFillBlock_ == kNoBlock || nFillSize_ - nFillUsed_ < nLength) {
        nFillSize_ = std::max(std::min(std::max(nStored_, kMinBlockChars), kMaxBlockChars), nLength);
        blocks_.emplace_back(new char16_t[nFillSize_]);
        nFillBlock_ = blocks_.size() - 1;
        nFillUsed_ = 0;
      }
      pTo = blocks_[nFillBlock_].get() + nFillUsed_;
      place = Place{static_cast<uint32_t>(nFillBlock_), static_cast<uint32_t>(nFillUsed_)};
      nFillUsed_ += nLength;
    }
    nStored_ += nLength;
    std::copy(b.begin(), b.end(), std::copy(a.begin(), a.end(), pTo));
    return place;
  }
  /// nLength characters from nSkip characters after place.
  std::u16string_view View(Place place, size_t nLength, size_t nSkip = 0) const {
    if (nLength == 0) return {};
    return std::u16string_view(blocks_[place.nBlock].get() + place.nOffset + nSkip, nLength);
  }

 private:
  static constexpr size_t kMinBlockChars = 64;
  static constexpr size_t kMaxBlockChars = 16384;
  static constexpr size_t kNoBlock = static_cast<size_t>(-1);

  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  size_t nStored_ = 0;            // characters stored so far: the next block's size
  size_t nFillBlock_ = kNoBlock;  // the block short texts are appended to
  size_t nFillSize_ = 0;
  size_t nFillUsed_ = 0;
};

}  // namespace base

}  // namespace twinsweep
