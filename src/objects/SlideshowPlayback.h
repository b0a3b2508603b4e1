#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ShuffledSequence.h"

// The stepping of a slideshow, apart from drawing: which slide is current,
// how passes are counted, when the timed step comes and which steps are
// stale. Each posted step carries the generation it was posted in; a stop,
// a pause, a hide or a newly scheduled step starts a new generation, so at
// most one chain of steps is ever alive, however play, pause, resume and
// jumps are mixed.
class SlideshowPlayback {
public:
  // What the slideshow object does for the playback.
  class Host {
  public:
    virtual ~Host() = default;
    // The current slide replaces the one on the surface (firstShow: no
    // picture was shown since the page was entered).
    virtual void ShowSlide(int32_t index, bool firstShow) = 0;
    // Post the timed step (generation) to the slideshow after delay ms.
    virtual void PostStep(uint32_t generation, uint32_t delay) = 0;
    virtual void PostSyncStart() = 0;
    virtual void PostSyncEnd() = 0;
    virtual bool IsTransitionRunning() = 0;
    virtual bool IsShown() = 0;
  };

  struct Settings {
    int32_t slideCount = 0;
    // Further passes after the first; -1 endless.
    int32_t repeatCount = 0;
    bool shuffled = false;
    // Every slide uses the first delay (the file-pattern mode).
    bool firstDelayForAll = false;
    std::vector<uint32_t> delays;
  };

  static constexpr int32_t kEndless = -1;
  static constexpr int32_t kNothingShown = -1;
  // A step that finds the slide transition still running comes back then.
  static constexpr uint32_t kTransitionRetryDelay = 10;
  // The generation of a step the publication sends (action 400 from another
  // object): it belongs to no chain and steps the slideshow whether it plays
  // or not.
  static constexpr uint32_t kUnchained = 0xFFFFFFFF;

  SlideshowPlayback(Host &host, ShuffledSequence::SeedSource seedSource);

  // Page entry: back to the first slide, stopped, nothing shown.
  void Enter(const Settings &settings);
  void Play();
  void Stop();
  void Pause();
  void Resume() { Start(m_currentIndex); }
  void Next() { Move(false); }
  void Previous() { Move(true); }
  void First() { GoTo(0); }
  void Last() { GoTo(m_settings.slideCount - 1); }
  void GoTo(int32_t index);
  void Start(int32_t index);
  // A timed step of the chain of that generation, or an unchained one.
  void Step(uint32_t generation);
  // The start by itself: the shuffled order's current slide, then Play.
  void StartByItself();
  // The object was hidden: no step of before may act.
  void Halt();

  int32_t GetCurrentIndex() const { return m_currentIndex; }
  int32_t GetPassesDone() const { return m_passesDone; }
  int32_t GetSlideCount() const { return m_settings.slideCount; }
  bool IsPlaying() const { return m_playing; }
  bool IsFirstShow() const { return m_firstShow; }
  int32_t GetLastShownIndex() const { return m_lastShownIndex; }
  uint32_t GetGeneration() const { return m_generation; }
  // The delay of a slide; 0 for a slide without one.
  uint32_t DelayOf(int32_t index) const;
  // The index of the delay and transition a slide uses.
  int32_t SettingsIndexOf(int32_t index) const { return m_settings.firstDelayForAll ? 0 : index; }

  // The files of a folder a file pattern names that are pictures or
  // metafiles, as folder + name, sorted by name without regard to case so
  // that the order does not depend on how the file system lists them.
  static std::vector<std::string> SelectPictureFiles(const std::string &folder, std::vector<std::string> names);

private:
  bool Advance(bool backward);
  // The pass test at the end of the order: false when no pass is left.
  bool CountPass();
  void Move(bool backward);
  void Show();
  void PostNextStep();
  // A new chain of steps; none ever takes the unchained generation.
  void NewGeneration();
  bool InRange(int32_t index) const { return index >= 0 && index < m_settings.slideCount; }

  Host &m_host;
  Settings m_settings;
  ShuffledSequence m_order;
  int32_t m_currentIndex = 0;
  int32_t m_passesDone = 0;
  int32_t m_lastShownIndex = kNothingShown;
  uint32_t m_generation = 0;
  bool m_playing = false;
  bool m_firstShow = true;
};
