#pragma once

#include <windows.h>

// The base of every dialog the player shows from its resources. One dialog
// procedure serves them all: it finds the object in the dialog's user-data
// slot and turns WM_INITDIALOG and WM_COMMAND into the virtual operations.
// OK and Cancel end a modal dialog with 1 and 2 when their handler agrees.
class XQDialog {
public:
  static constexpr INT_PTR kOk = 1;
  static constexpr INT_PTR kCancel = 2;

  // Stands in for the modal run in tests: given the dialog, it answers what
  // the run would (kOk, kCancel). Null runs the real dialog.
  using ModalHandler = INT_PTR (*)(XQDialog &dialog);

  XQDialog(HINSTANCE instance, int templateId, HWND parent)
      : m_instance(instance), m_templateId(templateId), m_parent(parent) {}
  XQDialog(const XQDialog &) = delete;
  XQDialog &operator=(const XQDialog &) = delete;
  // Destroys the dialog window when one is still there.
  virtual ~XQDialog();

  // DialogBoxParamA's answer; -1 when the template cannot be shown.
  INT_PTR RunModal();
  // The window of a modeless dialog, or null.
  HWND CreateModeless();

  // Replaces the modal run (null restores it); returns the previous handler.
  static ModalHandler SetModalHandler(ModalHandler handler);

  HWND GetWindow() const { return m_window; }
  int GetTemplateId() const { return m_templateId; }

protected:
  virtual bool OnInitDialog() { return true; }
  virtual bool OnOK() { return true; }
  virtual bool OnCancel() { return true; }
  virtual bool OnCommand(WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void CentreOnScreenTopmost(HWND window);

  HINSTANCE m_instance;
  int m_templateId;
  HWND m_parent;
  HWND m_window = nullptr;
};
