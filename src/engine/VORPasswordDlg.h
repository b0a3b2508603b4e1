#pragma once

#include <windows.h>

#include "foundation/XQDialog.h"
#include "vorfile/VORString.h"

// The password dialog (template 101): the exit password and the
// publication's chapter passwords are typed into its edit field.
class VORPasswordDlg : public XQDialog {
public:
  static constexpr int kTemplateId = 101;
  static constexpr int kEditId = 1128;
  // The most bytes of the typed text that are kept.
  static constexpr int kMaxTextBytes = 1024;

  VORPasswordDlg(HINSTANCE instance, HWND parent) : XQDialog(instance, kTemplateId, parent) {}

  // What was typed when OK was pressed; empty otherwise.
  const VORString &GetPassword() const { return m_password; }
  // Stands in for typing, for tests that answer without the dialog.
  void SetPassword(const char *text) { m_password = VORString(text); }

protected:
  bool OnOK() override;

private:
  VORString m_password;
};
