#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "foundation/XQList.h"
#include "model/VOREventList.h"
#include "model/VOREventMap.h"
#include "model/VORFXParams.h"
#include "model/VORFileObject.h"
#include "model/VORObjectProperties.h"
#include "model/VORRecursiveObjectContainer.h"
#include "vorfile/VORString.h"

class VORChapter;
class VORGraphicalObjectContainerManager;
class VORPageInstance;
class VORPageView;
class VORPublication;

// A page of a chapter. Its properties are read with the chapter; its objects
// only when it is about to be shown, into the master instance. Every view
// that shows the page holds one instance of it: the master, or a copy with
// copies of the master's objects when the master is already shown elsewhere.
// While a page is retained its objects stay loaded.
class VORPage : public VORFileObject, public VORRecursiveObjectContainer {
public:
  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 4;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  class VORPageProperties : public VORObjectProperties {
  public:
    // The colour that stands for the publication's background colour.
    static constexpr uint32_t kPublicationColour = 0xFFFFFFFF;
    // A delay that means no timed page.
    static constexpr int32_t kNoTimedPage = -1;

    // Bits of the sound flags: what stops when the page is shown.
    enum SoundFlag : uint8_t {
      kStopWave = 1,
      kStopMidi = 2,
      kStopCDAudio = 4,
    };

    VORPageProperties();
    VORPageProperties(const VORPageProperties &other);
    ~VORPageProperties() override;

    // Reads the record from the page's open folder: its data holds the
    // colour and the rectangle (both required), then the title, the delay
    // and, when there is a delay, the timed page, then the sound flags; the
    // two transitions, the event list and the event map follow in folders
    // without key. Copies take deep copies of the events.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override;
    void Assign(const VORObjectProperties &other) override;

    uint32_t backgroundColor = kPublicationColour;
    VORRect rect;
    VORString title;
    int32_t timedPageDelay = kNoTimedPage;
    VORObjectCode timedPage = VORObjectCode::Zero();
    uint8_t soundFlags = 0;
    // The effects the page opens and closes with (none when unnamed).
    VORFXParams enterTransition;
    VORFXParams exitTransition;
    VOREventList events;
    VOREventMap eventMap;

  private:
    void CopyFields(const VORPageProperties &other);
  };

  VORPage(uint32_t classKey, int32_t id);
  // The page manager forgets the page; every instance goes, the master last.
  ~VORPage() override;

  // Keeps the objects loaded; false when they cannot be loaded. Every
  // successful Retain needs a Release.
  virtual bool Retain() = 0;
  virtual void Release() = 0;
  virtual VORPageProperties &GetPageProperties() = 0;
  // The layout manager of the master instance; none for a bare page.
  virtual VORGraphicalObjectContainerManager *GetMasterLayoutManager() { return nullptr; }

  // Shows the page in the view: retains it, gives the view an instance (one
  // not shown anywhere, else a new copy; always a new copy when alwaysNew),
  // shows the instance there and starts the enter transition. False when
  // the page's objects cannot be loaded; nothing is shown then.
  bool ShowInView(VORPageView &view, bool alwaysNew);
  // Takes the page out of the view: its instance there is hidden and left
  // (a copy is deleted) and the page released. A view that does not show
  // the page changes nothing.
  void RemoveFromView(VORPageView &view);

  // With the chapter's folder open: reads the objects into the master
  // instance (whatever it held before goes). The master's guides are
  // derived anew from the objects read.
  void LoadObjects(VORFile &file);
  void UnloadObjects();

  // Keeps the page that follows this one loaded while this one is shown, so
  // that going on is quick: retained once, however often asked, and released
  // when this page leaves its last view. False when there is no next page or
  // it cannot be loaded.
  bool LinkPreviousPageResources();
  VORPage *GetLinkedPage() const { return m_linkedPage; }

  VORPageInstance &GetMasterInstance() const { return *m_master; }
  // The instance shown in that view, or null.
  VORPageInstance *FindInstance(const VORPageView &view) const;
  bool IsShown() const;
  uint32_t GetInstanceCount() const { return m_instances.GetCount(); }
  int32_t GetRetainCount() const { return m_retainCount; }

  VORChapter *GetChapter() const;
  VORPublication *GetPublication() const;
  // The page's colour, or the publication's when the page names none; 0
  // for a page outside a publication.
  uint32_t GetBackgroundColor();
  VORString GetTitle();
  // The page's area.
  VORRect GetPageRect() { return GetPageProperties().rect; }

protected:
  int32_t m_retainCount = 0;

private:
  void ReleaseLinkedPage();
  void SetUpMasterLayout();
  VORPageInstance *FindIdleInstance() const;

  VORPageInstance *m_master;
  // Copies in front, the master behind them.
  XQList<VORPageInstance *, 1> m_instances;
  VORPage *m_linkedPage = nullptr;
};
