#pragma once

#include <cstdint>
#include <memory>

#include "images/ImageFileFormat.h"
#include "vorfile/XQImageFile.h"

// Turns a picture file into a packed DIB in movable global memory, choosing
// the reader by the file name's extension: BMP is read here, Photo CD
// through the outside Photo CD library, the other formats by the readers the
// program installs (the full player's import filters; the compact player and
// the screen saver install none, so those files do not load there). The
// loader owns the picture: it frees it before each load and when it goes.
class ImageLoader : public XQImageFile::Loader {
public:
  // Answers of LoadFile.
  static constexpr int32_t kNotLoaded = 0;
  static constexpr int32_t kLoaded = 1;
  // Error codes.
  static constexpr int32_t kCannotOpen = 201;
  static constexpr int32_t kNotBmp = 300;

  // A reader installed from outside: converts the named file and answers 0
  // with a packed DIB in movable global memory (unlocked) in picture, or a
  // non-zero result code. Whatever else it produces it frees itself.
  using FormatReader = uint16_t (*)(const char *path, void **picture);
  // Installs (or, with null, removes) the reader of a format; BMP and Photo
  // CD are this loader's own and cannot be replaced. Answers the previous one.
  static FormatReader SetFormatReader(ImageFileFormat format, FormatReader reader);
  // Whether a format has a reader: BMP and Photo CD always, the others once
  // installed.
  static bool HasFormatReader(ImageFileFormat format);
  // The progress callback the installed readers are given: the player shows
  // no progress and never cancels a load.
  static int32_t ImageProgressAdapter(int32_t done, int32_t total);
  // The file layer's loader factory (XQImageFile::SetLoaderFactory).
  static std::unique_ptr<XQImageFile::Loader> Make();

  ImageLoader() = default;
  ~ImageLoader() override;
  ImageLoader(const ImageLoader &) = delete;
  ImageLoader &operator=(const ImageLoader &) = delete;

  // kLoaded with the picture held, else kNotLoaded without one. A name with
  // no extension, or an extension no reader handles, does not load.
  int32_t LoadFile(const char *path);
  // The last error code of a reader that reports one (BMP, Photo CD, PCX,
  // CGM); 0 until one does.
  int32_t GetErrorWord() const { return m_errorWord; }

  bool Load(const char *path) override { return LoadFile(path) == kLoaded; }
  const uint8_t *GetImage() const override { return m_image; }
  uint32_t GetImageBlockSize() const override;

private:
  void FreeImage();
  // Each answers kLoaded or kNotLoaded and sets the image and error word.
  int32_t LoadBmpFile(const char *path);
  int32_t LoadPhotoCdFile(const char *path);
  int32_t LoadWithReader(ImageFileFormat format, const char *path);
  // Locks a movable block and holds it as the picture.
  int32_t TakePicture(void *picture);

  uint8_t *m_image = nullptr; // locked packed DIB, or null
  int32_t m_errorWord = 0;
};
