#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"
#include "vorfile/VORString.h"

class ActionReceiverTable;
class Palette;
class PublicationFile;
class VORActionCondition;
class VORActionReceiver;
class VORFileManager;
class VORFXManager;
class VORObjectAction;
class VORPageManager;
class VORPublication;
class VORResourceManager;
class VORSoundManager;
class VORTransitionMaker;
class VORUpdateController;
class VORVariableList;
// The system's window and module handle types (HWND and HINSTANCE are
// pointers to them under STRICT), declared here so that this header stays free of the system headers.
struct HWND__;      // NOLINT(bugprone-reserved-identifier): the system's own name
struct HINSTANCE__; // NOLINT(bugprone-reserved-identifier): the system's own name

// The one interface through which the model and the objects reach the
// application. One object implements it per process (the player); it is
// reachable from the time it is built until it goes.
//
// The interface grows with the parts that need it; an operation is added
// here when its first caller is.
class VORApp {
public:
  // The version the player answers: 4.0.
  static constexpr uint32_t kVersion = 0x40000;

  VORApp();
  VORApp(const VORApp &) = delete;
  VORApp &operator=(const VORApp &) = delete;
  virtual ~VORApp();

  // The application, or null outside its lifetime.
  static VORApp *Get() { return s_app; }

  virtual VORResourceManager *GetResourceManager() = 0;
  virtual VORSoundManager *GetSoundManager() = 0;
  // The registry of transition effects; it belongs to a later layer, so the
  // program hands it to the application. Null when there is none: every
  // picture then changes at once.
  virtual VORFXManager *GetFXManager() { return nullptr; }
  // The same registry as the display layer sees it.
  virtual VORTransitionMaker *GetTransitionMaker() { return nullptr; }
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
  // The page cache that loads pages' objects on demand.
  virtual VORPageManager *GetPageManager() = 0;
  // The scheduler of the time-driven objects.
  virtual VORUpdateController *GetUpdateController() = 0;
  // The publication's named variables.
  virtual VORVariableList *GetVariables() = 0;
  // The program's module, which holds its resources (dialogs, strings,
  // icons) and owns its window classes.
  virtual HINSTANCE__ *GetInstanceHandle() = 0;
  // The millisecond time of the last tick of the main loop.
  virtual uint32_t GetTickTime() = 0;
  // The millisecond clock as it reads now; an application without a clock
  // of its own answers its tick time.
  virtual uint32_t GetMilliseconds() { return GetTickTime(); }
  // The application's millisecond clock now, 0 without an application:
  // every shuffle reseeds the random generator from it, so that orders
  // differ from run to run even before the first tick.
  static uint32_t ClockSeed();
  // The receiver an action with this target, raised in that view and page,
  // goes to; null when there is none.
  virtual VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                        const VORObjectCode &originPage) = 0;
  // A page that an action names does not exist.
  virtual void ReportMissingPage(const VORObjectCode &page) = 0;
  // A notice to the application with no content of its own; the player
  // takes no action on it.
  virtual void Notify() = 0;
  // A window class, window, timer or GDI object could not be made; the
  // codes are those of the display layer's error hook.
  virtual void ReportSystemError(int32_t code) = 0;
  // Throw the media players' failures as the program reports them.
  [[noreturn]] virtual void ThrowMidiError(int32_t code) = 0;
  [[noreturn]] virtual void ThrowWaveError(int32_t code) = 0;

  // Queues the action to run once delay milliseconds have passed, when the
  // condition (if any) then holds. The queue owns both from here on.
  virtual void ScheduleAction(uint32_t delay, VORObjectAction *action, VORActionCondition *condition) = 0;
  // Queues an object's next timed step (a slideshow's next slide) as
  // ScheduleAction does, except that even without delay it waits for a
  // later tick: what one step shows is painted before the next, and steps
  // that keep posting themselves never keep a tick from ending.
  virtual void ScheduleStep(uint32_t delay, VORObjectAction *action) = 0;
  // Delivers the action now; false when nobody took it. Whatever the
  // receiver throws is swallowed (and answers false).
  virtual bool ExecuteAction(VORObjectAction &action) = 0;
  // Offers a copy of the action to every object of every shown page
  // instance; true when any of them took it. Exceptions pass on.
  virtual bool BroadcastAction(const VORObjectAction &action) = 0;
  // True when no view has seen input since it was asked last.
  virtual bool CheckViewsIdle() = 0;
  // Starts the outside searcher when it is there and not yet running.
  virtual void LaunchSearcher() = 0;
  // While set, the views show the publication's cursor.
  virtual void SetPublicationCursor(bool on) = 0;
  virtual bool UsesPublicationCursor() = 0;
  virtual uint32_t GetVersion() = 0;

  virtual VORPublication *GetPublication() = 0;
  // The publication's palette: the colours of 8-bit surfaces and of
  // palette-based screens. Null without a publication, and for one that
  // needs none (more than 8 bits shown on a screen that is not palette-based).
  virtual Palette *GetPalette() = 0;
  // Asks the user for a password; empty when cancelled.
  virtual VORString AskPassword() = 0;
  // The publication's named variables, by name without regard to case;
  // the same operations as the expression language's variable store, so
  // that one variable list answers both.
  virtual XQString GetVariableValue(const XQString &name) = 0;
  virtual void SetVariableValue(const XQString &name, const XQString &value) = 0;
  // False when the screen is palette-based.
  virtual bool IsTrueColorDisplay() = 0;
  // A view's window was asked to close (WM_CLOSE): a chapter's window
  // closes alone, the main window ends the run. The view may be deleted
  // before this returns.
  virtual void CloseViewWindow(HWND__ *window) = 0;
  // A view has entered its first page: the start-up's cover picture may go
  // (at once, or once it has been shown long enough).
  virtual void RemoveCover() = 0;
  // Asked before the web-browser object connects: true to connect. The
  // player asks the reader once per run; without a player nothing asks.
  virtual bool ConfirmInternetConnection() { return true; }

private:
  static VORApp *s_app;
};
