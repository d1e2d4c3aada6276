#!/usr/bin/env bash
# Packaging stage: what a user installs and builds against.
# - the quick start on a machine without GoogleTest;
# - `cmake --install` into a temporary prefix, and programs built against it
#   with find_package(ZOInt), with pkg-config and with plain compiler flags;
#   the Python module installed there, its tests and example;
# - a project that adds the source tree with add_subdirectory;
# - the .deb: its metadata and contents, installed into a throw-away root,
#   and the same programs built against that root, and its Python module;
# - the Windows zips: a C host built with mingw against each import library
#   and one linked the Visual C++ way (lld-link), run under wine64 on 64-bit
#   and checked statically on 32-bit.
# Each program that runs solves the worked example; its output is compared
# byte for byte. Installs missing Debian packages when run as root (apt-get update
# first); otherwise says what is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$PWD
stage_start=$SECONDS

. tests/ensure_packages.sh
. tests/windows/wine_prefix.sh
ensure_packages packaging cmake make g++ pkgconf dpkg-dev file unzip python3 clang-14 lld-14 \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64

consumers=$source_dir/tests/packaging
worked=$source_dir/examples/worked
console=$'OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3'
answer=$'3\n0,1,0\n'
strict_c=(-std=c99 -Wall -Wextra -Wpedantic -Werror)

. tests/stage_checks.sh

# logged LOG COMMAND...: runs the command with its output in LOG, shown on failure.
logged() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || { sed 's/^/    /' "$log" | tail -30; return 1; }
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zoint-packaging.XXXXXX")
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then "$wineserver" -k 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

# solves_worked_example PROGRAM [ARG...]: run in a fresh copy of the worked
# example, the program prints the console report and leaves the answer.
run_count=0
solves_worked_example() {
  run_count=$((run_count + 1))
  local dir=$scratch/run-$run_count
  mkdir -p "$dir"
  cp "$worked/ZOIntIn.dat" "$dir/"
  (cd "$dir" && "$@" >stdout.txt 2>stderr.txt) || { echo "    exit status $?"; cat "$dir/stderr.txt"; return 1; }
  same_bytes "$dir/stdout.txt" "$console" && same_bytes "$dir/ZOIntOut.dat" "$answer"
}

# ---- without GoogleTest: the quick start ---------------------------------

echo "== packaging: the quick start without GoogleTest"
# A copy of the tree, so that its build/linux is the quick start's own.
tree=$scratch/tree
mkdir -p "$tree"
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . | tar -C "$tree" -xf -
quick_start_without_gtest() {
  (cd "$tree" &&
    cmake --preset linux -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON >configure.log 2>&1 &&
    cmake --build --preset linux >build.log 2>&1 &&
    build/linux/tools/zoint examples/worked && echo && cat examples/worked/ZOIntOut.dat) >"$scratch/quick.out" 2>&1 ||
    { sed 's/^/    /' "$scratch/quick.out" "$tree"/*.log | tail -30; return 1; }
  same_bytes "$scratch/quick.out" "$console"$'\n'"$answer"
}
check "configures, builds and solves the worked example" quick_start_without_gtest
says_once_how_to_get_tests() {
  local notes
  notes=$(grep -c 'GoogleTest not found, so the tests are skipped. To build them: apt-get install libgtest-dev' \
    "$tree/configure.log" || true)
  same_text "notes about GoogleTest" "$notes" 1
}
check "configure says once that the tests are skipped and how to get them" says_once_how_to_get_tests
check "no test is built" test ! -e "$tree/build/linux/tests"

# ---- cmake --install into a temporary prefix -----------------------------

echo "== packaging: cmake --install into a temporary prefix"
logged "$scratch/linux-configure.log" cmake --preset linux
logged "$scratch/linux-build.log" cmake --build --preset linux --target zoint zoint_cli
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
major=${version%%.*}
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' build/linux/CMakeCache.txt)
prefix=$scratch/prefix
logged "$scratch/install.log" cmake --install build/linux --prefix "$prefix"

installs_the_listed_files() {
  local expected actual
  expected=$(
    printf '%s\n' bin/zoint "$libdir/libzoint.so" "$libdir/libzoint.so.$major" "$libdir/libzoint.so.$version" \
      "$libdir/cmake/ZOInt/ZOIntConfig.cmake" "$libdir/cmake/ZOInt/ZOIntConfigVersion.cmake" \
      "$libdir/cmake/ZOInt/ZOIntTargets.cmake" "$libdir/cmake/ZOInt/ZOIntTargets-release.cmake" \
      "$libdir/pkgconfig/zoint.pc" lib/python3/dist-packages/zoint.py share/doc/zoint/README.md \
      share/doc/zoint/LICENSE share/man/man1/zoint.1
    (cd "$source_dir" && find docs -type f | sed 's|^|share/doc/zoint/|')
    (cd "$source_dir" && find include -type f)
  )
  actual=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
  same_text "installed files" "$actual" "$(sort <<<"$expected")"
}
check "installs the library, headers, CLI, CMake package, zoint.pc, Python module, docs and man page, nothing else" \
  installs_the_listed_files
soname_chain() {
  local soname
  soname=$(readelf -d "$prefix/$libdir/libzoint.so.$version" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  same_text "SONAME" "$soname" "libzoint.so.$major" &&
    same_text "libzoint.so" "$(readlink "$prefix/$libdir/libzoint.so")" "libzoint.so.$major" &&
    same_text "libzoint.so.$major" "$(readlink "$prefix/$libdir/libzoint.so.$major")" "libzoint.so.$version"
}
check "libzoint.so -> libzoint.so.$major (the SONAME) -> libzoint.so.$version" soname_chain
check "zoint --version prints $version" same_text "zoint --version" "$("$prefix/bin/zoint" --version)" "zoint $version"
check "pkg-config --modversion zoint is $version" same_text "modversion" \
  "$(PKG_CONFIG_LIBDIR=$prefix/$libdir/pkgconfig pkg-config --modversion zoint)" "$version"
man_page_lists_every_option() {
  local option tags missing=""
  # The tags of OPTIONS: the line after each .TP, dashes escaped (\-\-stats).
  tags=$(awk '/^\.SH/ {options = ($2 == "OPTIONS")} options && previous == ".TP" {print} {previous = $0}' \
    "$prefix/share/man/man1/zoint.1")
  for option in $("$prefix/bin/zoint" --help | sed -n 's/^  \(--[a-z-]*\).*/\1/p'); do
    grep -qF -- "${option//-/\\-}" <<<"$tags" || missing+=" $option"
  done
  [ -z "$missing" ] || { echo "    options of --help not under OPTIONS in zoint.1:$missing"; return 1; }
}
check "the man page describes every option of zoint --help" man_page_lists_every_option

# Programs built against an installation under ROOT, whose pkg-config
# directory is PC_DIR; SYSROOT is set when the files name / but lie under
# ROOT (the throw-away root of the .deb).
# find_package_consumer_solves ROOT LABEL
find_package_consumer_solves() {
  local build=$scratch/find-package-$2
  logged "$build.log" cmake -S "$consumers/find_package_consumer" -B "$build" -DCMAKE_PREFIX_PATH="$1" \
    -DCMAKE_C_FLAGS="${strict_c[*]}" &&
    logged "$build.log" cmake --build "$build" &&
    solves_worked_example "$build/solve_here"
}
# pkg_config_consumer_solves PC_DIR SYSROOT LABEL: the README's pkg-config line.
pkg_config_consumer_solves() {
  local program=$scratch/pkg-config-$3 flags libdir
  flags=$(PKG_CONFIG_LIBDIR=$1 PKG_CONFIG_SYSROOT_DIR=$2 pkg-config --cflags --libs zoint) &&
    libdir=$(PKG_CONFIG_LIBDIR=$1 PKG_CONFIG_SYSROOT_DIR=$2 pkg-config --variable=libdir zoint) || return 1
  # shellcheck disable=SC2086 # the flags are words
  cc "${strict_c[@]}" "$consumers/solve_here.c" $flags -Wl,-rpath,"$libdir" -o "$program" &&
    solves_worked_example "$program"
}

echo "== packaging: programs built against the prefix"
check "find_package(ZOInt) and ZOInt::zoint: builds and solves the worked example" \
  find_package_consumer_solves "$prefix" prefix
check "pkg-config --cflags --libs zoint, rpath from its libdir: builds and solves the worked example" \
  pkg_config_consumer_solves "$prefix/$libdir/pkgconfig" "" prefix
plain_flags_with_library_path() {
  cc "${strict_c[@]}" "$consumers/solve_here.c" -I"$prefix/include" -L"$prefix/$libdir" -lzoint \
    -o "$scratch/plain" && LD_LIBRARY_PATH=$prefix/$libdir solves_worked_example "$scratch/plain"
}
check "plain -I -L -lzoint, run with LD_LIBRARY_PATH: solves the worked example" plain_flags_with_library_path

# ---- the Python module, installed ----------------------------------------

# Debian's python3: its path holds /usr/lib/python3/dist-packages, where the
# .deb puts the module.
python=/usr/bin/python3
# python_module_finds_library MODULE_DIR LIBRARY: with MODULE_DIR as its
# path and no ZOINT_LIBRARY, python3 imports the module from MODULE_DIR,
# which loads exactly LIBRARY (libzoint.so.1) and solves the worked example.
python_module_finds_library() {
  local report expected
  report=$(cd "$scratch" && env -u ZOINT_LIBRARY PYTHONPATH="$1" "$python" -c '
import zoint
r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1])
mapped = sorted({line.split()[-1] for line in open("/proc/self/maps") if "libzoint" in line})
print(zoint.__file__, zoint.library_path(), *mapped, r.status, r.value, r.x)') || return 1
  expected="$1/zoint.py $2 $(readlink -f "$2") optimal 3 [0, 1, 0]"
  same_text "module, library, library mapped, answer" "$report" "$expected"
}
# python_tests_pass MODULE_DIR: the module's tests and the README's example,
# run against the module in MODULE_DIR.
python_tests_pass() {
  local imported
  imported=$(cd "$scratch" && env -u ZOINT_LIBRARY PYTHONPATH="$1" "$python" -c 'import zoint; print(zoint.__file__)')
  same_text "module the tests import" "$imported" "$1/zoint.py" &&
    logged "$scratch/python-tests.log" env -u ZOINT_LIBRARY PYTHONPATH="$1" \
      "$python" -m unittest discover -s "$source_dir/tests/python" &&
    same_text "examples/python/knapsack.py" \
      "$(env -u ZOINT_LIBRARY PYTHONPATH="$1" "$python" "$source_dir/examples/python/knapsack.py")" \
      "value 23 taking [1, 1, 0, 0]"
}
echo "== packaging: the Python module under the prefix"
check "the installed module loads the installed libzoint.so.$major, no environment variable" \
  python_module_finds_library "$prefix/lib/python3/dist-packages" "$prefix/$libdir/libzoint.so.$major"
check "the Python tests and example pass against the installed module" \
  python_tests_pass "$prefix/lib/python3/dist-packages"

# ---- add_subdirectory ----------------------------------------------------

echo "== packaging: a project that adds the source tree"
subproject=$scratch/subdirectory
check "configures with ZOInt as a subdirectory" logged "$subproject.log" \
  cmake -S "$consumers/subdirectory_consumer" -B "$subproject" -DZOINT_SOURCE_DIR="$source_dir" \
  -DCMAKE_C_FLAGS="${strict_c[*]}"
builds_library_and_cli_only() {
  local targets unexpected
  targets=$(cmake --build "$subproject" --target help | sed -n 's/^\.\.\. //p' | sed 's/ .*//' | sort)
  for target in zoint zoint_cli solve_here; do
    grep -qx "$target" <<<"$targets" || { echo "    no target $target"; return 1; }
  done
  unexpected=$(grep -E '^(zoint_tests|zoint_fault_tests|zoint_cli_tests|zoint_c_host|search_bench|zoint_instances_bench|package|install)$' \
    <<<"$targets" || true)
  [ -z "$unexpected" ] || { echo "    unexpected targets: $unexpected"; return 1; }
  ! grep -q GoogleTest "$subproject.log" || { echo "    configure mentions GoogleTest"; return 1; }
}
check "only the library and the CLI: no tests, benchmarks, install or package targets" builds_library_and_cli_only
subproject_solves() {
  logged "$subproject-build.log" cmake --build "$subproject" -j2 && solves_worked_example "$subproject/solve_here"
}
check "ZOInt::zoint links solve_here, which solves the worked example" subproject_solves

# ---- the Debian package --------------------------------------------------

echo "== packaging: the Debian package"
logged "$scratch/deb-configure.log" cmake --preset deb
logged "$scratch/deb-build.log" cmake --build --preset deb --target package
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
deb=build/deb/zoint_$version-1_$arch.deb
[ -f "$deb" ] || { echo "$deb was not built" >&2; exit 1; }

metadata_as_built() {
  local field expected ok=0
  for field in "Package=zoint" "Version=$version-1" "Architecture=$arch" "Section=math"; do
    expected=${field#*=}
    same_text "${field%%=*}" "$(dpkg-deb --field "$deb" "${field%%=*}")" "$expected" || ok=1
  done
  [ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || { echo "    no Maintainer"; ok=1; }
  [ "$(dpkg-deb --field "$deb" Description | wc -l)" -gt 1 ] || { echo "    no long description"; ok=1; }
  return $ok
}
check "metadata: package zoint, version $version-1, $arch, section math, maintainer, description" metadata_as_built
# dpkg-shlibdeps writes versioned dependencies on the C and C++ runtimes.
depends_computed() {
  local depends
  depends=$(dpkg-deb --field "$deb" Depends)
  [[ "$depends" =~ libc6\ \(\>=\ [0-9.]+\) ]] && [[ "$depends" =~ libstdc\+\+6\ \(\>=\ [0-9.]+\) ]] && return 0
  echo "    Depends: $depends"
  return 1
}
check "Depends computed: versioned libc6 and libstdc++6" depends_computed
control_scripts() {
  local control=$scratch/control
  dpkg-deb --control "$deb" "$control" &&
    same_text "shlibs" "$(cat "$control/shlibs")" "libzoint $major zoint (>= $version-1)" &&
    grep -qx $'\tldconfig' "$control/postinst" && grep -qx $'\tldconfig' "$control/postrm"
}
check "shlibs names libzoint $major; postinst and postrm run ldconfig" control_scripts
deb_contents() {
  local listing expected actual not_root
  listing=$(dpkg-deb --contents "$deb")
  not_root=$(awk '$2 != "root/root"' <<<"$listing")
  [ -z "$not_root" ] || { echo "    not owned by root: $not_root"; return 1; }
  expected=$(
    printf '%s\n' "-rwxr-xr-x ./usr/bin/zoint" \
      "-rw-r--r-- ./usr/lib/$multiarch/libzoint.so.$version" \
      "lrwxrwxrwx ./usr/lib/$multiarch/libzoint.so.$major -> libzoint.so.$version" \
      "lrwxrwxrwx ./usr/lib/$multiarch/libzoint.so -> libzoint.so.$major" \
      "-rw-r--r-- ./usr/lib/$multiarch/cmake/ZOInt/ZOIntConfig.cmake" \
      "-rw-r--r-- ./usr/lib/$multiarch/cmake/ZOInt/ZOIntConfigVersion.cmake" \
      "-rw-r--r-- ./usr/lib/$multiarch/cmake/ZOInt/ZOIntTargets.cmake" \
      "-rw-r--r-- ./usr/lib/$multiarch/cmake/ZOInt/ZOIntTargets-release.cmake" \
      "-rw-r--r-- ./usr/lib/$multiarch/pkgconfig/zoint.pc" \
      "-rw-r--r-- ./usr/lib/python3/dist-packages/zoint.py" \
      "-rw-r--r-- ./usr/share/doc/zoint/README.md" "-rw-r--r-- ./usr/share/doc/zoint/LICENSE" \
      "-rw-r--r-- ./usr/share/man/man1/zoint.1"
    (cd "$source_dir" && find include -type f | sed 's|^|-rw-r--r-- ./usr/|')
    (cd "$source_dir" && find docs -type f | sed 's|^|-rw-r--r-- ./usr/share/doc/zoint/|')
  )
  actual=$(awk '$1 !~ /^d/ {line = $1; for (i = 6; i <= NF; i++) line = line " " $i; print line}' <<<"$listing" |
    sort -k2)
  same_text "files in the package" "$actual" "$(sort -k2 <<<"$expected")"
}
check "contents: owned by root, the files of the prefix install under /usr and /usr/lib/$multiarch" deb_contents

# A throw-away dpkg database that knows the packages Depends names, as they
# are installed here: dpkg itself checks the dependencies are met. The
# maintainer scripts run outside the root (its ldconfig is the system's).
root=$scratch/root
install_into_root() {
  local package
  mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
  for package in $(dpkg-deb --field "$deb" Depends | sed 's/([^)]*)//g; s/,/ /g'); do
    # The package's own architecture: where the i386 stage has installed
    # libc6:i386 beside it, the bare name is ambiguous.
    dpkg-query --status "$package:$arch" >/dev/null 2>&1 && package=$package:$arch
    dpkg-query --status "$package" >>"$root/var/lib/dpkg/status" || return 1
    echo >>"$root/var/lib/dpkg/status"
    : >"$root/var/lib/dpkg/info/$(dpkg-query -W -f='${binary:Package}' "$package").list"
  done
  logged "$scratch/dpkg.log" dpkg --root="$root" --force-script-chrootless --install "$deb" &&
    same_text "status" "$(dpkg-query --root="$root" -W -f='${Status}' zoint)" "install ok installed"
}
check "dpkg --install into a throw-away root: dependencies met, installed" install_into_root
check "its zoint --version prints $version" same_text "zoint --version" \
  "$("$root/usr/bin/zoint" --version 2>&1)" "zoint $version"
check "its zoint solves the worked example" solves_worked_example "$root/usr/bin/zoint"
check "find_package(ZOInt) in the root: builds and solves the worked example" \
  find_package_consumer_solves "$root/usr" deb
check "pkg-config in the root (as its sysroot): builds and solves the worked example" \
  pkg_config_consumer_solves "$root/usr/lib/$multiarch/pkgconfig" "$root" deb
python_path_holds_dist_packages() {
  "$python" -c 'import sys; sys.exit("/usr/lib/python3/dist-packages" not in sys.path)' ||
    { echo "    $python does not look in /usr/lib/python3/dist-packages"; return 1; }
}
check "its Python module is where Debian's python3 looks: /usr/lib/python3/dist-packages" \
  python_path_holds_dist_packages
check "its Python module, in the root, loads the root's libzoint.so.$major, no environment variable" \
  python_module_finds_library "$root/usr/lib/python3/dist-packages" "$root/usr/lib/$multiarch/libzoint.so.$major"
check "the Python tests and example pass against the module in the root" \
  python_tests_pass "$root/usr/lib/python3/dist-packages"

# ---- the Windows zips ----------------------------------------------------

# zip_lists_its_files PRESET: the unpacked zip holds these files and no other.
zip_lists_its_files() {
  local expected actual
  expected=$(printf "ZOInt-$version-$1/%s\n" ZOInt.dll ZOInt.def ZOInt.lib libZOInt.dll.a README.md LICENSE \
    include/zoint/ZOInt.h examples/worked/ZOIntIn.dat examples/windows/solve.c examples/windows/ZOInt.bas \
    examples/windows/solve.py $(cd "$source_dir" && find docs -type f) | sort)
  actual=$(cd "$scratch/$1" && find . -type f | sed 's|^\./||' | sort)
  same_text "files in the zip" "$actual" "$expected"
}
for preset in win32 win64; do
  echo "== packaging: the $preset zip"
  logged "$scratch/$preset-configure.log" cmake --preset "$preset"
  logged "$scratch/$preset-build.log" cmake --build --preset "$preset" --target package
  zip=build/$preset/ZOInt-$version-$preset.zip
  [ -f "$zip" ] || { echo "$zip was not built" >&2; exit 1; }
  unzip -q "$zip" -d "$scratch/$preset"
  check "$preset: the zip holds the DLL, .def, both import libraries, header, examples, README, docs, LICENSE" \
    zip_lists_its_files "$preset"
done
check "the Python example compiles" \
  python3 -m py_compile "$scratch/win64/ZOInt-$version-win64/examples/windows/solve.py"

# imports_entry OBJDUMP EXE: the program imports ZOInterProgram from ZOInt.dll
# by name with hint 1 (its ordinal), and nothing else from it.
imports_entry() {
  local entries
  entries=$("$1" -p "$2" | sed -n '/DLL Name: ZOInt.dll/,/^$/p' | grep -E '^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+ ' || true)
  [[ "$entries" =~ ^[[:space:]]+[0-9a-f]+[[:space:]]+1\ +ZOInterProgram$ ]] && return 0
  echo "    imports from ZOInt.dll: ${entries:-none}"
  return 1
}

# The 32-bit libraries: the symbol a __stdcall caller refers to, and its
# import entry: hint 1, then the DLL's plain name.
win32=$scratch/win32/ZOInt-$version-win32
stdcall_import() {
  local library=$1 symbols entry
  symbols=$(i686-w64-mingw32-nm "$library" | grep -E ' [TI] .*ZOInterProgram' | awk '{print $2, $3}' | sort)
  entry=$(i686-w64-mingw32-objdump -s -j '.idata$6' "$library" | sed -n 's/^ [0-9a-f]\{4\} \(\([0-9a-f]\{2,8\} \)*\).*/\1/p' |
    tr -d ' \n')
  same_text "$library: symbols" "$symbols" $'I __imp__ZOInterProgram@4\nT _ZOInterProgram@4' &&
    same_text "$library: import entry (hint, name)" "$entry" "0100$(printf 'ZOInterProgram' | od -An -tx1 | tr -d ' \n')0000"
}
# built_with_mingw GCC DIR NAME LINK...: the zip's examples/windows/solve.c,
# built as DIR/NAME.exe and linked with LINK.
built_with_mingw() {
  local gcc=$1 dir=$2 name=$3
  shift 3
  "$gcc" -Wall -Wextra -Werror -I "$dir/include" "$dir/examples/windows/solve.c" "$@" -o "$dir/$name.exe"
}
# msvc_link TARGET DIR: msvc_host.c compiled for the Microsoft ABI and linked
# by lld-link against DIR/ZOInt.lib, as DIR/msvc_host.exe. lld-link, like
# Microsoft's linker, makes 32-bit images with /SAFESEH unless told
# otherwise, and refuses objects not marked safe for it.
msvc_link() {
  local target=$1 dir=$2
  clang-14 --target="$target" -ffreestanding -Wall -Wextra -Werror -I "$dir/include" -c "$consumers/msvc_host.c" \
    -o "$dir/msvc_host.obj" &&
    lld-link-14 /nologo /entry:Start /subsystem:console /nodefaultlib "$dir/msvc_host.obj" "$dir/ZOInt.lib" \
      /out:"$dir/msvc_host.exe"
}

echo "== packaging: the 32-bit import libraries"
for library in ZOInt.lib libZOInt.dll.a; do
  check "win32 $library: _ZOInterProgram@4 bound to ZOInterProgram, ordinal 1" stdcall_import "$win32/$library"
done
win32_mingw_imports() {
  built_with_mingw i686-w64-mingw32-gcc "$win32" "$@" && imports_entry i686-w64-mingw32-objdump "$win32/$1.exe"
}
check "win32: solve.c built with mingw against libZOInt.dll.a imports ZOInterProgram, ordinal 1" \
  win32_mingw_imports solve-dll-a -L"$win32" -lZOInt
check "win32: solve.c built with mingw against ZOInt.lib imports ZOInterProgram, ordinal 1" \
  win32_mingw_imports solve-lib "$win32/ZOInt.lib"
win32_msvc_imports() {
  msvc_link i686-pc-windows-msvc "$win32" && imports_entry i686-w64-mingw32-objdump "$win32/msvc_host.exe"
}
check "win32: a Visual C++ style link against ZOInt.lib (lld-link, /SAFESEH) imports ZOInterProgram, ordinal 1" \
  win32_msvc_imports

echo "== packaging: the 64-bit zip under wine64"
win64=$scratch/win64/ZOInt-$version-win64
make_wine_prefix "$scratch/prefix-wine" || exit 1
console_crlf=${console//$'\n'/$'\r\n'}
answer_crlf=${answer//$'\n'/$'\r\n'}
# runs_under_wine PROGRAM EXPECTED_STDOUT [ARG...]: the program, beside
# ZOInt.dll, run in a fresh copy of the worked example.
runs_under_wine() {
  local program=$1 expected=$2 dir
  shift 2
  run_count=$((run_count + 1))
  dir=$scratch/run-$run_count
  mkdir -p "$dir"
  cp "$worked/ZOIntIn.dat" "$dir/"
  (cd "$dir" && timeout 120 "$wine64" "$(winpath "$program")" "$@" >stdout.txt 2>stderr.txt) ||
    { echo "    exit status $?"; cat "$dir/stderr.txt"; return 1; }
  same_bytes "$dir/stdout.txt" "$expected" && same_bytes "$dir/ZOIntOut.dat" "$answer_crlf"
}
# solve.c, given "." as its folder, prints the answer file after the report.
solve_output=$console_crlf$'\r\nZOIntOut.dat:\r\n'$answer_crlf
win64_mingw_solves() {
  built_with_mingw x86_64-w64-mingw32-gcc "$win64" "$@" && imports_entry x86_64-w64-mingw32-objdump "$win64/$1.exe" &&
    runs_under_wine "$win64/$1.exe" "$solve_output" .
}
check "win64: solve.c built with mingw against libZOInt.dll.a solves the worked example" \
  win64_mingw_solves solve-dll-a -L"$win64" -lZOInt
check "win64: solve.c built with mingw against ZOInt.lib solves the worked example" \
  win64_mingw_solves solve-lib "$win64/ZOInt.lib"
win64_msvc_solves() {
  msvc_link x86_64-pc-windows-msvc "$win64" && imports_entry x86_64-w64-mingw32-objdump "$win64/msvc_host.exe" &&
    runs_under_wine "$win64/msvc_host.exe" "$console_crlf"
}
check "win64: a Visual C++ style link against ZOInt.lib (lld-link) solves the worked example" win64_msvc_solves

echo "packaging: $passed passed, $failed failed ($((SECONDS - stage_start)) s)"
[ "$failed" = 0 ]
