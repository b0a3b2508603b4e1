#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/VOREventList.h"
#include "model/VOREventMap.h"
#include "model/VORObjectCode.h"
#include "objects/TextCaret.h"
#include "objects/TextInputEditor.h"
#include "objects/TextReadAlong.h"
#include "objects/TextScrolling.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"
#include "richtext/TextStyle.h"
#include "richtext/XQRichText.h"

class RichTextMeasurer;
class VORKeyboardObjectAction;
class VORRunView;

// What a hypertext link changes in the text it belongs to.
class VORHypertextLinkHost {
public:
  virtual ~VORHypertextLinkHost() = default;
  // Shows the link's runs in the style of the state (0 normal, 1, 2 hover,
  // 3 pressed).
  virtual void ApplyLinkStyle(int32_t linkId, int32_t state) = 0;
  // Whether the pointer is over a link (it chooses the pressed pointer).
  virtual void SetOverLink(bool over) = 0;
};

// The page object that shows formatted text: a hotspot that is also a
// rich-text document. It scrolls by lines, paragraphs and pages, shows
// variables' values in its variable fields, and fires the events of its
// hypertext links, whose style follows the pointer (normal, hover,
// pressed).
class VORText : public VORHotSpot, public XQRichText, private VORHypertextLinkHost {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 4;

  enum TextFlag : uint32_t {
    kDrawPartialLines = 0x1,
    kPagedMode = 0x2,
    kReadAlongWhenShown = 0x4,
    kWidenedBlanks = 0x8,
  };
  enum LinkState : int32_t { kLinkNormal = 0, kLinkState1 = 1, kLinkHover = 2, kLinkPressed = 3, kLinkStateCount = 4 };
  enum ScrollMode : uint8_t { kScrollLines = 0, kScrollParagraphs = 1, kScrollPages = 2 };
  // The mouse codes of the run view's input (the link's half of them).
  enum MouseCode : int32_t {
    kMouseLeftDown = 2,
    kMouseLeftUp = 3,
    kMouseLeftDoubleClick = 4,
    kMouseRightDown = 5,
    kMouseRightUp = 6,
    kMouseRightDoubleClick = 7,
    kMouseMoved = 8,
  };
  enum ActionCode : int32_t {
    kLineUp = 502,
    kLineDown = 503,
    kPageUp = 504,
    kPageDown = 505,
    kParagraphUp = 506,
    kParagraphDown = 507,
    kFirstLine = 511,
    kLastLine = 512,
    kBarLineUp = 601,
    kBarPageUp = 602,
    kBarParagraphUp = 603,
    kBarLineDown = 604,
    kBarPageDown = 605,
    kBarParagraphDown = 606,
    kBarPageUpByMode = 608,
    kBarPageDownByMode = 609,
    kBarPosition = 607,
    kBarReport = 600,
    kVariableChanged = 803,
  };

  using LinkHost = VORHypertextLinkHost;

  // A hypertext link: the tag id its runs carry and the events it fires.
  class VORHypertextLink {
  public:
    VORHypertextLink() = default;
    VORHypertextLink(const VORHypertextLink &) = delete;
    VORHypertextLink &operator=(const VORHypertextLink &) = delete;
    virtual ~VORHypertextLink();
    virtual VORHypertextLink *Clone() const;
    // A mouse code (2 to 8) with hit: the pointer is on one of the link's
    // runs. Answers whether the link changed state.
    virtual bool HandleMouseEvent(LinkHost &host, int32_t code, uint16_t modifierBits, bool hit);

    // Fires every event whose trigger matches, in map order.
    void FireLinkEvents(uint16_t trigger) const;

    int32_t linkId = 0;
    int32_t hoverState = kLinkNormal;
    VOREventList events;
    VOREventMap eventMap;
  };

  class VORTextProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    static constexpr uint32_t kDefaultInputFlags = 0xBE;
    static constexpr uint32_t kIsInputField = 0x1;

    VORTextProperties();
    VORTextProperties(const VORTextProperties &other);
    VORTextProperties &operator=(const VORTextProperties &other);
    ~VORTextProperties() override;

    // The hotspot's record, then the text's own fields (only when the
    // graphical record's leading byte is 0).
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORTextProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    std::string rtfText;
    uint8_t verticalAlignment = 0;
    uint32_t textFlags = kDrawPartialLines;
    int32_t defaultTabWidth = 30;
    int32_t shadowX = 3;
    int32_t shadowY = 3;
    TextStyle defaultStyle = TextStyle::MakeDefault();
    TextStyle highlightStyle;
    std::vector<int32_t> segmentTags;
    std::vector<uint32_t> segmentEnds;
    VORObjectCode readAlongSound = VORObjectCode::Zero();
    uint32_t inputFlags = kDefaultInputFlags;
    std::string inputVariable;
    uint32_t maxLength = 0;
    TextStyle linkStyles[kLinkStateCount];
    std::vector<std::unique_ptr<VORHypertextLink>> links;
    VORObjectCode scrollbar = VORObjectCode::Zero();
    VORObjectCode externalText = VORObjectCode::Zero();
    VORObjectCode furtherReference = VORObjectCode::Zero();
    uint8_t scrollMode = kScrollLines;
    uint8_t smoothText = 1;
    // Not in the file: the record has not yet been pushed into the document.
    bool needsPush = true;

  private:
    void CopyOwnFields(const VORTextProperties &other);
    void ReadReadAlong(VORFile &file);
    void ReadLinks(VORFile &file);
  };

  VORText(uint32_t classKey, int32_t id);
  VORText(uint32_t classKey, int32_t id, RichTextMeasurer &measurer);
  // The document is built afresh from the copied record at page entry.
  VORText(const VORText &other);
  ~VORText() override;

  VORTextProperties &GetTextProperties();
  bool HasLinks();

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  void SetRect(const VORRect &rect) override;
  int32_t GetContentHeight(int32_t width) override;
  void UpdateDrawFlags() override;
  bool IsEmpty(bool withChildren) override;

  // While the text has links, the mouse triggers fire without the
  // hotspot's pointer changes.
  void FireLButtonDown(uint16_t bits) override;
  void FireLButtonUp(uint16_t bits) override;
  void FireRButtonDown(uint16_t bits) override;
  void FireRButtonUp(uint16_t bits) override;
  void FireMouseLeave(uint16_t bits) override;

  // Pushes the record into the document when it changed.
  void PushProperties();
  // Reads an external text: RTF for ".rtf", nothing for ".doc", plain
  // text otherwise.
  void LoadExternalText(const std::string &fileName, const std::string &bytes);

  // Loads the external text resource the record names, when the page
  // instance holds it (VORTextExternal.cpp).
  void LoadExternalTextResource(VORPageInstance &instance);
  // Tells the linked scrollbar the scroll position and the visible share
  // (600).
  void NotifyScrollbar();
  // Scrolls to a fraction (0..1) of the hidden part, as a dragged thumb asks
  // (607).
  void ScrollToFraction(double fraction);
  // An own surface in a run view while a scrollbar is linked.
  bool NeedsOwnSurface() override;

  // Scrolling.
  void ScrollToLine(int32_t line);
  void ScrollLineUp();
  void ScrollLineDown();
  void ScrollPageUp();
  void ScrollPageDown();
  void ScrollParagraphUp();
  void ScrollParagraphDown();
  int32_t GetVisibleHeight();
  // The document's height at its frame's width.
  int32_t GetTextHeight() { return XQRichText::GetContentHeight(); }
  int32_t GetPageCount() const { return static_cast<int32_t>(m_pages.tops.size()); }
  int32_t GetCurrentPage() const { return m_currentPage; }
  bool IsOverLink() const { return m_overLink; }
  int32_t GetMarginX() const { return m_marginX; }
  int32_t GetMarginY() const { return m_marginY; }

  // Input fields and read-along (VORTextInput.cpp).
  void Show(int32_t depth) override;
  void Hide(int32_t depth) override;
  bool IsInputField();
  bool HasInputFocus() const { return m_inputFocus; }
  // The field's text becomes its variable's value.
  void CommitInput();
  // The field shows its variable's value; keepSelection keeps the caret
  // or selection where the text allows.
  void LoadInputField(bool keepSelection);
  void TakeInputFocus();
  void MoveInputFocus(TextInputEditor::FocusMove move);
  void UpdateCaret(bool scroll);
  void StartReadAlong();
  void StopReadAlong();
  void StepReadAlong();
  const TextReadAlong &GetReadAlong() const { return m_readAlong; }

protected:
  std::vector<LineRun> CopyRuns(size_t first, size_t last) override;

private:
  void ApplyLinkStyle(int32_t linkId, int32_t state) override;
  void SetOverLink(bool over) override { m_overLink = over; }
  void FitFrameToBorder();
  void BuildPages();
  void ShowPage(int32_t page);
  bool IsPaged();
  bool HasVariableFields() const;
  bool HandleLinkMouse(const VORGraphicalObjectAction &action);
  bool ScrollByCode(int32_t code);
  void ApplyScrollOffset(int32_t y);
  // Show and hide go to the linked scrollbar as well.
  void ForwardToScrollbar(int32_t code);
  // 607: a scrollbar action's position; other actions of the code are not
  // taken.
  bool OnScrollbarPosition(VORObjectAction &action);
  void Redraw();
  // Input fields and read-along (VORTextInput.cpp).
  bool HandleInputMouse(const VORGraphicalObjectAction &action);
  bool HandleInputKey(const VORKeyboardObjectAction &action);
  bool HandleReadAlongAction(VORObjectAction &action);
  void OnInputFocusLost();
  void CarryOut(const TextInputEditor::Outcome &outcome);
  void UseClipboard(TextInputEditor::ClipboardUse use);
  void ScrollPositionIntoView(int32_t position);
  TextInputEditor Editor();
  TextReadAlong::Segments ReadAlongSegments();
  VORRunView *GetRunView() const;
  void LeaveInputField();

  RichTextMeasurer *m_measurer;
  int32_t m_marginX = 0;
  int32_t m_marginY = 0;
  TextScrolling::Pages m_pages;
  int32_t m_currentPage = 0;
  bool m_overLink = false;
  bool m_smoothingBypass = false;
  bool m_inputFocus = false;
  bool m_mouseSelecting = false;
  TextCaret m_caret;
  TextReadAlong m_readAlong;
};

using VORPlayerText = VORPlayerForm<VORText, VORText::VORTextProperties>;
