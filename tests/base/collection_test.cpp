// The keyed collection against a plain model (a list of key and item pairs):
// random adds, removes, replaces and reads must agree in every answer, in the
// order of the items and in the failures; the index is an open-addressed table
// whose removals move entries back, and the texts' arena is rebuilt when the
// list is compacted, which only many mixed steps exercise.
#include "twinsweep/base/collection.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/failure_of.h"

using namespace twinsweep;

namespace {

using Model = std::vector<std::pair<std::optional<std::u16string>, std::u16string>>;

using testing_support::FailureOf;

ptrdiff_t Find(const Model& m, const std::u16string& folded) {
  for (size_t i = 0; i < m.size(); ++i)
    if (m[i].first == folded) return static_cast<ptrdiff_t>(i);
  return -1;
}

// Iteration gives the model's keys and items, in the model's order.
void ExpectSameItemsInOrder(const Model& m, const base::Collection<std::u16string>& c) {
  size_t i = 0;
  for (const auto& e : c) {
    ASSERT_LT(i, m.size());
    EXPECT_EQ(m[i].first, e.foldedKey);
    EXPECT_EQ(m[i].second, e.item);
    ++i;
  }
  EXPECT_EQ(m.size(), i);
}

TEST(Collection, AgreesWithAPlainListOverRandomSteps) {
  std::mt19937 rng(20261207);
  for (int nRound = 0; nRound < 20; ++nRound) {
    base::Collection<std::u16string> c;
    Model m;
    // Few distinct keys, so that adds collide and removes hit.
    auto key = [&] { return u"Key" + std::u16string(1, static_cast<char16_t>(u'A' + rng() % 40)); };
    for (int nStep = 0; nStep < 3000; ++nStep) {
      const std::u16string k = key(), folded = base::LCase(k);
      // Now and then a text long enough for a block of its own in the arena.
      const std::u16string item = u"v" + std::u16string(nStep % 97 == 0 ? 5000 : 1, static_cast<char16_t>(u'0' + nStep % 10));
      const ptrdiff_t at = Find(m, folded);
      switch (rng() % 6) {
        case 0:
          ASSERT_EQ(at < 0 ? 0 : 457, FailureOf([&] { c.Add(item, k); }));
          if (at < 0) m.emplace_back(folded, item);
          break;
        case 1:
          c.Add(item);
          m.emplace_back(std::nullopt, item);
          break;
        case 2:
          ASSERT_EQ(at < 0 ? 5 : 0, FailureOf([&] { c.Remove(k); }));
          if (at >= 0) m.erase(m.begin() + at);
          break;
        case 3:
          c.ReplaceFolded(item, folded);
          if (at >= 0) m.erase(m.begin() + at);
          m.emplace_back(folded, item);
          break;
        case 4: {
          const auto p = c.Find(k);
          ASSERT_EQ(at >= 0, p.has_value());
          if (p) {
            ASSERT_EQ(m[static_cast<size_t>(at)].second, *p);
          }
          break;
        }
        default:
          ASSERT_EQ(static_cast<int32_t>(m.size()), c.Count());
          if (!m.empty()) {
            const size_t i = rng() % m.size();
            ASSERT_EQ(m[i].second, c.Item(static_cast<int32_t>(i + 1)));
          }
          ASSERT_EQ(9, FailureOf([&] { c.Item(c.Count() + 1); }));
      }
    }
    ExpectSameItemsInOrder(m, c);
  }
}

// Replaces with no read between them leave tombstones until they outnumber the
// live texts; the list is then compacted and the arena rebuilt from the live
// texts alone, in the middle of the run.
TEST(Collection, ManyReplacesInARowKeepEveryLatestTextInOrder) {
  std::mt19937 rng(7);
  base::Collection<std::u16string> c;
  Model m;
  for (int nStep = 0; nStep < 4000; ++nStep) {
    const std::u16string folded = u"key" + std::u16string(1, static_cast<char16_t>(u'a' + rng() % 26));
    const std::u16string item(nStep % 13 == 0 ? 4100 : 1 + nStep % 7, static_cast<char16_t>(u'A' + nStep % 26));
    c.ReplaceFolded(item, folded);
    const ptrdiff_t at = Find(m, folded);
    if (at >= 0) m.erase(m.begin() + at);
    m.emplace_back(folded, item);
  }
  for (const auto& [key, item] : m) ASSERT_EQ(item, c.Find(*key).value_or(u"<none>"));
  ExpectSameItemsInOrder(m, c);
}

TEST(Collection, ANameListKeepsEachNameOnceAndRefusesARepeat) {
  base::Collection<std::u16string> names;
  names.AddFoldedName(u"cmdok.caption");
  EXPECT_EQ(457, FailureOf([&] { names.AddFoldedName(u"cmdok.caption"); }));
  EXPECT_EQ(u"cmdok.caption", names.Item(u"CmdOK.Caption"));
  for (const auto& e : names) EXPECT_EQ(std::optional<std::u16string>(u"cmdok.caption"), e.foldedKey);
}

}  // namespace
