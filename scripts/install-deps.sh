#!/usr/bin/env bash
# Installs the Debian packages the build needs, and nothing when they are all
# there already (the check costs a fraction of a second).
#
#   scripts/install-deps.sh          everything ./test and the scripts in
#                                    scripts/ use (measuring, screenshots)
#   scripts/install-deps.sh native   only what the native program build needs
set -euo pipefail

native=(cmake g++ make perl pkg-config libhivex-dev)
# fonts-wine is only recommended by Wine, yet the window checks need its
# Tahoma and Marlett. wine32:i386 (Debian's multiarch) runs the i686 build in
# a 32-bit prefix, as on Windows XP.
all=("${native[@]}" libgtest-dev googletest libbenchmark-dev
     wine64 wine wine32:i386 fonts-wine g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
     binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
     xvfb x11-utils imagemagick locales valgrind time file clang libclang-rt-14-dev
     libhivex-bin libwin-hivex-perl)

case "${1:-all}" in
  native) wanted=("${native[@]}") ;;
  all) wanted=("${all[@]}") ;;
  *) echo "usage: $0 [native|all]" >&2; exit 2 ;;
esac

# One dpkg-query for all: a package it does not know is simply absent from
# the list of installed ones.
declare -A installed=()
while read -r pkg status; do
  [[ $status == "install ok installed" ]] && installed[${pkg%%:*}]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null || true)
missing=()
for pkg in "${wanted[@]}"; do
  [[ -n ${installed[${pkg%%:*}]:-} ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "$0: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# A package of another architecture (name:arch) needs that architecture
# enabled first.
for pkg in "${missing[@]}"; do
  arch=${pkg#*:}
  [[ $arch == "$pkg" ]] && continue
  dpkg --print-foreign-architectures | grep -qx "$arch" || "${sudo[@]}" dpkg --add-architecture "$arch"
done
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
