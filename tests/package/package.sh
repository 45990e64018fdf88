#!/usr/bin/env bash
# The steps of the package tests (see CMakeLists.txt); each exits non-zero with a line on what
# failed.
#   package.sh build WORK CPACK CONFIG   make the .deb in WORK and unpack it into WORK/root
#   package.sh run|lintian|desktop|mime|man WORK [PRINTERCHECK]
set -euo pipefail
step=$1
work=$2
root=$work/root

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

deb() {
    local debs=("$work"/kiila_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package in $work"
    echo "${debs[0]}"
}

# The options a --help text names: words that begin with - or -- after a blank, [ or the start.
helpOptions() {
    "$1" --help | grep -oE -- '(^|[[:space:][])--?[a-z][a-z0-9]*(-[a-z0-9]+)*' |
        sed -E 's/^[[:space:][]//' | sort -u
}

case $step in
build)
    rm -rf "$work"
    mkdir -p "$work"
    "$3" --config "$4" -G DEB -B "$work" >"$work/cpack.log" || {
        cat "$work/cpack.log"
        fail "cpack"
    }
    dpkg-deb -x "$(deb)" "$root"
    # The same sources give the same package: the changelog is dated by SOURCE_DATE_EPOCH or by
    # a commit of the sources, never by the time of the build.
    dated=$(zcat "$root/usr/share/doc/kiila/changelog.gz" | sed -n 's/^ -- .*  //p')
    epoch=$(date -d "$dated" +%s) || fail "changelog date '$dated' unreadable"
    sources=$(dirname "$0")
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
        [ "$epoch" = "$SOURCE_DATE_EPOCH" ] || fail "changelog dated $dated, not SOURCE_DATE_EPOCH"
    elif git -C "$sources" rev-parse 2>/dev/null; then
        # (grep reads to the end: pipefail would count git's broken pipe after an early -q)
        git -C "$sources" log --format=%ct | grep -x "$epoch" >/dev/null ||
            fail "changelog dated $dated: no commit has that time"
    fi
    ;;

run)
    version=$(dpkg-deb -f "$(deb)" Version)
    for program in kiila kiila-calc; do
        [ "$("$root/usr/bin/$program" --version)" = "$program $version" ] ||
            fail "$program --version does not give the package's version $version"
    done

    # The English texts come from the installed english.txt, found from the program's folder:
    # its last line begins the plate text, which the built-in Finnish texts do not have.
    plateText=$(sed -n '34s/\r$//p' "$root/usr/share/kiila/english.txt")
    [ -n "$plateText" ] || fail "no line 34 in the installed english.txt"
    design=(--arrangement 2 --c1 600 --c2 600 --s1 150 --nsd 10)
    english=$("$root/usr/bin/kiila-calc" "${design[@]}" --lang eng)
    grep -qF "${plateText}36 mm x 186 mm" <<<"$english" ||
        fail "kiila-calc --lang eng did not use the installed English texts: $english"
    if "$root/usr/bin/kiila-calc" "${design[@]}" --lang none | grep -qF "$plateText"; then
        fail "the built-in texts hold the English plate text; the check above proves nothing"
    fi

    # --report loads its module from where the package put it, seen from /usr/bin.
    pdf=$work/report.pdf
    rm -f "$pdf"
    "$root/usr/bin/kiila-calc" "${design[@]}" --report "$pdf" --project "Package" >/dev/null ||
        fail "kiila-calc --report ended with status $?"
    pdfinfo "$pdf" | grep -qE '^Pages: +1$' || fail "kiila-calc --report wrote no one-page PDF"

    # kiila starts without Qt Print Support and libcups: they come with its printer module,
    # which the package puts beside kiila-report.so and which finds all it needs.
    printer=$(find "$root/usr/lib" -name kiila-printer.so)
    [ -n "$printer" ] && [ "$(dirname "$printer")" = "$(dirname "$(find "$root/usr/lib" -name kiila-report.so)")" ] ||
        fail "no kiila-printer.so beside kiila-report.so"
    if ldd "$root/usr/bin/kiila" | grep -E 'libQt6PrintSupport|libcups'; then
        fail "kiila links the print libraries itself"
    fi
    ldd "$printer" | grep libcups >/dev/null || fail "kiila-printer.so does not link libcups"
    if ldd "$printer" | grep 'not found'; then
        fail "kiila-printer.so misses libraries"
    fi
    # The program loads only the module built with it; the package's, stripped, is that one.
    "$3" "$printer" || fail "kiila refuses the printer module the package installs"

    # The program on the offscreen platform, until its main window is on the screen; with
    # settings of its own, so that no zoom kept by the user's runs applies.
    mkdir -p "$work/config"
    shown=$(XDG_CONFIG_HOME=$work/config QT_QPA_GENERIC_PLUGINS=kiilashowprobe timeout 60 \
        "$root/usr/bin/kiila") ||
        fail "kiila ended with status $? before or after its window showed: $shown"
    # At the largest zoom step at which it fits the offscreen screen, 800 pixels wide: 75 %.
    grep -qE '^shown: 770x576 ' <<<"$shown" || fail "kiila did not show its main window: $shown"
    ;;

lintian)
    # Errors fail; warnings and notes are listed in the test's output.
    lintian --fail-on error --display-info "$(deb)" 2>&1 | grep -v 'root privileges' || true
    lintian --fail-on error "$(deb)" >/dev/null 2>&1 || fail "lintian reports errors"
    ;;

desktop)
    entries=("$root"/usr/share/applications/*.desktop)
    [ ${#entries[@]} -eq 1 ] || fail "not one desktop entry"
    desktop-file-validate "${entries[0]}" || fail "desktop-file-validate"
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml ||
        fail "appstreamcli validate"
    # What the entry names is in the package: the program and the icon in the theme's sizes.
    exec=$(sed -n 's/^Exec=//p' "${entries[0]}")
    [ -x "$root/usr/bin/${exec%% *}" ] || fail "Exec=$exec is not in /usr/bin"
    icon=$(sed -n 's/^Icon=//p' "${entries[0]}")
    for size in 16 32 48 64 128 256; do
        png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
        file "$png" | grep -q "PNG image data, $size x $size" || fail "no $size px icon $icon"
    done
    ;;

mime)
    # The design file's type as the desktop knows it from the package's entry, through the
    # shared-mime-info tools: by its name, and by its format name when it has been renamed.
    type=application/x-kiila-design
    data=$work/mime
    rm -rf "$data"
    mkdir -p "$data/share" "$data/home" "$data/files"
    cp -r "$root/usr/share/mime" "$data/share/mime"
    XDG_DATA_DIRS=$data/share update-mime-database "$data/share/mime" || fail "update-mime-database"
    files=$data/files
    "$root/usr/bin/kiila-calc" --arrangement 1 --c1 200 --c2 200 --save "$files/x.kiila" \
        >/dev/null || fail "kiila-calc --save ended with status $?"
    cp "$files/x.kiila" "$files/x.json"
    cp "$files/x.kiila" "$files/x"
    printf '{"format": "kiila-plan"}\n' >"$files/other.json"
    # What GIO (the file managers' library) makes of a file, with the given data folders.
    info() {
        XDG_DATA_HOME=$data/home XDG_DATA_DIRS=$1 GIO_USE_VFS=local \
            gio info -a "standard::$2" "$3" | sed -n "s/^ *standard::$2: //p"
    }
    for file in x.kiila x.json x; do
        known=$(info "$data/share:/usr/share" content-type "$files/$file")
        [ "$known" = "$type" ] || fail "$file is known as '$known', not as $type"
    done
    known=$(info "$data/share:/usr/share" content-type "$files/other.json")
    [ "$known" = application/json ] || fail "another JSON file is known as '$known'"
    # Without the package's entry the design is not known: the checks above test the entry.
    known=$(info /usr/share content-type "$files/x.kiila")
    [ "$known" != "$type" ] || fail "$type is known without the package's entry"
    # Its icon is the one the package installs.
    icon=$(info "$data/share:/usr/share" icon "$files/x.kiila")
    [[ "$icon" == "${type/\//-}"* ]] || fail "the type's icon is '$icon'"
    [ -s "$root/usr/share/icons/hicolor/scalable/mimetypes/${type/\//-}.svg" ] ||
        fail "no icon ${type/\//-}.svg"
    # The program opens it: the menu entry and AppStream say so.
    grep -qx "MimeType=$type;" "$root"/usr/share/applications/*.desktop ||
        fail "the desktop entry has no MimeType=$type;"
    grep -q "<mediatype>$type</mediatype>" "$root"/usr/share/metainfo/*.metainfo.xml ||
        fail "AppStream provides no mediatype $type"
    ;;

man)
    for program in kiila kiila-calc; do
        page=$root/usr/share/man/man1/$program.1.gz
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $program: $warnings"
        # Wide lines, so that no option is broken at a line end.
        text=$(LC_ALL=C MANWIDTH=500 man -l "$page" 2>/dev/null | col -b)
        options=$(helpOptions "$root/usr/bin/$program")
        [ -n "$options" ] || fail "$program --help names no option"
        for option in $options; do
            grep -qw -- "$option" <<<"$text" || fail "$option of $program --help is not in its manual page"
        done
    done
    ;;

*)
    fail "unknown step $step"
    ;;
esac
