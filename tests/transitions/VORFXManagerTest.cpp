#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "transitions/VORFX.h"
#include "transitions/VORFXManager.h"

namespace {

// An effect that only says which entry made it.
class NamedFX : public VORFX {
public:
  explicit NamedFX(std::string name) : made(std::move(name)) {}
  void Update(uint32_t & /*nextDue*/) override {}
  void RunModal(const VORRect & /*rect*/, bool /*closing*/) override {}
  void Paint(const VORRect & /*destination*/, const VORRect & /*source*/) override {}
  std::string made;
};

VORFXManager::Factory Making(const std::string &made) {
  return [made](const VORFXParams &, VORBitmapObjectSurface *, VORBitmapObjectSurface *, VORDrawingSurface *) {
    return std::unique_ptr<VORFX>(new NamedFX(made));
  };
}

std::string Made(const VORFXManager &manager, const char *name) {
  VORFXParams params;
  params.effectName = VORString(name);
  std::unique_ptr<VORFX> effect = manager.CreateEffect(params, nullptr, nullptr, nullptr);
  return effect ? static_cast<NamedFX &>(*effect).made : "none";
}

TEST(VORFXManagerTest, NamesMatchWithoutRegardToCaseAndTheFirstEntryWins) {
  VORFXManager manager;
  manager.Register("Fade", "Fade", Making("fade"));
  manager.Register("Scroll", "Scroll/Wipe", Making("scroll"));
  manager.Register("fade", "Fade again", Making("second fade"));
  const struct {
    const char *name;
    const char *made;
  } cases[] = {{"Fade", "fade"},        {"FADE", "fade"}, {"fAdE", "fade"}, {"scroll", "scroll"},
               {"Scroll/Wipe", "none"}, {"Fad", "none"},  {"", "none"},     {"Fade ", "none"}};
  for (const auto &c : cases)
    EXPECT_EQ(Made(manager, c.name), c.made) << c.name;
  EXPECT_EQ(manager.GetEffects().size(), 3u);
  EXPECT_STREQ(manager.GetEffects()[1].displayName.CStr(), "Scroll/Wipe");
}

TEST(VORFXManagerTest, AnEffectNotYetStartedIsIdle) {
  NamedFX effect("x");
  EXPECT_EQ(effect.GetState(), VORFX::kIdle);
  EXPECT_FALSE(effect.IsFinished());
  EXPECT_FALSE(effect.WantsModalRun(true));
}

} // namespace
