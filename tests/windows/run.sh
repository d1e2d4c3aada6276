#!/usr/bin/env bash
# Windows stage: cross-builds ZOInt.dll for 32-bit and 64-bit Windows with
# mingw-w64, checks both files statically, and runs each under wine in a
# fresh prefix with the C host of its own width: the case table through the
# pointer found by name and the one found by ordinal, the file conditions
# and hosts' floating-point settings; the 32-bit DLL, the one most hosts
# load, under 32-bit wine, called through a __stdcall pointer. Then the
# message box under a relay trace, and the real message box on a virtual
# display.
# Installs missing Debian packages when run as root (apt-get update first,
# with Debian's i386 architecture added for 32-bit wine); otherwise says what
# is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$PWD
stage_start=$SECONDS

. tests/ensure_packages.sh
. tests/windows/wine_prefix.sh
# 32-bit wine comes from Debian's i386 packages.
if [ "$(id -u)" = 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
ensure_packages windows cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xdotool \
  imagemagick x11-utils fonts-wqy-microhei locales

artifacts=$source_dir/build/win64/artifacts
cases=$source_dir/tests/cases
no_solution=$'9223372036854775807\r\n'

. tests/stage_checks.sh

# ---- build -------------------------------------------------------------

built_clean() {
  local preset=$1 log=$source_dir/build/$1-build.log
  cmake --preset "$preset" >/dev/null
  # Built from clean so that every warning shows.
  cmake --build --preset "$preset" --clean-first >"$log" 2>&1 || { cat "$log"; return 1; }
  if grep -q 'warning:' "$log"; then
    grep -A3 'warning:' "$log"
    return 1
  fi
}

for preset in win32 win64; do
  echo "== windows: build $preset"
  check "$preset: builds without warnings" built_clean "$preset"
  [ -f "build/$preset/ZOInt.dll" ] || { echo "build/$preset/ZOInt.dll was not built" >&2; exit 1; }
done

# ---- static checks -----------------------------------------------------

# Export table: one entry, ordinal 1 (base 1, index 0), named ZOInterProgram.
exports_only_entry() {
  local dump=$1 addresses names
  addresses=$(sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' "$dump" | grep '+base\[' || true)
  names=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' "$dump" | grep '^[[:space:]]*\[ *[0-9]' || true)
  if [[ "$addresses" =~ ^[[:space:]]*\[\ +0\]\ \+base\[\ +1\]\ [0-9a-f]+\ Export\ RVA$ ]] &&
    [[ "$names" =~ ^[[:space:]]*\[\ +0\]\ ZOInterProgram$ ]]; then
    return 0
  fi
  printf '    export addresses:\n%s\n    export names:\n%s\n' "$addresses" "$names"
  return 1
}

# Imports: the system's own DLLs only, no libgcc, libstdc++ or winpthread.
imports_system_only() {
  local imports
  imports=$(grep 'DLL Name:' "$1" | awk '{print tolower($3)}' | sort | tr '\n' ' ')
  [ "$imports" = "kernel32.dll msvcrt.dll user32.dll " ] && return 0
  echo "    imports: $imports"
  return 1
}

# The exported function, found through the export's address, returns with
# "ret $0x4" on every path: __stdcall, the callee pops its 4-byte argument.
callee_pops_argument() {
  local objdump=$1 dll=$2 dump=$3 base rva address symbol body returns
  base=$(awk '/^ImageBase/ {print $2}' "$dump")
  rva=$(sed -n 's/^[[:space:]]*\[ *0\] +base\[ *1\] \([0-9a-f]*\) Export RVA$/\1/p' "$dump")
  address=$(printf '%x' $((0x$base + 0x$rva)))
  symbol=$("$objdump" -d "$dll" | sed -n "s/^0*$address <\(.*\)>:$/\1/p")
  body=$("$objdump" -d "$dll" | awk -v main="<$symbol>:" -v cold="<$symbol.cold>:" \
    '$2 == main || $2 == cold {inside = 1; next} inside && /^$/ {inside = 0} inside')
  returns=$(printf '%s\n' "$body" | grep -E $'\t''ret' || true)
  if [ "$symbol" = "_ZOInterProgram@4" ] && [ -n "$returns" ] && ! printf '%s\n' "$returns" | grep -vqE 'ret +\$0x4$'; then
    return 0
  fi
  printf '    exported symbol: %s\n    its returns:\n%s\n' "$symbol" "$returns"
  return 1
}

# The 32-bit DLL does its double arithmetic in SSE2 (cmake/x86_32_float.cmake),
# as the i386 stage tests it: the library's own functions hold SSE2 scalar
# arithmetic and no x87 arithmetic (the x87 only moves values there, and
# converts 64-bit integers, which SSE2 cannot do in 32-bit code).
computes_with_sse2() {
  local sse x87
  read -r sse x87 < <("$1" -d "$2" | awk '
    /^[0-9a-f]+ <.*>:$/ { own = ($2 ~ /N5zoint/) }
    own && /\t(add|sub|mul|div|sqrt)sd / { sse++ }
    own && /\tf(add|sub|subr|mul|div|divr|sqrt)[lsp]* / { x87++ }
    END { print sse + 0, x87 + 0 }')
  [ "$sse" -gt 0 ] && [ "$x87" = 0 ] && return 0
  echo "    in the library's functions: $sse SSE2 and $x87 x87 arithmetic instructions"
  return 1
}

for preset in win32 win64; do
  case $preset in
    win32) objdump=i686-w64-mingw32-objdump format=pei-i386 ;;
    win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 ;;
  esac
  dll=build/$preset/ZOInt.dll
  dump=build/$preset/ZOInt.dll.objdump.txt
  "$objdump" -p "$dll" >"$dump"
  echo "== windows: static checks of $dll"
  check "$preset: ZOInt.dll is a $format DLL" grep -q "file format $format" <("$objdump" -f "$dll")
  check "$preset: only export is ZOInterProgram, ordinal 1" exports_only_entry "$dump"
  check "$preset: imports only KERNEL32, USER32 and msvcrt" imports_system_only "$dump"
  if [ "$preset" = win32 ]; then
    check "win32: exported function is __stdcall and returns with ret \$0x4" \
      callee_pops_argument "$objdump" "$dll" "$dump"
    check "win32: double arithmetic in SSE2, none on the x87" computes_with_sse2 "$objdump" "$dll"
  fi
done

# ---- wine --------------------------------------------------------------

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zoint-windows.XXXXXX")
xvfb_pid=
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

rm -rf "$artifacts"
mkdir -p "$artifacts"

host=$(winpath build/win64/tests/windows/dll_host.exe)
dll64=$(winpath build/win64/ZOInt.dll)
host32=$(winpath build/win32/tests/windows/dll_host.exe)
dll32=$(winpath build/win32/ZOInt.dll)

echo "== windows: wine prefix"
prefix_start=$SECONDS
make_wine_prefix "$scratch/prefix" || exit 1
echo "   created in $((SECONDS - prefix_start)) s"

echo "== windows: C host under wine64 (no display)"
# Solved under hosts' floating-point settings besides the worked example:
# problems on which the relaxation does real work.
float_problems=("$(winpath examples/larger)")
for problem in ../shared/instances/p0033 ../shared/instances/hard/p0040; do
  if [ -f "$problem/ZOIntIn.dat" ]; then float_problems+=("$(winpath "$problem")"); fi
done
# host_passes WINE HOST DLL NAME: the whole host, its report kept as NAME.txt.
host_passes() {
  local wine=$1 exe=$2 dll=$3 name=$4
  timeout 600 "$wine" "$exe" "$dll" "$(winpath "$cases")" "$(winpath "$scratch/$name")" "${float_problems[@]}" \
    >"$artifacts/$name.txt" 2>&1
  local status=$?
  sed 's/^/    /' "$artifacts/$name.txt"
  return $status
}
check "64-bit host: loading, arguments, the case table by name and by ordinal, file conditions, long lines, threads, hosts' float settings" \
  host_passes "$wine64" "$host" "$dll64" dll_host
echo "== windows: the 32-bit C host under 32-bit wine"
check "32-bit host: the same checks of the 32-bit DLL through a __stdcall pointer" \
  host_passes "$wine32" "$host32" "$dll32" dll_host32

cli_solves_example() {
  mkdir -p "$scratch/cli"
  cp examples/worked/ZOIntIn.dat "$scratch/cli/"
  timeout 120 "$wine64" "$(winpath build/win64/tools/zoint.exe)" "$(winpath "$scratch/cli")" >"$scratch/cli.out" 2>&1 &&
    same_bytes "$scratch/cli.out" $'OutPut: \r\nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\r\nFinal: 3' &&
    same_bytes "$scratch/cli/ZOIntOut.dat" $'3\r\n0,1,0\r\n'
}
check "zoint.exe solves the worked example" cli_solves_example

# The Windows zoint reads OPB files, and refuses LP and MPS ones (no
# CoinUtils there) in one line, with exit status 1.
cli_solves_opb_model() {
  timeout 120 "$wine64" "$(winpath build/win64/tools/zoint.exe)" solve --quiet "$(winpath examples/models/projects.opb)" \
    >"$scratch/model.out" 2>&1 &&
    same_bytes "$scratch/model.out" $'status: optimal\r\nobjective: 51\r\nx1 1\r\nx2 0\r\nx3 0\r\nx4 1\r\nx5 1\r\nx6 0\r\n'
}
check "zoint.exe solve reads an OPB model" cli_solves_opb_model
cli_refuses_lp_model() {
  local model rc=0
  model=$(winpath examples/models/projects.lp)
  timeout 120 "$wine64" "$(winpath build/win64/tools/zoint.exe)" solve "$model" >"$scratch/lp.out" 2>"$scratch/lp.err" || rc=$?
  [ "$rc" = 1 ] || { echo "    exit status $rc"; return 1; }
  same_bytes "$scratch/lp.out" "" &&
    same_bytes "$scratch/lp.err" "$model: this build of zoint reads no LP files (it was built without CoinUtils); OPB files work"$'\r\n'
}
check "zoint.exe solve refuses an LP model in one line, exit status 1" cli_refuses_lp_model

# A string as wine's relay trace prints it: code page 936 bytes, escaped.
as_traced() {
  iconv -f UTF-8 -t CP936 | od -An -v -tu1 | awk '{
    for (i = 1; i <= NF; i++) {
      b = $i
      if (b == 10) printf "\\n"; else if (b == 13) printf "\\r"; else if (b == 9) printf "\\t"
      else if (b == 34) printf "\\\""; else if (b == 92) printf "\\\\"
      else if (b >= 32 && b < 127) printf "%c", b; else printf "\\x%02x", b
    }
  }'
}

# MessageBoxA is called once, with the warning in code page 936, caption
# "ZOInt" and style 0x30 (MB_OK | MB_ICONWARNING). There is no display, so
# the box cannot open and the call returns at once.
relay_shows_box() {
  local case=$1 dir=$scratch/relay-$1 calls seen expected
  mkdir -p "$dir"
  if [ -f "$cases/$case/ZOIntIn.dat" ]; then cp "$cases/$case/ZOIntIn.dat" "$dir/"; fi
  (cd "$dir" && WINEDEBUG=+relay timeout 120 "$wine64" "$host" --call "$dll64" >stdout.txt 2>relay.log) || return 1
  calls=$(grep -a 'Call user32\.MessageBoxA(' "$dir/relay.log" || true)
  printf '%s\n' "$calls" >"$artifacts/relay-$case.txt"
  seen=$(printf '%s\n' "$calls" |
    sed -E 's/^[0-9a-f]+:Call user32\.MessageBoxA\([0-9a-f]+,[0-9a-f]+ (".*"),[0-9a-f]+ "([^"]*)",([0-9a-f]+)\) ret=[0-9a-f]+$/text=\1 caption=\2 style=\3/')
  expected="text=\"$(tr -d '\n' <"$cases/$case/expected_message" | as_traced)\" caption=ZOInt style=00000030"
  if [ "$seen" != "$expected" ]; then
    printf '    relay: %s\n    expected: %s\n' "$calls" "$expected"
    return 1
  fi
  same_bytes "$dir/ZOIntOut.dat" "$no_solution"
}
echo "== windows: MessageBoxA under WINEDEBUG=+relay"
check "relay: missing ZOIntIn.dat shows the CP936 warning, caption ZOInt, style 0x30" relay_shows_box missing_file
check "relay: empty ZOIntIn.dat shows the CP936 warning, caption ZOInt, style 0x30" relay_shows_box empty_file

# ---- the real message box ----------------------------------------------

echo "== windows: the real message box under Xvfb"
# The display-less desktop process of the runs above would go on serving
# windows without a display: the prefix starts again with one.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w

locale_env=(LC_ALL=zh_CN.UTF-8)
if [ "$(LC_ALL=zh_CN.UTF-8 locale charmap 2>/dev/null)" != UTF-8 ]; then
  # Compiled for this run only, so the system's locales stay as they are.
  mkdir -p "$scratch/locale"
  localedef -i zh_CN -f UTF-8 "$scratch/locale/zh_CN.UTF-8"
  locale_env+=(LOCPATH="$scratch/locale")
fi

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { cat "$scratch/xvfb.log"; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$scratch/display")"

box=$scratch/box
mkdir -p "$box"
(cd "$box" && env "${locale_env[@]}" timeout 180 "$wine64" "$host" --call "$dll64" >stdout.txt 2>stderr.txt) &
box_host=$!

window=
for _ in $(seq 600); do
  window=$(timeout 10 xdotool search --onlyvisible --name '^ZOInt$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  kill -0 "$box_host" 2>/dev/null || break
  sleep 0.2
done
check "the message box appears, a window named ZOInt" test -n "$window"

if [ -n "$window" ]; then
  waits_for_user() { kill -0 "$box_host" 2>/dev/null && [ ! -e "$box/ZOIntOut.dat" ]; }
  # Give it time to paint: the screenshot must hold more than a blank frame.
  screenshot_taken() {
    local colours=0
    for _ in $(seq 50); do
      sleep 0.2
      import -window "$window" "$artifacts/messagebox.png" 2>/dev/null || continue
      colours=$(identify -format '%k' "$artifacts/messagebox.png")
      [ "$colours" -gt 16 ] && return 0
    done
    echo "    $colours colours in the screenshot"
    return 1
  }
  check "screenshot saved: build/win64/artifacts/messagebox.png" screenshot_taken
  check "the call waits for the user: still running, no ZOIntOut.dat yet" waits_for_user
  # The key press closes the box, so sending the key release to its window
  # can fail; what counts is checked next: the call returns.
  xdotool key --window "$window" Return 2>/dev/null || true
fi
box_status=0
wait "$box_host" || box_status=$?
returns_after_return() {
  [ "$box_status" = 0 ] || { echo "    host exit status $box_status"; cat "$box/stderr.txt"; return 1; }
  same_bytes "$box/ZOIntOut.dat" "$no_solution" &&
    same_bytes "$box/stdout.txt" $'OutPut: \r\n\r\nFinal: 9223372036854775807'
}
check "after Return the call returns 0.0 and ZOIntOut.dat holds 9223372036854775807" returns_after_return

echo "windows: $passed passed, $failed failed ($((SECONDS - stage_start)) s)"
[ "$failed" = 0 ]
