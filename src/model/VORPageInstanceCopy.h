#pragma once

#include <memory>

#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageInstance.h"

// The instance of a page for a further view while the master instance is
// shown in another: copies of the master's objects, in the same order, and
// a copy of the page's properties of its own.
class VORPageInstanceCopy : public VORPageInstance {
public:
  explicit VORPageInstanceCopy(VORPageInstance &master);
  ~VORPageInstanceCopy() override;

  VORPage::VORPageProperties &GetPageProperties() override { return *m_properties; }
  bool IsCopy() const override { return true; }
  VORGraphicalObjectContainerManager *GetLayoutManager() override { return m_layout.get(); }

private:
  void SetUpLayout(VORPageInstance &master);

  std::unique_ptr<VORPage::VORPageProperties> m_properties;
  std::unique_ptr<VORGraphicalObjectContainerManager> m_layout;
};
