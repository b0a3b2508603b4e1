#include "transitions/VORFXManager.h"

#include "transitions/VORFX.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Only ASCII letters fold: effect names are plain ASCII words, and the
// system's locale must not change which effect a publication gets.
bool EqualsIgnoringCase(const XQString &a, const XQString &b) {
  if (a.GetLength() != b.GetLength())
    return false;
  const char *x = a.CStr();
  const char *y = b.CStr();
  for (uint32_t i = 0; i < a.GetLength(); ++i) {
    if (LowerAscii(x[i]) != LowerAscii(y[i]))
      return false;
  }
  return true;
}

} // namespace

VORFXManager::~VORFXManager() = default;

void VORFXManager::Register(const XQString &name, const XQString &displayName, Factory factory) {
  m_effects.push_back(Effect{name, displayName, std::move(factory)});
}

std::unique_ptr<VORFX> VORFXManager::CreateEffect(const FXParams &params, VORBitmapObjectSurface *target,
                                                  VORBitmapObjectSurface *oldPicture,
                                                  VORDrawingSurface *completion) const {
  if (!params.HasEffect())
    return nullptr;
  for (const Effect &effect : m_effects) {
    if (EqualsIgnoringCase(effect.name, params.effectName))
      return effect.factory ? effect.factory(params, target, oldPicture, completion) : nullptr;
  }
  return nullptr;
}

std::unique_ptr<VORTransition> VORFXManager::MakeTransition(const FXParams &params, VORBitmapObjectSurface *target,
                                                            VORBitmapObjectSurface *oldPicture,
                                                            VORDrawingSurface *completion) {
  return CreateEffect(params, target, oldPicture, completion);
}
