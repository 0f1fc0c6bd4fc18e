#!/usr/bin/env bash
# Installs the Debian packages that building and running the game need; with
# --test also the test tools (and what the install test and `make package`
# use), with --fuzz also the clang fuzzing runtime. Quick when everything is
# present: only missing packages go to apt-get.
set -euo pipefail

# Building and running.
packages=(
  cmake g++ make pkg-config
  libsdl2-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho
  libfluidsynth-dev timgm6mb-soundfont
  zlib1g-dev
  xfonts-base
)
# SDL's X11 message boxes draw with the core X fonts of xfonts-base.

# Testing (make test), benchmarks, the install test and the Debian package.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick sox
  desktop-file-utils dpkg-dev file
  libpixman-1-dev libsdl2-gfx-dev
)
# pixman and SDL2_gfx are peers in the effect benchmarks only.
[[ "${1:-}" == "--test" ]] && packages+=("${test_packages[@]}")
[[ "${1:-}" == "--fuzz" ]] && packages+=(clang libclang-rt-14-dev)

if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "No apt-get here: install these packages (their Debian 12 names) with your system's" \
       "package manager, then run make again:" >&2
  printf '  %s\n' "${packages[@]}" >&2
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
apt_opts=(-o DPkg::Lock::Timeout=600 -y --no-install-recommends)
"${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install "${missing[@]}" \
  || { "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update \
       && "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install "${missing[@]}"; }
