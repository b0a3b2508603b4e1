#pragma once

#include <cstdint>

// The picture formats the image loader tells apart by a file name's
// extension, in the order it compares them.
enum class ImageFileFormat : int32_t { kBmp, kPcx, kTga, kJpg, kCgm, kPng, kPcd, kCount, kUnknown = kCount };

// The text after the last "." of the path when that dot lies after the last
// backslash and is not the path's first character; null otherwise. Forward
// slashes are not separators.
const char *FindFileExtension(const char *path);

// The format an extension names, ignoring case; kUnknown for any other.
ImageFileFormat ImageFileFormatOf(const char *extension);
