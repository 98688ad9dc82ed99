#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 and checks it there: a minimal system made
# with debootstrap in a temporary folder, then
#   apt-get install --no-install-recommends ./korvane_<version>_<arch>.deb
# so that the package's Depends alone must bring what the programs need (what apt's
# default, with Recommends, would add is counted too); the programs run (korvane-cli
# design, korvane --version, the window on the offscreen platform), every program and
# module finds its libraries, `man korvane-cli` shows the page, bash completion offers
# the subcommands, and `apt-get remove korvane` leaves none of its files behind. Needs
# root, debootstrap and Debian's mirror; takes some minutes and is not part of ./test.sh.
#   scripts/check-package-install.sh <package.deb> [mirror]
set -euo pipefail
deb=$(realpath "$1")
mirror=${2:-http://deb.debian.org/debian}
[[ $(id -u) -eq 0 ]] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "needs debootstrap: apt-get install debootstrap" >&2; exit 1; }

system=$(mktemp -d /var/tmp/korvane-fresh-debian.XXXXXX)
cleanup() {
  local mount
  for mount in dev/pts proc; do
    umount "$system/$mount" 2>/dev/null || true
    # Never remove through a mount that is still there: /dev/pts is the host's own.
    if mountpoint -q "$system/$mount"; then
      echo "check-package-install: $system/$mount is still mounted; $system is left" >&2
      return
    fi
  done
  rm -rf --one-file-system "$system"
}
trap cleanup EXIT
fail() { echo "check-package-install: FAIL: $*" >&2; exit 1; }
note() { echo "check-package-install: $*"; }
in_system() { chroot "$system" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

note "debootstrap bookworm (minbase) into $system"
chmod 755 "$system"  # its root: the system's own users (_apt, man) must get in
debootstrap --variant=minbase bookworm "$system" "$mirror" >/dev/null
mount -t proc proc "$system/proc"
mount --bind /dev/pts "$system/dev/pts"
cat >"$system/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
in_system apt-get update -qq
# What a Debian desktop has anyway, and the tools the checks below use.
in_system env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq man-db bash-completion >/dev/null
in_system dpkg-query -W -f '${Package}\n' | sort >"$system/tmp/before"

cp "$deb" "$system/tmp/"
package=/tmp/$(basename "$deb")
with_recommends=$(in_system apt-get install -s "$package" | grep -c '^Inst ')
note "apt-get install --no-install-recommends .$package"
in_system env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "$package" >/dev/null
in_system dpkg-query -W -f '${Package}\n' | sort >"$system/tmp/after"
pulled=$(comm -13 "$system/tmp/before" "$system/tmp/after" | grep -vx korvane || true)
note "pulled in $(wc -l <<<"$pulled") packages (with Recommends, as apt's default:" \
  "$((with_recommends - 1))): $(tr '\n' ' ' <<<"$pulled")"
in_system dpkg -L korvane | sort >"$system/tmp/files"

# Every program and module finds every library it links.
while read -r file; do
  [[ -f $system$file ]] && [[ $file == /usr/bin/* || $file == *.so ]] || continue
  missing=$(in_system ldd "$file" | grep 'not found' || true)
  [[ -z $missing ]] || fail "$file: $missing"
done <"$system/tmp/files"
out=$(in_system korvane-cli design --fo 1k --q 5 --h 2 --series-r 96)
grep -qxF 'fo = 997.947Hz   Q =   5.032   H=   2.004' <<<"$out" || fail "korvane-cli design: $out"
version=$(dpkg-deb -f "$deb" Version)
[[ $(in_system korvane --version) == "korvane $version" ]] || fail "korvane --version"
in_system env QT_QPA_PLATFORM=offscreen korvane >/dev/null 2>"$system/tmp/window.err" &
window=$!
sleep 3
kill -0 "$window" 2>/dev/null || fail "the window ended by itself: $(cat "$system/tmp/window.err")"
kill "$window"
note "korvane-cli design, korvane --version and the window run; no library missing"

page=$(in_system env MANPAGER=cat MANWIDTH=80 man korvane-cli)
grep -q 'korvane-cli design \[OPTIONS\]' <<<"$page" || fail "man korvane-cli: $page"
note "man korvane-cli shows the page ($(wc -l <<<"$page") lines)"

offers=$(in_system bash -c '
  source /usr/share/bash-completion/bash_completion
  _completion_loader korvane-cli
  COMP_LINE="korvane-cli "; COMP_POINT=${#COMP_LINE}
  COMP_WORDS=(korvane-cli ""); COMP_CWORD=1
  $(complete -p korvane-cli | sed -E "s/.*-F ([^ ]+).*/\1/")
  echo "${COMPREPLY[*]}"')
[[ " $offers " == *" design "* && " $offers " == *" tolerance "* ]] ||
  fail "completion offers '$offers'"
note "completion offers: $offers"

note "apt-get remove korvane"
in_system env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq korvane >/dev/null
status=$(in_system dpkg-query -W -f '${db:Status-Abbrev}' korvane 2>/dev/null || true)
[[ -z $status || $status == "un "* ]] || fail "dpkg still knows korvane: '$status'"
left=()
while read -r file; do
  [[ -e $system$file && ! -d $system$file ]] && left+=("$file")
done <"$system/tmp/files"
for folder in /usr/lib/x86_64-linux-gnu/korvane /usr/share/doc/korvane /usr/share/korvane; do
  [[ -e $system$folder ]] && left+=("$folder")
done
((${#left[@]} == 0)) || fail "left behind: ${left[*]}"
note "nothing of korvane is left ($(wc -l <"$system/tmp/files") paths checked)"
echo "check-package-install: all checks passed"
