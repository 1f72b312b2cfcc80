#!/bin/sh
# Installs what the build needs (only the Debian packages that are missing),
# then configures and builds everything into build/.
set -eu
cd "$(dirname "$0")/.."

packages="cmake g++ ninja-build pkg-config qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins libx11-dev libgl-dev libglu1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-noto-cjk locales qt6-translations-l10n poppler-utils
  dpkg-dev desktop-file-utils shared-mime-info libglib2.0-bin man-db groff-base"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
