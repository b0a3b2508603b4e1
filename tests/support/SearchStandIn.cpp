// The stand-in search component: a real DLL with the entries the player
// loads by name, one calling convention (cdecl) on both sides.
#include "support/SearchStandIn.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using ResultCallback = void(__cdecl *)(void *application, const int32_t *result);

std::vector<unsigned char> g_dictionary;
ResultCallback g_callback = nullptr;
void *g_application = nullptr;
int g_launches = 0;
int g_consumed = 0;
int g_refuseLaunches = 0;

} // namespace

extern "C" {

__declspec(dllexport) int __cdecl loadDictionary(const void *data, unsigned long size) {
  const auto *bytes = static_cast<const unsigned char *>(data);
  g_dictionary.assign(bytes, bytes + size);
  return 1;
}

__declspec(dllexport) int __cdecl launchSearcher(HWND /*window*/, ResultCallback callback, void *application) {
  ++g_launches;
  if (g_refuseLaunches)
    return 0;
  g_callback = callback;
  g_application = application;
  return 1;
}

__declspec(dllexport) void __cdecl isSearcherMessage(unsigned char *handled, const MSG *message) {
  if (message && message->message == SearchStandIn::kOwnMessage) {
    ++g_consumed;
    *handled = 1;
  }
}

__declspec(dllexport) unsigned long __cdecl standInDictionary(unsigned char *buffer, unsigned long size) {
  std::memcpy(buffer, g_dictionary.data(), std::min<size_t>(size, g_dictionary.size()));
  return static_cast<unsigned long>(g_dictionary.size());
}

__declspec(dllexport) int __cdecl standInLaunches() { return g_launches; }

__declspec(dllexport) int __cdecl standInConsumed() { return g_consumed; }

__declspec(dllexport) void __cdecl standInRefuseLaunches(int refuse) { g_refuseLaunches = refuse; }

__declspec(dllexport) void __cdecl standInAnswer(int32_t pageId) {
  if (!g_callback)
    return;
  if (pageId < 0) {
    g_callback(g_application, nullptr);
    return;
  }
  // The record's second word is the page id; the rest is the searcher's own.
  const int32_t result[] = {0x5EA7C4, pageId, 0};
  g_callback(g_application, result);
}

} // extern "C"
