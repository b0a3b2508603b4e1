// The stand-in Photo CD library: the entries the player looks up, in the
// standard Windows calling convention, exported undecorated by a .def file.
#include "support/PhotoCdStandIn.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using Progress = int32_t(__stdcall *)(int32_t done, int32_t total, int32_t value);

struct Session {
  std::string path;
  Progress progress = nullptr;
  int32_t progressValue = 0;
};

std::string g_calls;

void Log(const std::string &call) {
  if (!g_calls.empty())
    g_calls += ' ';
  g_calls += call;
}

// A packed DIB of the known picture in movable global memory.
HGLOBAL MakePicture() {
  constexpr uint32_t kStride = 12; // 3 pixels of 3 bytes, padded to 4
  const uint8_t rows[PhotoCdStandIn::kHeight][kStride] = {
      {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0},
      {255, 255, 255, 0, 0, 0, PhotoCdStandIn::kOddBlue, PhotoCdStandIn::kOddGreen, PhotoCdStandIn::kOddRed, 0, 0, 0}};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = PhotoCdStandIn::kWidth;
  header.biHeight = PhotoCdStandIn::kHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = sizeof rows;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + sizeof rows);
  auto *bytes = static_cast<uint8_t *>(GlobalLock(block));
  std::memcpy(bytes, &header, sizeof header);
  std::memcpy(bytes + sizeof header, rows, sizeof rows);
  GlobalUnlock(block);
  return block;
}

} // namespace

extern "C" {

int32_t __stdcall PCDopen(const char *path, void **handle) {
  if (path == nullptr || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    Log("PCDopen(missing)");
    return 1;
  }
  Log("PCDopen");
  *handle = new Session{path};
  return 0;
}

int32_t __stdcall PCDsetProgress(void *handle, Progress progress, int32_t value) {
  Log("PCDsetProgress(" + std::to_string(value) + ")");
  static_cast<Session *>(handle)->progress = progress;
  static_cast<Session *>(handle)->progressValue = value;
  return 0;
}

int32_t __stdcall PCDsetResolution(void *, int32_t resolution) {
  Log("PCDsetResolution(" + std::to_string(resolution) + ")");
  return 0;
}

int32_t __stdcall PCDsetFormat(void *, int32_t format) {
  Log("PCDsetFormat(" + std::to_string(format) + ")");
  return 0;
}

int16_t __stdcall PCDloadImage(void *handle, int32_t image, HGLOBAL *picture) {
  auto *session = static_cast<Session *>(handle);
  Log("PCDloadImage(" + std::to_string(image) + ")");
  if (session->progress)
    Log("progress=" + std::to_string(session->progress(50, 100, session->progressValue)));
  if (session->path.find(PhotoCdStandIn::kUnreadableMark) != std::string::npos)
    return 3;
  *picture = MakePicture();
  return 0;
}

int32_t __stdcall PCDclose(void *handle) {
  Log("PCDclose");
  delete static_cast<Session *>(handle);
  return 0;
}

int32_t __stdcall PCDgetBlock(void *, int32_t, void *) {
  Log("PCDgetBlock");
  return 1;
}

int32_t __stdcall standInPhotoCdCalls(char *buffer, int32_t size) {
  if (size > 0) {
    const size_t copied = std::min(g_calls.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, g_calls.data(), copied);
    buffer[copied] = '\0';
  }
  return static_cast<int32_t>(g_calls.size());
}

void __stdcall standInPhotoCdReset() { g_calls.clear(); }

} // extern "C"
