#pragma once

#include "support/ProgramDriver.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// A page of a known size that the player shows centred in its view window's
// client area, looked at and pointed at as a person would, in the page's own
// coordinates (negative ones and those past its size fall in the margins).
// The client area is measured at each look: scroll bars may come and go
// while the page is laid out.
class CentredPage {
public:
  // waitMs: how long WaitForPixel waits for a colour.
  CentredPage(HWND window, SIZE size, DWORD waitMs = E2e::kWindowTimeoutMs)
      : m_window(window), m_size(size), m_waitMs(waitMs) {}

  // The colour (0xBBGGRR) the screen shows at a point of the page now.
  COLORREF Pixel(int x, int y) const;
  // Waits until the point shows the colour; false when it did not in time.
  bool WaitForPixel(int x, int y, COLORREF colour) const;
  // The colours the point shows, looked at every periodMs until it shows the
  // last colour (or the wait is up), the last one included: what a
  // transition passes through on its way.
  std::vector<COLORREF> SampleUntil(int x, int y, COLORREF last, DWORD periodMs = kSamplePeriodMs) const;
  static constexpr DWORD kSamplePeriodMs = 40;
  // The whole page as the screen shows it now: its 0xBBGGRR pixels, top row
  // first.
  std::vector<COLORREF> Screenshot() const;
  // Where a point of the page is on the screen.
  POINT ScreenPoint(int x, int y) const;
  // An xdotool "mousemove" to a point of the page, for Xdotool's arguments.
  std::string MouseMove(int x, int y) const;

  // Whether every channel of the colour lies between those of from and to
  // and at least one strictly between: a mix of the two.
  static bool IsBetween(COLORREF colour, COLORREF from, COLORREF to);
  // The distinct mixes of from and to among the samples.
  static std::set<COLORREF> MixedColours(const std::vector<COLORREF> &samples, COLORREF from, COLORREF to);

private:
  // The page's top-left corner in the client area.
  POINT Origin() const;

  HWND m_window;
  SIZE m_size;
  DWORD m_waitMs;
};
