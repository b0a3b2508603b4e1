#include "images/InternalImageReader.h"

#include <algorithm>

#include "model/VORApp.h"
#include "model/VORResource.h"
#include "model/VORResourceBlock.h"
#include "model/VORResourceManager.h"

// Bytes [offset, offset + size) of the file: a slice of the memory copy, or
// a block of the resource locked for as long as the view lives.
class InternalImageReader::FileBytes {
public:
  FileBytes(InternalImageReader &reader, uint64_t offset, uint64_t size) {
    if (!reader.m_memoryCopy.empty()) {
      if (offset + size <= reader.m_memoryCopy.size()) {
        m_bytes = reader.m_memoryCopy.data() + offset;
        m_size = static_cast<uint32_t>(size);
      }
      return;
    }
    m_manager = reader.Manager();
    if (!m_manager || offset > UINT32_MAX || size == 0 || size > UINT32_MAX)
      return;
    m_block = m_manager->GetBlock(reader.m_resourceHandle, static_cast<uint32_t>(offset), static_cast<uint32_t>(size),
                                  0, 0, true, false);
    if (m_block == 0 || !m_manager->LockBlock(m_block)) {
      m_block = 0;
      return;
    }
    uint8_t *memory = nullptr;
    uint32_t blockSize = 0;
    uint32_t blockOffset = 0;
    if (m_manager->GetBlockInfo(m_block, memory, blockSize, blockOffset) && memory && blockOffset == offset) {
      m_bytes = memory;
      m_size = std::min(blockSize, static_cast<uint32_t>(size));
    }
  }
  ~FileBytes() {
    if (m_block != 0)
      m_manager->UnlockBlock(m_block);
  }
  FileBytes(const FileBytes &) = delete;
  FileBytes &operator=(const FileBytes &) = delete;

  const uint8_t *Bytes() const { return m_bytes; }
  uint32_t Size() const { return m_size; }
  bool Holds(uint64_t size) const { return m_bytes != nullptr && m_size >= size; }

private:
  VORResourceManager *m_manager = nullptr;
  uint32_t m_block = 0;
  const uint8_t *m_bytes = nullptr;
  uint32_t m_size = 0;
};

InternalImageReader::InternalImageReader(uint32_t resourceHandle, int32_t keyColor, VORResourceManager *manager)
    : m_resourceHandle(resourceHandle), m_keyColor(keyColor), m_manager(manager) {}

InternalImageReader::~InternalImageReader() = default;

VORResourceManager *InternalImageReader::Manager() {
  if (!m_manager && VORApp::Get())
    return VORApp::Get()->GetResourceManager();
  return m_manager;
}

bool InternalImageReader::Open(bool whole) {
  Close();
  if (ReadHeaderAndIndex(whole) && MakePicture())
    return true;
  Close();
  return false;
}

bool InternalImageReader::ReadHeaderAndIndex(bool whole) {
  if (!m_memoryCopy.empty()) {
    m_fileSize = m_memoryCopy.size();
  } else {
    VORResourceManager *manager = Manager();
    if (!manager)
      return false;
    const uint32_t size = manager->GetResourceSize(m_resourceHandle);
    if (size == VORResource::kUnknownSize || size == 0)
      return false;
    m_fileSize = size;
  }
  const uint64_t startSize = whole ? m_fileSize : std::min<uint64_t>(m_fileSize, kShortOpenSize);
  {
    FileBytes start(*this, 0, startSize);
    if (!start.Holds(startSize) || !InternalImageDecoder::ReadHeader(start.Bytes(), start.Size(), m_fileSize, m_header))
      return false;
  }
  FileBytes index(*this, m_header.indexOffset, m_header.indexLength);
  return index.Holds(m_header.indexLength) &&
         InternalImageDecoder::ReadIndex(index.Bytes(), index.Size(), m_header, m_fileSize, m_frameOffsets);
}

bool InternalImageReader::MakePicture() {
  if (!m_picture.Create(m_header.GetInfo()))
    return false;
  if (m_keyColor != kNoKey && !m_mask.CreateMask(m_header.GetInfo()))
    return false;
  return true;
}

void InternalImageReader::Close() {
  m_header = InternalImageDecoder::Header();
  m_frameOffsets.clear();
  m_picture.Release();
  m_mask.Release();
  m_currentFrame = kNoFrame;
  m_frameInfo = InternalImageDecoder::FrameInfo();
  m_fileSize = 0;
}

void InternalImageReader::GetTiming(uint32_t &frameCount, uint32_t &timing) const {
  frameCount = m_header.frameCount;
  timing = m_header.timing;
}

bool InternalImageReader::ReadFrame(int32_t frame) {
  if (frame == m_currentFrame && frame != kNoFrame)
    return true;
  if (frame < 0 || static_cast<uint32_t>(frame) >= m_header.frameCount || m_frameOffsets.empty() ||
      !m_picture.IsValid())
    return false;
  const uint64_t start = static_cast<uint64_t>(m_header.frameBase) + m_frameOffsets[static_cast<size_t>(frame)];
  const uint64_t size = m_frameOffsets[static_cast<size_t>(frame) + 1] - m_frameOffsets[static_cast<size_t>(frame)];
  if (size > 0) {
    FileBytes bytes(*this, start, size);
    if (!bytes.Holds(size))
      return false;
    InternalImageDecoder::DecodeFrame(bytes.Bytes(), bytes.Size(), m_picture, m_frameInfo);
  } else {
    m_frameInfo = InternalImageDecoder::FrameInfo();
  }
  if (m_keyColor != kNoKey)
    m_mask.MakeKeyMask(m_picture, static_cast<ColorRef>(m_keyColor));
  m_currentFrame = frame;
  return true;
}
