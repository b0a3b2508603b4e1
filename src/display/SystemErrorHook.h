#pragma once

#include <cstdint>

// Where the display layer reports a failed system call. The application sets
// the hook at start-up (its own error report); until then, and in tests that
// do not set one, reports go nowhere. Drawing goes on after every report.
enum SystemErrorCode : int32_t {
  kErrorWindowClassNotRegistered = 1,
  kErrorWindowNotCreated = 2,
  kErrorPenNotCreated = 3,
  kErrorBrushNotCreated = 4,
  kErrorClipRegionNotCreated = 5,
  kErrorNullPaletteSelected = 6,
  kErrorRestoreDCFailed = 7,
  kErrorBitmapNotCreated = 9,
  kErrorMemoryDCNotCreated = 10,
  kErrorBitBltFailed = 11,
  kErrorStretchBltFailed = 12,
  kErrorSelectObjectFailed = 14,
  kErrorStretchDIBitsFailed = 15,
  kErrorFontNotCreated = 16,
};

using SystemErrorHook = void (*)(int32_t code);

// Installs the hook (null: reports go nowhere); answers the one it replaced.
SystemErrorHook SetSystemErrorHook(SystemErrorHook hook);
void ReportSystemError(int32_t code);
