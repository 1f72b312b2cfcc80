#!/bin/sh
# Installs the build into a temporary prefix, as `cmake --install build
# --prefix P` does for a user, and checks what the desktop and the shell rely
# on: the programs run, the desktop entry is valid, each icon size is there,
# the NC program type maps the open dialog's extensions to the program (with
# the system's own types beside it), and both manual pages render cleanly and
# document the options the programs take.
#
# usage: check-install.sh BUILD_DIR SOURCE_DIR APP_ID
set -eu
build=$1
source=$2
appid=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

prefix=$tmp/prefix
mkdir "$tmp/home"
# The desktop of a user who has the prefix in the search paths, and nothing
# of their own.
desktop() {
    env XDG_DATA_HOME="$tmp/home" XDG_DATA_DIRS="$prefix/share:/usr/local/share:/usr/share" \
        XDG_CONFIG_HOME="$tmp/home" XDG_CONFIG_DIRS="$tmp/home" PATH="$prefix/bin:$PATH" "$@"
}
if ! desktop cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi
grep -qi 'warning' "$tmp/install.log" && fail "cmake --install warned: $(cat "$tmp/install.log")"

# The programs, and the installed copy runs on its own.
for program in tornel tornel-info; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
"$prefix/bin/tornel-info" "$source/examples/pocket.nc" >"$tmp/info.txt" 2>&1 || fail "installed tornel-info failed"
grep -q 'mm$' "$tmp/info.txt" || fail "installed tornel-info printed no figures: $(cat "$tmp/info.txt")"

# The desktop entry: valid (no errors, no warnings), and starting the
# program installed beside it with the files it is given.
entry=$prefix/share/applications/$appid.desktop
if [ -f "$entry" ]; then
    desktop-file-validate "$entry" >"$tmp/validate.log" 2>&1 || true
    [ -s "$tmp/validate.log" ] && fail "desktop-file-validate: $(cat "$tmp/validate.log")"
    for line in 'Type=Application' 'Exec=tornel %F' 'Terminal=false' "Icon=$appid" 'Name=Tornel'; do
        grep -qxF "$line" "$entry" || fail "desktop entry lacks '$line'"
    done
    for key in 'Name\[zh_CN\]' Comment Categories; do
        grep -q "^$key=." "$entry" || fail "desktop entry lacks $key"
    done
    grep -q '^MimeType=\(.*;\)\{0,1\}text/x-nc-program;' "$entry" || fail "desktop entry does not take text/x-nc-program"
else
    fail "share/applications/$appid.desktop is not installed"
fi

# The icon theme's sizes, each a PNG of its size (width and height are the
# big-endian words at bytes 16 and 20).
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$appid.png
    if [ ! -f "$png" ]; then
        fail "icon ${size}x${size} is not installed"
        continue
    fi
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || fail "icon ${size}x${size} is not a PNG"
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "icon ${size}x${size} is $dims"
done

# The NC program type: every extension of File > Open's NC entries except
# *.txt, which is every text file's and stays text/plain.
extensions=$( (grep 'NC Files (' "$source/res/StringTable.cpp"; grep 'NC 程序 (' "$source/src/app/CTornelApp.cpp") |
    grep -o '\*\.[A-Za-z0-9]*' | sed 's/^\*\.//' | sort -u)
[ -n "$extensions" ] || fail "no extensions found in the open dialog's filter"
mime=$prefix/share/mime
[ -f "$mime/packages/$appid.xml" ] || fail "share/mime/packages/$appid.xml is not installed"
if desktop update-mime-database "$mime" >"$tmp/mime.log" 2>&1; then
    [ -s "$tmp/mime.log" ] && fail "update-mime-database: $(cat "$tmp/mime.log")"
    for ext in $extensions; do
        if [ "$ext" = txt ]; then
            grep -q ":text/x-nc-program:\*\.txt$" "$mime/globs2" && fail "the NC program type takes every *.txt"
        else
            grep -q "^[0-9]*:text/x-nc-program:\*\.$ext$" "$mime/globs2" || fail "*.$ext is not an NC program"
        fi
    done
    grep -qx 'text/x-nc-program text/plain' "$mime/subclasses" || fail "text/x-nc-program is no kind of text/plain"
else
    fail "update-mime-database: $(cat "$tmp/mime.log")"
fi

# What a file manager sees right after the install (which rebuilt the
# desktop's caches), with the system's types beside ours (several of these
# extensions belong to other types there too): a text program named *.nc or
# *.ngc is an NC program, handled by Tornel; a *.txt stays text.
if command -v gio >/dev/null 2>&1; then
    mkdir "$tmp/files"
    printf 'G0 X0 Y0\r\nG1 X10 F100\r\nM30\r\n' >"$tmp/files/part.nc"
    cp "$tmp/files/part.nc" "$tmp/files/part.ngc"
    cp "$tmp/files/part.nc" "$tmp/files/notes.txt"
    for name in part.nc part.ngc notes.txt; do
        type=$(desktop gio info -a standard::content-type "$tmp/files/$name" | sed -n 's/^ *standard::content-type: //p')
        case $name in
        *.txt) expected=text/plain ;;
        *) expected=text/x-nc-program ;;
        esac
        [ "$type" = "$expected" ] || fail "$name is '$type', not $expected"
    done
    desktop gio mime text/x-nc-program >"$tmp/apps.txt" 2>&1 || true
    grep -q "$appid.desktop" "$tmp/apps.txt" || fail "no application for text/x-nc-program: $(cat "$tmp/apps.txt")"
else
    echo "gio is not installed: the file manager's view is not checked" >&2
fi

# The manual pages render without a warning, and name every option the
# programs take: tornel-info's from its --help, tornel's from its parser.
render() {
    page=$prefix/share/man/man1/$1.1.gz
    if [ ! -f "$page" ]; then
        fail "share/man/man1/$1.1.gz is not installed"
        return
    fi
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$tmp/$1.txt" 2>"$tmp/$1.err" || fail "man -l $1 failed"
    [ -s "$tmp/$1.err" ] && fail "man -l $1: $(cat "$tmp/$1.err")"
    grep -q "^NAME" "$tmp/$1.txt" || fail "man -l $1 shows no NAME section"
    # One line, so that an option broken at its hyphen is found whole.
    awk '{ sub(/^ +/, ""); printf "%s", $0 }' "$tmp/$1.txt" | sed 's/\xe2\x80\x90//g' >"$tmp/$1.joined"
}
render tornel
render tornel-info
for option in $("$prefix/bin/tornel-info" --help | grep -o -- '--[a-z][-a-z]*' | sort -u) --help; do
    grep -q -- "$option" "$tmp/tornel-info.joined" || fail "tornel-info(1) does not document $option"
done
for option in $(grep -o '"-[-a-z]*"' "$source/src/framework/CCommandLineInfo.cpp" | tr -d '"' | sort -u); do
    grep -q -- "$option" "$tmp/tornel.joined" || fail "tornel(1) does not document $option"
done

exit $status
