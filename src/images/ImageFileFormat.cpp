#include "images/ImageFileFormat.h"

#include <cctype>
#include <cstring>

namespace {

constexpr const char *kExtensions[static_cast<int32_t>(ImageFileFormat::kCount)] = {"BMP", "PCX", "TGA", "JPG",
                                                                                    "CGM", "PNG", "PCD"};

bool EqualsIgnoringCase(const char *a, const char *b) {
  for (; *a && *b; ++a, ++b) {
    if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
      return false;
  }
  return *a == *b;
}

} // namespace

const char *FindFileExtension(const char *path) {
  if (path == nullptr)
    return nullptr;
  const char *dot = std::strrchr(path, '.');
  const char *backslash = std::strrchr(path, '\\');
  if (dot == nullptr || dot == path || (backslash != nullptr && dot < backslash))
    return nullptr;
  return dot + 1;
}

ImageFileFormat ImageFileFormatOf(const char *extension) {
  if (extension == nullptr)
    return ImageFileFormat::kUnknown;
  for (int32_t i = 0; i < static_cast<int32_t>(ImageFileFormat::kCount); ++i) {
    if (EqualsIgnoringCase(extension, kExtensions[i]))
      return static_cast<ImageFileFormat>(i);
  }
  return ImageFileFormat::kUnknown;
}
