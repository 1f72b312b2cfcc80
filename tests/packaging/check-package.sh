#!/bin/sh
# Builds the Debian package with CPack into a temporary folder and checks it
# as apt and dpkg will see it: its name, its control fields (the Depends line
# above all), the files it installs, that the stripped programs still run,
# and that apt accepts it on this machine.
#
# usage: check-package.sh BUILD_DIR VERSION APP_ID
set -eu
build=$1
version=$2
appid=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

if ! (cd "$build" && cpack -G DEB -B "$tmp/out") >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log" >&2
    echo "FAIL: cpack -G DEB" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$tmp/out/tornel_${version}_$arch.deb
if [ ! -f "$deb" ]; then
    ls "$tmp/out" >&2
    echo "FAIL: no tornel_${version}_$arch.deb" >&2
    exit 1
fi

# Control fields.
dpkg-deb -I "$deb" >"$tmp/info.txt" || fail "dpkg-deb -I"
field() {
    sed -n "s/^ $1: //p" "$tmp/info.txt"
}
[ "$(field Package)" = tornel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
field Maintainer | grep -q '^[^<]*[^ <] <[^>]*@[^>]*>$' || fail "Maintainer is '$(field Maintainer)'"
[ -n "$(field Section)" ] || fail "no Section"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6opengl6 libqt6openglwidgets6 \
    libqt6printsupport6 libgl1 libglu1-mesa qt6-qpa-plugins; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$package\( \|$\)" || fail "Depends lacks $package: $depends"
done
field Recommends | grep -q 'fonts-noto-cjk' || fail "fonts-noto-cjk is not recommended"

# Contents: the installed tree under /usr, and nothing else.
dpkg-deb -c "$deb" | awk '{ print $NF }' >"$tmp/files.txt" || fail "dpkg-deb -c"
for path in ./usr/bin/tornel ./usr/bin/tornel-info ./usr/share/applications/$appid.desktop \
    ./usr/share/mime/packages/$appid.xml ./usr/share/man/man1/tornel.1.gz ./usr/share/man/man1/tornel-info.1.gz \
    ./usr/share/doc/tornel/copyright; do
    grep -qxF "$path" "$tmp/files.txt" || fail "the package lacks $path"
done
for size in 16 32 48 64 128 256; do
    grep -qxF "./usr/share/icons/hicolor/${size}x${size}/apps/$appid.png" "$tmp/files.txt" ||
        fail "the package lacks the ${size}x${size} icon"
done
outside=$(grep -v '^\./$' "$tmp/files.txt" | grep -v '^\./usr/' || true)
# Nor the desktop's caches, which belong to the machine (and to the packages
# that own them there).
strays=$(grep -E 'ncgen|bench|_tests|/local/|/include/|mime\.cache|globs2?$|mimeinfo\.cache|icon-theme\.cache' \
    "$tmp/files.txt" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ -z "$strays" ] || fail "build-only files in the package: $strays"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ && $1 !~ /^-rw-r--r--$/ && $1 !~ /^-rwxr-xr-x$/' >"$tmp/modes.txt"
[ -s "$tmp/modes.txt" ] && fail "odd file modes: $(cat "$tmp/modes.txt")"
dpkg-deb -c "$deb" | awk '$2 != "root/root"' >"$tmp/owners.txt"
[ -s "$tmp/owners.txt" ] && fail "files not owned by root: $(cat "$tmp/owners.txt")"

# The stripped programs still run.
dpkg-deb -x "$deb" "$tmp/root"
"$tmp/root/usr/bin/tornel-info" --help >/dev/null || fail "the packaged tornel-info does not run"
if command -v readelf >/dev/null 2>&1 && readelf -S "$tmp/root/usr/bin/tornel" | grep -q '\.debug_info'; then
    fail "the packaged tornel keeps its debugging information"
fi

# apt would install it here: every dependency resolves.
if command -v apt-get >/dev/null 2>&1; then
    apt-get install --simulate -q "$deb" >"$tmp/apt.txt" 2>&1 || fail "apt-get install --simulate: $(cat "$tmp/apt.txt")"
    grep -q '^Inst tornel ' "$tmp/apt.txt" || fail "apt would not install tornel: $(cat "$tmp/apt.txt")"
fi

exit $status
