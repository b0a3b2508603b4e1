#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/VORPaintable.h"
#include "foundation/VORRect.h"
#include "images/ImageLayout.h"
#include "model/VORLayoutMember.h"
#include "objects/DrawFlags.h"
#include "objects/VORObject.h"
#include "transitions/VORFXManager.h"

class DrawingContext;
class VORAnimationController;
class VORTransition;
class VORBitmapGraphicalObjectSurface;
class VORBitmapObjectSurface;
class VORDrawingSurface;
class VORGfxImage;

// The base of every visible page object. It owns its rectangle, the picture
// of its linked resource, its off-screen surfaces when its draw flags ask for
// them, and paints itself and its children into the page's screen buffer
// with drop shadow, opacity and key colour. It shows and hides by depth: an
// object asked to show (depth 0) shows its children that are visible at
// start with it.
class VORGraphicalObject : public VORObject, public VORPaintable, public VORLayoutMember {
public:
  // The settings every graphical object reads, in file order. A plain
  // record: copies copy every field (the events by their own copies).
  class VORGraphicalObjectProperties : public VORObject::VORObjectObjectProperties {
  public:
    static constexpr int32_t kNoDelay = -1;
    static constexpr uint16_t kDefaultGlideBack = 1000;

    VORGraphicalObjectProperties() = default;
    VORGraphicalObjectProperties(const VORGraphicalObjectProperties &) = default;
    VORGraphicalObjectProperties &operator=(const VORGraphicalObjectProperties &) = default;
    ~VORGraphicalObjectProperties() override;

    // Field by field; fields that later versions added take their fallback
    // when the record ends before them. A record that ends inside the image
    // layout after its rectangle fails (the file layer's non-fatal
    // exception leaves the reader).
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORGraphicalObjectProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    // Whether a reference of this record names anything: (0, 0, 0) and the
    // all -1 form name nothing.
    static bool IsSet(const VORObjectCode &reference) { return !reference.IsZero() && !reference.IsNone(); }
    // No list admits every object.
    static bool Admits(const std::vector<VORObjectCode> &list, const VORObjectCode &reference);

    uint8_t leadingFlags = 0;
    VORFXManager::FXParams showTransition;
    VORFXManager::FXParams hideTransition;
    VORRect layoutRect = VORRect::NotSet();
    int32_t horizontalSizing = 1;
    int32_t verticalSizing = 1;
    // 0..256 (256 opaque); larger stored values read as 256.
    uint16_t opacity = DrawFlags::kOpaque;
    VORPoint blendOffset{0, 0};
    uint8_t transparentColourFlag = 0;
    VORObjectCode showAnimation = VORObjectCode::Zero();
    VORObjectCode hideAnimation = VORObjectCode::Zero();
    VORObjectCode pathAnimation = VORObjectCode::Zero();
    uint8_t visibleAtStart = 1;
    int32_t showDelay = kNoDelay;
    VORPoint shadowOffset{0, 0};
    uint32_t shadowColour = 0;
    // 0..256 (256 solid); larger stored values read as 256.
    uint16_t shadowOpacity = DrawFlags::kOpaque;
    uint8_t draggable = 0;
    uint16_t glideBackDuration = kDefaultGlideBack;
    uint8_t acceptsDrops = 0;
    VORObjectCode linkedResource = VORObjectCode::Zero();
    std::vector<VORObjectCode> acceptedObjects;
    std::vector<VORObjectCode> dropTargets;
    ImageLayout imageLayout;
    int32_t hideDelay = kNoDelay;
    uint8_t modalTransition = 1;
  };

  // The stacking position kept while raised: none.
  static constexpr int32_t kNoPosition = -1;

  VORGraphicalObject(uint32_t classKey, int32_t id);
  // The object copy, the rectangle; no run-time state.
  VORGraphicalObject(const VORGraphicalObject &other);
  ~VORGraphicalObject() override;

  VORGraphicalObjectProperties &GetGraphicalProperties();
  const VORGraphicalObjectProperties &GetGraphicalProperties() const;
  const VORRect &GetLayoutRect() const override { return GetGraphicalProperties().layoutRect; }

  // Showing and hiding by depth; actions 12, 13, 18 to 21.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void OnPageShown() override;
  void Show(int32_t depth) override;
  void Hide(int32_t depth) override;

  // Painting.
  bool IsTransparent() override;
  VORRect GetScreenRect() override { return m_screenRect; }
  VORRect GetRect() override { return m_rect; }
  void Paint(const VORRect &update, DrawingContext &context) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  void AddShadowOffset(VORRect &rect) override;
  void BlitFromSurface(const VORRect &part, VORBitmapObjectSurface &surface, DrawingContext &target,
                       int32_t extraTransparency) override;

  // Before the page is composed (CompositionOrder::PrepareLevel).
  void ResetDrawFlags() override { m_drawFlags.Reset(); }
  void UpdateDrawFlags() override;
  void UpdateChildDrawFlags() override;
  bool NeedsOwnSurface() override;
  void AddDrawFlags(uint16_t flags) override { m_drawFlags.Add(flags); }
  // Backgrounds and borders take back flags the base gives every object.
  void RemoveDrawFlags(uint16_t flags) { m_drawFlags.word = static_cast<uint16_t>(m_drawFlags.word & ~flags); }
  // A visible object in a view: its surfaces, and its children's, anew.
  void RebuildSurfaces() override;

  // Geometry and layout.
  void SetRect(const VORRect &rect) override;
  virtual void MoveTo(const VORRect &rect) { SetRect(rect); }
  // The container's move of a child stays reachable beside the object's own.
  using VORRecursiveObjectContainer::MoveTo;
  bool FitsHeightToWidth() override;
  // -1: the content gives no height.
  int32_t GetContentHeight(int32_t width) override;
  bool StretchesHorizontally() override;
  bool StretchesVertically() override;
  virtual bool SuitsDisplayDepth(int32_t bitsPerPixel);
  virtual void AfterShow();
  // Names no picture that can be shown (withChildren: nor do the children).
  virtual bool IsEmpty(bool withChildren);
  virtual bool AreChildrenEmpty();
  virtual void DrawContent(const VORRect &rect, DrawingContext &context);
  virtual void UpdateScreenRect();
  virtual void BuildSurfaces(VORView &view);
  // Called with the new rectangle while the old one is still the object's:
  // hands it to every graphical child; frames and scrollbars place theirs.
  virtual void LayoutChildren(const VORRect &rect);

  // Page levels: the draw flags of every object of the level (and below),
  // then the surfaces of the visible ones.
  static void UpdatePageDrawFlags(VORRecursiveObjectContainer &level);
  static void RebuildPageObjectSurfaces(VORRecursiveObjectContainer &level);

  void ShowWithTransition(int32_t cascade);
  void HideWithTransition();
  // The animation controller that moves the object tells it when it starts
  // and when it ends; a show or hide it ran ends with it.
  void SetAnimationDriver(VORAnimationController *controller) { m_animationDriver = controller; }
  void AnimationDriverDone(VORAnimationController *controller);
  void PostRaiseToTop();
  void RaiseToTop();
  void PostRestoreOrder();
  void RestoreOrder();
  void ReleaseSurfaces();
  // The screen rectangle becomes dirty in the current drawing surface.
  void Invalidate();
  void SetStateIndex(int32_t index);
  void DrawChildren(const VORRect &rect, DrawingContext &context);
  // The linked resource's picture, made for the object's rectangle; false
  // when there is none. (Not named LoadImage: <windows.h> defines that name
  // as a macro.)
  bool LoadPicture();
  void FreeImage();
  // Takes a picture made elsewhere (kept until the page is left).
  void SetImage(std::unique_ptr<VORGfxImage> image);

  const DrawFlags &GetDrawFlags() const { return m_drawFlags; }
  bool IsVisible() const { return m_visible; }
  bool IsShowRunning() const { return m_showRunning; }
  bool IsHideRunning() const { return m_hideRunning; }
  VORAnimationController *GetAnimationDriver() const { return m_animationDriver; }
  VORTransition *GetEffect() const { return m_effect.get(); }
  bool HasSurfaces() const { return m_surfacesBuilt; }
  VORGfxImage *GetImage() const { return m_image.get(); }
  VORDrawingSurface *GetCurrentDrawingSurface() const { return m_currentSurface; }
  int32_t GetStateIndex() const { return m_stateIndex; }

protected:
  static bool IsSet(const VORObjectCode &reference);
  // The child a reference of the record names; null when none.
  VORObject *FindChild(const VORObjectCode &reference, bool recursive) const;
  // A plain object action to this object after delay milliseconds.
  void PostToSelf(int32_t code, uint32_t delay);
  // A plain object action to a child, from this object's view and page.
  void PostTo(const VORGraphicalObject &target, int32_t code, uint32_t delay);
  // The controller a reference of the record names among the children;
  // null when none or when the child is no animation controller.
  VORAnimationController *FindController(const VORObjectCode &reference, bool recursive) const;
  // The effect of a show (closing false) or hide transition over the
  // object's surface, run to its end at once when the view runs it
  // modally; false when none was made or it has already run.
  virtual bool StartEffect(bool closing);
  // The running effect is the object's until the transition ends.
  void SetEffect(std::unique_ptr<VORTransition> effect);
  // The rectangle fields alone: nothing is laid out, moved or redrawn.
  void StoreRect(const VORRect &rect) { m_rect = rect; }
  void DrawShadow(DrawingContext &context);
  bool IsLinkedMetafile() const;
  // The image from the linked resource, or null (not kept).
  std::unique_ptr<VORGfxImage> MakeImage();

private:
  struct Surfaces {
    std::unique_ptr<VORBitmapGraphicalObjectSurface> drawing;
    std::unique_ptr<VORBitmapGraphicalObjectSurface> output;
  };
  static constexpr int32_t kStates = 2;

  VORDrawingSurface *TargetSurface(VORView &view) const;
  void ClearRunState();
  // Paint's check whether a show or hide transition has ended.
  void CheckTransitionEnd();
  void StartPathAnimation();
  void StopPathAnimation();
  void PostDelayedHide();
  void PlaceByLayoutGuides();
  void FreeImageLoadedForDrawing();
  void DeleteSurfaces();
  bool HasOwnSurfaces() const { return m_surfacesBuilt && m_surfaces[m_stateIndex].drawing != nullptr; }
  void CaptureBackground(const VORRect &part, DrawingContext &target);
  void ComposeWithoutSelf(VORDrawingSurface &owner);

  VORRect m_rect = VORRect::NotSet();
  VORRect m_surfaceRect = VORRect::NotSet();
  VORRect m_screenRect = VORRect::NotSet();
  DrawFlags m_drawFlags;
  bool m_visible = false;
  bool m_entered = false;
  bool m_showRunning = false;
  bool m_hideRunning = false;
  // The end of the running transition has been posted (once per run).
  bool m_endPosted = false;
  // The after-show steps ran for this showing: a cascade, the parent's
  // after-show and the page shown all reach an object that is already
  // shown, and its auto-start fires once.
  bool m_afterShown = false;
  // Left out of the composition while what lies under it is drawn.
  bool m_leftOut = false;
  VORAnimationController *m_animationDriver = nullptr;
  std::unique_ptr<VORTransition> m_effect;
  Surfaces m_surfaces[kStates];
  int32_t m_stateIndex = 0;
  bool m_surfacesBuilt = false;
  VORDrawingSurface *m_currentSurface = nullptr;
  int32_t m_keptPosition = kNoPosition;
  std::unique_ptr<VORGfxImage> m_image;
  // The picture was loaded only to draw once and goes with the surfaces.
  bool m_imageForDrawing = false;

  // ---- Drag and drop: the object's side (VORGraphicalObjectDragDrop.cpp) ----
public:
  // Starts following the mouse from the point (the drag controller is made
  // on first use); the run view's mouse goes to this object meanwhile.
  void BeginDrag(int32_t x, int32_t y);
  // flags 1: the pointer moved there; 0: the object was let go there.
  void DragTo(int32_t x, int32_t y, int32_t flags);
  // Tells the run view this object's drag is over.
  void EndDrag();
  // Asked of the page's objects when another is let go over them; fires
  // the drop trigger and answers true when this object takes it.
  bool TryAcceptDrop(VORGraphicalObject &dropped);
  void FireDropTrigger(VORGraphicalObject &dropped);
  // Following the mouse or gliding back.
  bool IsBeingDragged() const;
  // Draggable, unless a drop of it was accepted since it was last shown.
  bool CanStartDrag() const;
  void DeleteDragController();

private:
  struct DragSupport;
  struct DragSupportDeleter {
    void operator()(DragSupport *support) const;
  };
  // Offers this object's drop to its container's objects, from the first.
  bool OfferDrop();
  std::unique_ptr<DragSupport, DragSupportDeleter> m_drag;
};
