#pragma once

#include <string>

#include "model/VORRecursiveObjectContainer.h"
#include "objects/VORButton.h"
#include "objects/VORScrollbar.h"
#include "objects/VORSimpleHotSpot.h"
#include "objects/VORText.h"

// A text of twenty lines at (0, 0, 200, 100), its first word the link 5,
// scrolled by a scrollbar at (200, 0, 220, 100) whose parts are an up
// button 3, a down button 4, a track 5 (a hotspot that draws nothing) and a
// thumb 6 (a grey button). Laid out, the buttons are 20 pixels tall and the
// track runs from 20 to 80.
struct ScrolledText {
  static constexpr VORObjectCode kTextCode{1, 4, 1};
  static constexpr VORObjectCode kBarCode{1, 0x10, 2};
  static constexpr int32_t kLinkId = 5;

  // The scrollbar is the caller's (of the class it wants) and goes with the
  // text into level.
  ScrolledText(VORRecursiveObjectContainer &level, VORPlayerScrollbar *scrollbar);

  VORPlayerText *text;
  VORPlayerScrollbar *bar;
  VORPlayerButton *up;
  VORPlayerButton *down;
  VORPlayerSimpleHotSpot *track;
  VORPlayerButton *thumb;
};
