#pragma once

#include <cstdint>

// The outside Photo CD library, loaded by name for each picture and freed
// after it. Its entries use the standard Windows calling convention.
namespace PhotoCdLibrary {

constexpr const char *kLibraryName = "pcdlib32.dll";
// What the player asks of the library for every picture.
constexpr int32_t kResolution = 2;
constexpr int32_t kFormat = 2;
constexpr int32_t kFirstImage = 0;
// The error code of a library that is missing or lacks an entry, or that
// could not give the picture.
constexpr int32_t kCannotOpen = 201;

// Loads the picture at path through the library: true with a packed DIB in
// movable global memory (unlocked) in picture, false otherwise. errorWord
// reads kCannotOpen after every call, a successful one too: callers look at
// it only when the answer is false.
bool LoadPhotoCDImage(const char *path, void **picture, int32_t &errorWord);

} // namespace PhotoCdLibrary
