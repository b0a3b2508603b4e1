#pragma once

#include <windows.h>

#include <cstddef>

// Memory device contexts compatible with the screen, kept for reuse.
// Surfaces hold their device contexts only while they draw, so a page
// repaint makes and deletes a dozen of them, and under some systems each one
// costs tens of microseconds. A context handed back is returned to the state
// it had when new (its bitmap, pens, brushes, modes and clip put back), so
// the next user cannot tell it from a new one. GUI thread only.
namespace MemoryDCPool {

// The most contexts kept waiting; more are deleted when handed back.
constexpr size_t kKept = 32;

// A memory device context compatible with the screen, null when none can be
// made.
HDC Take();
// Hands back a context from Take; null is ignored.
void Give(HDC dc);
// Deletes the contexts kept waiting (the display's mode changed, or tests
// count the system's objects).
void Clear();
// How many contexts wait to be taken.
size_t WaitingCount();

} // namespace MemoryDCPool
