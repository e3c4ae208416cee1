#!/usr/bin/env bash
# Builds libpng, libjpeg-turbo and libzip for win64 from Debian's source packages into
# .deps/win64 (git-ignored). Each part is rebuilt only when its stamp is missing, so a
# cache made before libzip joined keeps its image libraries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
prefix="$deps/win64"
stamp="$prefix/.stamp-v1"
zipstamp="$prefix/.stamp-libzip-v1"
[ -f "$stamp" ] && [ -f "$zipstamp" ] && exit 0

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# apt-get source needs a deb-src entry for the machine's own suites.
srclist=/etc/apt/sources.list.d/brindlewick-src.sources
if ! apt-get indextargets 2>/dev/null | grep -q 'Created-By: Sources'; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$srclist" >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/brindlewick-src.list >/dev/null
  fi
  as_root apt-get update -q
fi

work="$deps/src"
rm -rf "$work"
if [ ! -f "$stamp" ]; then
  rm -rf "$prefix"
fi
mkdir -p "$work" "$prefix"
cd "$work"
# A suite's index can name a version its pool no longer holds: fall back suite by suite.
fetch() {
  local pkg=$1 suite
  for suite in "" /bookworm-security /bookworm-updates /bookworm; do
    apt-get source -q --download-only "$pkg$suite" >/dev/null 2>&1 && return 0
  done
  echo "deps: cannot fetch the Debian source package $pkg" >&2
  return 1
}
unpack() { for dsc in *.dsc; do dpkg-source -x --skip-patches "$dsc" >/dev/null 2>&1 || dpkg-source -x "$dsc" >/dev/null; done; }

tc="$root/cmake/toolchain-win64.cmake"
common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix")
zlib=(-DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include)

if [ ! -f "$stamp" ]; then
echo "deps: building libpng and libjpeg-turbo for win64 (once)"
fetch libpng1.6
fetch libjpeg-turbo
unpack

jpegsrc=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
cmake -S "$jpegsrc" -B build-jpeg "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >/dev/null
cmake --build build-jpeg --target install >/dev/null

pngsrc=$(find . -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)
cmake -S "$pngsrc" -B build-png "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF "${zlib[@]}" >/dev/null
cmake --build build-png --target install >/dev/null
touch "$stamp"
fi

if [ ! -f "$zipstamp" ]; then
echo "deps: building libzip for win64 (once)"
rm -f ./*.dsc
fetch libzip
unpack
# Deflate and stored entries only: what presentations use. Encrypted entries are refused
# by the extractor, so no crypto back end is built.
zipsrc=$(find . -maxdepth 1 -type d -name 'libzip-*' | head -n 1)
cmake -S "$zipsrc" -B build-zip "${common[@]}" -DBUILD_SHARED_LIBS=OFF "${zlib[@]}" \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF \
  -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF -Wno-dev >/dev/null 2>&1
cmake --build build-zip --target install >/dev/null
touch "$zipstamp"
fi

rm -rf "$work"
echo "deps: done"
