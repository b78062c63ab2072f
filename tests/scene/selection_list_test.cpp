#include "scene/selection.h"

#include <gtest/gtest.h>

namespace {

std::vector<ElementRef> entries(SelectionList &list) {
  std::vector<ElementRef> out;
  for (int32_t i = 0; i < list.Count(); ++i)
    out.push_back(list.Get(i));
  return out;
}

TEST(SelectionList, TogglingTheLastEntryShrinksTopAnEarlierOneLeavesAHole) {
  SelectionList list;
  list.Append({1, 0});
  list.Append({2, 0});
  list.Append({3, 0});
  EXPECT_FALSE(list.Toggle({3, 0}));
  EXPECT_EQ(list.Top(), 2);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.Toggle({1, 0}));
  EXPECT_EQ(list.Top(), 2); // slot 0 is a hole now
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0), (ElementRef{2, 0}));
  EXPECT_TRUE(list.Toggle({1, 0})); // appended after the hole
  EXPECT_EQ(entries(list), (std::vector<ElementRef>{{2, 0}, {1, 0}}));
  EXPECT_EQ(list.Find({1, 0}), 1);
  EXPECT_EQ(list.Find({9, 0}), -1);
}

TEST(SelectionList, GetFollowsTheCursorAndStartsOverAfterRemovals) {
  SelectionList list;
  for (int32_t i = 0; i < 10; ++i)
    list.Append({i, 1});
  EXPECT_EQ(list.Get(6).element, 6);
  list.Toggle({2, 1}); // shifts every later logical index down by one
  EXPECT_EQ(list.Get(6).element, 7);
  EXPECT_EQ(list.Get(1).element, 1);
  EXPECT_EQ(list.Get(8).element, 9);
}

TEST(SelectionList, SetAddsOnceAndRemovesWhenPresent) {
  SelectionList list;
  list.Set({4, 2}, true);
  list.Set({4, 2}, true);
  EXPECT_EQ(list.Count(), 1);
  list.Set({5, 2}, false);
  EXPECT_EQ(list.Count(), 1);
  list.Set({4, 2}, false);
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(list.Contains({4, 2}));
}

TEST(SelectionList, SwapExchangesEntriesAndClearKeepsNothing) {
  SelectionList a, b;
  a.Append({1, 1});
  b.Append({7, 0});
  b.Append({8, 0});
  a.Swap(b);
  EXPECT_EQ(entries(a), (std::vector<ElementRef>{{7, 0}, {8, 0}}));
  EXPECT_TRUE(b.Contains({1, 1}));
  a.Clear();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Top(), 0);
  EXPECT_FALSE(a.Contains({7, 0}));
}

TEST(SelectionList, DuplicatesFromAppendAreRemovedOneAtATime) {
  SelectionList list;
  list.Append({3, 0});
  list.Append({3, 0});
  list.Toggle({3, 0});
  EXPECT_TRUE(list.Contains({3, 0}));
  list.Toggle({3, 0});
  EXPECT_FALSE(list.Contains({3, 0}));
}

} // namespace
