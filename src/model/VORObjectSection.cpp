#include "model/VORObjectSection.h"

#include "vorfile/VORFile.h"

VORObjectSection::~VORObjectSection() {
  try {
    Close();
  } catch (...) {
    // Closing only frees what the folder held; nothing of it is worth
    // ending the program for while another failure unwinds.
  }
}

void VORObjectSection::Open(const VORObjectCode &reference, uint32_t keyLength, bool inMemory, bool openData) {
  Close();
  if (keyLength > VORObjectCode::kSize)
    keyLength = VORObjectCode::kSize;
  if (m_file.IsBinary()) {
    uint8_t key[VORObjectCode::kSize];
    reference.ToBytes(key);
    m_file.OpenFolder(key, keyLength, false, inMemory, openData);
  } else {
    char text[VORObjectCode::kTextSize + 1];
    reference.ToText(text);
    m_file.OpenFolder(text, 2 * keyLength, false, inMemory, openData);
  }
  m_opened = true;
}

void VORObjectSection::OpenNext(bool inMemory, bool openData) {
  Close();
  m_file.OpenFolder(nullptr, 0, false, inMemory, openData);
  m_opened = true;
}

void VORObjectSection::Close() {
  if (!m_opened)
    return;
  m_opened = false;
  m_file.CloseFolder();
}
