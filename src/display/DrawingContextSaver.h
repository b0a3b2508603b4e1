#pragma once

#include <windows.h>

#include "foundation/VORRect.h"

class DrawingContext;

// Remembers a context's origin and clip rectangle and puts them back when it
// goes out of scope.
class DrawingContextSaver {
public:
  explicit DrawingContextSaver(DrawingContext &context);
  ~DrawingContextSaver();

  DrawingContextSaver(const DrawingContextSaver &) = delete;
  DrawingContextSaver &operator=(const DrawingContextSaver &) = delete;

private:
  DrawingContext &m_context;
  POINT m_origin;
  VORRect m_clip;
};
