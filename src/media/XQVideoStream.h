#pragma once

#include <cstdint>

#include "display/DibTypes.h"

class DibImage;

// Where a video object takes its frames from: a frame count and a frame
// time, the frame format, and frames decoded on request into one picture
// the stream owns.
class XQVideoStream {
public:
  // The display time a frame read gives when it has none of its own.
  static constexpr int32_t kNoDelay = -1;

  XQVideoStream() = default;
  XQVideoStream(const XQVideoStream &) = delete;
  XQVideoStream &operator=(const XQVideoStream &) = delete;
  virtual ~XQVideoStream() = default;

  virtual void Close() = 0;
  virtual bool HasVideo() const = 0;
  virtual bool HasAudio() const = 0;
  virtual void GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const = 0;
  // The frame format: a header followed by its colour table; owned by the
  // stream. Null when closed.
  virtual const BitmapInfoHeader *GetFormat() = 0;
  // Decodes frame index into the frame picture; value receives the frame's
  // own display time in ms, or kNoDelay. False when it cannot.
  virtual bool ReadFrame(uint32_t index, int32_t &value) = 0;
  virtual DibImage *GetFrameImage() = 0;
  // The transparency of the current frame, when the stream keeps one.
  virtual DibImage *GetFrameMask() { return nullptr; }
};
