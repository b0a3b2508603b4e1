# Sourced by the scripts: picks the Windows target and configures and builds
# the trees.
#
# Two Windows targets come from the one code base: i686 (32-bit programs) and
# x86_64 (64-bit programs). Each has its own tree, build/mingw-<target>. The
# target a machine tests is i686 where it can run 32-bit code and x86_64 under
# 64-bit Wine where it cannot; VOR_TARGET=i686 or VOR_TARGET=x86_64 forces one.

VOR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VOR_BUILD=${VOR_BUILD_DIR:-$VOR_ROOT/build}

# ccache shares objects between work trees: paths inside the tree are hashed
# relative to it, and the build folder is left out of the hash.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$VOR_ROOT}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

# Some kernels execute no 32-bit code at all, and 32-bit Wine cannot start on
# them. Asking the 32-bit dynamic loader for its version answers at once
# either way (it fails with "Exec format error", or is missing).
vor_runs_32bit() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Sets VOR_TARGET (the target this machine tests) and VOR_TARGET_REASON.
vor_pick_target() {
  case "${VOR_TARGET:-}" in
    i686 | x86_64)
      VOR_TARGET_REASON="forced by VOR_TARGET"
      ;;
    "")
      if vor_runs_32bit; then
        VOR_TARGET=i686
        VOR_TARGET_REASON="this machine runs 32-bit code"
      else
        VOR_TARGET=x86_64
        VOR_TARGET_REASON="this machine runs no 32-bit code"
      fi
      ;;
    *)
      echo "VOR_TARGET must be i686 or x86_64, not '$VOR_TARGET'" >&2
      return 1
      ;;
  esac
  export VOR_TARGET
}

# The other target: built on every machine, so neither product breaks unseen.
vor_other_target() {
  if [ "$1" = i686 ]; then echo x86_64; else echo i686; fi
}

vor_mingw_tree() {
  echo "$VOR_BUILD/mingw-$1"
}

vor_build_host() {
  cmake -S "$VOR_ROOT" -B "$VOR_BUILD/host" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
  cmake --build "$VOR_BUILD/host"
}

# vor_build_mingw <target> [cmake build targets...]: the whole tree by default.
vor_build_mingw() {
  local target=$1
  shift
  local tree
  tree=$(vor_mingw_tree "$target")
  cmake -S "$VOR_ROOT" -B "$tree" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VOR_ROOT/cmake/$target-w64-mingw32.cmake" >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$tree" --target "$@"
  else
    cmake --build "$tree"
  fi
}

# The three programs alone.
vor_build_programs() {
  vor_build_mingw "$1" vorplayer vorcompact vorsaver
}
