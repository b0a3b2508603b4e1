#include "display/VORDragDropController.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An object of 20 x 10 at (100, 50) that records what the drag does to it.
class DraggedBox : public VORDragDropController::DraggedObject {
public:
  VORRect GetRect() override { return rect; }
  void SetRect(const VORRect &r) override { rect = r; }
  VORRect GetLayoutRect() override { return VORRect(1, 2, 3, 4); }
  void PostRaiseToTop() override { calls.push_back("raise"); }
  void PostRestoreOrder() override { calls.push_back("restore"); }
  void EndDrag() override { calls.push_back("end"); }
  bool OfferDrop() override {
    calls.push_back("offer");
    return accepted;
  }

  VORRect rect = VORRect(100, 50, 120, 60);
  bool accepted = false;
  std::vector<std::string> calls;
};

class DragDropTest : public ::testing::Test {
protected:
  DragDropTest()
      : m_controller(
            m_box, kGlide, [this] { return m_now; }, [this] { ++m_scheduled; }) {}

  static constexpr uint16_t kGlide = 1000;
  DraggedBox m_box;
  uint32_t m_now = 5000;
  int m_scheduled = 0;
  VORDragDropController m_controller;
};

TEST_F(DragDropTest, TheObjectFollowsThePointerFromWhereItWasGrabbed) {
  EXPECT_EQ(m_controller.GetLayoutRect(), VORRect(1, 2, 3, 4));
  m_controller.Begin(105, 55);
  EXPECT_EQ(m_controller.GetState(), VORDragDropController::kDragging);
  EXPECT_FALSE(m_controller.MoveTo(205, 45, true));
  EXPECT_EQ(m_box.rect, VORRect(200, 40, 220, 50));
  EXPECT_EQ(m_box.calls, std::vector<std::string>{"raise"});
}

TEST_F(DragDropTest, ADropOnAnAcceptingObjectEndsTheDrag) {
  m_box.accepted = true;
  m_controller.Begin(105, 55);
  m_controller.MoveTo(205, 45, true);
  EXPECT_TRUE(m_controller.MoveTo(205, 45, false));
  EXPECT_EQ(m_controller.GetState(), VORDragDropController::kDropped);
  EXPECT_EQ(m_box.rect, VORRect(200, 40, 220, 50)) << "it stays where it was dropped";
  EXPECT_EQ(m_scheduled, 0);
  EXPECT_EQ(m_box.calls, (std::vector<std::string>{"raise", "offer", "restore", "end"}));
}

TEST_F(DragDropTest, ADropOnNoAcceptingObjectGlidesBackInExactlyTheGlideDuration) {
  m_controller.Begin(105, 55);
  m_controller.MoveTo(305, 255, true); // the object is at (300, 250)
  EXPECT_FALSE(m_controller.MoveTo(305, 255, false));
  EXPECT_EQ(m_controller.GetState(), VORDragDropController::kGlidingBack);
  EXPECT_EQ(m_scheduled, 1);
  struct Step {
    uint32_t elapsed;
    VORRect rect;
    uint32_t nextDue;
  } steps[] = {
      {0, {300, 250, 320, 260}, 0},
      {250, {250, 200, 270, 210}, 0},
      {999, {101, 51, 121, 61}, 0}, // 300 + (-200 * 999 / 1000): integer steps toward the start
      {1000, {100, 50, 120, 60}, VORDragDropController::kNever},
  };
  for (const Step &step : steps) {
    m_now = 5000 + step.elapsed;
    uint32_t nextDue = 12345;
    m_controller.Update(nextDue);
    EXPECT_EQ(m_box.rect, step.rect) << step.elapsed;
    EXPECT_EQ(nextDue, step.nextDue) << step.elapsed;
  }
  EXPECT_EQ(m_controller.GetState(), VORDragDropController::kIdle);
  uint32_t nextDue = 0;
  m_controller.Update(nextDue);
  EXPECT_EQ(nextDue, VORDragDropController::kNever);
}

TEST_F(DragDropTest, MovesOutsideADragAreIgnored) {
  EXPECT_TRUE(m_controller.MoveTo(1, 1, true)) << "idle";
  EXPECT_EQ(m_box.rect, VORRect(100, 50, 120, 60));
  EXPECT_TRUE(m_box.calls.empty());
}

} // namespace
