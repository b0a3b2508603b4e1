#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "images/InternalImageDecoder.h"

class VORResourceManager;

// Reads a picture or animation of the internal format from a publication
// resource (through the resource manager's blocks) or from a copy of the
// file in memory, and decodes its frames into a picture kept from frame to
// frame, with a one-bit mask rebuilt after each frame when there is a key
// colour.
class InternalImageReader {
public:
  // Enough of the file's start for the header and a short index.
  static constexpr uint32_t kShortOpenSize = 1096;
  static constexpr int32_t kNoFrame = -1;
  static constexpr int32_t kNoKey = -1;

  // keyColor: -1 none, an RGB value, or a palette index + 0x1000000.
  // manager: the resource manager to read through; null takes the
  // application's when the file is opened.
  InternalImageReader(uint32_t resourceHandle, int32_t keyColor, VORResourceManager *manager = nullptr);
  ~InternalImageReader();
  InternalImageReader(const InternalImageReader &) = delete;
  InternalImageReader &operator=(const InternalImageReader &) = delete;

  // The file's bytes, read from here instead of the resource.
  void SetMemoryCopy(std::vector<uint8_t> bytes) { m_memoryCopy = std::move(bytes); }

  // Closes first; reads the header and the index (whole: from a block of the
  // whole resource, else of its first bytes) and makes the picture and its
  // mask. False, with everything freed, when the file is not readable.
  bool Open(bool whole);
  void Close();
  bool IsOpen() const { return m_picture.IsValid(); }

  // The frame count and the header's timing value.
  void GetTiming(uint32_t &frameCount, uint32_t &timing) const;
  // Draws frame n over the picture; true at once when n is the current
  // frame. False for a frame number outside the file or a failed read; a
  // malformed frame leaves the picture as it was and counts as read.
  bool ReadFrame(int32_t frame);

  int32_t GetCurrentFrame() const { return m_currentFrame; }
  uint32_t GetPartCount() const { return m_frameInfo.partCount; }
  int32_t GetFrameTime() const { return m_frameInfo.time; }
  int32_t GetWidth() const { return m_picture.GetWidth(); }
  int32_t GetHeight() const { return m_picture.GetHeight(); }
  // Null while closed; the mask only with a key colour.
  DibImage *GetFrameImage() { return m_picture.IsValid() ? &m_picture : nullptr; }
  DibImage *GetMaskImage() { return m_mask.IsValid() ? &m_mask : nullptr; }

private:
  // A view of bytes of the file, from the memory copy or a locked block
  // (unlocked when the view goes).
  class FileBytes;

  VORResourceManager *Manager();
  bool ReadHeaderAndIndex(bool whole);
  bool MakePicture();

  uint32_t m_resourceHandle;
  int32_t m_keyColor;
  VORResourceManager *m_manager;
  std::vector<uint8_t> m_memoryCopy;
  uint64_t m_fileSize = 0;
  InternalImageDecoder::Header m_header;
  std::vector<uint32_t> m_frameOffsets;
  int32_t m_currentFrame = kNoFrame;
  InternalImageDecoder::FrameInfo m_frameInfo;
  DibImage m_picture;
  DibImage m_mask;
};
