#include "engine/SearchComponent.h"

namespace {

// LoadLibraryA's results up to this value are error codes of the 16-bit era.
constexpr UINT_PTR kLastLoadError = 31;

template <class Entry>
Entry FindEntry(HMODULE module, const char *name) {
  // The entries are plain functions exported by name; their types are the
  // ones declared with the component.
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

} // namespace

SearchComponent::~SearchComponent() {
  if (m_module)
    FreeLibrary(m_module);
}

bool SearchComponent::Load(const XQString &folder) {
  if (m_module)
    return true;
  XQString path(folder);
  path.AppendText(kDllName);
  HMODULE module = LoadLibraryA(path.CStr());
  if (reinterpret_cast<UINT_PTR>(module) <= kLastLoadError)
    return false;
  m_module = module;
  m_isSearcherMessage = FindEntry<IsSearcherMessageEntry>(m_module, "isSearcherMessage");
  return true;
}

bool SearchComponent::TakesDictionary() const {
  return m_module && FindEntry<LoadDictionaryEntry>(m_module, "loadDictionary") != nullptr;
}

void SearchComponent::LoadDictionary(const std::vector<uint8_t> &dictionary) {
  auto loadDictionary = m_module ? FindEntry<LoadDictionaryEntry>(m_module, "loadDictionary") : nullptr;
  if (!loadDictionary)
    return;
  loadDictionary(dictionary.data(), static_cast<unsigned long>(dictionary.size()));
  m_dictionaryLoaded = true;
}

bool SearchComponent::Launch(HWND window, ResultCallback callback, void *application) {
  if (!m_dictionaryLoaded || m_running || !m_module)
    return false;
  auto launch = FindEntry<LaunchSearcherEntry>(m_module, "launchSearcher");
  if (!launch)
    return false;
  // Running from here on, so that a result given inside the call finds it
  // so and ends it; a launch that failed leaves nothing running, or the
  // searcher could never be launched again and would filter every message.
  m_running = true;
  if (launch(window, callback, application) == 0)
    m_running = false;
  return m_running;
}

bool SearchComponent::Offer(const MSG &message) const {
  if (!m_running || !m_isSearcherMessage)
    return false;
  unsigned char handled = 0;
  m_isSearcherMessage(&handled, &message);
  return handled != 0;
}
