#pragma once

#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPage.h"

// The page as the player reads it: its properties with the chapter, its
// objects through the page cache when it is first retained.
class VORPlayerPage : public VORPage {
public:
  class VORPlayerPageProperties : public VORPage::VORPageProperties {
  public:
    VORPlayerPageProperties() = default;
    VORPlayerPageProperties(const VORPlayerPageProperties &other) = default;
    ~VORPlayerPageProperties() override;
    VORObjectProperties *Clone() const override { return new VORPlayerPageProperties(*this); }
  };

  VORPlayerPage(uint32_t classKey, int32_t id);
  ~VORPlayerPage() override;

  // Opens the page's folder (keyed by its whole reference) and reads the
  // properties; the objects are not read here.
  void Read(VORFile &file) override;

  // Loads the objects through the application's page cache (again when the
  // cache let them go); false when they cannot be loaded.
  bool Retain() override;
  // The objects stay loaded after the last release: the cache unloads them
  // once enough other pages have been loaded.
  void Release() override;

  VORPageProperties &GetPageProperties() override { return m_properties; }
  VORObjectProperties *GetProperties() override { return &m_properties; }
  VORGraphicalObjectContainerManager *GetMasterLayoutManager() override { return &m_layout; }

private:
  VORPlayerPageProperties m_properties;
  VORGraphicalObjectContainerManager m_layout;
};
