# The 32-bit Win32 programs, tested under 32-bit Wine.
set(VOR_MINGW_PROCESSOR i686)
set(VOR_MINGW_WINE wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
