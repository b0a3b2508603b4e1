#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/VORActionReceiver.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORObjectProperties.h"
#include "model/VORPaletteRecord.h"
#include "model/VORPasswordList.h"
#include "model/VORRecursiveObjectContainer.h"
#include "model/VORWindowGeometry.h"
#include "vorfile/VORString.h"

class VORChapter;

// The root of the object tree: the window and exit settings of the whole
// run; its children are the chapters, which hold the pages.
class VORPublication : public VORRecursiveObjectContainer, public VORActionReceiver {
public:
  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 1;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  // The variable that holds the chapter password the user gave last.
  static constexpr const char *kChapterPasswordVariable = "CHAPTER_PASSWORD";

  // Bits of the properties' flags.
  enum Flag : uint32_t {
    kInactivityTimeoutFlag = 1u << 0,
    kTimeoutExitsFlag = 1u << 1,
    kClosingPageFlag = 1u << 2,
    kEscapeExitsFlag = 1u << 4,
    kCloseBoxExitsFlag = 1u << 5,
    kExitPasswordFlag = 1u << 6,
    kSeveralBookmarksFlag = 1u << 8,
    kTopmostFlag = 1u << 9,
    kNoScrollBarsFlag = 1u << 10,
  };

  class VORPublicationProperties : public VORObjectProperties {
  public:
    static constexpr uint32_t kDefaultWindowStyle = 0xCB0000; // caption, system menu, minimise and maximise boxes
    static constexpr uint32_t kFlagsBeforeReading = 48;
    static constexpr int32_t kDefaultTimeoutSeconds = 600;
    static constexpr int32_t kDefaultClosingDelaySeconds = 30;
    static constexpr int32_t kNeverQuit = -1;

    VORPublicationProperties();
    VORPublicationProperties(const VORPublicationProperties &other);
    ~VORPublicationProperties() override;

    // Opens the next anonymous folder of the publication's folder and reads
    // the record. The fields up to the window style are required (a record
    // that ends among them passes VORFileIncompleteReadException on); each
    // later field the record no longer holds takes its own default, which
    // for the flags (0) is not the value before reading (48).
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override;
    void Assign(const VORObjectProperties &other) override;

    uint8_t titleBar = 1;
    VORString title;
    int32_t border = 1;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 640;
    int32_t height = 480;
    uint8_t changeDisplayMode = 0;
    uint8_t fullScreen = 1;
    uint32_t windowStyle = kDefaultWindowStyle;
    uint32_t flags = kFlagsBeforeReading;
    int32_t inactivityTimeout = kDefaultTimeoutSeconds;
    VORObjectCode timeoutPage = VORObjectCode::Zero();
    VORObjectCode closingPage = VORObjectCode::Zero();
    int32_t closingDelay = kDefaultClosingDelaySeconds;
    VORString exitPassword;
    uint8_t displayMode = 0;
    VORExternalResourceIdentifier firstResource;
    VORExternalResourceIdentifier secondResource;
    uint32_t backgroundColor = 0;
    int16_t characterSet = 0;
    uint8_t passwordsOn = 0;
    VORPasswordList passwords;
    VORObjectCode refusedChapterPage = VORObjectCode::Zero();
    uint8_t askUser = 1;

  private:
    void CopyFields(const VORPublicationProperties &other);
    void ReadOptionalFields(VORFile &file);
    void ReadPasswordFields(VORFile &file);
  };

  VORPublication(uint32_t classKey, int32_t id);
  // Leaves the receiver table, then deletes every chapter.
  ~VORPublication() override;

  // Chapters only.
  bool AcceptsChild(uint32_t classKey) const override;
  VORObjectProperties *GetProperties() override { return &m_properties; }
  const VORPublicationProperties &GetPublicationProperties() const { return m_properties; }
  VORPublicationProperties &GetPublicationProperties() { return m_properties; }
  bool IsPublicationCode() const { return GetCategory() == kCategory && GetCode() == kCode; }

  // Offered to the launch manager, then to the bookmarks, once they exist;
  // until then nothing here handles an action.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  // Pages are the children of the chapters; each call answers the page in
  // page, or false when there is none.
  bool FindPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page);
  // The page after (before) the given one in its chapter; after the last
  // (before the first) page of a chapter, the first (last) page of the next
  // (previous) chapter that has pages.
  bool FindNextPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page);
  bool FindPreviousPage(const VORObjectCode &reference, VORRecursiveObjectContainer *&page);
  // The chapter whose pages include the given page; null when none does.
  VORChapter *FindChapterOf(const VORObjectCode &pageReference);
  // The first page of the first chapter; (0, 0, 0) when there is none.
  VORObjectCode GetStartPage();
  // The first chapter's reference; (0, 0, 0) when there is none.
  VORObjectCode GetFirstChapter();

  // Whether the chapter may be shown: with passwords on, the last password
  // given (the variable "CHAPTER_PASSWORD") must open it, or, when the
  // record asks the user, a password typed now; a typed password that opens
  // it is kept in the variable.
  bool CheckChapterAccess(const VORObjectCode &chapter);

  // 0 when full screen, else the record's window style.
  uint32_t GetWindowStyle() const;
  void GetTitle(XQString &title, uint8_t &titleBar) const;
  // The main window: the whole screen, or the client size with its frame
  // and caption placed at the record's percentages of the free space.
  VORWindowRect GetWindowRect(const VORWindowMetrics &metrics) const;
  uint32_t GetBackgroundColor() const { return m_properties.backgroundColor; }
  VORObjectCode GetRefusedChapterPage() const { return m_properties.refusedChapterPage; }

  bool HasFlag(Flag flag) const { return (m_properties.flags & flag) != 0; }
  bool AllowsEscapeExit() const { return HasFlag(kEscapeExitsFlag); }
  bool AllowsCloseBoxExit() const { return HasFlag(kCloseBoxExitsFlag); }
  bool AllowsSeveralBookmarks() const { return HasFlag(kSeveralBookmarksFlag); }
  bool IsTopmost() const { return HasFlag(kTopmostFlag); }
  bool HidesScrollBars() const { return HasFlag(kNoScrollBarsFlag) && m_properties.fullScreen; }

  // Reads a page's objects on demand, with the root entry of the file open:
  // opens the publication's folder and in it the chapter's, lets readObjects
  // read, and closes both again, also on an exception.
  void LoadPageObjects(VORFile &file, const VORObjectCode &chapter, const std::function<void(VORFile &)> &readObjects);

  int32_t GetColourDepth() const { return m_colourDepth; }
  // The colours read for an 8-bit publication; null otherwise.
  const VORPaletteRecord *GetPalette() const { return m_palette.get(); }
  // A publication of more colours shown on a palette-based display uses the
  // built-in default palette.
  bool UsesDefaultPalette() const { return m_usesDefaultPalette; }
  // The search dictionary the record carries, for the search component;
  // taking it leaves none here.
  std::vector<uint8_t> TakeSearchDictionary() { return std::move(m_searchDictionary); }
  bool HasSearchDictionary() const { return !m_searchDictionary.empty(); }
  bool WantsOleContainer() const { return m_wantsOleContainer; }
  // The rich text's resolution; -1 means the display's own.
  int32_t GetTextResolution() const { return m_textResolution; }
  int16_t GetCharacterSet() const { return m_properties.characterSet; }

  const XQString &GetFileName() const { return m_fileName; }
  void SetFileName(const XQString &name) { m_fileName = name; }

  // The launch manager (0, 0, 13) and the bookmarks (0, 0, 14) belong to a
  // later layer: the engine hands them over once the publication is read,
  // and the publication owns them from then on (they go after its chapters).
  void SetLaunchManager(std::unique_ptr<VORActionReceiver> manager) { m_launchManager = std::move(manager); }
  void SetBookmarks(std::unique_ptr<VORActionReceiver> bookmarks) { m_bookmarks = std::move(bookmarks); }
  VORActionReceiver *GetLaunchManager() const { return m_launchManager.get(); }
  VORActionReceiver *GetBookmarks() const { return m_bookmarks.get(); }

protected:
  static constexpr int32_t kDefaultColourDepth = 24;
  static constexpr int32_t kPaletteColourDepth = 8;
  static constexpr int32_t kDisplayTextResolution = -1;

  VORPublicationProperties m_properties;
  int32_t m_colourDepth = kDefaultColourDepth;
  std::unique_ptr<VORPaletteRecord> m_palette;
  bool m_usesDefaultPalette = false;
  std::vector<uint8_t> m_searchDictionary;
  bool m_wantsOleContainer = false;
  int32_t m_textResolution = kDisplayTextResolution;
  XQString m_fileName;
  // Declared last, so they go first among the members (their own
  // destructors may still read the file name).
  std::unique_ptr<VORActionReceiver> m_launchManager;
  std::unique_ptr<VORActionReceiver> m_bookmarks;
};
