#include "media/Win32Multimedia.h"

SystemLibrary &MultimediaLibrary() {
  static SystemLibrary winmm("winmm.dll");
  return winmm;
}
