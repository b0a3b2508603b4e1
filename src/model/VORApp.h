#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"
#include "vorfile/VORString.h"

class ActionReceiverTable;
class PublicationFile;
class VORActionReceiver;
class VORFileManager;
class VORObjectAction;
class VORPublication;
class VORResourceManager;
class VORSoundManager;
// The system's window handle type (HWND is a pointer to it under STRICT),
// declared here so that this header stays free of the system headers.
struct HWND__; // NOLINT(bugprone-reserved-identifier): the system's own name

// The one interface through which the model and the objects reach the
// application. One object implements it per process (the player); it is
// reachable from the time it is built until it goes.
//
// The interface grows with the parts that need it; an operation is added
// here when its first caller is.
class VORApp {
public:
  VORApp();
  VORApp(const VORApp &) = delete;
  VORApp &operator=(const VORApp &) = delete;
  virtual ~VORApp();

  // The application, or null outside its lifetime.
  static VORApp *Get() { return s_app; }

  virtual VORResourceManager *GetResourceManager() = 0;
  virtual VORSoundManager *GetSoundManager() = 0;
  // The holder of the publication file; null before it is made.
  virtual PublicationFile *GetPublicationFileId() = 0;
  // Turns stored file names into paths and files.
  virtual VORFileManager *GetFileManager() = 0;
  // A file the publication needs is missing; an answer of 2 asks the caller
  // to look again.
  virtual int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) = 0;
  // Code 1: a resource block could not be loaded.
  virtual void ReportResourceError(int32_t code) = 0;
  // The table through which receivers are found by reference; may be null.
  virtual ActionReceiverTable *GetReceiverList() = 0;
  // The receiver an action with this target, raised in that view and page,
  // goes to; null when there is none.
  virtual VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                        const VORObjectCode &originPage) = 0;
  virtual VORPublication *GetPublication() = 0;
  // The millisecond time of the last tick of the main loop.
  virtual uint32_t GetTickTime() = 0;
  // Asks the user for a password; empty when cancelled.
  virtual VORString AskPassword() = 0;
  // The publication's named variables, by name without regard to case;
  // the same operations as the expression language's variable store, so
  // that one variable list answers both.
  virtual XQString GetVariableValue(const XQString &name) = 0;
  virtual void SetVariableValue(const XQString &name, const XQString &value) = 0;
  // False when the screen is palette-based.
  virtual bool IsTrueColorDisplay() = 0;
  // Hands the action to its receiver at once; true when it was handled.
  // Nothing is thrown out of it.
  virtual bool ExecuteAction(VORObjectAction & /*action*/) { return false; }
  // A view's window was asked to close (WM_CLOSE): the view may be
  // deleted before this returns.
  virtual void CloseView(HWND__ * /*window*/) {}

private:
  static VORApp *s_app;
};
