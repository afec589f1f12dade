#!/usr/bin/env bash
# The Windows deliverables: cross-builds Korvel.clap and Korvel.dll (and the Win32 test host)
# with Debian's mingw-w64 toolchain, checks their exports, and runs the host under Wine with
# Xvfb on each module: editor opened, clicked, wheeled, pictured in every domain, closed,
# unloaded (the VST2 once more as on a pre-Windows 8 system, ticked by its timer); then that a
# module without libSkiaSharp.dll beside it refuses to start.
# Exits 0 with "wine step skipped: <why>" when the toolchain, Wine or the X server cannot be had
# on this machine; non-zero when a module or a check really fails.
#   tools/ci-wine.sh            (build folder build-win, or $KORVEL_WIN_BUILD)
# The editor's pictures land in <build>/wine-out/{clap,vst2}-{time,freq,phase}.png.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${KORVEL_WIN_BUILD:-build-win}

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

# ---- Cross-build ----------------------------------------------------------------------------
echo "== cross-build (x86_64-w64-mingw32) in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  || fail "the Windows configure failed"
grep -q "^CMAKE_TOOLCHAIN_FILE:.*mingw-w64-x86_64.cmake" "$build/CMakeCache.txt" ||
  fail "$build was configured for another system (a cache ignores a new toolchain): remove it"
[ -f "$build/bin/libSkiaSharp.dll" ] || skip "Skia for Windows (SkiaSharp.NativeAssets.Win32) could not be restored"
cmake --build "$build" -j2 --target korvel_clap korvel_vst2_plugin korvel-wine-host || fail "the Windows build failed"

exports_of() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\]/ {print $NF}' |
    grep -v Table | sort | tr '\n' ' '
}
clap_exports=$(exports_of "$build/bin/Korvel.clap")
vst2_exports=$(exports_of "$build/bin/Korvel.dll")
echo "Korvel.clap exports: $clap_exports"
echo "Korvel.dll exports: $vst2_exports"
[ "$clap_exports" = "clap_entry clap_factory " ] || fail "Korvel.clap must export exactly clap_entry and clap_factory"
[ "$vst2_exports" = "VSTPluginMain main " ] || fail "Korvel.dll must export exactly VSTPluginMain and main"
if x86_64-w64-mingw32-objdump -p "$build/bin/Korvel.clap" "$build/bin/Korvel.dll" | grep -qi "DLL Name: libSkiaSharp"; then
  fail "a module imports libSkiaSharp.dll statically (hosts would look for it beside their program)"
fi

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
  echo "== $kind: korvel-wine-host $kind $module"
  in_x 120 "\"$wine\" \"$build/bin/korvel-wine-host.exe\" $kind \"$build/bin/$module\" \"$out/$kind\""
  rc=$?
  [ $rc -eq 124 ] && echo "timed out"
  [ $rc -eq 0 ] || status=1
done

echo "== vst2 on a system that reports Windows 7 (ticks from timer 2)"
windows_version win7
in_x 120 "\"$wine\" \"$build/bin/korvel-wine-host.exe\" vst2 \"$build/bin/Korvel.dll\" \"$out/win7-vst2\"" || status=1
windows_version win10

# The same modules in a folder without Skia's library: a clean refusal, no crash.
lonely="$build/wine-without-skia"
rm -rf "$lonely"
mkdir -p "$lonely"
cp "$build/bin/Korvel.clap" "$build/bin/Korvel.dll" "$build/bin/korvel-wine-host.exe" "$lonely/"
for kind in clap vst2; do
  module=$([ $kind = clap ] && echo Korvel.clap || echo Korvel.dll)
  echo "== $kind without libSkiaSharp.dll"
  in_x 60 "\"$wine\" \"$lonely/korvel-wine-host.exe\" $kind-without-skia \"$lonely/$module\"" || status=1
done

[ $status -eq 0 ] || fail "a module failed under Wine (see the lines above)"
echo "wine step passed; the editor's pictures: $(ls "$out"/*.png | tr '\n' ' ')"
