#pragma once

#include <cstdint>

// The kinds of media file, one numbering for the resource manager, the
// resource files and the media objects.
namespace VORFileKind {

constexpr int32_t kOther = 1;
constexpr int32_t kPictureFile = 2; // read as a packed DIB
constexpr int32_t kWindowsMetafile = 3;
constexpr int32_t kEnhancedMetafile = 4;
constexpr int32_t kWave = 5;
constexpr int32_t kAvi = 6;
constexpr int32_t kFlic = 7;
constexpr int32_t kMidi = 8;
constexpr int32_t kText = 9;
constexpr int32_t kShellMedia = 10; // played by the shell's open
constexpr int32_t kInternalPicture = 12;
constexpr int32_t kInternalVideo = 13;
constexpr int32_t kCdr = 14;
constexpr int32_t kRichText = 15;

} // namespace VORFileKind
