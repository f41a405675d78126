# Shared by the scripts: packages, architecture, build directory.
# shellcheck shell=bash
TESSEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSEL_BUILD=${TESSEL_BUILD:-$TESSEL_ROOT/build}

TESSEL_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest file
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 mingw-w64-i686-dev mingw-w64-x86-64-dev
  wine wine64 xvfb mscompress imagemagick mtools xorriso osslsigncode openssl lzma-dev)

# Installs the Debian packages that are missing; quiet and idempotent. The
# 32-bit Wine is of use only where the kernel runs 32-bit code, and comes
# last and on its own: when the mirror's i386 index is out of step, apt
# cannot resolve it, and the tests then run the 64-bit build instead.
ensure_packages() {
  local missing=() p
  for p in "${TESSEL_PACKAGES[@]}"; do
    package_installed "$p" || missing+=("$p")
  done
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if kernel_runs_32_bit && ! package_installed wine32:i386; then
    echo "Installing: wine32:i386"
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
    "${sudo[@]}" apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null 2>&1 ||
      echo "wine32:i386 could not be installed; the tests run the x86_64 build"
  fi
}

package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

kernel_runs_32_bit() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Wine runs 32-bit programs only where the kernel executes 32-bit code and the
# 32-bit Wine is installed; elsewhere the test tiers use a 64-bit build of the
# same sources.
test_arch() {
  if kernel_runs_32_bit && package_installed wine32:i386; then echo i686; else echo x86_64; fi
}

configure_and_build() {
  cmake -S "$TESSEL_ROOT" -B "$TESSEL_BUILD" -G Ninja -DTESSEL_TEST_ARCH="$(test_arch)" >/dev/null
  cmake --build "$TESSEL_BUILD"
}
