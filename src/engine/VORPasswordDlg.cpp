#include "engine/VORPasswordDlg.h"

bool VORPasswordDlg::OnOK() {
  char text[kMaxTextBytes] = {};
  GetDlgItemTextA(GetWindow(), kEditId, text, sizeof text);
  m_password = VORString(text);
  return true;
}
