#include <gtest/gtest.h>

#include <memory>

#include "../display/FakePaintable.h"
#include "display/DrawingContext.h"
#include "display/GdiCanvas.h"
#include "model/VORActionList.h"
#include "model/VOREvent.h"
#include "model/VORTrigger.h"
#include "objects/VORButton.h"

namespace {

constexpr COLORREF kPaper = RGB(0, 0, 200);
constexpr COLORREF kContent = RGB(220, 0, 0);
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr uint32_t kRed = 0xDC0000;
const VORRect kButton(10, 10, 40, 30);
// A child of the button, drawn after the bevel and face.
const VORRect kChild(20, 18, 24, 22);

// A button with default properties over a blue canvas, with a red child.
struct ButtonOnCanvas {
  GdiCanvas pixels{50, 40, 32};
  DrawingContext context{pixels.dc(), nullptr};
  VORPlayerButton button{VORObjectCode::MakeClassKey(VORButton::kCategory, VORButton::kCode), 1};

  ButtonOnCanvas() {
    pixels.Fill(kPaper);
    button.GetGraphicalProperties().layoutRect = kButton;
    button.SetRect(kButton);
    auto *child = new FakePaintable(1, kChild, false, nullptr);
    child->colour = static_cast<long>(kContent);
    button.InsertAfter(child, nullptr);
  }
  void Draw() { button.DrawInto(VORRect(0, 0, 50, 40), context); }
  uint32_t Pixel(int x, int y) const { return pixels.Pixel(x, y); }
};

struct Sample {
  int x, y;
  uint32_t normal, pressed;
  const char *what;
};

// The outline at the rectangle's edge, then two pixels of bevel inside it
// (light top and left, dark bottom and right; swapped when pressed), then
// the grey face.
const Sample kSamples[] = {
    {10, 10, kBlack, kBlack, "outline, top left"},
    {39, 29, kBlack, kBlack, "outline, bottom right"},
    {25, 10, kBlack, kBlack, "outline, top"},
    {9, 15, 0x0000C8, 0x0000C8, "outside"},
    {11, 15, kWhite, kBlack, "left bevel, outer"},
    {12, 15, kWhite, kBlack, "left bevel, inner"},
    {25, 11, kWhite, kBlack, "top bevel, outer"},
    {25, 12, kWhite, kBlack, "top bevel, inner"},
    {38, 15, kBlack, kWhite, "right bevel, outer"},
    {37, 15, kBlack, kWhite, "right bevel, inner"},
    {25, 28, kBlack, kWhite, "bottom bevel, outer"},
    {25, 27, kBlack, kWhite, "bottom bevel, inner"},
    {13, 13, kGrey, kGrey, "face, top left"},
    {36, 26, kGrey, kGrey, "face, bottom right"},
    // The child moves two pixels right and down when pressed.
    {20, 18, kRed, kGrey, "child's top left"},
    {23, 21, kRed, kRed, "child's bottom right"},
    {22, 20, kRed, kRed, "child's top left, pressed"},
    {25, 23, kGrey, kRed, "child's bottom right, pressed"},
};

TEST(VORButtonPaintTest, DefaultPropertiesDrawAnOutlinedGreyBevelThatSwapsWhenPressed) {
  ButtonOnCanvas normal;
  normal.Draw();
  ButtonOnCanvas pressed;
  pressed.button.FireLButtonDown(0);
  ASSERT_EQ(pressed.button.GetButtonState(), VORButton::kPressed);
  pressed.Draw();
  for (const Sample &sample : kSamples) {
    EXPECT_EQ(normal.Pixel(sample.x, sample.y), sample.normal) << sample.what;
    EXPECT_EQ(pressed.Pixel(sample.x, sample.y), sample.pressed) << sample.what << " (pressed)";
  }
}

TEST(VORButtonPaintTest, ReleasedTheButtonDrawsRaisedAgain) {
  ButtonOnCanvas target;
  target.button.FireLButtonDown(0);
  target.button.FireLButtonUp(0);
  EXPECT_EQ(target.button.GetButtonState(), VORButton::kHighlighted);
  target.Draw();
  EXPECT_EQ(target.Pixel(11, 15), kWhite);
  EXPECT_EQ(target.Pixel(20, 18), kRed);
}

TEST(VORButtonPaintTest, WithoutBevelOrOutlineOnlyTheChildrenAreDrawn) {
  ButtonOnCanvas target;
  target.button.GetButtonProperties().buttonFlags = 0;
  target.Draw();
  EXPECT_EQ(target.Pixel(10, 10), 0x0000C8u);
  EXPECT_EQ(target.Pixel(13, 13), 0x0000C8u);
  EXPECT_EQ(target.Pixel(20, 18), kRed);
}

// A key the button has an event for holds it pressed until released; any
// other key leaves it as it is.
TEST(VORButtonPaintTest, AKeyWithAnEventPressesTheButtonUntilReleased) {
  constexpr uint16_t kKeyWithEvent = 'A';
  constexpr uint16_t kOtherKey = 'B';
  ButtonOnCanvas target;
  VORGraphicalObject::VORGraphicalObjectProperties &properties = target.button.GetGraphicalProperties();
  auto *event = new VOREvent(1);
  event->CreateActionList();
  properties.events.Add(event);
  properties.eventMap.Add(new VORKeyboardTrigger(kKeyWithEvent), 0);
  const struct Step {
    bool down;
    uint16_t key;
    int32_t state;
    const char *what;
  } steps[] = {
      {true, kOtherKey, VORButton::kNormal, "another key down"},
      {true, kKeyWithEvent, VORButton::kPressed, "its key down"},
      {false, kOtherKey, VORButton::kPressed, "another key up"},
      {false, kKeyWithEvent, VORButton::kNormal, "its key up"},
  };
  for (const Step &step : steps) {
    if (step.down)
      target.button.FireKeyDown(step.key);
    else
      target.button.FireKeyUp(step.key);
    EXPECT_EQ(target.button.GetButtonState(), step.state) << step.what;
  }
  target.button.FireKeyDown(kKeyWithEvent);
  target.Draw();
  EXPECT_EQ(target.Pixel(11, 15), kBlack) << "drawn pressed";
}

} // namespace
