#pragma once

#include <cstdint>
#include <memory>

#include "display/DibImage.h"
#include "display/VORRunView.h"
#include "engine/VORUpdateTarget.h"
#include "foundation/XQString.h"
#include "media/VideoPlayback.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

struct HPALETTE__; // NOLINT(bugprone-reserved-identifier): the system's own name
class VORResourceObject;
class VORVideoObjectAction;
class VORVideoWaveSource;
class XQVideoStream;

// A hotspot that plays a video resource in its rectangle, drawing frame by
// frame from a video stream (an AVI file through the system's AVI library,
// a FLI/FLC animation, or an animation of the publication's own picture
// format), timed by its sound track when it plays one, else by the clock;
// or, in MCI mode, handing the file to an MCI device that plays it into a
// child window of the view. It takes play, stop and seek actions, repeats,
// and announces its start and end with the synchronisation actions 700 and
// 701.
class VORVideo : public VORHotSpot, public VORUpdateTarget, public VORRunView::ChildWindowCallback {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 5;
  enum VideoFlag : uint16_t {
    kFitMask = 0x03,
    kKeepProportions = 0x04,
    kPlayWhenShown = 0x08,
    kMciMode = 0x10,
    kKeyColour = 0x20,
    kSkipFrames = 0x40,
    kOpenOnPlay = 0x80,
  };
  // The fit modes of the flags' two low bits.
  enum FitMode : uint16_t { kOwnSize = 0, kTiled = 1, kStretched = 2, kCentred = 3 };
  enum ActionCode : int32_t { kPlay = 200, kStop = 201, kSeek = 204 };
  // The resource kinds a stream is made for.
  static constexpr int32_t kAviKind = 6;
  static constexpr int32_t kFlicKind = 7;
  static constexpr uint32_t kNoKeyColour = 0xFFFFFFFF;
  // The codes an MCI failure is reported with: the open, a later command.
  static constexpr int32_t kMciOpenFailed = 3;
  static constexpr int32_t kMciCommandFailed = 4;
  // Sends one MCI command as mciSendCommandA does; 0 is success.
  using MciSender = uint32_t (*)(uint32_t device, uint32_t message, uintptr_t flags, void *parameters);
  // Tests put their own device in place of the system's; null restores it.
  static MciSender SetMciSender(MciSender sender);

  class VORVideoProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    VORVideoProperties() = default;
    VORVideoProperties(const VORVideoProperties &) = default;
    VORVideoProperties &operator=(const VORVideoProperties &) = default;
    ~VORVideoProperties() override;

    // The hotspot record, then the flags, the repeat count, the key colour
    // and the no-sound byte, each taking its default when the record ends
    // before it.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORVideoProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint16_t videoFlags = 0;
    int16_t repeatCount = 0;
    uint32_t keyColor = kNoKeyColour;
    uint8_t noSound = 0;
  };

  VORVideo(uint32_t classKey, int32_t id);
  // The copy is closed and plays nothing.
  VORVideo(const VORVideo &other);
  ~VORVideo() override;

  VORVideoProperties &GetVideoProperties();
  const VORVideoProperties &GetVideoProperties() const;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void OnPageShown() override;
  void Show(int32_t depth) override;
  void Hide(int32_t depth) override;
  void DrawContent(const VORRect &rect, DrawingContext &context) override;
  void UpdateDrawFlags() override;
  bool IsEmpty(bool withChildren) override;
  bool StretchesHorizontally() override;
  bool StretchesVertically() override;
  // At 8 bits a frame suits only when it has 8 bits and the application
  // palette's colours.
  bool SuitsDisplayDepth(int32_t bitsPerPixel) override;
  void SetRect(const VORRect &rect) override;
  void Update(uint32_t &nextDue) override;
  // The MCI device's notifications reach the object through its child window.
  bool OnChildWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  // Makes the stream for the resource's kind, or in MCI mode opens the MCI
  // device and its window; false when it cannot.
  bool Open();
  void Close();
  void Play(int32_t fromMs, int32_t toMs);
  // keepOpen: a play that restarts keeps the stream.
  void Stop(bool keepOpen);
  void Seek(int32_t positionMs, int32_t mode);

  bool IsOpen() const { return m_open; }
  bool IsMciMode() const { return m_mciMode; }
  uint32_t GetMciDevice() const { return m_mci.device; }
  HWND__ *GetMciWindow() const { return m_mci.window; }
  bool IsPlaying() const { return m_playing; }
  const VideoPlayback &GetPlayback() const { return m_playback; }
  XQVideoStream *GetStream() const { return m_stream.get(); }
  VORVideoWaveSource *GetWaveSource() const { return m_waveSource.get(); }

private:
  // The resource the video plays: its first resource child.
  VORResourceObject *MediaResource() const;
  bool LoadStream(VORResourceObject &resource);
  bool OpenStream();
  bool ReadResourceKind(VORResourceObject &resource, int32_t &kind);
  bool ReadCurrentFrame();
  void StartSound();
  void StopSound();
  uint32_t Elapsed(uint32_t now);
  void PostPlay();
  bool Interactive() const;
  uint16_t Flags() const { return GetVideoProperties().videoFlags; }

  // The MCI mode (VORVideoMci.cpp).
  VORRunView *InteractiveRunView() const;
  bool OpenMci();
  bool OpenMciWindow(VORRunView &view);
  void CloseMci();
  void PlayMci(int32_t fromMs, int32_t toMs);
  void PauseMci();
  void SeekMci(int32_t positionMs, int32_t mode);
  void OnMciNotify(uint32_t code);
  bool SendMciPlay(int32_t fromMs, int32_t toMs);
  VORRect MciPlacement();
  void PutMciDestination();
  void PlaceMciWindow();
  void RepaintMciWindow();
  uint32_t SendMci(uint32_t message, uintptr_t flags, void *parameters) const;
  void ReportMciFailure(int32_t code);

  struct MciState {
    uint32_t device = 0;
    HWND__ *window = nullptr;
    HPALETTE__ *palette = nullptr;
    VORRunView *view = nullptr;
    bool flic = false;
    XQString path;
    // Where the window shows, in page coordinates.
    VORRect placed;
    // The span a repeat plays again (ms; -1: from the start, to the end).
    int32_t from = -1;
    int32_t to = -1;
    int32_t repeatsLeft = 0;
  };

  std::unique_ptr<XQVideoStream> m_stream;
  std::unique_ptr<VORVideoWaveSource> m_waveSource;
  VORResourceObject *m_lockedResource = nullptr;
  DibImage m_keyMask;
  VideoPlayback m_playback;
  bool m_mciMode = false;
  MciState m_mci;
  bool m_open = false;
  bool m_playing = false;
  bool m_soundPlaying = false;
  uint32_t m_soundStartFrame = 0;
};

using VORPlayerVideo = VORPlayerForm<VORVideo, VORVideo::VORVideoProperties>;
