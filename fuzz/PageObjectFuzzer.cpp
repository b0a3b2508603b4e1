// Page-object records as the page cache reads them: any bytes opened as a
// compiled file whose entry 0 holds the objects' folders (every class of
// the class table, each read by its record reader and copied), whose entry
// 1 holds transition parameters as the graphical and page records carry
// them (every effect's record), and whose further entries the objects may
// use as resources. The objects are put on a page shown in a view with a
// sound manager over stand-in devices; every trigger is fired at each of
// them, each action of their events (sound and video actions among them)
// is sent where it is addressed, and the animation paths are walked. A
// file exception ends the read; anything else that escapes, or a sanitizer
// report, is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "media/VORSoundManager.h"
#include "model/PublicationFile.h"
#include "model/VORActionList.h"
#include "model/VOREvent.h"
#include "model/VORFXParams.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPage.h"
#include "model/VORResourceManager.h"
#include "model/VORTrigger.h"
#include "objects/VORAnimationController.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORObject.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"
#include "support/FakeResourcePlatform.h"
#include "support/FakeSoundDevices.h"
#include "support/HeadlessView.h"
#include "support/MemoryFile.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kMaxTransitions = 16;
constexpr uint32_t kMaxActionsSent = 64;
constexpr uint32_t kPathSteps = 40;

std::unique_ptr<VORCompiledFile> OpenCompiled(const std::vector<uint8_t> &bytes) {
  auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(bytes));
  if (!file->Open(false, false))
    return nullptr;
  return file;
}

bool OpenEntry(VORCompiledFile &file, uint32_t index) {
  try {
    file.OpenFolder(&index, sizeof index, false, true, true);
    return true;
  } catch (const VORFileException &) {
    return false;
  }
}

// Entry 1: transition parameters, one section after another, each copied.
void ReadTransitions(const std::vector<uint8_t> &bytes) {
  std::unique_ptr<VORCompiledFile> file = OpenCompiled(bytes);
  if (!file || !OpenEntry(*file, 1))
    return;
  for (uint32_t i = 0; i < kMaxTransitions; ++i) {
    VORFXParams params;
    params.Read(*file);
    VORFXParams copy(params);
    copy = params;
    const VORFXProperties *record = params.GetProperties();
    const VORFXProperties *copied = copy.GetProperties();
    if ((record == nullptr) != (copied == nullptr) || (record != nullptr && !record->IsEqual(*copied)))
      std::abort(); // a copy of the parameters differs from them
  }
}

void WalkAnimation(const VORAnimationController::VORAnimationControllerProperties &record) {
  uint32_t total = 0;
  for (const VORAnimationPathEntry &entry : record.path)
    total += entry.duration;
  for (uint32_t step = 0; step <= kPathSteps; ++step)
    VORAnimationPath::PositionAt(record.path, total / kPathSteps * step + step);
  const VORRect container(0, 0, 640, 480);
  const VORRect object(100, 80, 180, 140);
  for (const int32_t angle : {int32_t{record.entryAngle}, int32_t{record.exitAngle}}) {
    VORAnimationController::FlyPath(container, object, angle, record.entryTime, true);
    VORAnimationController::FlyPath(container, object, angle, record.exitTime, false);
    VORAnimationController::EdgePoint(container, 320, 240, angle);
  }
  VORAnimationController::Bounce bounce;
  bounce.kind = record.kind;
  bounce.limit = record.edgeHitLimit;
  bounce.base = object;
  bounce.startRect = object;
  bounce.xSpeed = record.speed;
  bounce.ySpeed = -record.speed;
  VORRect rect = object;
  for (uint32_t now = 0; now < 10 * kPathSteps && bounce.Step(now, container, rect); now += 10) {
  }
}

void ExerciseRecord(VORObject &object) {
  VORObjectProperties *properties = object.GetProperties();
  if (properties == nullptr)
    return;
  std::unique_ptr<VORObjectProperties> copy(properties->Clone());
  copy->Assign(*properties);
  if (auto *animation = dynamic_cast<VORAnimationController::VORAnimationControllerProperties *>(properties))
    WalkAnimation(*animation);
  if (auto *graphical = dynamic_cast<VORGraphicalObject::VORGraphicalObjectProperties *>(properties)) {
    VORGraphicalObject::VORGraphicalObjectProperties::Admits(graphical->acceptedObjects, object.GetObjectCode());
    VORGraphicalObject::VORGraphicalObjectProperties::IsSet(graphical->linkedResource);
  }
}

struct Sender {
  FakeApp &app;
  uint32_t left = kMaxActionsSent;

  void SendEvents(VORObject &object) {
    VORObject::VORObjectObjectProperties *properties = object.GetObjectProperties();
    if (properties == nullptr)
      return;
    for (uint32_t i = 0; i < properties->events.GetCount(); ++i) {
      const VOREvent *event = properties->events.GetEvent(i);
      const VORActionList *actions = event != nullptr ? event->GetActionList() : nullptr;
      for (uint32_t n = 0; actions != nullptr && n < actions->GetCount() && left > 0; ++n, --left) {
        std::unique_ptr<VORObjectAction> action(actions->GetAction(n)->Clone());
        action->CheckAction();
        action->SetOrigin(object.GetViewReference(), object.GetPageReference());
        app.ExecuteAction(*action);
      }
    }
  }
};

void FireEveryTrigger(VORObject &object) {
  object.FireEvents(VORAutoStartTrigger());
  object.FireEvents(VORMouseTrigger(0x0102));
  object.FireEvents(VORKeyboardTrigger('a'));
  object.FireEvents(VORDropTrigger(VORObjectCode(1, 2, 3)));
  object.FireEvents(VORSynchronizationTrigger(VORObject::kSyncStarted, object.GetObjectCode()));
}

// Every object on the page and under them (an animation controller sits
// under the object it moves).
template <class Visit>
void ForEachObject(const VORRecursiveObjectContainer &container, Visit visit) {
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = container.ChildAt(i); ++i) {
    if (auto *object = dynamic_cast<VORObject *>(child))
      visit(*object);
    ForEachObject(*child, visit);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  std::unique_ptr<VORCompiledFile> file = OpenCompiled(bytes);
  if (!file)
    return 0;
  ReadTransitions(bytes);

  FakeApp app;
  FakeClock clock;
  FakeMachine machine;
  PublicationFile holder(
      VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "fuzz.vor"),
      [&bytes](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> { return OpenCompiled(bytes); });
  app.SetPublicationFile(&holder);
  VORResourceManager resources(machine.MakePlatform());
  app.SetResourceManager(&resources);
  FakeWaveOutDevice::State waveOut;
  FakeMciDevice::State sequencer;
  FakeMciDevice::State cd;
  VORSoundManager::Devices devices;
  devices.waveOut = std::make_unique<FakeWaveOutDevice>(waveOut);
  devices.sequencer = std::make_unique<FakeMciDevice>(sequencer);
  devices.makeCDAudio = [&cd] { return std::make_unique<FakeMciDevice>(cd); };
  VORSoundManager sounds(std::move(devices), clock);
  app.SetSoundManager(&sounds);
  {
    VORPlayerPage page(VORPage::kClassKey, 1);
    VORPageInstance instance(page);
    if (OpenEntry(*file, 0)) {
      try {
        instance.ReadChildren(*file);
      } catch (const VORFileException &) {
      }
    }
    ForEachObject(instance, [](VORObject &object) {
      ExerciseRecord(object);
      std::unique_ptr<VORPageMember>(object.Clone());
    });
    HeadlessView view(1);
    instance.Show(view);
    Sender sender{app};
    ForEachObject(instance, [&sender](VORObject &object) {
      FireEveryTrigger(object);
      sender.SendEvents(object);
    });
    instance.Hide();
  }
  app.SetSoundManager(nullptr);
  app.SetResourceManager(nullptr);
  return 0;
}
