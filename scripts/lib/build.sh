# Sourced by the scripts: configures and builds the two trees.

VOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VOR_BUILD=${VOR_BUILD_DIR:-$VOR_ROOT/build}

vor_build_host() {
  cmake -S "$VOR_ROOT" -B "$VOR_BUILD/host" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
  cmake --build "$VOR_BUILD/host"
}

vor_build_mingw() {
  cmake -S "$VOR_ROOT" -B "$VOR_BUILD/mingw" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VOR_ROOT/cmake/i686-w64-mingw32.cmake" >/dev/null
  cmake --build "$VOR_BUILD/mingw"
}
