#include "images/ImageLoader.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "images/BmpReader.h"
#include "images/PhotoCdLibrary.h"
#include "vorfile/XQWin32File.h"

namespace {

constexpr int32_t kFormatCount = static_cast<int32_t>(ImageFileFormat::kCount);

ImageLoader::FormatReader g_readers[kFormatCount] = {};

// Which installed readers' result codes become the error word; the others
// tell a failure by the answer alone.
constexpr bool kReportsError[kFormatCount] = {true, true, false, false, true, false, true};

// The whole file's bytes; false when it cannot be opened or read.
bool ReadWholeFile(const char *path, std::vector<uint8_t> &bytes) {
  XQWin32File file(path);
  if (!file.Open(XQFile::kRead))
    return false;
  uint32_t size = 0;
  int32_t time = 0;
  bool read = file.GetSizeAndTime(size, time);
  if (read) {
    bytes.resize(size);
    uint32_t done = 0;
    while (read && done < size) {
      uint32_t got = 0;
      read = file.Read(bytes.data() + done, size - done, got) && got > 0;
      done += got;
    }
  }
  file.Close();
  return read;
}

} // namespace

ImageLoader::FormatReader ImageLoader::SetFormatReader(ImageFileFormat format, FormatReader reader) {
  if (format == ImageFileFormat::kBmp || format == ImageFileFormat::kPcd || format == ImageFileFormat::kUnknown)
    return nullptr;
  return std::exchange(g_readers[static_cast<int32_t>(format)], reader);
}

bool ImageLoader::HasFormatReader(ImageFileFormat format) {
  if (format == ImageFileFormat::kBmp || format == ImageFileFormat::kPcd)
    return true;
  return format != ImageFileFormat::kUnknown && g_readers[static_cast<int32_t>(format)] != nullptr;
}

int32_t ImageLoader::ImageProgressAdapter(int32_t /*done*/, int32_t /*total*/) { return 0; }

std::unique_ptr<XQImageFile::Loader> ImageLoader::Make() { return std::make_unique<ImageLoader>(); }

ImageLoader::~ImageLoader() { FreeImage(); }

void ImageLoader::FreeImage() {
  if (m_image == nullptr)
    return;
  HGLOBAL block = ::GlobalHandle(m_image);
  ::GlobalUnlock(block);
  ::GlobalFree(block);
  m_image = nullptr;
}

uint32_t ImageLoader::GetImageBlockSize() const {
  return m_image ? static_cast<uint32_t>(::GlobalSize(::GlobalHandle(m_image))) : 0;
}

int32_t ImageLoader::LoadFile(const char *path) {
  FreeImage();
  // A name without an extension is a failure like any other: no picture.
  const ImageFileFormat format = ImageFileFormatOf(FindFileExtension(path));
  switch (format) {
  case ImageFileFormat::kBmp:
    return LoadBmpFile(path);
  case ImageFileFormat::kPcd:
    return LoadPhotoCdFile(path);
  case ImageFileFormat::kUnknown:
    return kNotLoaded;
  default:
    return LoadWithReader(format, path);
  }
}

int32_t ImageLoader::TakePicture(void *picture) {
  m_image = static_cast<uint8_t *>(::GlobalLock(static_cast<HGLOBAL>(picture)));
  if (m_image == nullptr) {
    ::GlobalFree(static_cast<HGLOBAL>(picture));
    return kNotLoaded;
  }
  return kLoaded;
}

int32_t ImageLoader::LoadBmpFile(const char *path) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file)) {
    m_errorWord = kCannotOpen;
    return kNotLoaded;
  }
  BmpReader reader;
  if (!reader.Parse(file.data(), file.size())) {
    m_errorWord = kNotBmp;
    return kNotLoaded;
  }
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, reader.GetPackedSize());
  if (block == nullptr)
    return kNotLoaded;
  if (TakePicture(block) == kNotLoaded)
    return kNotLoaded;
  reader.Decode(m_image);
  return kLoaded;
}

int32_t ImageLoader::LoadPhotoCdFile(const char *path) {
  void *picture = nullptr;
  if (!PhotoCdLibrary::LoadPhotoCDImage(path, &picture, m_errorWord))
    return kNotLoaded;
  return TakePicture(picture);
}

int32_t ImageLoader::LoadWithReader(ImageFileFormat format, const char *path) {
  const int32_t index = static_cast<int32_t>(format);
  FormatReader reader = g_readers[index];
  if (reader == nullptr)
    return kNotLoaded;
  void *picture = nullptr;
  const uint16_t result = reader(path, &picture);
  if (result != 0 || picture == nullptr) {
    if (kReportsError[index] && result != 0)
      m_errorWord = result;
    return kNotLoaded;
  }
  return TakePicture(picture);
}
