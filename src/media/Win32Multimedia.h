#pragma once

#include <windows.h>

#include <mmsystem.h>

#include "foundation/SystemLibrary.h"

// The multimedia library's entries, found when first called: the programs
// import only the core system libraries (the multimedia library brings the
// OLE family with it, which would cost every start-up its loading). A
// missing library or entry answers the fallback, an error by default.
SystemLibrary &MultimediaLibrary();

template <class Function>
class Mm;

template <class Result, class... Arguments>
class Mm<Result(WINAPI *)(Arguments...)> {
public:
  using Function = Result(WINAPI *)(Arguments...);
  explicit Mm(const char *name, Result fallback = static_cast<Result>(MMSYSERR_ERROR))
      : m_function(MultimediaLibrary().Find<Function>(name)), m_fallback(fallback) {}
  Result operator()(Arguments... arguments) const { return m_function ? m_function(arguments...) : m_fallback; }

private:
  Function m_function;
  Result m_fallback;
};
