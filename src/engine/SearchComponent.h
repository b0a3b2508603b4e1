#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/XQString.h"

// The outside search component ("VORSearch.dll" in the program's folder),
// loaded when the publication carries a search dictionary. Its entries,
// one convention for both sides: the dictionary is handed over once at load
// (the component keeps its own copy); launchSearcher gets the window to show
// the searcher over, the callback and the application pointer to hand back
// with each result, and answers non-zero when the searcher is up; while the
// searcher runs every message is offered to it, and a non-zero handled byte
// keeps the message from the program. A result is null when the searcher
// was closed, else a record whose second 32-bit word is the id of the page
// to show. A missing component or entry leaves the feature out, silently.
class SearchComponent {
public:
  using ResultCallback = void(__cdecl *)(void *application, const int32_t *result);
  using LoadDictionaryEntry = int(__cdecl *)(const void *data, unsigned long size);
  using LaunchSearcherEntry = int(__cdecl *)(HWND window, ResultCallback callback, void *application);
  using IsSearcherMessageEntry = void(__cdecl *)(unsigned char *handled, const MSG *message);

  static constexpr const char *kDllName = "VORSearch.dll";

  SearchComponent() = default;
  ~SearchComponent();
  SearchComponent(const SearchComponent &) = delete;
  SearchComponent &operator=(const SearchComponent &) = delete;

  // Loads the component from the folder (ending in a separator); false when
  // it is not there.
  bool Load(const XQString &folder);
  bool IsLoaded() const { return m_module != nullptr; }
  // Whether the component takes a dictionary; the caller gives one up only
  // then.
  bool TakesDictionary() const;
  void LoadDictionary(const std::vector<uint8_t> &dictionary);
  bool IsDictionaryLoaded() const { return m_dictionaryLoaded; }

  // Shows the searcher over the window: true when it is up and running now.
  // Nothing happens without a dictionary or while it already runs. A result
  // that arrives inside the call ends the run at once (Ended).
  bool Launch(HWND window, ResultCallback callback, void *application);
  bool IsRunning() const { return m_running; }
  // The searcher gave its result or was closed.
  void Ended() { m_running = false; }

  // True when the running searcher took the message.
  bool Offer(const MSG &message) const;
  IsSearcherMessageEntry GetMessageFilter() const { return m_isSearcherMessage; }

private:
  HMODULE m_module = nullptr;
  bool m_dictionaryLoaded = false;
  bool m_running = false;
  IsSearcherMessageEntry m_isSearcherMessage = nullptr;
};
