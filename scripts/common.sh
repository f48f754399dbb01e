# Shared by ./play and ./run-tests: installs the Debian packages that are
# missing, and nothing when everything is there already.

QM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

qm_install_missing() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

QM_BUILD_PACKAGES=(g++ make cmake pkg-config libsfml-dev libx11-dev libxext-dev)
