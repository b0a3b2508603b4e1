#include "engine/VORPlayer.h"

#include <cstring>

#include "model/VORPublication.h"
#include "model/VORResourceManager.h"

namespace {

bool SameName(const XQString &left, const XQString &right) {
  return left.GetLength() == right.GetLength() && _stricmp(left.CStr(), right.CStr()) == 0;
}

} // namespace

VORPlayer::VORPlayer() = default;

VORPlayer::~VORPlayer() = default;

int32_t VORPlayer::ReportFileFailure(const char *, int32_t, int32_t) {
  constexpr int32_t kGiveUp = 1;
  return kGiveUp;
}

void VORPlayer::DetectMMX() {
  // Asking the system replaces executing EMMS under a fault guard, which this
  // compiler cannot express.
  m_mmx = IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) ? 1 : 0;
}

VORActionReceiver *VORPlayer::FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                         const VORObjectCode &originPage) {
  if (target.category == VORPublication::kCategory && target.code == VORPublication::kCode)
    return GetPublication();
  return m_receivers.Find(target, originView, originPage);
}

XQString *VORPlayer::FindVariable(const XQString &name) {
  for (auto &variable : m_variables)
    if (SameName(variable.first, name))
      return &variable.second;
  return nullptr;
}

XQString VORPlayer::GetVariableValue(const XQString &name) {
  if (XQString *value = FindVariable(name))
    return *value;
  m_variables.emplace_back(name, XQString());
  return XQString();
}

void VORPlayer::SetVariableValue(const XQString &name, const XQString &value) {
  if (XQString *existing = FindVariable(name))
    *existing = value;
  else
    m_variables.emplace_back(name, value);
}
