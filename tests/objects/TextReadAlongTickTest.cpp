// Read-along steps as the player's event queue runs them: a step that
// falls due late, or a segment that lasts no time, comes without delay and
// runs on within the tick, up to the end of the text, and the tick ends.

#include <gtest/gtest.h>

#include <vector>

#include "model/VORObjectAction.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORSynchronizationObjectAction.h"
#include "objects/VORText.h"
#include "support/FakeClock.h"
#include "support/HeadlessView.h"
#include "support/TestPlayer.h"

namespace {

const VORObjectCode kSound(2, 1, 77);
constexpr uint32_t kStart = 5000;
constexpr int32_t kStartReadAlong = 200;

// A page of one text reading along with a sound: segments 1, 2 and 3 end at
// the times given, counted from the sound's start; the clock stands still
// unless the test moves it.
class TextReadAlongTickTest : public ::testing::Test {
protected:
  void ShowText(const std::vector<uint32_t> &ends) {
    clock.Set(kStart);
    ASSERT_TRUE(player.Load(TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})})));
    text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 1);
    text->GetGraphicalProperties().layoutRect = VORRect(0, 0, 200, 60);
    text->SetRect(VORRect(0, 0, 200, 60));
    VORText::VORTextProperties &properties = text->GetTextProperties();
    properties.rtfText = "{\\rtf1 {\\id1 one} {\\id2 two} {\\id3 three}}";
    properties.needsPush = true;
    properties.segmentTags = {1, 2, 3};
    properties.segmentEnds = ends;
    properties.readAlongSound = kSound;
    text->PushProperties();
    VORPageInstance &instance = page.GetMasterInstance();
    instance.InsertAfter(text, nullptr);
    instance.Show(view);
    view.ShowPageInstance(instance);
    text->Show(0);
    shown = true;
  }
  ~TextReadAlongTickTest() override {
    if (shown)
      page.GetMasterInstance().Hide();
  }

  // The read-along starts (its action 200) and its sound announces that
  // it started.
  void StartWithTheSound() {
    // The tick's time is what the read-along counts from.
    player.OnTick(clock.GetMilliseconds());
    VORObjectAction start(VORObjectAction::kClassKey, 0);
    start.SetActionCode(kStartReadAlong);
    Deliver(start);
    VORSynchronizationObjectAction started(VORSynchronizationObjectAction::kStarted, kSound);
    Deliver(started);
  }
  void Deliver(VORObjectAction &action) {
    action.SetTarget(text->GetObjectCode());
    action.SetOriginObject(text->GetViewReference());
    action.SetOriginPage(text->GetPageReference());
    player.ExecuteAction(action);
  }
  std::vector<int32_t> Highlighted() const {
    std::vector<int32_t> ids;
    for (const XQRichText::TagEffectStyle &effect : text->GetTagEffects())
      ids.push_back(effect.tagId);
    return ids;
  }

  FakeClock clock;
  TestPlayer player{clock};
  HeadlessView view{1};
  VORPlayerPage page{VORPlayerPage::kClassKey, 1};
  VORPlayerText *text = nullptr;
  bool shown = false;
};

// Segments that last no time pass within the tick that reaches them: the
// tick ends with the read-along over and nothing left queued.
TEST_F(TextReadAlongTickTest, SegmentsOfNoLengthPassWithinOneTick) {
  ShowText({0, 0, 0});
  StartWithTheSound();
  player.OnTick(clock.GetMilliseconds());
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_TRUE(player.GetEventQueue()->IsEmpty());
}

// A tick that comes after the sound's end catches up at once: what is past
// is no longer highlighted, and the read-along ends within that tick.
TEST_F(TextReadAlongTickTest, ALateTickCatchesUpWithTheSound) {
  ShowText({1000, 2500, 4000});
  StartWithTheSound();
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{1});
  clock.Set(kStart + 3000);
  player.OnTick(clock.GetMilliseconds());
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{3}) << "the segment the sound is in";
  clock.Set(kStart + 6000);
  player.OnTick(clock.GetMilliseconds());
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_TRUE(player.GetEventQueue()->IsEmpty());
}

} // namespace
