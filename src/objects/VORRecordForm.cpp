#include "objects/VORRecordForm.h"

#include <utility>
#include <vector>

#include "model/VORObjectCode.h"

namespace {

using FormTable = std::vector<std::pair<uint32_t, VORClassRegistry::Factory>>;

// Filled by static initialisers before the entry point runs, whichever runs
// first; read-only afterwards.
FormTable &PlayerForms() {
  static FormTable table;
  return table;
}

} // namespace

VORClassRegistry::Factory PageObjectForms::FindPlayerForm(uint32_t classKey) {
  for (const auto &entry : PlayerForms())
    if (entry.first == classKey)
      return entry.second;
  return nullptr;
}

void PageObjectForms::SetPlayerForm(uint32_t classKey, VORClassRegistry::Factory factory) {
  for (auto &entry : PlayerForms()) {
    if (entry.first == classKey) {
      entry.second = factory;
      return;
    }
  }
  PlayerForms().emplace_back(classKey, factory);
}

PlayerFormRegistration::PlayerFormRegistration(uint16_t category, uint16_t code, VORClassRegistry::Factory factory) {
  PageObjectForms::SetPlayerForm(VORObjectCode::MakeClassKey(category, code), factory);
}
