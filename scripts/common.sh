# Shared by the scripts: packages, architecture, build directory.
# shellcheck shell=bash
TESSEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSEL_BUILD=${TESSEL_BUILD:-$TESSEL_ROOT/build}

TESSEL_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest file
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 mingw-w64-i686-dev mingw-w64-x86-64-dev
  wine wine64 xvfb mscompress imagemagick mtools xorriso osslsigncode openssl)

# Installs the Debian packages that are missing; quiet and idempotent. The
# 32-bit Wine is of use only where the kernel runs 32-bit code; elsewhere its
# i386 packages only give apt more to resolve.
ensure_packages() {
  local missing=() p wanted=("${TESSEL_PACKAGES[@]}")
  [ "$(test_arch)" = i686 ] && wanted+=(wine32:i386)
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  if [ "$(test_arch)" = i686 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Wine runs 32-bit programs only where the kernel executes 32-bit code; on
# other machines the test tiers use a 64-bit build of the same sources.
test_arch() {
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
}

configure_and_build() {
  cmake -S "$TESSEL_ROOT" -B "$TESSEL_BUILD" -G Ninja -DTESSEL_TEST_ARCH="$(test_arch)" >/dev/null
  cmake --build "$TESSEL_BUILD"
}
