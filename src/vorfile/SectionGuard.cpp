#include "vorfile/SectionGuard.h"

#include "vorfile/VORFile.h"
#include "vorfile/VORFileException.h"

SectionGuard::~SectionGuard() {
  // The guard may go while an exception unwinds: a failing close must not
  // end the program.
  try {
    Close();
  } catch (const VORFileException &) {
  }
}

void SectionGuard::Open(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData) {
  Close();
  m_file.OpenFolder(key, keyLength, create, inMemory, openData);
  m_opened = true;
}

void SectionGuard::Open(const VORObjectKey &reference, uint32_t keyLength, bool create, bool inMemory, bool openData) {
  if (keyLength > VORObjectKey::kSize)
    keyLength = VORObjectKey::kSize;
  if (m_file.IsBinary()) {
    uint8_t bytes[VORObjectKey::kSize];
    reference.ToBytes(bytes);
    Open(bytes, keyLength, create, inMemory, openData);
    return;
  }
  char text[VORObjectKey::kTextSize + 1];
  reference.ToText(text);
  Open(text, 2 * keyLength, create, inMemory, openData);
}

void SectionGuard::Close() {
  if (!m_opened)
    return;
  m_opened = false;
  m_file.CloseFolder();
}
