#!/bin/bash
# Installs the build into a fresh prefix, then builds and runs a small program against the TavCtrls package
# three ways: static from the prefix, static from the build tree, shared from the prefix.
# usage: install_test.sh CMAKE BUILD_DIR CONSUMER_SOURCE CXX_COMPILER GENERATOR BUILD_TYPE
set -u
cmake=$1 build=$2 consumer=$3 cxx=$4 generator=$5 build_type=$6
started=$(date +%s)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Runs a command quietly; on failure shows its output and stops the test.
step() {
    local what=$1
    shift
    if ! "$@" > "$work/step.log" 2>&1; then
        cat "$work/step.log"
        echo "FAIL: $what"
        exit 1
    fi
}

step "cmake --install" "$cmake" --install "$build" --prefix "$prefix"
libdir=$(dirname "$(find "$prefix" -name TavCtrlsConfig.cmake -path '*/cmake/TavCtrls/*' | head -n 1)")/../..
for file in "$libdir/cmake/TavCtrls/TavCtrlsConfigVersion.cmake" "$libdir/cmake/TavCtrls/TavCtrlsTargets.cmake" \
            "$libdir/libtavctrls.a" "$libdir/libtav_platform.a" "$libdir/libtav_winmain.a" "$libdir/libtavctrls.so" \
            "$prefix/include/tavctrls/TavCtrls.h" \
            "$prefix/share/TavCtrls/art/buttonnormal.bmp" "$prefix/share/TavCtrls/art/drag/dragbutton.bmp" \
            "$prefix/bin/tavgen" "$prefix/bin/tavbuilder"; do
    [ -e "$file" ] || fail "not installed: ${file#"$prefix"/}"
done
# The public headers and nothing else: no runtime plumbing, no platform layer.
source_root=$(realpath "$consumer/../../..")
installed_headers=$(cd "$prefix/include" && find . -type f | sort)
public_headers=$(cd "$source_root/tavctrls/include" && find . -type f | sort)
[ "$installed_headers" = "$public_headers" ] ||
    fail "the installed headers are not the public ones:$(diff <(echo "$public_headers") <(echo "$installed_headers"))"

# What a desktop looks for: the menu entry, the project file type and the icon at every size.
share=$prefix/share
# valid_entry FILE: desktop-file-validate finds no error and no warning in it.
valid_entry() {
    local report
    if ! command -v desktop-file-validate > /dev/null; then
        fail "desktop-file-validate is missing (Debian package desktop-file-utils, in scripts/packages)"
    elif ! report=$(desktop-file-validate "$1" 2>&1) || grep -qE 'error:|warning:' <<< "$report"; then
        fail "desktop-file-validate refuses ${1#"$work"/}: $report"
    fi
}
valid_entry "$share/applications/tavbuilder.desktop"
for line in "Exec=$prefix/bin/tavbuilder --window %f" 'Icon=tavbuilder' 'MimeType=application/x-tavbuilder-project;'; do
    grep -qxF "$line" "$share/applications/tavbuilder.desktop" || fail "the desktop entry lacks $line"
done
icons=$(cd "$share/icons/hicolor" && find . -type f | sort -V | tr '\n' ' ')
[ "$icons" = "$(printf './%sx%s/apps/tavbuilder.png ' 16 16 24 24 32 32 48 48 64 64 128 128 256 256)" ] ||
    fail "the icons installed are $icons"
for size in 16 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/tavbuilder.png
    # Square, with clear corners and an opaque middle.
    seen=$(convert "$icon" -format '%wx%h %[channels] %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info: 2>&1)
    [ "$seen" = "${size}x${size} srgba 0 1" ] || fail "the ${size} pixel icon is $seen"
done
update-mime-database "$share/mime" > /dev/null 2>&1
grep -qxF 'application/x-tavbuilder-project:*.tvp' "$share/mime/globs" &&
    grep -qxF 'application/x-tavbuilder-project text/plain' "$share/mime/subclasses" ||
    fail "the MIME database does not know .tvp files: $(cat "$share/mime/globs" "$share/mime/subclasses")"
# Installed for a package (/usr) the entry starts the designer by name; under an unusual folder by its
# whole path, escaped.
for staged in /usr '/opt/Tav $Builder "1"'; do
    step "cmake --install --prefix $staged" env DESTDIR="$work/stage" "$cmake" --install "$build" --prefix "$staged"
    entry=$work/stage$staged/share/applications/tavbuilder.desktop
    valid_entry "$entry"
    exec_line=$(grep '^Exec=' "$entry")
    want='Exec="/opt/Tav \\$Builder \\"1\\"/bin/tavbuilder" --window %f'
    [ "$staged" = /usr ] && want='Exec=tavbuilder --window %f'
    [ "$exec_line" = "$want" ] || fail "installed into $staged the desktop entry says $exec_line, not $want"
done
[ "$failures" -eq 0 ] || exit 1

# A copy of the consumer outside the source tree, so that nothing but the package can supply headers.
cp -r "$consumer" "$work/consumer"
generator_args=()
[ -n "$generator" ] && generator_args=(-G "$generator")

# build NAME EXPECTED_PACKAGE_DIR CMAKE_ARGS...: configures and builds the consumer into $work/NAME.
build() {
    local name=$1 expected=$2
    shift 2
    step "configure $name" "$cmake" -S "$work/consumer" -B "$work/$name" "${generator_args[@]}" \
        -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE="$build_type" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
        -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON "$@"
    step "build $name" "$cmake" --build "$work/$name"
    local found
    found=$(sed -n 's/^TavCtrls_DIR:[A-Z]*=//p' "$work/$name/CMakeCache.txt")
    [ "$(realpath "$found")" = "$(realpath "$expected")" ] || fail "$name found TavCtrls in $found, not $expected"
}

# run NAME: runs the program headless with a click on its button and checks what it did.
run() {
    local name=$1 program=$work/$1/consumer
    printf 'wait 1\nclick 150 95\n' > "$work/$name.input"
    (cd "$work" && TAV_HEADLESS=1 TAV_FRAMES=5 TAV_SCREENSHOT="$work/$name.bmp" TAV_INPUT="$work/$name.input" \
        "$program" one "two three" > "$work/$name.out" 2>&1)
    local status=$?
    [ "$status" -eq 0 ] || fail "$name exited with $status: $(cat "$work/$name.out")"
    grep -qxF 'command line: [one two three]' "$work/$name.out" || fail "$name got another command line"
    grep -qx 'clicked' "$work/$name.out" || fail "$name did not report the click on its button"
    [ "$(head -c 2 "$work/$name.bmp" 2> /dev/null)" = "BM" ] || fail "$name saved no screenshot"
}

# needs NAME LIBRARY yes|no: whether the program loads LIBRARY at run time.
needs() {
    local listed=no
    readelf -d "$work/$1/consumer" | grep -q "NEEDED.*\[$2" && listed=yes
    [ "$listed" = "$3" ] || fail "$1: needs $2 is $listed, expected $3"
}

build installed "$libdir/cmake/TavCtrls" -DCMAKE_PREFIX_PATH="$prefix"
build buildtree "$build/TavCtrls" -DTavCtrls_DIR="$build/TavCtrls"
build shared "$libdir/cmake/TavCtrls" -DCMAKE_PREFIX_PATH="$prefix" -DCONSUMER_SHARED=ON
grep -q -- "$source_root" "$work/installed/compile_commands.json" &&
    fail "the installed package points into the source tree $source_root"
needs installed libtavctrls no
needs shared libtavctrls.so yes
for name in installed buildtree shared; do
    run "$name"
done
cmp -s "$work/installed.bmp" "$work/shared.bmp" || fail "the static and the shared program drew different frames"
cmp -s "$work/installed.bmp" "$work/buildtree.bmp" || fail "the installed and the build tree's library drew differently"

# The designer, installed and in the build tree, started from elsewhere: both find their bitmaps.
designer() {
    local name=$1 program=$2
    (cd "$work" && TAV_HEADLESS=1 TAV_FRAMES=5 TAV_SCREENSHOT="$work/$name.bmp" "$program" -w \
        > "$work/$name.out" 2>&1)
    local status=$?
    [ "$status" -eq 0 ] || fail "$name exited with $status: $(cat "$work/$name.out")"
    [ -s "$work/$name.out" ] && fail "$name complained: $(cat "$work/$name.out")"
    [ "$(head -c 2 "$work/$name.bmp" 2> /dev/null)" = "BM" ] || fail "$name saved no screenshot"
}
designer designer-installed "$prefix/bin/tavbuilder"
designer designer-buildtree "$build/tools/tavbuilder/tavbuilder"
cmp -s "$work/designer-installed.bmp" "$work/designer-buildtree.bmp" ||
    fail "the installed designer drew another main screen than the build tree's"

echo "install test took $(($(date +%s) - started)) s"
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
