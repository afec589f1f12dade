#!/usr/bin/env bash
# The release: optimised modules built from this tree, stripped, and packed with Skia, an
# install note, the licence and the third-party notices into one archive per platform.
#   tools/release.sh            both archives (Windows when the mingw-w64 toolchain is there)
#   tools/release.sh linux      build-release/     -> dist/Korvel-<version>-linux-x86_64.tar.gz
#   tools/release.sh windows    build-release-win/ -> dist/Korvel-<version>-windows-x64.zip
# The modules' debug information lands beside the archive, in
# dist/Korvel-<version>-<platform>-debug/<format>/<module>.debug (each stripped module names
# its file in a .gnu_debuglink section). $KORVEL_RELEASE_BUILD and $KORVEL_DIST choose other
# build and archive folders. The archive's layout is the one `cmake --install` makes
# (cmake/KorvelInstall.cmake); archives carry no time stamps, owners or build paths. Exits 3
# when Skia could not be restored.
set -euo pipefail
cd "$(dirname "$0")/.."

platform=${1:-all}
if [ "$platform" = all ]; then
  tools/release.sh linux
  if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    echo "release: no Windows archive without the mingw-w64 toolchain (tools/ci-wine.sh installs it)"
    exit 0
  fi
  tools/release.sh windows
  exit
fi
case "$platform" in
  linux)
    build=${KORVEL_RELEASE_BUILD:-build-release}
    toolchain=()
    tools=""
    suffix=linux-x86_64
    targets=(korvel_clap korvel_vst2_plugin korvel-render)
    ;;
  windows)
    build=${KORVEL_RELEASE_BUILD:-build-release-win}
    toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake)
    tools=x86_64-w64-mingw32-
    suffix=windows-x64
    targets=(korvel_clap korvel_vst2_plugin)
    ;;
  *)
    echo "usage: tools/release.sh [linux|windows]" >&2
    exit 2
    ;;
esac
dist=${KORVEL_DIST:-dist}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== release build ($platform) in $build"
# Relative install folders (typed, so CMake keeps them relative): the archive's CLAP/ and
# VST2/ under the staging prefix.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_BENCHMARKS=OFF \
  -DKORVEL_CLAP_INSTALL_DIR:STRING=CLAP -DKORVEL_VST2_INSTALL_DIR:STRING=VST2 "${toolchain[@]}" "${launcher[@]}" >/dev/null
# Exit status 3: Skia could not be restored, so there is nothing to ship.
grep -q "^CMAKE_PROJECT_VERSION:" "$build/CMakeCache.txt" && [ -n "$(ls "$build"/nuget/*/*/runtimes/*-x64/native/libSkiaSharp.* 2>/dev/null)" ] ||
  { echo "release: Skia could not be restored in $build" >&2; exit 3; }
cmake --build "$build" -j2 --target "${targets[@]}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Korvel-$version-$suffix
stage=$build/stage
root=$stage/$name
debug=$dist/$name-debug
rm -rf "$stage" "$debug"
mkdir -p "$root" "$debug" "$dist"
cmake --install "$build" --prefix "$root" --component clap >/dev/null
cmake --install "$build" --prefix "$root" --component vst2 >/dev/null

# Debug information out, into <module>.debug beside the archive; the module keeps its link.
for module in "$root"/CLAP/Korvel.clap "$root"/VST2/Korvel.*; do
  format=$(basename "$(dirname "$module")")
  file=$(basename "$module")
  mkdir -p "$debug/$format"
  "${tools}objcopy" --only-keep-debug "$module" "$debug/$format/$file.debug"
  "${tools}strip" --strip-unneeded "$module"
  module=$(realpath "$module")
  (cd "$debug/$format" && "${tools}objcopy" --add-gnu-debuglink="$file.debug" "$module")
done

# The texts: install note, the project's licence, and the licences of what ships inside:
# Skia with what it is built from (its package's own notices), Roboto (embedded in the
# modules), and for Windows the MinGW-w64 runtime linked into the modules.
note=tools/release/INSTALL-$platform.txt
floor() { sed -n "s/.*glibc \`\(GLIBC_[0-9.]*\)\` and libstdc++ \`\(GLIBCXX_[0-9.]*\)\`.*/\\$1/p" README.md; }
sed -e "s/@VERSION@/$version/" -e "s/@GLIBC@/$(floor 1 | sed 's/GLIBC_//')/" \
  -e "s/@GLIBCXX@/$(floor 2 | sed 's/GLIBCXX_//')/" "$note" >"$root/INSTALL.txt"
cp LICENSE "$root/LICENSE.txt"
# The NuGet package whose library is the one shipped.
skia=$(find "$root/CLAP/korvel-lib" -type f)
skia_package=""
for candidate in "$build"/nuget/skiasharp.nativeassets.*/*/; do
  for library in "$candidate"runtimes/*-x64/native/libSkiaSharp.*; do
    [ -f "$library" ] && cmp -s "$library" "$skia" && skia_package=$candidate
  done
done
[ -n "$skia_package" ] || { echo "release: no restored Skia package holds $skia" >&2; exit 1; }
{
  echo "Korvel ships with the following third-party software."
  echo
  echo "================================================================================"
  echo "korvel-lib/$(basename "$skia"): Skia and what it is built from, as the NuGet package"
  echo "$(basename "$(dirname "$skia_package")") $(basename "$skia_package") ships them. The package's licence and notices:"
  echo "================================================================================"
  echo
  cat "$skia_package/LICENSE.txt"
  echo
  cat "$skia_package/THIRD-PARTY-NOTICES.txt"
  echo
  echo "================================================================================"
  echo "The font Roboto, embedded in the modules (Debian package fonts-roboto-unhinted)"
  echo "================================================================================"
  echo
  cat /usr/share/doc/fonts-roboto-unhinted/copyright
  echo
  cat /usr/share/common-licenses/Apache-2.0
  if [ "$platform" = windows ]; then
    echo
    echo "================================================================================"
    echo "The MinGW-w64 runtime and winpthreads, linked into the modules (Debian package"
    echo "mingw-w64-x86-64-dev). The GCC runtime (libstdc++, libgcc), also linked in, is under"
    echo "the GPL version 3 with the GCC Runtime Library Exception, which lets it be shipped"
    echo "in a program under any licence."
    echo "================================================================================"
    echo
    cat /usr/share/doc/mingw-w64-x86-64-dev/copyright
  fi
} >"$root/THIRD-PARTY-NOTICES.txt"

# Same bytes for the same tree: fixed times and modes, sorted entries, no owners.
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f -exec chmod 644 {} +
chmod 755 "$root"/CLAP/Korvel.clap "$root"/VST2/Korvel.* "$root"/*/korvel-lib/*
find "$stage" -exec touch -h -d @315532800 {} +
archive=$dist/$name
if [ "$platform" = linux ]; then
  archive+=.tar.gz
  tar -C "$stage" --sort=name --mtime=@315532800 --owner=0 --group=0 --numeric-owner --format=gnu -cf - "$name" |
    gzip -9n >"$archive"
else
  archive+=.zip
  rm -f "$archive"
  target=$(realpath -m "$archive")
  (cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -X -9 -q "$target" -@)
fi
echo "release: $archive"
for module in "$root"/CLAP/Korvel.clap "$root"/VST2/Korvel.*; do
  echo "  $(basename "$module"): $(stat -c %s "$module") bytes stripped"
done
echo "  debug information: $debug"
