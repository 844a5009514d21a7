#!/usr/bin/env bash
# Installs the Debian packages the build needs, and those named as arguments, only those
# that are missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev libzstd-dev fonts-dejavu-core qt6-translations-l10n help2man dpkg-dev)
missing=()
packages+=("$@")  # what a caller needs besides the build (package.sh: Debian's checkers)
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
