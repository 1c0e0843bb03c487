#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages: the
# list is scripts/setup-packages.txt (ZB_SETUP_PACKAGES may name another
# file of the same form).  Idempotent: only missing packages are installed.
# Works as root or with sudo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
list="${ZB_SETUP_PACKAGES:-$root/scripts/setup-packages.txt}"

mapfile -t packages < <(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | awk '{print $1}')

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and no way to become root" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
