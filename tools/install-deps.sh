#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the scripted checks need
# (with --fuzz also the clang fuzzing runtime). Quick when everything is
# present: only missing packages go to apt-get.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho
  libfluidsynth-dev timgm6mb-soundfont
  xvfb xauth xdotool imagemagick sox
  xfonts-base
  libpixman-1-dev libsdl2-gfx-dev
)
# SDL's X11 message boxes draw with the core X fonts of xfonts-base; pixman
# and SDL2_gfx are peers in the effect benchmarks.
[[ "${1:-}" == "--fuzz" ]] && packages+=(clang libclang-rt-14-dev)

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
