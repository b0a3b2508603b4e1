#include "objects/SlideshowPlayback.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"

SlideshowPlayback::SlideshowPlayback(Host &host, ShuffledSequence::SeedSource seedSource)
    : m_host(host), m_order(seedSource) {}

void SlideshowPlayback::Enter(const Settings &settings) {
  m_settings = settings;
  if (m_settings.slideCount < 0)
    m_settings.slideCount = 0;
  m_currentIndex = 0;
  m_passesDone = 0;
  m_lastShownIndex = kNothingShown;
  m_firstShow = true;
  m_playing = false;
  // Steps posted during an earlier visit find a new generation.
  NewGeneration();
  // The order cannot hold no entries: an empty slideshow keeps none.
  if (m_settings.slideCount > 0)
    m_order.SetCount(static_cast<uint32_t>(m_settings.slideCount));
}

uint32_t SlideshowPlayback::DelayOf(int32_t index) const {
  const int32_t at = SettingsIndexOf(index);
  if (at < 0 || static_cast<size_t>(at) >= m_settings.delays.size())
    return 0;
  return m_settings.delays[static_cast<size_t>(at)];
}

void SlideshowPlayback::Play() {
  if (!m_playing) {
    m_host.PostSyncStart();
    m_passesDone = 0;
  }
  Start(m_settings.shuffled && m_settings.slideCount > 0 ? m_order.GetCurrent() : 0);
}

void SlideshowPlayback::Stop() {
  if (!m_playing)
    return;
  m_playing = false;
  m_host.PostSyncEnd();
  NewGeneration();
}

void SlideshowPlayback::Pause() {
  if (!m_playing)
    return;
  m_playing = false;
  NewGeneration();
}

void SlideshowPlayback::Halt() {
  m_playing = false;
  NewGeneration();
}

void SlideshowPlayback::Start(int32_t index) {
  // With no slide there is no delay to wait and nothing to step to.
  if (m_playing || m_settings.slideCount <= 0)
    return;
  if (!InRange(index))
    index = 0;
  m_playing = true;
  if (index != m_currentIndex) {
    m_currentIndex = index;
    m_firstShow = false;
    Show();
  } else {
    PostNextStep();
  }
}

void SlideshowPlayback::StartByItself() {
  if (m_settings.slideCount <= 0)
    return;
  if (m_settings.shuffled)
    m_currentIndex = m_order.GetCurrent();
  Play();
}

void SlideshowPlayback::GoTo(int32_t index) {
  if (!InRange(index))
    return;
  m_firstShow = false;
  m_currentIndex = index;
  Show();
}

// A move that fails leaves a playing slideshow's pending step in place, so
// that it goes on stepping.
void SlideshowPlayback::Move(bool backward) {
  if (Advance(backward))
    Show();
}

void SlideshowPlayback::NewGeneration() {
  ++m_generation;
  if (m_generation == kUnchained)
    ++m_generation;
}

void SlideshowPlayback::Step(uint32_t generation) {
  const bool unchained = generation == kUnchained;
  if ((!unchained && (generation != m_generation || !m_playing)) || m_settings.slideCount <= 0 || !m_host.IsShown())
    return;
  if (m_host.IsTransitionRunning()) {
    m_host.PostStep(generation, kTransitionRetryDelay);
    return;
  }
  if (!Advance(false))
    Stop();
  Show();
}

bool SlideshowPlayback::CountPass() {
  const int32_t done = m_passesDone;
  if (m_passesDone < std::numeric_limits<int32_t>::max())
    ++m_passesDone;
  return m_settings.repeatCount == kEndless || done < m_settings.repeatCount;
}

bool SlideshowPlayback::Advance(bool backward) {
  const int32_t count = m_settings.slideCount;
  if (count <= 0)
    return false;
  int32_t index = 0;
  if (m_settings.shuffled) {
    const uint32_t end = backward ? 0 : m_order.GetCount() - 1;
    if (m_order.GetPosition() == end && !CountPass())
      return false;
    index = backward ? m_order.Previous() : m_order.Next();
  } else if (!backward) {
    if (m_currentIndex < count - 1) {
      index = m_currentIndex + 1;
    } else {
      if (!CountPass())
        return false;
      index = 0;
    }
  } else {
    if (m_currentIndex > 0) {
      index = m_currentIndex - 1;
    } else {
      if (!CountPass())
        return false;
      index = count - 1;
    }
  }
  m_currentIndex = index;
  m_firstShow = false;
  return true;
}

void SlideshowPlayback::Show() {
  if (m_currentIndex != m_lastShownIndex) {
    m_host.ShowSlide(m_currentIndex, m_firstShow);
    m_lastShownIndex = m_currentIndex;
  }
  if (m_playing)
    PostNextStep();
}

void SlideshowPlayback::PostNextStep() {
  NewGeneration();
  m_host.PostStep(m_generation, DelayOf(m_currentIndex));
}

namespace {

bool IsPictureKind(int32_t kind) {
  return kind == VORFileKind::kPictureFile || kind == VORFileKind::kWindowsMetafile ||
         kind == VORFileKind::kEnhancedMetafile || kind == VORFileKind::kCdr;
}

std::string Lowered(const std::string &text) {
  std::string lowered = text;
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return lowered;
}

} // namespace

std::vector<std::string> SlideshowPlayback::SelectPictureFiles(const std::string &folder,
                                                               std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
    const std::string la = Lowered(a);
    const std::string lb = Lowered(b);
    return la != lb ? la < lb : a < b;
  });
  std::vector<std::string> files;
  for (const std::string &name : names)
    if (IsPictureKind(VORResourceManager::FileKindFromExtension(name.c_str())))
      files.push_back(folder + name);
  return files;
}
