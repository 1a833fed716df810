#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, when missing.
# Qt's print support comes with qt6-base-dev (headers) and libqt6printsupport6 (run time);
# the printed pages are written in IPA P Gothic; the print tests read PDFs with poppler-utils.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins libgl-dev
  libgtest-dev
  qt6-charts-dev
  libqt6svg6 libqt6opengl6-dev
  clang-format
  fonts-noto-cjk fonts-ipafont-gothic
  dpkg-dev file lintian appstream desktop-file-utils
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
