#!/usr/bin/env bash
# Installs what Veltrano needs to build and test on Debian 12, only what is missing.
# Non-interactive and idempotent; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config dpkg-dev file
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgdal-dev gdal-bin libsqlite3-dev libproj-dev proj-bin libgeographiclib-dev libgeos-dev
  libedit-dev nlohmann-json3-dev libcairo2-dev libpango1.0-dev
  xvfb xauth xdotool fonts-dejavu-core fonts-liberation locales desktop-file-utils
  clang libclang-rt-14-dev clang-format
  lintian
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# A comma-decimal locale, so the regional-settings tests run under one.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU.utf8$'; then
  as_root sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
  as_root locale-gen >/dev/null
fi
