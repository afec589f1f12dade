#!/usr/bin/env bash
# Checks a release archive of tools/release.sh as a user gets it: unpacked into an empty
# folder standing for a home folder and installed there as its INSTALL.txt says.
#   tools/check-release.sh dist/Korvel-<version>-linux-x86_64.tar.gz
#   tools/check-release.sh dist/Korvel-<version>-windows-x64.zip
# Both: the files of the archive, the modules' exports, their size without Skia, no build
# folder named in them. Linux also: run path, the glibc and libstdc++ floor that README.md
# states, the render tool of the release build (build-release, or $KORVEL_RELEASE_BUILD)
# rendering through the installed Korvel.clap, the test hosts of the developer build (build,
# or $KORVEL_TEST_BUILD) loading both installed modules, and the scanners of Ardour and
# Qtractor (installed when missing) listing Korvel and nothing failed. tools/ci-wine.sh runs
# the Windows modules under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
source=$PWD
archive=${1:?usage: tools/check-release.sh <archive>}
[ -f "$archive" ] || { echo "no archive $archive" >&2; exit 2; }
release_build=${KORVEL_RELEASE_BUILD:-build-release}
test_build=${KORVEL_TEST_BUILD:-build}

status=0
fail() {
  echo "FAILED: $*"
  status=1
}
ok() { echo "ok: $*"; }

home=$(mktemp -d /tmp/korvel-release-home.XXXXXX)
trap 'rm -rf "$home"' EXIT
name=$(basename "$archive")
case "$name" in
  *-linux-x86_64.tar.gz)
    platform=linux
    name=${name%.tar.gz}
    tar -xzf "$archive" -C "$home"
    ;;
  *-windows-x64.zip)
    platform=windows
    name=${name%.zip}
    unzip -q "$archive" -d "$home"
    ;;
  *)
    echo "not a release archive: $archive" >&2
    exit 2
    ;;
esac
root=$home/$name
version=${name#Korvel-}
version=${version%%-*}
echo "== $archive unpacked in $home"

# ---- What the archive holds ---------------------------------------------------------------
if [ $platform = linux ]; then
  clap=CLAP/Korvel.clap vst2=VST2/Korvel.so size_limit=1572864
  skia=$(readelf -d "$root/$clap" | sed -n 's/.*(NEEDED).*\[\(libSkiaSharp[^]]*\)\]/\1/p')
  [ -n "$skia" ] || fail "Korvel.clap does not need Skia"
else
  clap=CLAP/Korvel.clap vst2=VST2/Korvel.dll size_limit=3145728 skia=libSkiaSharp.skia
fi
expected=$(printf '%s\n' INSTALL.txt LICENSE.txt THIRD-PARTY-NOTICES.txt "$clap" "CLAP/korvel-lib/$skia" \
  "$vst2" "VST2/korvel-lib/$skia" | LC_ALL=C sort)
found=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$found" = "$expected" ] && ok "the archive holds: $(echo $found)" ||
  fail "the archive holds $(echo $found); expected $(echo $expected)"
# A plug-in folder holds only the module and korvel-lib, which no scanner takes for a plug-in.
for format in CLAP VST2; do
  takes=$([ $format = CLAP ] && echo '*.clap' || { [ $platform = linux ] && echo '*.so' || echo '*.dll'; })
  modules=$(cd "$root/$format" && find . -name "$takes" | sed 's|^\./||')
  [ "$modules" = "$(basename "$([ $format = CLAP ] && echo $clap || echo $vst2)")" ] &&
    ok "$format: the only file named $takes is the module" || fail "$format: files named $takes: $modules"
done
grep -q "Marrowby Audio" "$root/LICENSE.txt" || fail "LICENSE.txt is not Korvel's licence"
for notice in "Google Inc" "Apache License" "skia"; do
  grep -q "$notice" "$root/THIRD-PARTY-NOTICES.txt" || fail "THIRD-PARTY-NOTICES.txt lacks \"$notice\""
done

# ---- The modules ----------------------------------------------------------------------------
exports_of() {
  if [ $platform = linux ]; then
    nm -D --defined-only "$1" | awk '{print $NF}' | LC_ALL=C sort | tr '\n' ' '
  else
    x86_64-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      awk '/\]/ {print $NF}' | grep -v Table | LC_ALL=C sort | tr '\n' ' '
  fi
}
for module in "$clap" "$vst2"; do
  file=$root/$module
  want=$([ "$module" = "$clap" ] && echo "clap_entry clap_factory " || echo "VSTPluginMain main ")
  got=$(exports_of "$file")
  [ "$got" = "$want" ] && ok "$module exports $got" || fail "$module exports '$got', not '$want'"
  size=$(stat -c %s "$file")
  [ "$size" -le $size_limit ] && ok "$module: $size bytes (limit $size_limit)" ||
    fail "$module: $size bytes, over $size_limit"
  # Read whole first: grep -q would end the pipe early, which pipefail counts as a failure.
  text=$(strings -a "$file")
  named=$(grep -F -e "$source" -e "$(realpath "$release_build" 2>/dev/null || echo "$source")" <<<"$text" | head -3)
  [ -z "$named" ] && ok "$module names no build folder" || fail "$module names a build folder: $named"
  grep -q -x -F "$version" <<<"$text" || fail "$module does not carry its version $version"
  if [ $platform = linux ]; then
    runpath=$(readelf -d "$file" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [ "$runpath" = '$ORIGIN/korvel-lib' ] && ! readelf -d "$file" | grep -q '(RPATH)' &&
      ok "$module run path: $runpath" || fail "$module run path '$runpath' is not \$ORIGIN/korvel-lib alone"
  elif grep -qi "DLL Name: libSkiaSharp" <<<"$(x86_64-w64-mingw32-objdump -p "$file")"; then
    fail "$module imports libSkiaSharp.dll statically (hosts would look for it beside their program)"
  fi
done
if [ $platform = windows ]; then
  [ $status -eq 0 ] && echo "release check passed: $archive" || echo "release check FAILED: $archive"
  exit $status
fi

# The newest glibc and libstdc++ symbol versions the modules need: the floor README.md states.
newest() { objdump -T "$root/$clap" "$root/$vst2" | grep -o "$1_[0-9.]*" | sort -uV | tail -1; }
stated() { sed -n "s/.*glibc \`\(GLIBC_[0-9.]*\)\` and libstdc++ \`\(GLIBCXX_[0-9.]*\)\`.*/\\$1/p" README.md | head -1; }
for pair in "GLIBC 1" "GLIBCXX 2"; do
  set -- $pair
  need=$(newest "$1") floor=$(stated "$2")
  if [ -z "$floor" ]; then
    fail "README.md states no $1 floor"
  elif [ "$need" = "$floor" ]; then
    ok "newest $1 version needed: $need, as README.md states"
  elif [ "$(printf '%s\n' "$need" "$floor" | sort -V | tail -1)" = "$need" ]; then
    fail "the modules need $need, above the floor $floor that README.md states"
  else
    fail "the modules need at most $need: README.md states $floor, update it"
  fi
done

# ---- Installed as INSTALL.txt says, in a home folder of its own -----------------------------
export HOME=$home
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
mkdir -p "$HOME/.clap" "$HOME/.vst"
cp -r "$root/CLAP/." "$HOME/.clap/"
cp -r "$root/VST2/." "$HOME/.vst/"
for module in "$HOME/.clap/Korvel.clap" "$HOME/.vst/Korvel.so"; do
  loads=$(ldd "$module" | sed -n 's/.*libSkiaSharp[^ ]* => \([^ ]*\).*/\1/p')
  [ "$loads" = "$(dirname "$module")/korvel-lib/$skia" ] && ok "$(basename "$module") loads $loads" ||
    fail "$(basename "$module") loads Skia from '$loads'"
done

echo "== the render tool through the installed Korvel.clap"
if "$release_build/bin/korvel-render" --plugin "$HOME/.clap/Korvel.clap" -o "$HOME/render.png" &&
   file "$HOME/render.png" | grep -q "PNG image data"; then
  ok "korvel-render: $(file -b "$HOME/render.png")"
else
  fail "korvel-render could not render through the installed Korvel.clap"
fi

echo "== the test hosts of $test_build on the installed modules"
export KORVEL_CLAP_MODULE=$HOME/.clap/Korvel.clap KORVEL_VST2_MODULE=$HOME/.vst/Korvel.so
# They take the module from those variables: one pointed at nothing must fail.
if KORVEL_CLAP_MODULE=$HOME/none.clap "$test_build/bin/clap_ClapEntryTest" >/dev/null 2>&1; then
  fail "the CLAP tests ignore KORVEL_CLAP_MODULE"
fi
# Audio bit for bit through both modules, their parameters and state, the editor offscreen
# and in an X11 window of a private Xvfb.
for test in clap_ClapEntryTest clap_ClapPluginTest clap_ClapProcessTest clap_ClapGuiTest clap_ClapX11GuiTest \
            vst2_Vst2KorvelTest vst2_Vst2RealtimeTest vst2_Vst2X11EditorTest; do
  if out=$("$test_build/bin/$test" --gtest_brief=1 2>&1); then
    ok "$test: $(echo "$out" | grep -E '^\[  PASSED  \]' | head -1)"
  else
    echo "$out" | tail -20
    fail "$test on the installed modules"
  fi
done
unset KORVEL_CLAP_MODULE KORVEL_VST2_MODULE

echo "== host scanners"
missing=()
ardour_scanner=$(ls /usr/lib/ardour*/ardour-vst-scanner 2>/dev/null | head -1)
qtractor_scanner=$(ls /usr/lib/*/qtractor/qtractor_plugin_scan 2>/dev/null | head -1)
[ -n "$ardour_scanner" ] || missing+=(ardour)
[ -n "$qtractor_scanner" ] || missing+=(qtractor)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  { $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
    { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }; } \
    >"$home/apt.log" 2>&1 || tail -5 "$home/apt.log"
  ardour_scanner=$(ls /usr/lib/ardour*/ardour-vst-scanner 2>/dev/null | head -1)
  qtractor_scanner=$(ls /usr/lib/*/qtractor/qtractor_plugin_scan 2>/dev/null | head -1)
fi

# Ardour: its scanner on every file of the VST2 folder. It loads what it takes for a plug-in
# and writes what it finds into its cache; a file it does not take it refuses by its name.
if [ -z "$ardour_scanner" ]; then
  fail "ardour-vst-scanner is not installed"
else
  while IFS= read -r file; do
    out=$(LD_LIBRARY_PATH=$(dirname "$ardour_scanner") timeout 60 "$ardour_scanner" -f "$file" 2>&1)
    echo "$out" | sed "s|^|  ardour-vst-scanner ${file#$HOME/}: |"
    if [ "$file" = "$HOME/.vst/Korvel.so" ]; then
      echo "$out" | grep -q "Found Plugin: .* Korvel$" && ! echo "$out" | grep -q -e '\[ERROR\]' -e '\[WARNING\]' ||
        fail "Ardour's scanner on Korvel.so"
    else
      echo "$out" | grep -q "is not a supported VST plugin" || fail "Ardour's scanner takes ${file#$HOME/} for a plug-in"
    fi
  done < <(find "$HOME/.vst" -type f | LC_ALL=C sort)
  cache=$(find "$HOME/.cache" -path "*/vst/*" -type f 2>/dev/null)
  if [ "$(echo "$cache" | grep -c .)" -eq 1 ] && grep -q '<VST2Info .* name="Korvel"' "$cache"; then
    ok "Ardour's cache holds Korvel and nothing else: $(grep -o '<VST2Info [^>]*>' "$cache")"
  else
    fail "Ardour's cache: $(echo $cache)"
  fi
fi

# Qtractor: one line per plug-in a module holds, nothing for a failure.
if [ -z "$qtractor_scanner" ]; then
  fail "qtractor_plugin_scan is not installed"
else
  for entry in "CLAP:$HOME/.clap/Korvel.clap" "VST:$HOME/.vst/Korvel.so"; do
    out=$(echo "$entry" | timeout 60 "$qtractor_scanner" 2>&1)
    echo "  qtractor_plugin_scan ${entry#*:}: $out" | sed "s|$HOME/||"
    [ "$(echo "$out" | grep -c .)" -eq 1 ] && echo "$out" | grep -q "^${entry%%:*}|Korvel|" ||
      fail "Qtractor's scanner on ${entry#*:}"
  done
fi

[ $status -eq 0 ] && echo "release check passed: $archive" || echo "release check FAILED: $archive"
exit $status
