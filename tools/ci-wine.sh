#!/usr/bin/env bash
# The Windows deliverables: the release (tools/release.sh windows: Korvel.clap and Korvel.dll
# cross-built with Debian's mingw-w64 toolchain, packed into dist/Korvel-<version>-windows-x64.zip),
# the archive checked (tools/check-release.sh), then the Win32 test host run under Wine with
# Xvfb on each module of the unpacked archive: editor opened, clicked, wheeled, pictured in
# every domain, closed, unloaded (the VST2 once more as on a pre-Windows 8 system, ticked by
# its timer); then that a module without its korvel-lib folder refuses to start.
# Exits 0 with "wine step skipped: <why>" when the toolchain, Wine or the X server cannot be had
# on this machine; non-zero when a module or a check really fails.
#   tools/ci-wine.sh            (build folder build-release-win, or $KORVEL_WIN_BUILD)
# The editor's pictures land in <build>/wine-out/{clap,vst2}-{time,freq,phase}.png.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${KORVEL_WIN_BUILD:-build-release-win}

skip() {
  echo "wine step skipped: $*"
  exit 0
}
fail() {
  echo "wine step FAILED: $*"
  exit 1
}

# ---- Packages -------------------------------------------------------------------------------
wine_binary() { command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; }; }
wineserver_binary() {
  command -v wineserver || { [ -x /usr/lib/wine/wineserver64 ] && echo /usr/lib/wine/wineserver64; }
}
missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
command -v gendef >/dev/null || missing+=(mingw-w64-tools)
wine_binary >/dev/null || missing+=(wine64)
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xauth >/dev/null || missing+=(xauth)
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! { $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
         { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }; } >/tmp/korvel-ci-wine-apt.log 2>&1; then
    tail -5 /tmp/korvel-ci-wine-apt.log
    skip "could not install ${missing[*]}"
  fi
fi
wine=$(wine_binary) || skip "wine64 is not installed"
wineserver=$(wineserver_binary) || skip "wineserver is not installed"

# ---- Cross-built release, unpacked -----------------------------------------------------------
echo "== Windows release (x86_64-w64-mingw32) in $build"
KORVEL_RELEASE_BUILD=$build tools/release.sh windows
case $? in
  0) ;;
  3) skip "Skia for Windows (SkiaSharp.NativeAssets.Win32) could not be restored" ;;
  *) fail "the Windows release build failed" ;;
esac
grep -q "^CMAKE_TOOLCHAIN_FILE:.*mingw-w64-x86_64.cmake" "$build/CMakeCache.txt" ||
  fail "$build was configured for another system (a cache ignores a new toolchain): remove it"
cmake --build "$build" -j2 --target korvel-wine-host || fail "the Win32 test host did not build"
archive=$(ls dist/Korvel-*-windows-x64.zip)
tools/check-release.sh "$archive" || fail "the Windows archive"
unpacked=$build/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$archive" -d "$unpacked"
release=$(ls -d "$unpacked"/Korvel-*)
cp "$build/bin/korvel-wine-host.exe" "$unpacked/"

# ---- Wine -----------------------------------------------------------------------------------
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
out="$build/wine-out"
rm -rf "$out"
mkdir -p "$out"
# One Xvfb for every run; wineserver ends with each run so no process outlives the step.
in_x() { timeout "$1" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "$2; rc=\$?; \"$wineserver\" -k 2>/dev/null; exit \$rc"; }

echo "== Wine: $("$wine" --version 2>/dev/null)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  in_x 240 "\"$wine\" wineboot -i >\"$out/wineboot.log\" 2>&1 && \"$wineserver\" -w" ||
    { tail -5 "$out/wineboot.log"; skip "Wine could not set up its prefix"; }
fi
in_x 60 "\"$wine\" cmd /c exit 0 >/dev/null 2>&1" || skip "Wine does not start programs here"

# The Windows version Wine reports decides the editor's tick source: Windows 8 and later, the
# vertical-blank thread (Wine has no D3DKMTWaitForVerticalBlankEvent, so its 16 ms pacing);
# before, timer 2.
version_key='HKCU\Software\Wine'
windows_version() {
  in_x 60 "\"$wine\" reg add '$version_key' /v Version /d $1 /f >/dev/null 2>&1" || fail "Wine's reg failed"
}

status=0
windows_version win10
for kind in clap vst2; do
  module=$([ $kind = clap ] && echo Korvel.clap || echo Korvel.dll)
  folder=$([ $kind = clap ] && echo CLAP || echo VST2)
  echo "== $kind: korvel-wine-host $kind $folder/$module (unpacked)"
  in_x 120 "\"$wine\" \"$unpacked/korvel-wine-host.exe\" $kind \"$release/$folder/$module\" \"$out/$kind\""
  rc=$?
  [ $rc -eq 124 ] && echo "timed out"
  [ $rc -eq 0 ] || status=1
done

echo "== vst2 on a system that reports Windows 7 (ticks from timer 2)"
windows_version win7
in_x 120 "\"$wine\" \"$unpacked/korvel-wine-host.exe\" vst2 \"$release/VST2/Korvel.dll\" \"$out/win7-vst2\"" || status=1
windows_version win10

# The same modules in a folder without korvel-lib: a clean refusal, no crash.
lonely="$build/wine-without-skia"
rm -rf "$lonely"
mkdir -p "$lonely"
cp "$release/CLAP/Korvel.clap" "$release/VST2/Korvel.dll" "$unpacked/korvel-wine-host.exe" "$lonely/"
for kind in clap vst2; do
  module=$([ $kind = clap ] && echo Korvel.clap || echo Korvel.dll)
  echo "== $kind without korvel-lib"
  in_x 60 "\"$wine\" \"$lonely/korvel-wine-host.exe\" $kind-without-skia \"$lonely/$module\"" || status=1
done

[ $status -eq 0 ] || fail "a module failed under Wine (see the lines above)"
echo "wine step passed; the editor's pictures: $(ls "$out"/*.png | tr '\n' ' ')"
