#pragma once

#include <cstdint>
#include <memory>

#include "model/VORObjectCode.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"

class VORGfxImage;

// The push button: a hotspot drawn with a 3-D bevel and face, and up to
// three state pictures (normal, pressed, highlighted) taken from its child
// resource objects. Pressed, the bevel's colours swap and the content moves
// by the bevel's width.
class VORButton : public VORHotSpot {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 2;

  enum ButtonState : int16_t { kNormal = 1, kPressed = 2, kHighlighted = 3 };
  enum PictureIndex : int32_t {
    kNoPicture = -1,
    kNormalPicture = 0,
    kPressedPicture = 1,
    kHighlightPicture = 2,
    kPictureCount = 3
  };

  class VORButtonProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    enum ButtonFlag : uint16_t {
      kBevel = 0x01,
      kPictures = 0x02,
      kPictureHits = 0x04,
      kSunken = 0x08,
      kOutline = 0x10,
    };

    VORButtonProperties() = default;
    VORButtonProperties(const VORButtonProperties &) = default;
    VORButtonProperties &operator=(const VORButtonProperties &) = default;
    ~VORButtonProperties() override;

    // The hotspot's record, then the button's fields in file order.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORButtonProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint16_t buttonFlags = kBevel | kOutline;
    VORObjectCode normalImage = VORObjectCode::None();
    VORObjectCode pressedImage = VORObjectCode::None();
    VORObjectCode highlightImage = VORObjectCode::None();
    uint32_t faceColor = 0xC0C0C0;
    uint32_t lightColor = 0xFFFFFF;
    uint32_t darkColor = 0x000000;
    uint16_t bevelWidth = 2;
  };

  VORButton(uint32_t classKey, int32_t id);
  VORButton(const VORButton &other);
  ~VORButton() override;

  VORButtonProperties &GetButtonProperties();
  int16_t GetButtonState() const { return m_buttonState; }
  VORGfxImage *GetStatePicture(int32_t index) const { return m_stateImages[index].get(); }

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void Show(int32_t depth) override;
  void Hide(int32_t depth) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  bool SuitsDisplayDepth(int32_t bitsPerPixel) override;
  bool IsEmpty(bool withChildren) override;
  void UpdateDrawFlags() override;
  bool IsInputEnabled() override;
  // The rectangle, then for a shaped button its normal picture's own shape.
  bool HitTest(int32_t x, int32_t y) override;

  void FireLButtonDown(uint16_t bits) override;
  void FireLButtonUp(uint16_t bits) override;
  void FireRButtonDown(uint16_t bits) override;
  void FireRButtonUp(uint16_t bits) override;
  void FireMouseEnter(uint16_t bits) override;
  void FireMouseLeave(uint16_t bits) override;
  void FireKeyDown(uint16_t key) override;
  void FireKeyUp(uint16_t key) override;

  // The picture a state shows: -1 for none.
  static int32_t PictureIndexFor(int16_t state, bool hasNormal, bool hasPressed, bool hasHighlight);

private:
  void SetButtonState(int16_t state);
  void CreateStatePictures();
  void DeleteStatePictures();
  void DrawBevel(VORRect &rect, DrawingContext &context, bool pressed);
  void DrawStatePicture(DrawingContext &context);

  int16_t m_buttonState = kNormal;
  std::unique_ptr<VORGfxImage> m_stateImages[kPictureCount];
};

using VORPlayerButton = VORPlayerForm<VORButton, VORButton::VORButtonProperties>;
