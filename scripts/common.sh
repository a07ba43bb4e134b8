# Shared by scripts/run and scripts/test; sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

say() { printf '\033[1m==> %s\033[0m (%d s)\n' "$*" "$SECONDS"; }

# Installs the Debian packages of scripts/packages that are missing (with sudo when not root).
install_missing_packages() {
    local missing=() package
    while read -r package; do
        [[ -z "$package" || "$package" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done <"$root/scripts/packages"
    ((${#missing[@]} == 0)) && return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "error: installing ${missing[*]} needs root or sudo" >&2; return 1; }
        sudo=(sudo)
    fi
    say "Installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [CMAKE ARGUMENTS...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
    # TAV_TARGET may name several targets, separated by spaces.
    # shellcheck disable=SC2086
    cmake --build "$root/$dir" --parallel "$jobs" ${TAV_TARGET:+--target $TAV_TARGET}
}

# The normal build, shared by both commands so that neither undoes the other's configuration.
normal_build_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ -DTAV_WERROR=ON)

# The C++ files that follow .clang-format: all of ours but the generated goldens, which are byte-exact.
cpp_sources() {
    git -C "$root" ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' | grep -v '^tests/codegen/golden/'
}

# Prints the hand-written tests' lines against the product's; fails above the house limit of 0.35.
check_tests_ratio() {
    local tests product
    tests=$(cd "$root" && cpp_sources | grep '^tests/' | grep -v '/reference/' | xargs cat | wc -l)
    product=$(cd "$root" && cpp_sources | grep -E '^(model|codegen|tavctrls|builder|tools|examples)/' | xargs cat | wc -l)
    awk -v t="$tests" -v p="$product" 'BEGIN {
        printf "tests/code: %d / %d lines = %.3f (limit 0.35)\n", t, p, t / p
        exit (t / p > 0.35) }' || { echo "error: the tests outgrew the limit of 0.35 of the code" >&2; return 1; }
}

# Fails on any C++ file that clang-format would change.
check_format() {
    (cd "$root" && cpp_sources | xargs clang-format --dry-run --Werror) || {
        echo "error: run clang-format -i on the files above" >&2
        return 1
    }
}

# The desktop entry and the MIME type as written: desktop-file-validate finds no error or warning, the XML
# is well-formed and the MIME database takes the .tvp glob from it.
check_desktop_files() {
    local folder=$root/tools/tavbuilder/desktop report mime
    report=$(desktop-file-validate "$folder/tavbuilder.desktop" 2>&1) && ! grep -qE 'error:|warning:' <<<"$report" || {
        echo "$report" >&2
        echo "error: desktop-file-validate refuses tools/tavbuilder/desktop/tavbuilder.desktop" >&2
        return 1
    }
    xmllint --noout "$folder/tavbuilder.xml" || { echo "error: tavbuilder.xml is not well-formed" >&2; return 1; }
    mime=$(mktemp -d)
    mkdir "$mime/packages"
    cp "$folder/tavbuilder.xml" "$mime/packages/"
    update-mime-database "$mime" >/dev/null 2>&1
    grep -qxF 'application/x-tavbuilder-project:*.tvp' "$mime/globs" || {
        rm -rf "$mime"
        echo "error: update-mime-database takes no *.tvp glob from tavbuilder.xml" >&2
        return 1
    }
    rm -rf "$mime"
}
