#pragma once

#include <cstdint>

#include "media/WaveFormat.h"

// The sound track of a video as its wave source reads it: PCM of a format,
// a length in bytes, and samples read on request.
class VideoSoundTrack {
public:
  virtual ~VideoSoundTrack() = default;
  // The PCM the track delivers (a compressed track delivers it converted).
  virtual const WaveFormat &GetSoundFormat() const = 0;
  virtual uint32_t GetSoundDataSize() const = 0;
  // The stream's initial frames: how far the sound runs ahead of the video.
  virtual uint32_t GetSoundInitialFrames() const = 0;
  virtual uint32_t GetVideoMicrosecondsPerFrame() const = 0;
  // As AviAudioReader::Read.
  virtual bool ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) = 0;
};
