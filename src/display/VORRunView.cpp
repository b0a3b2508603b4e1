#include "display/VORRunView.h"

#include "model/VORPageInstance.h"

VORRecursiveObjectContainer *VORRunView::GetInputObjects() { return GetPageInstance(); }

VORRect VORRunView::GetInputPageRect() {
  VORPageInstance *instance = GetPageInstance();
  return instance != nullptr ? instance->GetRect() : VORRect(0, 0, 0, 0);
}
