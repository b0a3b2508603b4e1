# Cross toolchain for the Win32 programs, shared by both targets: the
# toolchain file that includes this one sets VOR_MINGW_PROCESSOR (i686 or
# x86_64) and VOR_MINGW_WINE (the Wine loader that runs that target's tests).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VOR_MINGW_PROCESSOR})
set(triple ${VOR_MINGW_PROCESSOR}-w64-mingw32)

# The posix thread model: with the win32 model, GCC 12's libstdc++ has no
# std::thread or std::mutex, and GoogleTest does not compile without them.
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# scripts/setup cross-builds libjpeg-turbo into /opt/vor/mingw-<processor>.
set(CMAKE_FIND_ROOT_PATH /usr/${triple} /opt/vor/mingw-${VOR_MINGW_PROCESSOR})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program runs with no extra DLL beside it: it imports only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the test programs under Wine, with the address space laid out
# without randomness (setarch -R; scripts/lib/wine-env.sh says why).
set(CMAKE_CROSSCOMPILING_EMULATOR setarch -R ${VOR_MINGW_WINE})
