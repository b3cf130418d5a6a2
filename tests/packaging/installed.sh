#!/usr/bin/env bash
# installed.sh MODE BUILD_DIR SOURCE_DIR
#   prefix   installs BUILD_DIR with "cmake --install" into a temporary prefix
#            (with a blank in its name, as any prefix may have one);
#   package  builds the Debian package with CPack, checks its control fields
#            and unpacks it into a temporary root.
# Then checks that every installed file is where the programs look for it,
# running the installed programs with HOME and XDG folders of their own.
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
source_dir=$(cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
built() { [ -x "$build/bin/$1" ]; }

case $mode in
  prefix)
    prefix="$work/my prefix"
    root=$prefix  # where the files are; prefix is where they say they are
    cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
    ;;
  package)
    cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
      { cat "$work/cpack.log"; fail "cpack"; }
    debs=("$work"/out/*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages"
    deb=${debs[0]}
    field() { dpkg-deb --field "$deb" "$1"; }
    [ "$(field Package)" = vantor ] || fail "package name $(field Package)"
    [ "$(basename "$deb")" = "vantor_$(field Version)_$(field Architecture).deb" ] || fail "file name $(basename "$deb")"
    [ "$(field Section)" = hamradio ] || fail "section $(field Section)"
    depends=$(field Depends)
    echo "Depends: $depends"
    for lib in libc6 libstdc++6 zlib1g; do
      [[ $depends == *"$lib "* || $depends == *"$lib," || $depends == *"$lib" ]] || fail "Depends lacks $lib"
    done
    if built vantor-cli; then
      [[ $depends == *libqt6widgets6* && $depends == *libqt6network6* ]] || fail "Depends lacks the Qt libraries"
    fi
    [[ $depends != *hamradio-files* ]] || fail "the package must not need hamradio-files"
    [[ $(field Description) == *voacapl* ]] || fail "the description does not name voacapl"
    if dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '^\./usr/'; then
      fail "files outside /usr"
    fi
    # Debian's package checker: errors fail, warnings are shown.
    command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh installs it)"
    lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
      { cat "$work/lintian.log"; fail "lintian found errors in the package"; }
    if grep -q '^W: ' "$work/lintian.log"; then
      echo "lintian warnings:"
      grep '^W: ' "$work/lintian.log"
    fi
    dpkg-deb --extract "$deb" "$work/root"
    prefix=/usr
    root=$work/root/usr
    ;;
  *) fail "unknown mode $mode" ;;
esac
data=$root/share/vantor

# The programs that were built are installed.
for p in vantor vantor-cli vantor-voacap kestrix; do
  if built "$p"; then [ -x "$root/bin/$p" ] || fail "bin/$p is not installed"; fi
done

# Every data file the build puts beside the programs is installed, unchanged,
# where the installed programs look for it.
while IFS= read -r -d '' f; do
  f=${f#./}
  cmp -s "$build/bin/$f" "$data/$f" || fail "share/vantor/$f is missing or differs from the build's"
done < <(cd "$build/bin" && find . -type f ! -perm -u+x ! -name '*.ini' ! -name portable -print0)

# An installed program resolves a call from the installed Prefix.lst, and from
# nothing else: without it the call is not found.
home=$work/home
mkdir -p "$home"
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
    XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=offscreen "$@"
}
if built vantor-cli && [ -f "$data/Prefix.lst" ]; then
  out=$(run "$root/bin/vantor-cli" lookup K1ABC)
  [[ $out == $'K1ABC\t291\tUnited States\t'* ]] || fail "vantor-cli lookup K1ABC printed: $out"
  mv "$data/Prefix.lst" "$work/Prefix.lst"
  out=$(run "$root/bin/vantor-cli" lookup K1ABC)
  mv "$work/Prefix.lst" "$data/Prefix.lst"
  [ "$out" = $'K1ABC\t-' ] || fail "without the installed Prefix.lst, vantor-cli still found: $out"
fi
# A program run from the build folder uses the lists beside it.
if [ "$mode" = prefix ] && built vantor-cli && [ -f "$build/bin/Prefix.lst" ]; then
  out=$(run "$build/bin/vantor-cli" lookup K1ABC)
  [[ $out == $'K1ABC\t291\tUnited States\t'* ]] || fail "the build folder's vantor-cli printed: $out"
fi
# The installed propagation program finds its coefficient tables in the
# installed data folder and computes a real deck as voacapl did, in a data
# folder that holds nothing but the antenna and the deck.
if built vantor-voacap; then
  voa=$work/itshfbc
  mkdir -p "$voa/run" "$voa/antennas/default"
  cp "$source_dir/tests/fixtures/voacap/p2p/p2p01.dat" "$voa/run/"
  printf 'ISOTROPE\n 2     2 parameters\n  0.00  [ 1] Max Gain dBi..:\n   0    [ 2] Antenna Type..:\n' \
    >"$voa/antennas/default/isotrope"
  run "$root/bin/vantor-voacap" -s "$voa" p2p01.dat p2p01.out </dev/null >"$work/voacap.log" 2>&1 ||
    { cat "$work/voacap.log"; fail "the installed vantor-voacap failed"; }
  cmp -s "$voa/run/p2p01.out" "$source_dir/tests/fixtures/voacap/p2p/p2p01.out" ||
    fail "the installed vantor-voacap wrote another output than voacapl"
fi

# The installed Kestrix starts (its own tests hold what --help prints).
if built kestrix; then
  out=$(run "$root/bin/kestrix" --help 2>&1) || true
  [[ $out == *"usage: kestrix"* ]] || fail "kestrix --help printed: $out"
fi

# The program an Exec line starts (its first argument, quotes removed).
exec_program() {
  local value=$1
  if [[ $value == \"* ]]; then value=${value#\"}; echo "${value%%\"*}"; else echo "${value%% *}"; fi
}
key() { sed -n "s/^$1=//p" "$2" | head -n 1; }

# PNG width and height from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d", $3*256+$4, $7*256+$8}'; }

check_desktop_entry() {  # APP PROGRAM
  local file=$root/share/applications/net.vexmoor.$1.desktop
  [ -f "$file" ] || fail "share/applications/net.vexmoor.$1.desktop is not installed"
  "$here/quiet.sh" desktop-file-validate "$file" || fail "$file does not validate"
  [ "$(exec_program "$(key Exec "$file")")" = "$prefix/bin/$2" ] || fail "$file: Exec=$(key Exec "$file")"
  local icon
  icon=$(key Icon "$file")
  [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
  local sizes=0 png
  for png in "$root"/share/icons/hicolor/*x*/apps/"$icon".png; do
    [ -f "$png" ] || continue
    local dir=${png%/apps/*}
    [ "$(png_size "$png")" = "${dir##*/}" ] || fail "$png is $(png_size "$png")"
    sizes=$((sizes + 1))
  done
  [ "$sizes" -ge 5 ] || fail "only $sizes PNG sizes of $icon"
  [ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon"
}

if built kestrix; then
  check_desktop_entry Kestrix kestrix
  [ "$(key NoDisplay "$root/share/applications/net.vexmoor.Kestrix.desktop")" = true ] ||
    fail "Kestrix's desktop entry must stay out of the menus"
fi
if built vantor; then
  check_desktop_entry Vantor vantor
  [ -z "$(key NoDisplay "$root/share/applications/net.vexmoor.Vantor.desktop")" ] || fail "Vantor must be in the menus"
  service=$root/share/dbus-1/services/net.vexmoor.Vantor.service
  [ -f "$service" ] || fail "the D-Bus activation file is not installed"
  [ "$(key Name "$service")" = net.vexmoor.Vantor ] || fail "$service: Name=$(key Name "$service")"
  exec_line=$(key Exec "$service")
  [ "$(exec_program "$exec_line")" = "$prefix/bin/vantor" ] && [[ $exec_line == *" --automation" ]] ||
    fail "$service: Exec=$exec_line"
  metainfo=$root/share/metainfo/net.vexmoor.Vantor.metainfo.xml
  [ -f "$metainfo" ] || fail "the AppStream metainfo is not installed"
  appstreamcli validate --no-net --strict "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "$metainfo does not validate"; }
  # The package as a whole: metainfo, desktop entry and icons agree.
  if [ "$mode" = package ]; then
    appstreamcli validate-tree --no-net --strict "$work/root" >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log"; fail "the package's AppStream tree does not validate"; }
  fi
fi

# Manual pages of the installed programs, free of formatter warnings.
for p in vantor vantor-cli kestrix; do
  built "$p" || continue
  page=$root/share/man/man1/$p.1.gz
  [ -f "$page" ] || fail "share/man/man1/$p.1.gz is not installed"
  zcat "$page" >"$work/$p.1"
  "$here/quiet.sh" groff -man -Tutf8 -ww -z "$work/$p.1" || fail "$p.1 has formatting warnings"
done
[ -f "$root/share/doc/vantor/copyright" ] || fail "share/doc/vantor/copyright is not installed"
# The changelog, compressed as Debian wants it (no name, no time stamp), its
# newest entry naming the version being installed.
changelog=$root/share/doc/vantor/changelog.gz
[ -f "$changelog" ] || fail "share/doc/vantor/changelog.gz is not installed"
gzip -t "$changelog" || fail "$changelog is not a gzip file"
[ "$(od -An -tu1 -j4 -N4 "$changelog" | tr -s ' ')" = " 0 0 0 0" ] || fail "$changelog carries a time stamp"
(( $(od -An -tu1 -j3 -N1 "$changelog") & 8 )) && fail "$changelog carries a file name"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[[ $(zcat "$changelog" | head -n 1) == "vantor ($version) "* ]] ||
  fail "the changelog's newest entry is not for $version: $(zcat "$changelog" | head -n 1)"

# Nothing installed points back into the build or the source folder.
if grep -rIl -e "$build" -e "$source_dir" "$root"; then
  fail "installed files name the build or source folder"
fi
echo "OK: $mode"
