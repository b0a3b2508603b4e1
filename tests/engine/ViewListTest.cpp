#include "engine/ViewList.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TestRunView.h"

namespace {

// The main view and two chapter windows.
class ViewListTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (int32_t id : {1, 7, 9}) {
      views.push_back(new TestRunView(id));
      list.Add(views.back());
    }
  }

  ViewList list;
  std::vector<TestRunView *> views;
};

TEST_F(ViewListTest, ViewsAreFoundByIdentityInTheOrderTheyCame) {
  EXPECT_EQ(list.First(), views[0]);
  EXPECT_EQ(list.Find(VORRunView::Identity(7)), views[1]);
  EXPECT_EQ(list.Find(VORRunView::Identity(2)), nullptr);
  EXPECT_EQ(list.Find(VORObjectCode(0, 0, 7)), nullptr) << "not a view's reference";
  EXPECT_EQ(list.FindByWindow(nullptr), nullptr) << "views without a window are not found by a null window";
  list.Delete(views[0]);
  EXPECT_EQ(list.First(), views[1]);
  EXPECT_EQ(list.GetCount(), 2u);
}

// A visit may close views: one closed before its turn is not visited, and
// the walk goes on with the rest.
TEST_F(ViewListTest, AVisitMayCloseViews) {
  std::vector<int32_t> visited;
  list.ForEach([&](VORRunView &view) {
    visited.push_back(view.GetId());
    if (view.GetId() == 1)
      list.Delete(views[1]);
    if (view.GetId() == 9)
      list.Delete(&view);
  });
  EXPECT_EQ(visited, std::vector<int32_t>({1, 9}));
  EXPECT_EQ(list.GetCount(), 1u);
  EXPECT_FALSE(list.Contains(views[1]));
}

} // namespace
