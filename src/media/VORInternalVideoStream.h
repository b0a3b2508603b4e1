#pragma once

#include <cstdint>
#include <vector>

#include "images/InternalImageReader.h"
#include "media/XQVideoStream.h"

class VORResourceManager;

// The frames of an animation in the publication's own picture format, read
// from its resource: the header's timing value is the frame time in
// microseconds, and each frame may carry a display time of its own. With a
// key colour the reader keeps a mask of the current frame.
class VORInternalVideoStream : public XQVideoStream {
public:
  // keyColor: -1 none, an RGB value, or a palette index + 0x1000000.
  VORInternalVideoStream(uint32_t resourceHandle, int32_t keyColor, VORResourceManager *manager = nullptr);

  // The file's bytes, read from here instead of the resource.
  void SetMemoryCopy(std::vector<uint8_t> bytes) { m_reader.SetMemoryCopy(std::move(bytes)); }

  // Reads the header and shows frame 0; false, closed, when either fails.
  bool Open();
  void Close() override { m_reader.Close(); }
  bool IsOpen() const { return m_reader.IsOpen(); }

  bool HasVideo() const override { return true; }
  bool HasAudio() const override { return false; }
  void GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const override;
  const BitmapInfoHeader *GetFormat() override;
  // value: the frame's own display time in ms, or kNoDelay.
  bool ReadFrame(uint32_t index, int32_t &value) override;
  DibImage *GetFrameImage() override { return m_reader.GetFrameImage(); }
  DibImage *GetFrameMask() override { return m_reader.GetMaskImage(); }

private:
  InternalImageReader m_reader;
};
