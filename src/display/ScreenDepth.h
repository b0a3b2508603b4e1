#pragma once

#include <cstdint>

// The screen's bits per pixel, asked of the system once and then kept:
// every surface made asks it, and under some systems each question costs a
// trip to the display driver of a tenth of a millisecond or more, a dozen
// of them for every page shown. The player's own mode changes keep the
// depth; a change made by another program reaches the windows as
// WM_DISPLAYCHANGE, and the view forgets the kept answer then.
namespace ScreenDepth {

int32_t Get();
// The next Get asks the system again.
void Forget();

} // namespace ScreenDepth
