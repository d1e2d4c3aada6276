# Sourced by the test scripts. ensure_packages LABEL PACKAGE... installs the
# Debian packages that are missing when run as root (apt-get update first);
# otherwise names them and fails.
ensure_packages() {
  local label=$1 p
  shift
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" = 0 ]; then
    echo "== $label: installing: ${missing[*]}"
    apt-get -o DPkg::Lock::Timeout=600 update -q
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q "${missing[@]}"
  else
    echo "$label: missing Debian packages: ${missing[*]} (run as root, or install them)" >&2
    return 1
  fi
}
