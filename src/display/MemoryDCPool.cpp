#include "display/MemoryDCPool.h"

#include <vector>

namespace {

// The state every kept context goes back to: the one it had when made.
constexpr int kNewState = 1;

std::vector<HDC> &Waiting() {
  static std::vector<HDC> waiting;
  return waiting;
}

} // namespace

namespace MemoryDCPool {

HDC Take() {
  std::vector<HDC> &waiting = Waiting();
  if (!waiting.empty()) {
    HDC dc = waiting.back();
    waiting.pop_back();
    return dc;
  }
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (dc != nullptr && ::SaveDC(dc) != kNewState) {
    ::DeleteDC(dc);
    return nullptr;
  }
  return dc;
}

void Give(HDC dc) {
  if (dc == nullptr) {
    return;
  }
  std::vector<HDC> &waiting = Waiting();
  // Restoring pops the saved state: it is saved again for the next return.
  if (waiting.size() >= kKept || !::RestoreDC(dc, kNewState) || ::SaveDC(dc) != kNewState) {
    ::DeleteDC(dc);
    return;
  }
  waiting.push_back(dc);
}

void Clear() {
  for (HDC dc : Waiting()) {
    ::DeleteDC(dc);
  }
  Waiting().clear();
}

size_t WaitingCount() { return Waiting().size(); }

} // namespace MemoryDCPool
