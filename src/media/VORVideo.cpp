#include "media/VORVideo.h"

#include <windows.h>

#include <algorithm>

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "images/ImageFit.h"
#include "images/ImageLayout.h"
#include "images/PictureChecks.h"
#include "media/VORInternalVideoStream.h"
#include "media/VORSoundManager.h"
#include "media/VORVideoObjectAction.h"
#include "media/VORVideoWaveSource.h"
#include "media/XQAVI.h"
#include "media/XQFlic.h"
#include "model/VORApp.h"
#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORRecordForm.h"
#include "objects/VORResourceObject.h"

namespace {

const PlayerFormRegistration kRegistration(VORVideo::kCategory, VORVideo::kCode, VORPlayerVideo::Create);

// How often a playing video looks at the clock: well within a frame.
constexpr uint32_t kUpdateInterval = 10;
constexpr uint32_t kNotScheduled = 0xFFFFFFFF;
constexpr int32_t kPaletteDepth = 8;
constexpr int32_t kTrueColourDepth = 24;

VORSoundManager *Manager() {
  VORApp *app = VORApp::Get();
  return app ? app->GetSoundManager() : nullptr;
}

uint32_t Now() {
  VORApp *app = VORApp::Get();
  return app ? app->GetTickTime() : GetTickCount();
}

int32_t ImageFitMode(uint16_t fit) {
  switch (fit) {
  case VORVideo::kTiled:
    return ImageLayout::kTile;
  case VORVideo::kStretched:
    return ImageLayout::kStretch;
  case VORVideo::kCentred:
    return ImageLayout::kCentre;
  default:
    return ImageLayout::kCorner;
  }
}

// What the AVI library is told of the display: a palette display shows 8
// bits in the application palette.
int32_t DisplayBitsPerPixel() { return GetDisplaySettings().paletteDisplay ? kPaletteDepth : kTrueColourDepth; }

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX)); }

} // namespace

VORVideo::VORVideo(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}

VORVideo::VORVideo(const VORVideo &other) : VORHotSpot(other), VORUpdateTarget() {}

VORVideo::~VORVideo() {
  try {
    Close();
  } catch (...) { // NOLINT(bugprone-empty-catch): nothing may leave a destructor
  }
}

VORVideo::VORVideoProperties &VORVideo::GetVideoProperties() {
  return static_cast<VORVideoProperties &>(GetGraphicalProperties());
}

const VORVideo::VORVideoProperties &VORVideo::GetVideoProperties() const {
  return static_cast<const VORVideoProperties &>(GetGraphicalProperties());
}

bool VORVideo::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  const int32_t code = action.GetActionCode();
  if (code == kPlay || code == kStop || code == kSeek) {
    if (!IsInputEnabled() || !action.GetTarget().Equals(GetObjectCode())) {
      return false;
    }
    const auto *video = dynamic_cast<const VORVideoObjectAction *>(&action);
    const int32_t first = video ? video->first : VideoPlayback::kUnset;
    const int32_t second = video ? video->second : VideoPlayback::kUnset;
    if (code == kPlay) {
      Play(first, second);
    } else if (code == kStop) {
      Stop(false);
    } else {
      Seek(first, second);
    }
    return true;
  }
  return VORHotSpot::ReceiveAction(action, context);
}

bool VORVideo::Interactive() const { return IsInInteractiveView(); }

void VORVideo::EnterPage(VORPageInstance &instance, bool visible) {
  m_mciMode = (Flags() & kMciMode) != 0;
  VORHotSpot::EnterPage(instance, visible);
  if (m_mciMode) {
    return; // the MCI device opens once the page shows
  }
  if (!Interactive() || (GetGraphicalProperties().visibleAtStart != 0 && !(Flags() & kOpenOnPlay))) {
    Open();
  }
}

void VORVideo::LeavePage(bool visible) {
  Close();
  VORHotSpot::LeavePage(visible);
}

void VORVideo::OnPageShown() {
  VORHotSpot::OnPageShown();
  if (m_mciMode && IsVisible()) {
    OpenMci();
  }
  if ((Flags() & kPlayWhenShown) && Interactive() && IsVisible()) {
    PostPlay();
  }
}

void VORVideo::Show(int32_t depth) {
  const bool wasShown = IsVisible();
  VORHotSpot::Show(depth);
  if (wasShown || GetView() == nullptr) {
    return;
  }
  if (!(Flags() & kOpenOnPlay)) {
    Open();
  }
  if ((Flags() & kPlayWhenShown) && Interactive()) {
    PostPlay();
  }
}

void VORVideo::Hide(int32_t depth) {
  Close();
  VORHotSpot::Hide(depth);
}

void VORVideo::PostPlay() {
  VORApp *app = VORApp::Get();
  if (app == nullptr) {
    return;
  }
  auto *play = new VORVideoObjectAction();
  play->SetActionCode(kPlay);
  play->SetTarget(GetObjectCode());
  play->SetOriginObject(GetViewReference());
  play->SetOriginPage(GetPageReference());
  app->ScheduleAction(0, play, nullptr);
}

// Like the other media objects, the video plays its first resource child;
// the graphical object's linked resource names no media.
VORResourceObject *VORVideo::MediaResource() const { return GetResourceObject(0); }

bool VORVideo::Open() { return m_mciMode ? OpenMci() : OpenStream(); }

bool VORVideo::OpenStream() {
  Close();
  VORResourceObject *resource = MediaResource();
  if (resource == nullptr || resource->GetResourceHandle() == 0 || !LoadStream(*resource)) {
    return false;
  }
  uint32_t frames = 0;
  uint32_t microseconds = 0;
  m_stream->GetTiming(frames, microseconds);
  m_playback.Reset(frames, microseconds);
  const VORVideoProperties &properties = GetVideoProperties();
  if ((properties.videoFlags & kKeyColour) && m_stream->GetFrameImage() != nullptr) {
    m_keyMask.CreateMask(m_stream->GetFrameImage()->GetInfo());
  }
  m_open = true;
  ReadCurrentFrame();
  Invalidate();
  return true;
}

bool VORVideo::LoadStream(VORResourceObject &resource) {
  VORApp *app = VORApp::Get();
  VORResourceManager *resources = app ? app->GetResourceManager() : nullptr;
  if (resources == nullptr) {
    return false;
  }
  const int32_t kind = resources->GetResourceKind(resource.GetResourceHandle());
  if (kind == kAviKind) {
    auto *external = dynamic_cast<VORExternalResourceObject *>(&resource);
    const XQString path = external ? external->GetFilePath() : XQString();
    auto avi = std::make_unique<XQAVI>();
    if (path.IsEmpty() || !avi->Open(path.CStr(), DisplayBitsPerPixel())) {
      return false;
    }
    if (avi->HasAudio() && GetVideoProperties().noSound == 0) {
      m_waveSource = std::make_unique<VORVideoWaveSource>(*avi);
    }
    m_stream = std::move(avi);
    return true;
  }
  if (kind == VORFileKind::kInternalPicture || kind == VORFileKind::kInternalVideo) {
    const uint32_t key = (GetVideoProperties().videoFlags & kKeyColour) ? GetVideoProperties().keyColor : kNoKeyColour;
    auto internal =
        std::make_unique<VORInternalVideoStream>(resource.GetResourceHandle(), static_cast<int32_t>(key), resources);
    if (!internal->Open()) {
      return false;
    }
    m_stream = std::move(internal);
    return true;
  }
  if (kind == kFlicKind) {
    uint8_t *memory = nullptr;
    uint32_t size = 0;
    if (!resource.LockResource()) {
      return false;
    }
    auto flic = std::make_unique<XQFlic>();
    if (!resources->GetResourceData(resource.GetResourceHandle(), memory, size) ||
        !flic->OpenMemory(memory, memory + size)) {
      resource.ReleaseResourceLock();
      return false;
    }
    m_lockedResource = &resource;
    m_stream = std::move(flic);
    return true;
  }
  return false;
}

void VORVideo::Close() {
  if (m_playing) {
    Stop(true);
  }
  CloseMci();
  StopSound();
  if (m_waveSource) {
    if (VORSoundManager *manager = Manager()) {
      manager->ReleaseWaveSource(m_waveSource.get());
    }
    m_waveSource.reset();
  }
  if (m_stream) {
    m_stream->Close();
    m_stream.reset();
  }
  if (m_lockedResource != nullptr) {
    m_lockedResource->ReleaseResourceLock();
    m_lockedResource = nullptr;
  }
  m_keyMask.Release();
  if (m_open) {
    m_open = false;
    Invalidate();
  }
}

bool VORVideo::ReadCurrentFrame() {
  if (!m_stream) {
    return false;
  }
  int32_t delay = 0;
  if (!m_stream->ReadFrame(m_playback.GetCurrentFrame(), delay)) {
    return false;
  }
  if (m_keyMask.IsValid() && m_stream->GetFrameImage() != nullptr) {
    m_keyMask.MakeKeyMask(*m_stream->GetFrameImage(), GetVideoProperties().keyColor);
  }
  return true;
}

void VORVideo::Play(int32_t fromMs, int32_t toMs) {
  if (m_playing) {
    if (fromMs == VideoPlayback::kUnset && toMs == VideoPlayback::kUnset) {
      return;
    }
    Stop(true);
  }
  if (!m_open && !Open()) {
    return;
  }
  if (m_mciMode) {
    PlayMci(fromMs, toMs);
    return;
  }
  if (!m_playback.Play(fromMs, toMs, GetVideoProperties().repeatCount, Now())) {
    return;
  }
  StartSound();
  ReadCurrentFrame();
  Invalidate();
  Reschedule(0);
  m_playing = true;
  PostSyncStart();
}

void VORVideo::StartSound() {
  VORSoundManager *manager = Manager();
  if (!m_waveSource || manager == nullptr) {
    return;
  }
  m_soundStartFrame = m_playback.GetCurrentFrame();
  const int32_t startMs = ClampToInt32(m_playback.TimeOf(m_soundStartFrame));
  m_soundPlaying = manager->PlayWaveSource(m_waveSource.get(), this, 0, startMs, VideoPlayback::kUnset) != 0;
}

void VORVideo::StopSound() {
  if (m_soundPlaying && m_waveSource) {
    if (VORSoundManager *manager = Manager()) {
      manager->StopWave(m_waveSource.get());
    }
  }
  m_soundPlaying = false;
}

// The sound's position keeps the frames in time with it while it plays;
// the clock takes over where it ends.
uint32_t VORVideo::Elapsed(uint32_t now) {
  if (m_soundPlaying) {
    VORSoundManager *manager = Manager();
    const int32_t position = manager ? manager->GetWavePosition(m_waveSource.get()) : VORSoundManager::kNoPosition;
    if (position >= 0) {
      return static_cast<uint32_t>(position) +
             static_cast<uint32_t>(m_playback.TimeOf(m_soundStartFrame - m_playback.GetStartFrame()));
    }
    m_soundPlaying = false;
  }
  return m_playback.ClockElapsed(now);
}

void VORVideo::Update(uint32_t &nextDue) {
  if (!m_open || !m_playing) {
    nextDue = kNotScheduled;
    return;
  }
  const uint32_t now = Now();
  VideoPlayback::Step step = m_playback.Advance(Elapsed(now), (Flags() & kSkipFrames) != 0, now);
  if ((step == VideoPlayback::Step::kNewFrame || step == VideoPlayback::Step::kRestarted) && !ReadCurrentFrame()) {
    step = m_playback.EndAt(m_playback.GetCurrentFrame(), now);
    ReadCurrentFrame();
  }
  if (step == VideoPlayback::Step::kRestarted) {
    StopSound();
    StartSound();
  }
  if (step != VideoPlayback::Step::kSame) {
    Invalidate();
  }
  if (step == VideoPlayback::Step::kEnded) {
    Stop(false);
  }
  nextDue = m_playing ? now + kUpdateInterval : kNotScheduled;
}

void VORVideo::Stop(bool keepOpen) {
  if (!m_open) {
    return;
  }
  const bool wasPlaying = m_playing;
  m_playing = false;
  // Only a play that ran has an end to announce.
  if (wasPlaying) {
    PostSyncEnd();
  }
  if (m_mciMode) {
    if (wasPlaying) {
      PauseMci();
    }
  } else {
    StopSound();
  }
  if ((m_mciMode || !keepOpen) && (Flags() & kOpenOnPlay)) {
    Close();
  }
}

void VORVideo::Seek(int32_t positionMs, int32_t mode) {
  // Before the stream is open there is nothing to seek in.
  if (!m_open) {
    return;
  }
  if (m_mciMode) {
    SeekMci(positionMs, mode);
    return;
  }
  m_playback.Seek(positionMs, mode, Now());
  ReadCurrentFrame();
  if (m_playing) {
    StopSound();
    StartSound();
  }
  Invalidate();
}

void VORVideo::DrawContent(const VORRect &rect, DrawingContext &context) {
  DibImage *frame = m_stream ? m_stream->GetFrameImage() : nullptr;
  if (m_mciMode || frame == nullptr) {
    return;
  }
  DrawingContextSaver saver(context);
  context.SetClipRect(rect);
  const VORRect source{0, 0, frame->GetWidth(), frame->GetHeight()};
  DibImage *mask = m_keyMask.IsValid() ? &m_keyMask : m_stream->GetFrameMask();
  const auto *info = reinterpret_cast<const BITMAPINFO *>(frame->GetInfo());
  for (const ImageFit::Placement &placement :
       ImageFit::Place(source, GetRect(), rect, ImageFitMode(Flags() & kFitMask), (Flags() & kKeepProportions) != 0)) {
    // GDI counts a bottom-up DIB's rows from its last row up.
    VORRect rows = placement.source;
    rows.top = frame->GetHeight() - placement.source.bottom;
    rows.bottom = frame->GetHeight() - placement.source.top;
    if (mask != nullptr) {
      context.StretchDIBitsMasked(placement.destination, rows, frame->GetPixels(), mask->GetPixels(), info,
                                  reinterpret_cast<const BITMAPINFO *>(mask->GetInfo()));
    } else {
      context.StretchDIBits(placement.destination, rows, frame->GetPixels(), info, DIB_RGB_COLORS, SRCCOPY);
    }
  }
}

void VORVideo::UpdateDrawFlags() {
  VORHotSpot::UpdateDrawFlags();
  const uint16_t flags = Flags();
  const VORRect rect = GetRect();
  const DibImage *frame = m_stream ? m_stream->GetFrameImage() : nullptr;
  const bool ownSize = frame != nullptr && frame->GetWidth() == rect.Width() && frame->GetHeight() == rect.Height();
  bool covers = ownSize;
  switch (flags & kFitMask) {
  case kTiled:
    covers = true;
    break;
  case kStretched:
    covers = !(flags & kKeepProportions) || ownSize;
    break;
  default:
    break;
  }
  if ((flags & kKeyColour) || !covers) {
    AddDrawFlags(DrawFlags::kNotCovering | DrawFlags::kNotFilling);
  }
}

// An external file counts when it is found; an internal resource always
// does.
bool VORVideo::IsEmpty(bool /*withChildren*/) {
  if (Flags() & kMciMode) {
    return true;
  }
  VORResourceObject *resource = MediaResource();
  if (resource == nullptr) {
    return true;
  }
  auto *external = dynamic_cast<VORExternalResourceObject *>(resource);
  return external != nullptr && external->GetFilePath().IsEmpty();
}

bool VORVideo::StretchesHorizontally() { return GetGraphicalProperties().horizontalSizing == 1; }

bool VORVideo::StretchesVertically() { return GetGraphicalProperties().verticalSizing == 1; }

bool VORVideo::SuitsDisplayDepth(int32_t bitsPerPixel) {
  const DibImage *frame = m_stream ? m_stream->GetFrameImage() : nullptr;
  if (bitsPerPixel != kPaletteDepth || frame == nullptr) {
    return true;
  }
  VORApp *app = VORApp::Get();
  return frame->GetBitsPerPixel() <= kPaletteDepth &&
         PictureChecks::ColorTableMatches(*frame, app != nullptr ? app->GetPalette() : nullptr);
}

void VORVideo::SetRect(const VORRect &rect) {
  VORHotSpot::SetRect(rect);
  if (m_mci.window != nullptr) {
    PlaceMciWindow();
  }
}
