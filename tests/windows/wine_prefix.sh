# shellcheck shell=bash
# Sourced by the test scripts that run Windows programs under wine.
# make_wine_prefix DIR creates a fresh 64-bit prefix in DIR, without a
# display, and exports what wine needs to use it. 32-bit programs run in it
# too, through the 32-bit loader (Debian's wine32).
wine64=/usr/lib/wine/wine64
# shellcheck disable=SC2034 # for the scripts that source this file
wine32=/usr/lib/wine/wine
# shellcheck disable=SC2034 # for the scripts that source this file
wineserver=/usr/lib/wine/wineserver

# The Windows name of a local path, through wine's drive Z: (the root).
winpath() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }

make_wine_prefix() {
  local prefix=$1 settings
  settings=$(dirname "${BASH_SOURCE[0]}")/wine_settings.reg
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko: nothing here needs them, and they would be fetched.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  timeout 300 "$wine64" wineboot -i >"$prefix.wineboot.log" 2>&1 || { cat "$prefix.wineboot.log"; return 1; }
  timeout 60 "$wine64" regedit /S "$(winpath "$settings")"
}
