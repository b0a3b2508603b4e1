#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "display/VORInputDispatcher.h"
#include "objects/VORButton.h"
#include "support/FakeClock.h"
#include "support/FakeResourcePlatform.h"
#include "support/InternalImageWriter.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayer.h"

namespace {

using namespace PublicationRecords;

// The button's pictures are as large as the button: the normal one is the
// key colour in its left quarter and in its bottom row, green elsewhere;
// the pressed and highlighted ones are solid.
constexpr int16_t kWidth = 40;
constexpr int16_t kHeight = 20;
constexpr int16_t kKeyedColumns = 10;
const VORRect kButtonRect(20, 30, 20 + kWidth, 30 + kHeight);
constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kBlue = 0x0000C0;
constexpr int32_t kNormalResource = 10;
constexpr int32_t kSolidResource = 11;
constexpr uint8_t kInternalPictureKind = 12;
constexpr uint16_t kPictures = 0x02;
constexpr uint16_t kPictureHits = 0x04;
const VORObjectCode kButton(1, 2, 1);
const VORObjectCode kView(0, 3, 1);
const VORObjectCode kPage(0, 4, 1);

// A kWidth x kHeight 24-bit picture in the publication's own format; the
// colour of each pixel as colourAt gives it (0x00BBGGRR, stored blue first).
template <typename ColourAt>
std::vector<uint8_t> Picture(ColourAt colourAt) {
  using namespace InternalImageWriter;
  std::vector<uint8_t> pixels;
  for (int16_t y = 0; y < kHeight; ++y)
    for (int16_t x = 0; x < kWidth; ++x) {
      const uint32_t colour = colourAt(x, y);
      pixels.push_back(static_cast<uint8_t>(colour >> 16));
      pixels.push_back(static_cast<uint8_t>(colour >> 8));
      pixels.push_back(static_cast<uint8_t>(colour));
    }
  InternalImageWriter::Picture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.depth = 24;
  Frame frame;
  frame.parts = {RawPart(0, 0, kWidth, kHeight, pixels)};
  picture.frames = {frame};
  return picture.Bytes();
}

std::vector<uint8_t> NormalPicture() {
  return Picture([](int16_t x, int16_t y) { return x < kKeyedColumns || y == kHeight - 1 ? kKey : kGreen; });
}

std::vector<uint8_t> SolidPicture() {
  return Picture([](int16_t, int16_t) { return kBlue; });
}

// A button of state pictures only (no bevel), stretched over its rectangle
// with the key colour transparent; its picture references name its three
// children, internal resource objects.
PageObject PictureButton(uint16_t buttonFlags) {
  ButtonRecord record;
  GraphicalRecord &graphical = record.hotSpot.graphical;
  graphical.Place(kButtonRect.left, kButtonRect.top, kButtonRect.right, kButtonRect.bottom);
  graphical.transparentColour = 1;
  graphical.transparencyKind = 1;
  graphical.keyColour = kKey;
  graphical.keepAspect = 0;
  record.hotSpot.flags = 0;
  record.buttonFlags = buttonFlags;
  record.normalImage = VORObjectKey{4, 1, 2};
  record.pressedImage = VORObjectKey{4, 1, 3};
  record.highlightImage = VORObjectKey{4, 1, 4};
  return ButtonObject(kButton.id, record,
                      {InternalResourceObject(2, kNormalResource, kInternalPictureKind),
                       InternalResourceObject(3, kSolidResource, kInternalPictureKind),
                       InternalResourceObject(4, kSolidResource, kInternalPictureKind)});
}

// The button read from a written publication and shown in the main view.
class ShapedButtonTest : public ::testing::Test {
protected:
  void Show(uint16_t buttonFlags) {
    Publication publication = TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})});
    publication.chapters[0].pages[0].objects.push_back(PictureButton(buttonFlags));
    publication.internalResources[kNormalResource] = NormalPicture();
    publication.internalResources[kSolidResource] = SolidPicture();
    m_player = std::make_unique<TestPlayer>(m_clock);
    m_player->UseResources(m_machine.MakePlatform());
    ASSERT_TRUE(m_player->Load(publication));
    ASSERT_TRUE(m_player->ShowFirstPage(VORPlayer::kStartupView));
    m_button = dynamic_cast<VORButton *>(m_player->FindObject(kButton, kView, kPage));
    ASSERT_NE(m_button, nullptr);
  }

  // A point of the button, relative to its corner.
  static VORPoint At(int32_t x, int32_t y) { return VORPoint{kButtonRect.left + x, kButtonRect.top + y}; }
  bool Hits(VORPoint point) { return m_button->HitTest(point.x, point.y); }
  void Press(VORPoint point) {
    VORInputDispatcher &input = m_player->MainView()->GetInput();
    input.SetLastPosition(point);
    input.DispatchMouseEvent(VORInput::kLeftDown);
  }

  FakeMachine m_machine;
  FakeClock m_clock;
  std::unique_ptr<TestPlayer> m_player;
  VORButton *m_button = nullptr;
};

// The parts of the normal picture that show decide the hits, whichever
// state picture is on screen; outside the rectangle nothing hits.
TEST_F(ShapedButtonTest, TheNormalPicturesTransparentPartsMissInEveryState) {
  Show(kPictures | kPictureHits);
  const struct {
    VORPoint point;
    bool hit;
    const char *where;
  } points[] = {
      {At(kKeyedColumns, 0), true, "the first green column"},
      {At(kWidth - 1, kHeight - 2), true, "green, bottom right"},
      {At(0, 0), false, "keyed, top left"},
      {At(kKeyedColumns - 1, 5), false, "the last keyed column"},
      {At(20, kHeight - 1), false, "the keyed bottom row"},
      {At(kWidth, 5), false, "right of the rectangle"},
  };
  const struct {
    const char *name;
    void (*enter)(VORButton &);
  } states[] = {
      {"normal", [](VORButton &) {}},
      {"pressed", [](VORButton &button) { button.FireLButtonDown(0); }},
      {"highlighted", [](VORButton &button) { button.FireMouseEnter(0); }},
  };
  for (const auto &state : states) {
    state.enter(*m_button);
    for (const auto &p : points)
      EXPECT_EQ(Hits(p.point), p.hit) << p.where << ", " << state.name;
  }
}

// A press on the transparent part leaves the button as it is; on the
// picture it presses it.
TEST_F(ShapedButtonTest, APressOnTheTransparentPartDoesNotPressIt) {
  Show(kPictures | kPictureHits);
  Press(At(2, 5));
  EXPECT_EQ(m_button->GetButtonState(), VORButton::kNormal);
  Press(At(30, 5));
  EXPECT_EQ(m_button->GetButtonState(), VORButton::kPressed);
}

// Without the picture-hit flag, or without pictures, the whole rectangle
// is the button.
TEST_F(ShapedButtonTest, WithoutBothFlagsTheRectangleDecides) {
  for (const uint16_t flags : {uint16_t{kPictures}, uint16_t{kPictureHits}}) {
    SCOPED_TRACE(flags);
    Show(flags);
    EXPECT_TRUE(Hits(At(0, 0)));
    EXPECT_FALSE(Hits(At(kWidth, 0)));
  }
}

} // namespace
