#include "foundation/SystemLibrary.h"

FARPROC SystemLibrary::FindAddress(const char *entry) {
  if (m_module == nullptr)
    m_module = LoadLibraryA(m_name);
  return m_module != nullptr ? GetProcAddress(m_module, entry) : nullptr;
}
