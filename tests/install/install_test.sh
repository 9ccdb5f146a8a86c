#!/usr/bin/env bash
# What `cmake --install` and `cpack -G DEB` give, checked in a temporary root.
#
#   install_test.sh tree|validate|deb BUILD_DIR
#
# tree:     installs into a DESTDIR and checks every file, and that the installed programs
#           find the installed demo; the same from a prefix moved elsewhere.
# validate: desktop-file-validate and appstreamcli on the installed entry and metainfo
#           (exit 77, a skip, only when those tools are not on the machine).
# deb:      builds the Debian package and checks its control fields and its contents, and
#           lintian's verdict when lintian is there; nothing is installed on the system.
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
app_id=io.github.hotaru_vn.Hotaru
root=$(mktemp -d "${TMPDIR:-/tmp}/hotaru-install-XXXXXX")
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
need_file() { [ -f "$1" ] || fail "missing ${1#$root}"; }

install_into() {  # DESTDIR PREFIX
  DESTDIR=$1 cmake --install "$build" --prefix "$2" >"$root/install.log" 2>&1 ||
    { cat "$root/install.log" >&2; fail "cmake --install"; }
}

# The licences the project is under, in SPDX, and each one's name in Debian's copyright format.
project_license='GPL-2.0-or-later AND CC-BY-SA-4.0'
declare -A debian_license=([GPL-2.0-or-later]=GPL-2+ [CC-BY-SA-4.0]=CC-BY-SA-4.0)

# The copyright file is in the machine-readable format; every licence a Files paragraph names
# has its own paragraph with the text's place; every pattern still matches a file of the
# source tree; and together they give the metainfo's licences.
check_copyright() {  # FILE
  local file=$1
  [ "$(head -1 "$file")" = \
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
    fail "copyright is not in the 1.0 format: $(head -1 "$file")"
  local used standalone
  # A Files paragraph's License line follows its Files and Copyright; a stand-alone one starts
  # its paragraph.
  used=$(awk '/^Files:/ { files = 1 } /^$/ { files = 0 }
              files && /^License:/ { print $2 }' "$file" | sort -u)
  standalone=$(awk 'BEGIN { start = 1 } start && /^License:/ { print $2 } { start = ($0 == "") }' \
               "$file" | sort -u)
  for licence in $used; do
    grep -qx "$licence" <<<"$standalone" || fail "copyright has no paragraph for $licence"
  done
  for spdx in ${project_license// AND / }; do
    grep -qx "${debian_license[$spdx]}" <<<"$used" || fail "copyright puts no files under $spdx"
  done
  grep -q '/usr/share/common-licenses/GPL-2' "$file" || fail "copyright does not point to GPL-2"
  grep -q 'https://creativecommons.org/licenses/by-sa/4.0/legalcode' "$file" ||
    fail "copyright does not point to the CC-BY-SA-4.0 legal code"
  local patterns pattern
  read -ra patterns -d '' < <(awk '/^Files:/ { files = 1; sub(/^Files:/, "") }
                                   /^[^ ]/ && !/^Files:/ { files = 0 } files' "$file") || true
  for pattern in "${patterns[@]}"; do
    [ "$pattern" = '*' ] || compgen -G "$source_dir/$pattern" >/dev/null ||
      fail "copyright names $pattern, which matches no file"
  done
}

# PNG width and height from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }

check_tree() {  # ROOT PREFIX
  local top=$1$2
  for program in hotaru hotaru-tool hotaru-headless; do
    [ -x "$top/bin/$program" ] || fail "bin/$program is not an installed program"
  done
  need_file "$top/share/hotaru/demo/ZEN2DATA.PAK"
  # The music: one track for each of the music mode's 26 pieces, tracks 2 to 27.
  for track in $(seq 2 27); do
    need_file "$top/share/hotaru/demo/$(printf 'track%02d.ogg' "$track")"
  done
  need_file "$top/share/applications/$app_id.desktop"
  need_file "$top/share/metainfo/$app_id.metainfo.xml"
  local licence
  licence=$(sed -n 's|.*<project_license>\(.*\)</project_license>.*|\1|p' \
            "$top/share/metainfo/$app_id.metainfo.xml")
  [ "$licence" = "$project_license" ] || fail "the metainfo's project_license is '$licence'"
  need_file "$top/share/doc/hotaru/copyright"
  check_copyright "$top/share/doc/hotaru/copyright"
  for size in 16 24 32 48 64 128 256; do
    local icon=$top/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    need_file "$icon"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
  done
  for page in man6/hotaru.6 man1/hotaru-tool.1 man1/hotaru-headless.1; do
    need_file "$top/share/man/$page.gz"
    zcat "$top/share/man/$page.gz" | grep -q '^\.TH ' || fail "$page.gz is not a man page"
  done
  # Every program the entry starts is installed.
  grep '^Exec=' "$top/share/applications/$app_id.desktop" | while IFS='=' read -r _ command; do
    [ -x "$top/bin/${command%% *}" ] || fail "the desktop entry starts ${command%% *}, not installed"
  done

  local version
  version=$("$top/bin/hotaru" --version | sed -n 's/^hotaru \([0-9][0-9.]*\)$/\1/p')
  [ -n "$version" ] || fail "hotaru --version"
  # The metainfo's latest release and the man pages name the program's version.
  grep -q "<release version=\"$version\"" "$top/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo has no release $version"
  for page in man6/hotaru.6 man1/hotaru-tool.1 man1/hotaru-headless.1; do
    zcat "$top/share/man/$page.gz" | grep -q "^\.TH .*\"hotaru $version\"" ||
      fail "$page is not of version $version"
  done
  # --demo finds the demo beside the installed program: with no display the program gets as
  # far as starting SDL, which a missing demo would not reach.
  local out status=0
  # It is played from links in the player's own data folder, where its saves can go.
  rm -rf "$root/home"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME SDL_VIDEODRIVER=x11 HOME="$root/home" \
        "$top/bin/hotaru" --demo 2>&1) || status=$?
  [ "$status" -eq 1 ] && [[ "$out" == *"cannot start SDL video"* ]] ||
    fail "hotaru --demo from $2 (status $status): $out"
  [ "$(readlink "$root/home/.local/share/hotaru/demo/ZEN2DATA.PAK")" = \
    "$top/share/hotaru/demo/ZEN2DATA.PAK" ] || fail "the player's demo folder does not link the demo"
  # The installed demo plays on the installed runner.
  printf '[蛍]\nHotaruDir=%s\n' "$top/share/hotaru/demo" >"$root/hotaru.ini"
  status=0
  "$top/bin/hotaru-headless" --ini "$root/hotaru.ini" --until 3000 --trace "$root/trace" ||
    status=$?
  [ "$status" -eq 3 ] || fail "the installed demo ended with status $status before 3 s"
  ! grep -q ' msgbox ' "$root/trace" || fail "the installed demo showed: $(grep ' msgbox ' "$root/trace")"
}

case $mode in
  tree)
    install_into "$root/dest" /usr
    check_tree "$root/dest" /usr
    # A prefix of the player's own choice works the same.
    install_into "$root/moved" /opt/games/hotaru
    check_tree "$root/moved" /opt/games/hotaru
    ;;
  validate)
    missing=()
    command -v desktop-file-validate >/dev/null || missing+=(desktop-file-validate)
    command -v appstreamcli >/dev/null || missing+=(appstreamcli)
    if [ ${#missing[@]} -eq 2 ]; then
      echo "skipped: ${missing[*]} not installed (scripts/install-deps.sh installs them)"
      exit 77
    fi
    install_into "$root/dest" /usr
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate "$root/dest/usr/share/applications/$app_id.desktop"
    fi
    if command -v appstreamcli >/dev/null; then
      appstreamcli validate --no-net --pedantic "$root/dest/usr/share/metainfo/$app_id.metainfo.xml"
    fi
    [ ${#missing[@]} -eq 0 ] || { echo "skipped in part: ${missing[*]} not installed"; exit 77; }
    ;;
  deb)
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$root/package" >"$root/cpack.log" 2>&1 ||
      { cat "$root/cpack.log" >&2; fail "cpack -G DEB"; }
    deb=$(ls "$root"/package/hotaru_*.deb)
    info=$(dpkg-deb -I "$deb")
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for package in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsndfile1 libvorbisfile3 libopusfile0 \
                   libflac12 libmpg123-0 libpng16-16 libfontconfig1 libx11-6 \
                   libfreetype6 'fonts-vlgothic | fonts-ipafont-gothic'; do
      [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = hotaru ] || fail "package name: $info"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section: $info"
    ! dpkg-deb -f "$deb" Description | grep -q ';' || fail "a list in the description: $info"
    contents=$(dpkg-deb -c "$deb")
    for path in ./usr/bin/hotaru ./usr/bin/hotaru-tool ./usr/bin/hotaru-headless \
                ./usr/share/hotaru/demo/ZEN2DATA.PAK ./usr/share/applications/$app_id.desktop \
                ./usr/share/metainfo/$app_id.metainfo.xml \
                ./usr/share/icons/hicolor/48x48/apps/$app_id.png ./usr/share/man/man6/hotaru.6.gz \
                ./usr/share/doc/hotaru/copyright; do
      grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
    done
    # lintian finds nothing but the remarks the README's packaging notes explain.
    if command -v lintian >/dev/null; then
      explained=package-section-games-but-contains-no-game,hardening-no-bindnow
      explained+=,hardening-no-fortify-functions,binary-has-unneeded-section
      explained+=,spelling-error-in-binary,arch-dep-package-has-big-usr-share
      remarks=$(lintian --pedantic --display-info --suppress-tags "$explained" "$deb" 2>&1 |
                grep '^[EWIPX]: ' || true)
      [ -z "$remarks" ] || fail "lintian: $remarks"
    else
      echo "lintian not installed: the package's lint is not checked"
    fi
    # Unpacked (not installed), it is the same tree as cmake --install gives.
    dpkg-deb -x "$deb" "$root/unpacked"
    check_tree "$root/unpacked" /usr
    ;;
  *) fail "mode is tree, validate or deb" ;;
esac
echo "ok"
