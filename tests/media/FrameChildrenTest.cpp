#include <gtest/gtest.h>

#include <memory>

#include "engine/VORUpdateController.h"
#include "media/VORWaveObject.h"
#include "model/VORPageInstance.h"
#include "objects/VORAnimationController.h"
#include "objects/VORFrame.h"
#include "objects/VORInternalResourceObject.h"
#include "support/FakeClock.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayer.h"

namespace {

using namespace PublicationRecords;

constexpr uint32_t kStart = 1000;
const VORObjectCode kView(0, 3, 1);
const VORObjectCode kPage(0, 4, 1);
const VORObjectCode kFrame(1, 1, 1);
const VORObjectCode kPicture(4, 1, 2);
const VORObjectCode kFill(1, 0, 3);
const VORObjectCode kWave(2, 0, 4);
const VORObjectCode kPath(0, 9, 6);
const VORRect kFramePlace(20, 10, 120, 60);

// A frame showing a picture (its linked resource object), holding a fill in
// its left half, a wave object with its sound's resource object and the
// animation controller that walks the frame 100 pixels to the right in
// 1000 ms.
PageObject FrameOfEveryKind() {
  HotSpotRecord frame;
  frame.graphical.Place(kFramePlace.left, kFramePlace.top, kFramePlace.right, kFramePlace.bottom);
  frame.graphical.linkedResource = kPicture.ToKey();
  frame.graphical.pathAnimation = kPath.ToKey();
  BackgroundRecord fill;
  fill.graphical.Place(0, 0, 50, 50);
  AnimationControllerRecord path;
  path.path = {{70, 35, 0, 0}, {170, 35, 1000, 0}};
  return FrameObject(static_cast<uint32_t>(kFrame.id), frame,
                     {InternalResourceObject(static_cast<uint32_t>(kPicture.id), 10, 12),
                      BackgroundObject(static_cast<uint32_t>(kFill.id), fill),
                      SoundObject(VORWaveObject::kCode, static_cast<uint32_t>(kWave.id), SoundRecord{},
                                  {InternalResourceObject(5, 11, 5)}),
                      AnimationControllerObject(static_cast<uint32_t>(kPath.id), path)});
}

// A frame keeps every child its record names: it lays out the graphical
// ones and still owns the others, each doing its part while the page is
// shown.
TEST(FrameChildrenTest, AFrameKeepsItsResourceItsSoundAndItsController) {
  FakeClock clock;
  clock.Set(kStart);
  TestPlayer player(clock);
  Publication publication = TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})});
  publication.chapters[0].pages[0].objects.push_back(FrameOfEveryKind());
  ASSERT_TRUE(player.Load(publication));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  auto *frame = dynamic_cast<VORFrame *>(player.FindObject(kFrame, kView, kPage));
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->GetChildCount(), 4u) << "the resource object, the fill, the wave object, the controller";

  EXPECT_NE(dynamic_cast<VORInternalResourceObject *>(frame->FindResourceObject(kPicture)), nullptr);
  EXPECT_FALSE(frame->IsEmpty(false)) << "its picture's resource object is there";
  EXPECT_NE(dynamic_cast<VORWaveObject *>(player.FindObject(kWave, kView, kPage)), nullptr)
      << "the sound takes actions while the page is shown";

  auto *fill = dynamic_cast<VORGraphicalObject *>(frame->FindChildObject(kFill.GetClassKey(), kFill.id, false));
  auto *path = dynamic_cast<VORAnimationController *>(frame->FindChildObject(kPath.GetClassKey(), kPath.id, false));
  ASSERT_NE(fill, nullptr);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(frame->GetRect(), kFramePlace);
  EXPECT_EQ(fill->GetRect(), VORRect(20, 10, 70, 60)) << "laid out in the frame's left half";
  EXPECT_TRUE(path->IsActive()) << "the path started as the page was shown";
  for (uint32_t now = kStart; now <= kStart + 1200; now += 50) {
    clock.Set(now);
    player.OnTick(now);
    player.GetUpdateController()->Run();
  }
  EXPECT_EQ(frame->GetRect(), VORRect(120, 10, 220, 60)) << "walked along its path";
  EXPECT_EQ(fill->GetRect(), VORRect(120, 10, 170, 60)) << "the fill went with the frame";
}

} // namespace
