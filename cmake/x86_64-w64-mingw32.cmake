# The 64-bit Win32 programs, tested under 64-bit Wine. Debian puts no wine64
# on the PATH, and its `wine` picks the 32-bit loader whenever that is
# installed, even where 32-bit code cannot run: name the 64-bit loader.
set(VOR_MINGW_PROCESSOR x86_64)
set(VOR_MINGW_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
