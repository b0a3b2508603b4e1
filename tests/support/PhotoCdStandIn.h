#pragma once

#include <cstdint>

// The stand-in Photo CD library built for the tests (pcdlib32.dll in the
// "standin-pcd" folder beside the test programs; the one in
// "standin-pcd-partial" lacks PCDsetFormat). It gives every file that exists
// the same small picture and keeps a log of the calls it was given, which
// the tests read through its controls. A file whose name holds "unreadable"
// opens but its picture does not load.
namespace PhotoCdStandIn {

constexpr const char *kFolder = "standin-pcd\\";
constexpr const char *kPartialFolder = "standin-pcd-partial\\";
constexpr const char *kFileName = "pcdlib32.dll";
constexpr const char *kUnreadableMark = "unreadable";

// The picture: 3 x 2 pixels, 24 bits, bottom row red, green, blue; top row
// white, black and this colour (red, green, blue).
constexpr int32_t kWidth = 3;
constexpr int32_t kHeight = 2;
constexpr uint8_t kOddRed = 0x12;
constexpr uint8_t kOddGreen = 0x34;
constexpr uint8_t kOddBlue = 0x56;

// Copies the call log (names separated by spaces) into buffer; answers its length.
using CallsControl = int32_t(__stdcall *)(char *buffer, int32_t size);
// Empties the call log.
using ResetControl = void(__stdcall *)();

} // namespace PhotoCdStandIn
