#pragma once

#include <cstdint>

#include "model/VORExternalResourceIdentifier.h"
#include "vorfile/VORString.h"

// The pointer shape a view shows: the one page objects or the publication
// ask for, loaded when it changes. Shapes loaded from files belong to the
// view and are destroyed when replaced; the system's shapes (named "%"
// and a hexadecimal number) and the shape the view started with are shared
// and never destroyed.
class ViewCursor {
public:
  using Handle = void *;
  // The system's arrow, as "%" and its hexadecimal number name it.
  static constexpr int32_t kArrowId = 0x7F00;

  // The system calls the view makes for its pointer.
  class Platform {
  public:
    Platform() = default;
    Platform(const Platform &) = delete;
    Platform &operator=(const Platform &) = delete;
    virtual ~Platform() = default;
    // Null when the system has no such shape.
    virtual Handle LoadSystemCursor(int32_t id) = 0;
    virtual Handle LoadCursorFile(const char *path) = 0;
    virtual void DestroyCursor(Handle cursor) = 0;
    virtual void SetCursor(Handle cursor) = 0;
    virtual Handle GetCursor() = 0;
    // The file a name stands for; false when it cannot be found.
    virtual bool ResolvePath(const VORExternalResourceIdentifier &identifier, VORString &path) = 0;
  };

  // The view starts with the system arrow in use.
  explicit ViewCursor(Platform &platform);
  ViewCursor(const ViewCursor &) = delete;
  ViewCursor &operator=(const ViewCursor &) = delete;
  ~ViewCursor();

  // Null changes nothing. A named shape becomes the wanted one; an empty
  // identifier only asks to look again when the arrow is not in use.
  void SetObjectCursor(const VORExternalResourceIdentifier *identifier);
  void SetWanted(const VORExternalResourceIdentifier &identifier) { m_wanted = identifier; }
  void RequestUpdate() { m_updateWanted = true; }
  bool IsUpdateWanted() const { return m_updateWanted; }
  // Shows the wanted shape (loading it when it changed); publicationCursor,
  // when given, is what the application asks for in place of the objects.
  void Update(const VORExternalResourceIdentifier *publicationCursor);

  Handle GetHandle() const { return m_handle; }
  bool OwnsHandle() const { return m_owned; }

private:
  static bool IsSystemName(const VORString &name);
  // The shape the name gives; owned says whether the view must destroy it.
  // False when the name's file cannot be found.
  bool Load(const VORExternalResourceIdentifier &identifier, Handle &handle, bool &owned);

  Platform &m_platform;
  VORExternalResourceIdentifier m_wanted;
  VORExternalResourceIdentifier m_current;
  Handle m_handle = nullptr;
  bool m_owned = false;
  Handle m_arrow = nullptr;
  bool m_updateWanted = true;
};
