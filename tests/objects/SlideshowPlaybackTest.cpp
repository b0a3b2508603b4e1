#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "objects/SlideshowPlayback.h"

namespace {

uint32_t FixedSeed() { return 12345; }

// A slideshow host over a fake clock and event queue: the posted steps wait
// in the queue until the clock passes their due time; the slides shown and
// the synchronisation notices are written down.
class FakeSlideshow : public SlideshowPlayback::Host {
public:
  struct Pending {
    uint32_t due;
    uint32_t generation;
  };

  FakeSlideshow() : playback(*this, FixedSeed) {}

  void ShowSlide(int32_t index, bool /*firstShow*/) override { shown.push_back(index); }
  void PostStep(uint32_t generation, uint32_t delay) override { queue.push_back({now + delay, generation}); }
  void PostSyncStart() override { notices.push_back(700); }
  void PostSyncEnd() override { notices.push_back(701); }
  bool IsTransitionRunning() override { return transitionRunning; }
  bool IsShown() override { return visible; }

  // Runs every step due up to time, in due order, as the queue does.
  void RunUntil(uint32_t time) {
    for (;;) {
      auto next = std::min_element(queue.begin(), queue.end(),
                                   [](const Pending &a, const Pending &b) { return a.due < b.due; });
      if (next == queue.end() || next->due > time)
        break;
      const Pending step = *next;
      queue.erase(next);
      now = step.due;
      ++stepsDelivered;
      playback.Step(step.generation);
    }
    now = time;
  }

  void Enter(int32_t count, int32_t repeat, uint32_t delay = 1000, bool shuffled = false) {
    SlideshowPlayback::Settings settings;
    settings.slideCount = count;
    settings.repeatCount = repeat;
    settings.shuffled = shuffled;
    settings.delays.assign(static_cast<size_t>(std::max(count, 0)), delay);
    playback.Enter(settings);
  }

  SlideshowPlayback playback;
  std::vector<Pending> queue;
  std::vector<int32_t> shown;
  std::vector<int32_t> notices;
  uint32_t now = 0;
  int stepsDelivered = 0;
  bool transitionRunning = false;
  bool visible = true;
};

TEST(SlideshowPlaybackTest, ThreeSlidesOncePlayInOrderThenStopWithTheEndNotice) {
  FakeSlideshow show;
  show.Enter(3, 0);
  show.playback.Play();
  show.RunUntil(10000);
  // Slide 0 is on the surface from the page's entry; the steps bring 1 and 2.
  EXPECT_EQ(show.shown, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(show.playback.GetCurrentIndex(), 2);
  EXPECT_FALSE(show.playback.IsPlaying());
  EXPECT_EQ(show.notices, (std::vector<int32_t>{700, 701}));
  EXPECT_TRUE(show.queue.empty());
  // The stop came with the step after the last slide's delay.
  EXPECT_EQ(show.stepsDelivered, 3);
}

TEST(SlideshowPlaybackTest, EndlessRepeatNeverStops) {
  FakeSlideshow show;
  show.Enter(2, SlideshowPlayback::kEndless);
  show.playback.Play();
  show.RunUntil(100000);
  EXPECT_TRUE(show.playback.IsPlaying());
  EXPECT_EQ(show.shown.size(), 100u);
  EXPECT_EQ(show.queue.size(), 1u);
}

TEST(SlideshowPlaybackTest, RepeatCountGivesThatManyFurtherPasses) {
  FakeSlideshow show;
  show.Enter(2, 2);
  show.playback.Play();
  show.RunUntil(100000);
  EXPECT_EQ(show.shown, (std::vector<int32_t>{1, 0, 1, 0, 1}));
  EXPECT_FALSE(show.playback.IsPlaying());
}

// Each of these, done while playing, once left a second chain of steps
// running beside the first (the slides then changed twice as fast).
TEST(SlideshowPlaybackTest, OneChainOfStepsWhateverIsMixedIn) {
  struct Case {
    const char *name;
    void (*act)(SlideshowPlayback &);
  };
  const Case cases[] = {
      {"pause, resume", [](SlideshowPlayback &p) { p.Pause(), p.Resume(); }},
      {"stop, play", [](SlideshowPlayback &p) { p.Stop(), p.Play(); }},
      {"two jumps", [](SlideshowPlayback &p) { p.GoTo(3), p.GoTo(5); }},
      {"next, previous", [](SlideshowPlayback &p) { p.Next(), p.Previous(); }},
      {"start at, resume", [](SlideshowPlayback &p) { p.Pause(), p.Start(4), p.Resume(); }},
      {"play twice", [](SlideshowPlayback &p) { p.Play(), p.Play(); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FakeSlideshow show;
    show.Enter(8, SlideshowPlayback::kEndless);
    show.playback.Play();
    show.RunUntil(500);
    c.act(show.playback);
    const int before = show.stepsDelivered;
    show.RunUntil(500 + 10000);
    // One step a second, whatever stale ones wait in the queue.
    const size_t changes = show.shown.size();
    show.RunUntil(500 + 20000);
    EXPECT_EQ(show.shown.size() - changes, 10u);
    EXPECT_GE(show.stepsDelivered - before, 10);
    EXPECT_TRUE(show.playback.IsPlaying());
  }
}

TEST(SlideshowPlaybackTest, AJumpWhilePlayingRunsTheNewSlidesFullDelay) {
  FakeSlideshow show;
  show.Enter(5, SlideshowPlayback::kEndless);
  show.playback.Play();
  show.RunUntil(900);
  show.playback.GoTo(3);
  EXPECT_EQ(show.shown.back(), 3);
  // The old step at 1000 does nothing; the new slide stays its full second.
  show.RunUntil(1899);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 3);
  show.RunUntil(1900);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 4);
}

TEST(SlideshowPlaybackTest, PauseHoldsTheSlideAndResumeGoesOnFromIt) {
  FakeSlideshow show;
  show.Enter(4, 0);
  show.playback.Play();
  show.RunUntil(1500);
  show.playback.Pause();
  show.RunUntil(9000);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 1);
  EXPECT_EQ(show.notices, (std::vector<int32_t>{700}));
  show.playback.Resume();
  show.RunUntil(10000);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 2);
}

// The publication's own step (400 from another object) steps a stopped
// slideshow, even after a stop; while playing it moves on at once and the
// new slide keeps its full delay, one chain of steps going on.
TEST(SlideshowPlaybackTest, AnUnchainedStepStepsWhetherPlayingOrNot) {
  FakeSlideshow show;
  show.Enter(4, SlideshowPlayback::kEndless);
  show.playback.Step(SlideshowPlayback::kUnchained);
  EXPECT_EQ(show.shown, (std::vector<int32_t>{1}));
  EXPECT_TRUE(show.queue.empty()) << "a stopped slideshow schedules nothing";
  show.playback.Play();
  show.RunUntil(1500);
  show.playback.Stop();
  show.playback.Step(SlideshowPlayback::kUnchained);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 2);
  show.RunUntil(5000);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 2) << "stopped: no timed step";

  show.playback.Play();
  show.RunUntil(5500);
  show.playback.Step(SlideshowPlayback::kUnchained);
  const int32_t stepped = show.playback.GetCurrentIndex();
  show.RunUntil(6499);
  EXPECT_EQ(show.playback.GetCurrentIndex(), stepped);
  show.RunUntil(6500);
  EXPECT_NE(show.playback.GetCurrentIndex(), stepped);
  const size_t changes = show.shown.size();
  show.RunUntil(16500);
  EXPECT_EQ(show.shown.size() - changes, 10u) << "one step a second";
  // Not shown, it does nothing; during a transition it comes back.
  show.visible = false;
  show.playback.Step(SlideshowPlayback::kUnchained);
  EXPECT_EQ(show.shown.size() - changes, 10u);
  show.visible = true;
  show.transitionRunning = true;
  show.queue.clear();
  show.playback.Step(SlideshowPlayback::kUnchained);
  ASSERT_EQ(show.queue.size(), 1u);
  EXPECT_EQ(show.queue[0].generation, SlideshowPlayback::kUnchained);
  EXPECT_EQ(show.queue[0].due, show.now + SlideshowPlayback::kTransitionRetryDelay);
}

TEST(SlideshowPlaybackTest, AStepDuringTheTransitionComesBackEveryTenMilliseconds) {
  FakeSlideshow show;
  show.Enter(3, 0);
  show.playback.Play();
  show.transitionRunning = true;
  show.RunUntil(1035);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 0);
  ASSERT_EQ(show.queue.size(), 1u);
  EXPECT_EQ(show.queue[0].due, 1040u);
  show.transitionRunning = false;
  show.RunUntil(1040);
  EXPECT_EQ(show.playback.GetCurrentIndex(), 1);
}

TEST(SlideshowPlaybackTest, StepsDoNothingWhileTheSlideshowIsNotShown) {
  FakeSlideshow show;
  show.Enter(3, 0);
  show.playback.Play();
  show.visible = false;
  show.RunUntil(5000);
  EXPECT_TRUE(show.shown.empty());
}

TEST(SlideshowPlaybackTest, NavigationWhileStoppedCountsPasses) {
  FakeSlideshow show;
  show.Enter(2, 1);
  show.playback.Next();
  show.playback.Next(); // wraps: the one further pass
  EXPECT_EQ(show.playback.GetCurrentIndex(), 0);
  show.playback.Next();
  show.playback.Next(); // no pass left
  EXPECT_EQ(show.playback.GetCurrentIndex(), 1);
  EXPECT_EQ(show.playback.GetPassesDone(), 2);
  show.playback.Previous();
  show.playback.Last();
  show.playback.First();
  show.playback.GoTo(7); // outside: nothing
  EXPECT_EQ(show.playback.GetCurrentIndex(), 0);
  EXPECT_TRUE(show.queue.empty());
}

TEST(SlideshowPlaybackTest, ShuffledOrderShowsEverySlideOnceAPass) {
  FakeSlideshow show;
  constexpr int32_t kSlides = 7;
  show.Enter(kSlides, 2, 1000, true);
  show.playback.StartByItself();
  std::vector<int32_t> seen{show.playback.GetCurrentIndex()};
  show.RunUntil(1000000);
  seen.insert(seen.end(), show.shown.begin(), show.shown.end());
  ASSERT_EQ(seen.size(), 3u * kSlides);
  for (size_t pass = 0; pass < 3; ++pass) {
    const std::set<int32_t> slides(seen.begin() + static_cast<long>(pass * kSlides),
                                   seen.begin() + static_cast<long>((pass + 1) * kSlides));
    EXPECT_EQ(slides.size(), static_cast<size_t>(kSlides)) << "pass " << pass;
  }
  for (size_t i = 1; i < seen.size(); ++i)
    EXPECT_NE(seen[i], seen[i - 1]) << "at " << i;
  EXPECT_FALSE(show.playback.IsPlaying());
}

// No slides (a file pattern that matches nothing): nothing to play, step to
// or read a delay of.
TEST(SlideshowPlaybackTest, AnEmptySlideshowDoesNothing) {
  FakeSlideshow show;
  show.Enter(0, SlideshowPlayback::kEndless);
  show.playback.Play();
  show.playback.StartByItself();
  show.playback.Next();
  show.playback.Previous();
  show.playback.Last();
  show.playback.Start(0);
  show.RunUntil(10000);
  EXPECT_FALSE(show.playback.IsPlaying());
  EXPECT_TRUE(show.queue.empty());
  EXPECT_TRUE(show.shown.empty());
}

TEST(SlideshowPlaybackTest, FilePatternSlidesUseTheFirstDelay) {
  FakeSlideshow show;
  SlideshowPlayback::Settings settings;
  settings.slideCount = 5;
  settings.firstDelayForAll = true;
  settings.delays = {250};
  show.playback.Enter(settings);
  EXPECT_EQ(show.playback.DelayOf(4), 250u);
  settings.delays.clear();
  show.playback.Enter(settings);
  EXPECT_EQ(show.playback.DelayOf(0), 0u);
}

TEST(SlideshowPlaybackTest, PictureFilesAreSortedByNameAndFiltered) {
  const std::vector<std::string> files = SlideshowPlayback::SelectPictureFiles(
      "C:\\show\\", {"c.bmp", "notes.txt", "B.WMF", "a.bmp", "song.wav", "d.emf", "e.cdr"});
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\show\\a.bmp", "C:\\show\\B.WMF", "C:\\show\\c.bmp", "C:\\show\\d.emf",
                                             "C:\\show\\e.cdr"}));
}

} // namespace
