#pragma once

#include <cstdint>
#include <memory>

#include "vorfile/XQFile.h"

// A read-only file whose bytes are a picture converted to a packed DIB: the
// 40-byte header, the colour table, then the rows. The picture is loaded
// when the file is first opened and freed at the last close.
class XQImageFile : public XQFile {
public:
  // What the file needs of an image loader.
  class Loader {
  public:
    virtual ~Loader() = default;
    // Converts the named picture; true when a packed DIB came of it.
    virtual bool Load(const char *path) = 0;
    // The packed DIB, held until the loader is destroyed or loads again.
    virtual const uint8_t *GetImage() const = 0;
    // The size of the memory block holding the DIB: no read goes beyond it.
    virtual uint32_t GetImageBlockSize() const = 0;
  };
  using LoaderFactory = std::unique_ptr<Loader> (*)();

  // The image layer sits above the file layer, so the program installs the
  // loader; without one no picture opens. Answers the previous factory.
  static LoaderFactory SetLoaderFactory(LoaderFactory factory);
  static LoaderFactory GetLoaderFactory();

  // Where this file reports misuse.
  static constexpr const char *kSourceName = "vorfile\\XQImageFile";
  static constexpr int32_t kReadWhileClosedLine = 128;
  static constexpr int32_t kWriteLine = 144;
  static constexpr int32_t kSeekFromEndLine = 163;

  explicit XQImageFile(const char *name) : XQFile(name) {}
  ~XQImageFile() override;

  // The mode is ignored: the file is read-only.
  bool Open(uint32_t modeFlags) override;
  void Close() override;
  // Copies from the position without moving it: callers seek before each
  // read. False at or past the end. Throws VORFileAssertException when the
  // file is not open.
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  // Always throws VORFileAssertException.
  bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) override;
  // Origin 0 sets, 1 adds, 2 throws VORFileAssertException; a target
  // before the start or at or past the length answers false.
  bool Seek(int32_t offset, int32_t origin) override;
  // The length of the packed DIB (by one Open and Close when not yet known)
  // and the picture file's modification time.
  bool GetSizeAndTime(uint32_t &size, int32_t &time) override;
  bool Exists() override;
  int32_t Tell() override { return static_cast<int32_t>(m_position); }
  // Another image file of the same name whose picture has the same
  // modification time.
  bool IsSameFile(XQFile &other) override;

private:
  // The picture file's modification time, taken once; -1 when unknown.
  int32_t KnownTime();

  uint32_t m_position = 0;
  std::unique_ptr<Loader> m_loader;
};
