#pragma once

#include <windows.h>

// A system library the program calls only now and then (OLE, the common
// dialogs), loaded at its first use instead of with the program: a library
// in the import table is loaded, with everything it imports in turn, before
// the program's first line runs, and under Wine the OLE family alone costs
// more than a tenth of a second of the time to the first page. A library
// once loaded stays for the life of the process.
class SystemLibrary {
public:
  explicit SystemLibrary(const char *name) : m_name(name) {}
  SystemLibrary(const SystemLibrary &) = delete;
  SystemLibrary &operator=(const SystemLibrary &) = delete;

  // The entry's address, or null when the library or the entry is missing.
  template <class Function>
  Function Find(const char *entry) {
    // Exported entries are plain functions; their types are the callers'.
    return reinterpret_cast<Function>(reinterpret_cast<void *>(FindAddress(entry)));
  }
  // True once the library has been loaded by a Find.
  bool IsLoaded() const { return m_module != nullptr; }

private:
  FARPROC FindAddress(const char *entry);

  const char *m_name;
  HMODULE m_module = nullptr;
};
