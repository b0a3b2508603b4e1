#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "display/PublicationPalette.h"
#include "display/VORRunView.h"
#include "engine/InactivityTimer.h"
#include "engine/VOREventQ.h"
#include "engine/VORPlayerPageManager.h"
#include "engine/VORScoreManager.h"
#include "engine/VORStoreInfoPlatform.h"
#include "engine/VORTimerTickReceiver.h"
#include "engine/VORUpdateController.h"
#include "engine/VORVariableList.h"
#include "engine/ViewList.h"
#include "model/ActionReceiverTable.h"
#include "model/VORActionReceiver.h"
#include "model/VORApp.h"

class VORClock;
class VORPage;
class VORPlayerGotoPageAction;
class VORRunView;

// The run-time engine under the application object: the application
// interface every part reaches it through, the receiver of the player's own
// actions (0, 0, 1) and the tick receiver that runs queued actions when
// they fall due. It keeps the views, the event queue, the update
// controller, the score manager with the variables, the inactivity timer,
// the page cache and the receiver table.
//
// Actions travel three ways: ScheduleAction queues one on the 55 ms grid
// (OnTick runs it when due), ExecuteAction delivers one at once to the
// receiver its target names, BroadcastAction offers a copy to every object
// of every shown page instance.
class VORPlayer : public VORActionReceiver, public VORTimerTickReceiver, public VORApp {
public:
  static constexpr VORObjectCode kPlayerReference = VORObjectCode(0, 0, 1);
  // The publication's receivers, found through it.
  static constexpr VORObjectCode kLaunchManagerReference = VORObjectCode(0, 0, 13);
  static constexpr VORObjectCode kBookmarksReference = VORObjectCode(0, 0, 14);
  // The printer, which belongs to a later layer: the program hands it over.
  static constexpr VORObjectCode kPrinterReference = VORObjectCode(0, 0, 12);
  // The player's actions.
  enum ActionCode : int32_t {
    kBeep = 100,
    kGotoPage = 101,
    kExit = 102,
    kQuit = 103,
    kCloseView = 104,
    kLaunchSearcher = 105,
  };
  // The view reference of the first page's action when the player makes
  // its own window.
  static constexpr VORObjectCode kStartupView = VORObjectCode(0, 0, 6);
  // Pages the start-up tries, (0, 4, 1) to (0, 4, 199), when the publication
  // names no start page or it cannot be shown.
  static constexpr int32_t kLastScannedPage = 199;
  // Due times fall on a grid of this many milliseconds.
  static constexpr uint32_t kGridMs = 55;
  // A page change that meets a running transition is tried again this much
  // later.
  static constexpr uint32_t kRetryDelayMs = 10;
  // The longest delay: due times are ordered by their difference, which
  // must stay below half the clock's range.
  static constexpr uint32_t kMaxDelayMs = 0x7FFFFFFF - kGridMs;
  static constexpr uint32_t kSecondMs = 1000;

  explicit VORPlayer(VORClock &clock);
  // Deletes the views without taking pages out of them: close the views
  // (CloseAllViews) before the publication goes.
  ~VORPlayer() override;

  // VORApp.
  VORResourceManager *GetResourceManager() override { return m_resourceManager.get(); }
  VORSoundManager *GetSoundManager() override { return m_soundManager; }
  // Nobody is asked: a missing file is given up at once.
  int32_t ReportFileFailure(const char *fileName, int32_t kind, int32_t code) override;
  void ReportResourceError(int32_t) override {}
  ActionReceiverTable *GetReceiverList() override { return &m_receivers; }
  VORPageManager *GetPageManager() override { return &m_pageManager; }
  VORUpdateController *GetUpdateController() override { return &m_updateController; }
  VORVariableList *GetVariables() override { return &m_scoreManager.GetVariables(); }
  uint32_t GetTickTime() override { return m_tickTime; }
  uint32_t GetMilliseconds() override;
  VORActionReceiver *FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                const VORObjectCode &originPage) override;
  void ReportMissingPage(const VORObjectCode & /*page*/) override {}
  void Notify() override {}
  void ReportSystemError(int32_t /*code*/) override {}
  [[noreturn]] void ThrowMidiError(int32_t code) override;
  [[noreturn]] void ThrowWaveError(int32_t code) override;
  // due = (now + delay) rounded down to the 55 ms grid, plus 1 for an odd
  // delay: an odd delay runs after the even ones of the same grid point.
  void ScheduleAction(uint32_t delay, VORObjectAction *action, VORActionCondition *condition) override;
  void ScheduleStep(uint32_t delay, VORObjectAction *action) override;
  bool ExecuteAction(VORObjectAction &action) override;
  bool BroadcastAction(const VORObjectAction &action) override;
  bool CheckViewsIdle() override;
  void LaunchSearcher() override {}
  void SetPublicationCursor(bool on) override;
  bool UsesPublicationCursor() override { return m_publicationCursor; }
  uint32_t GetVersion() override { return kVersion; }
  XQString GetVariableValue(const XQString &name) override;
  void SetVariableValue(const XQString &name, const XQString &value) override;
  Palette *GetPalette() override { return m_palette ? &m_palette->Get() : nullptr; }

  // The application palette follows the publication: made once it is
  // loaded (the palette-display answer must be known by then), let go
  // before it goes.
  void MakePalette() { m_palette = PublicationPalette::Make(GetPublication()); }
  void DropPalette() { m_palette.reset(); }

  // The player's actions 100 to 105.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  // Runs every queued action due by now, one entry at a time (a nested tick
  // from a modal loop goes on with the next entry), refreshing the views
  // between actions of different due times and once after the last.
  int OnTick(uint32_t now) override;

  // Shows the page the action names (a page, or a navigation kind relative
  // to the view's current page) in the view it belongs to, making the view
  // when there is none. False when there is no such page, its chapter is
  // refused, or it cannot be shown.
  virtual bool GotoPage(VORPlayerGotoPageAction &action);
  // Every page in the main view, no window of a chapter's own: the screen
  // saver's window is the only one it may show.
  void PlayInOneWindow(bool one) { m_oneWindow = one; }
  // Shows the publication's closing page when it asks for one (and quits
  // after its delay), else quits at once.
  virtual bool ExitViaClosingPage(VORObjectAction &action);
  // Ends the main loop; false when refused.
  virtual bool RequestQuit() = 0;
  // The start-up's password, when the publication asks for one there (its
  // passwords are on and chapters do not ask for their own): asked until
  // one opens the first chapter, which is then kept in "CHAPTER_PASSWORD".
  // False when the user gives up (an empty answer): the run ends.
  bool CheckStartupPassword();
  // Makes the view a page of this chapter is shown in and adds it to the
  // list; null when none can be made.
  VORRunView *CreateView(VORPage &page);

  // Delivers the action to its receiver; exceptions pass on.
  bool DispatchAction(VORObjectAction &action);
  // The first object of the publication's tree with that class key and id.
  VORCodedObject *FindPublicationObject(uint32_t classKey, int32_t id);
  void RefreshViews();

  // The event queue, made by the start-up; actions scheduled before it are
  // dropped.
  void CreateEventQueue();
  VOREventQ *GetEventQueue() const { return m_eventQueue.get(); }
  VORPlayerPageManager &GetPlayerPageManager() { return m_pageManager; }

  // The views, in the order they were made; the list owns them.
  void AddView(VORRunView *view);
  VORRunView *FindView(const VORObjectCode &identity) const;
  VORRunView *GetFirstView() const;
  VORRunView *FindViewByWindow(VORRunView::WindowHandle window) const;
  uint32_t GetViewCount() const { return m_views.GetCount(); }
  // The view's page leaves it, the actions raised there are dropped, and
  // the view is deleted.
  void CloseView(VORRunView *view);
  void CloseAllViews();
  bool IsPageShown(const VORObjectCode &page) const;
  bool AnyViewShowsPage() const;

  // The main loop's once-a-second work: the built-in time variables, then
  // the views.
  void RunSecondTick();
  // The main loop's idle work: the page cache trims, the views do theirs,
  // the resources are trimmed and prefetched. True when the prefetch did
  // work and the loop should come back at once.
  bool RunIdleWork();
  // The start-up's first page: the publication's start page, else the first
  // of the pages (0, 4, 1) to (0, 4, 199) that can be shown. False when no
  // page could be shown in a view.
  bool ShowFirstPage(const VORObjectCode &viewReference);

  // The sound manager belongs to a later layer than the engine: the
  // program hands over a maker, and the start-up makes it with it. The
  // engine knows it only as the receiver (0, 0, 2) and through the
  // application interface.
  struct SoundManagerParts {
    std::unique_ptr<VORActionReceiver> receiver;
    VORSoundManager *manager = nullptr;
  };
  using SoundManagerMaker = std::function<SoundManagerParts()>;
  static constexpr VORObjectCode kSoundManagerReference = VORObjectCode(0, 0, 2);
  // The sound manager's action that stops every channel.
  static constexpr int32_t kStopAllSound = 201;
  void SetSoundManagerMaker(SoundManagerMaker maker) { m_makeSoundManager = std::move(maker); }
  bool HasSoundManagerMaker() const { return static_cast<bool>(m_makeSoundManager); }
  // Without a maker there is no sound.
  void CreateSoundManager();
  void DestroySoundManager();
  void StopAllSound();

  // The transition-effect registry belongs to a later layer as well: the
  // program hands it over, as the display layer's maker of effects and as
  // the registry the objects ask.
  struct FXManagerParts {
    std::unique_ptr<VORTransitionMaker> maker;
    VORFXManager *manager = nullptr;
  };
  void SetFXManager(FXManagerParts parts) { m_fxManager = std::move(parts); }
  VORFXManager *GetFXManager() override { return m_fxManager.manager; }
  VORTransitionMaker *GetTransitionMaker() override { return m_fxManager.maker.get(); }

  // Without a printer, print requests find no receiver.
  void SetPrinter(std::unique_ptr<VORActionReceiver> printer) { m_printer = std::move(printer); }
  VORActionReceiver *GetPrinter() const { return m_printer.get(); }

  VORScoreManager &GetScoreManager() { return m_scoreManager; }
  InactivityTimer &GetInactivityTimer() { return m_inactivityTimer; }
  // The system's files and save dialog for storing information.
  void SetStoreInfoPlatform(std::unique_ptr<VORStoreInfoPlatform> platform);

  // The cover picture shown from the start-up until the first page has been
  // up a while: the view asks for its removal once its page is entered; it
  // goes then when it has been shown more than kCoverMinimumMs, else the
  // main loop removes it once that time has passed.
  static constexpr uint32_t kCoverMinimumMs = 2000;
  void RemoveCover() override;
  // The main loop's step: removes a cover whose removal was asked for once
  // its time has passed.
  void RemoveCoverWhenDue(uint32_t now);
  bool IsCoverRemovalRequested() const { return m_coverRemovalRequested; }

  VORClock &GetClock() const { return m_clock; }
  uint32_t GetStartTime() const { return m_startTime; }
  void SetTickTime(uint32_t time) { m_tickTime = time; }

protected:
  // The view a page of this chapter is shown in: (0, 3, chapter id) for a
  // chapter with its own window, else the main view (0, 3, 1).
  virtual VORRunView *MakeView(const VORObjectCode &identity, VORPage &page) = 0;
  virtual void Beep() {}
  // The box that tells a password was wrong.
  virtual void ShowWrongPassword() {}
  // The cover window, which only the program makes: whether there is one,
  // and deleting it.
  virtual bool HasCover() const { return false; }
  virtual void DeleteCover() {}
  // A cover has just been shown: its time starts now.
  void NoteCoverShown();
  // Made by the start-up, deleted by the teardown (before the publication
  // file and the file manager it reads through).
  std::unique_ptr<VORResourceManager> m_resourceManager;
  bool m_oneWindow = false;

private:
  // Inserts the action on the grid; a chained entry may still run in the
  // tick that queues it.
  void Queue(uint32_t delay, VORObjectAction *action, VORActionCondition *condition, bool chained);
  bool ShowPage(VORPage &page, VORRunView &view, bool fresh);
  bool TryFirstPage(const VORObjectCode &page, const VORObjectCode &viewReference);

  VORClock &m_clock;
  uint32_t m_startTime;
  uint32_t m_tickTime = 0;
  bool m_publicationCursor = false;
  ActionReceiverTable m_receivers;
  VORUpdateController m_updateController;
  VORScoreManager m_scoreManager;
  std::unique_ptr<VORStoreInfoPlatform> m_storeInfoPlatform;
  InactivityTimer m_inactivityTimer;
  VORPlayerPageManager m_pageManager;
  std::unique_ptr<VOREventQ> m_eventQueue;
  SoundManagerMaker m_makeSoundManager;
  std::unique_ptr<VORActionReceiver> m_soundReceiver;
  VORSoundManager *m_soundManager = nullptr;
  FXManagerParts m_fxManager;
  ViewList m_views;
  std::unique_ptr<PublicationPalette> m_palette;
  uint32_t m_coverShownAt = 0;
  bool m_coverRemovalRequested = false;
  // Last: it goes first, while what its job used is still there.
  std::unique_ptr<VORActionReceiver> m_printer;
};
