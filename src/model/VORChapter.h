#pragma once

#include <cstdint>
#include <memory>

#include "foundation/ShuffledSequence.h"
#include "model/VORFileObject.h"
#include "model/VORObjectProperties.h"
#include "model/VORRecursiveObjectContainer.h"
#include "model/VORWindowGeometry.h"
#include "vorfile/VORString.h"

// A chapter of the publication: its children are the pages. A chapter may
// show its pages in a window of its own.
class VORChapter : public VORFileObject, public VORRecursiveObjectContainer {
public:
  static constexpr uint16_t kCategory = 0;
  static constexpr uint16_t kCode = 2;
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  // The style of a view that is not the chapter's own window.
  static constexpr uint32_t kSharedWindowStyle = 0xF70000;

  class VORChapterProperties : public VORObjectProperties {
  public:
    static constexpr int32_t kDefaultWidth = 640;
    static constexpr int32_t kDefaultHeight = 480;
    static constexpr uint32_t kDefaultWindowStyle = 0xCB0000;

    VORChapterProperties();
    VORChapterProperties(const VORChapterProperties &other);
    ~VORChapterProperties() override;

    // Opens the next anonymous folder of the chapter's folder and reads the
    // record. The own-window byte, the title-bar byte and the border are
    // required; the sizes and the position take 0 for each value the record
    // no longer holds, the fields after them their own defaults.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override;
    void Assign(const VORObjectProperties &other) override;

    int32_t pageWidth = kDefaultWidth;
    int32_t pageHeight = kDefaultHeight;
    uint8_t ownWindow = 0;
    uint8_t titleBar = 1;
    VORString title;
    int32_t border = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t windowWidth = kDefaultWidth;
    int32_t windowHeight = kDefaultHeight;
    uint32_t windowStyle = kDefaultWindowStyle;
    uint8_t keepAspectRatio = 0;

  private:
    void CopyFields(const VORChapterProperties &other);
  };

  VORChapter(uint32_t classKey, int32_t id);
  // Deletes every page first.
  ~VORChapter() override;

  bool IsChapterCode() const { return GetCode() == kCode; }
  const VORChapterProperties &GetChapterProperties() const { return m_properties; }
  VORChapterProperties &GetChapterProperties() { return m_properties; }
  VORObjectProperties *GetProperties() override { return &m_properties; }

  // (0, 0, page width, page height).
  void GetPageRect(int32_t &left, int32_t &top, int32_t &right, int32_t &bottom) const;
  bool HasOwnWindow() const { return GetChapterProperties().ownWindow != 0; }
  bool KeepsAspectRatio() const { return GetChapterProperties().keepAspectRatio != 0; }
  void GetTitle(XQString &title, uint8_t &titleBar) const;
  uint32_t GetWindowStyle() const;
  // False without an own window.
  bool GetOwnWindowRect(const VORWindowMetrics &metrics, VORWindowRect &rect) const;

  // A page of the chapter from a freshly shuffled order of its pages (made
  // anew when the chapter's page count changed); with more than one page
  // never the current one. False when the chapter has no page.
  bool GetRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page);
  // The next page of the order made before, without an immediate repeat
  // (a new order once every page has come); the first time as
  // GetRandomPage.
  bool NextRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page);

  // The reference of a child (a page); none when it is not a coded object.
  static VORObjectCode ReferenceOf(VORRecursiveObjectContainer *child);
  // The first direct child with that reference, or null.
  VORRecursiveObjectContainer *FindChild(const VORObjectCode &reference);

private:
  bool PickRandomPage(const VORObjectCode &current, VORRecursiveObjectContainer *&page);

  VORChapterProperties m_properties;
  // The order of the random pages, made on first need.
  std::unique_ptr<ShuffledSequence> m_randomOrder;
};
