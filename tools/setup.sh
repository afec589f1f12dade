#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Korvel. Skia comes later,
# through dotnet, when CMake configures the build.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev fonts-roboto-unhinted libkissfft-dev libfftw3-dev
  clang-14 libclang-rt-14-dev libx11-dev libxext-dev libxtst-dev libxres-dev xvfb)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
command -v dotnet >/dev/null || echo "setup: dotnet is not on PATH; Skia cannot be restored and its tests will be skipped" >&2
