#include "transitions/VORTimedFX.h"

#include <windows.h>

#include "display/DrawingContext.h"
#include "display/VORBitmapObjectSurface.h"
#include "engine/VORUpdateController.h"
#include "model/VORApp.h"
#include "transitions/ModalRunPump.h"
#include "transitions/TransitionTiming.h"

VORTimedFX::VORTimedFX(VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture,
                       VORDrawingSurface *completion)
    : m_target(target), m_oldPicture(oldPicture), m_completion(completion) {}

VORTimedFX::~VORTimedFX() = default;

uint32_t VORTimedFX::Now() const {
  if (const VORUpdateController *controller = GetController())
    return controller->Now();
  return ::GetTickCount();
}

VORRect VORTimedFX::GetRect() const {
  if (m_modal || m_target == nullptr)
    return m_rect;
  return m_target->GetBounds();
}

void VORTimedFX::Start(bool closing) {
  if (m_target != nullptr)
    m_target->NotifyOwner(GetRect());
  m_closing = closing;
  Prepare();
  m_total = std::max(GetTotalSteps(), 0);
  m_increment = std::max(GetStepIncrement(), 1);
  m_currentStep = -1;
  m_started = false;
  VORFX::Start(closing);
}

void VORTimedFX::EndRun() {
  Finish();
  SetState(kFinished);
}

void VORTimedFX::Update(uint32_t &nextDue) {
  if (GetState() != kRunning)
    return;
  const uint32_t now = Now();
  if (!m_started) {
    m_started = true;
    m_startTime = now;
  }
  if (m_modal) {
    const int32_t step = TransitionTiming::ModalStep(now - m_startTime, m_total, m_duration);
    if (step >= m_total) {
      m_currentStep = m_total;
      DrawStep(m_total);
      EndRun();
      nextDue = TransitionTiming::kNever;
      if (m_target != nullptr)
        m_target->NotifyOwner(GetRect());
      return;
    }
    if (step != m_currentStep) {
      DrawStep(step);
      m_currentStep = step;
    }
    nextDue = now;
    return;
  }
  const TransitionTiming::ControllerStep next =
      TransitionTiming::NextControllerStep(m_currentStep, m_increment, m_total, m_duration, m_startTime, now);
  m_currentStep = next.step;
  m_increment = next.increment;
  DrawStep(next.step);
  nextDue = next.nextDue;
  if (next.finished) {
    EndRun();
    if (m_completion != nullptr && m_target != nullptr)
      m_completion->AddDirtyRect(m_target->GetBounds());
  }
}

void VORTimedFX::BeginModal(const VORRect &rect, bool closing) {
  m_modal = true;
  m_rect = rect;
  Start(closing);
}

void VORTimedFX::RunModal(const VORRect &rect, bool closing) {
  BeginModal(rect, closing);
  ModalRunPump pump;
  while (GetState() == kRunning) {
    uint32_t nextDue = TransitionTiming::kNever;
    Update(nextDue);
    if (GetState() != kRunning || pump.ExitRequested())
      break;
    pump.Pump();
  }
}

DrawingContext *VORTimedFX::GetOutputContext() const {
  if (m_completion != nullptr)
    return m_completion->GetDrawingContext();
  if (m_target != nullptr && m_target->GetOwner() != nullptr)
    return m_target->GetOwner()->GetDrawingContext();
  return nullptr;
}

VORRect VORTimedFX::ToOutput(const VORRect &rect) const { return rect; }

void VORTimedFX::Report(const VORRect &rect) {
  if (rect.IsEmpty())
    return;
  if (m_modal) {
    Paint(ToOutput(rect), rect);
    return;
  }
  if (m_target != nullptr)
    m_target->NotifyOwner(rect);
}

void VORTimedFX::PaintOldPicture(const VORRect &destination, const VORRect &source) {
  DrawingContext *output = GetOutputContext();
  if (m_oldPicture != nullptr && output != nullptr)
    m_oldPicture->CopyToContext(source, destination, nullptr, output, 0);
}

void VORTimedFX::PaintNewPicture(const VORRect &destination, const VORRect &source, DrawingContext *mask,
                                 int32_t transparency) {
  DrawingContext *output = GetOutputContext();
  if (m_target != nullptr && output != nullptr)
    m_target->CopyToContext(source, destination, mask, output, transparency);
}
