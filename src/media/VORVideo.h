#pragma once

#include <cstdint>
#include <memory>

#include "display/DibImage.h"
#include "engine/VORUpdateTarget.h"
#include "media/VideoPlayback.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

class VORResourceObject;
class VORVideoObjectAction;
class VORVideoWaveSource;
class XQVideoStream;

// A hotspot that plays a video resource in its rectangle, drawing frame by
// frame from a video stream (an AVI file through the system's AVI library,
// or a FLI/FLC animation), timed by its sound track when it plays one, else
// by the clock. It takes play, stop and seek actions, repeats, and
// announces its start and end with the synchronisation actions 700 and 701.
class VORVideo : public VORHotSpot, public VORUpdateTarget {
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
  void Update(uint32_t &nextDue) override;

  // Makes the stream for the resource's kind; false when it cannot.
  bool Open();
  void Close();
  void Play(int32_t fromMs, int32_t toMs);
  // keepOpen: a play that restarts keeps the stream.
  void Stop(bool keepOpen);
  void Seek(int32_t positionMs, int32_t mode);

  bool IsOpen() const { return m_open; }
  bool IsPlaying() const { return m_playing; }
  const VideoPlayback &GetPlayback() const { return m_playback; }
  XQVideoStream *GetStream() const { return m_stream.get(); }
  VORVideoWaveSource *GetWaveSource() const { return m_waveSource.get(); }

private:
  VORResourceObject *LinkedResource();
  bool LoadStream(VORResourceObject &resource);
  bool ReadCurrentFrame();
  void StartSound();
  void StopSound();
  uint32_t Elapsed(uint32_t now);
  void PostPlay();
  bool Interactive() const;
  uint16_t Flags() const { return GetVideoProperties().videoFlags; }

  std::unique_ptr<XQVideoStream> m_stream;
  std::unique_ptr<VORVideoWaveSource> m_waveSource;
  VORResourceObject *m_lockedResource = nullptr;
  DibImage m_keyMask;
  VideoPlayback m_playback;
  bool m_open = false;
  bool m_playing = false;
  bool m_soundPlaying = false;
  uint32_t m_soundStartFrame = 0;
};

using VORPlayerVideo = VORPlayerForm<VORVideo, VORVideo::VORVideoProperties>;
