#!/usr/bin/env bash
# The man pages hold every option that the programs' --help lists, and no other: the
# options of korvane, of korvane-cli, and of each subcommand that korvane-cli --help
# lists, in that subcommand's part of the page. The pages are read as roff (".TP" items
# under ".SH OPTIONS" and ".SS <subcommand>"), the help as the programs print it.
#   man_pages_test.sh <man page folder> <korvane-cli> [<korvane>]
set -euo pipefail
pages=$1
cli=$2
window=${3:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

help_of() { env -u DISPLAY -u WAYLAND_DISPLAY "$@" --help; }

# The option names of a help text's "Options:" list, sorted: "-h,--help" and
# "-h, --help" give -h and --help; "--fo TEXT=1k" gives --fo.
help_options() {
  awk '/^Options:$/ {inside = 1; next} inside && /^$/ {exit}
       inside && /^  -/ {sub(/^  /, ""); sub(/  .*/, ""); gsub(/,/, " ")
                         for (i = 1; i <= NF; i++) if ($i ~ /^-/) print $i}' | sort
}

# The subcommands that a help text's "Subcommands:" list names.
help_subcommands() {
  awk '/^Subcommands:$/ {inside = 1; next} inside && /^$/ {exit}
       inside && /^  [^ ]/ {print $1}'
}

# The option names of the .TP items in one part of a page: "OPTIONS" (the .SH section)
# or a subcommand's name (its .SS section).
page_options() {  # page_options <page> <part>
  sed -e 's/\\-/-/g' -e 's/\\f[BRI]//g' "$1" | awk -v part="$2" '
    /^\.S[HS] / {here = ($2 == part)}
    tag {tag = 0; if (here) {gsub(/,/, " "); for (i = 1; i <= NF; i++) if ($i ~ /^-/) print $i}}
    /^\.TP/ {tag = 1}' | sort
}

compare() {  # compare <what> <from the help> <from the page>
  if [[ $2 != "$3" ]]; then
    fail "$1: --help and the man page differ"
    diff <(echo "$2") <(echo "$3") | sed 's/^/  /' >&2 || true
  elif [[ -z $2 ]]; then
    fail "$1: no options found"
  fi
}

page=$pages/korvane-cli.1
main_help=$(help_of "$cli")
compare "korvane-cli" "$(help_options <<<"$main_help")" "$(page_options "$page" OPTIONS)"
mapfile -t subcommands < <(help_subcommands <<<"$main_help")
((${#subcommands[@]} >= 5)) || fail "korvane-cli --help lists ${#subcommands[@]} subcommands"
for subcommand in "${subcommands[@]}"; do
  grep -qx "\.SS $subcommand" "$page" || fail "korvane-cli(1) has no part for $subcommand"
  compare "korvane-cli $subcommand" "$(help_options < <(help_of "$cli" "$subcommand"))" \
    "$(page_options "$page" "$subcommand")"
done
if [[ -n $window ]]; then
  compare "korvane" "$(help_options < <(help_of "$window"))" \
    "$(page_options "$pages/korvane.1" OPTIONS)"
fi

for file in "$pages"/*.1; do
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$file"): $warnings"
done
((failures == 0)) || exit 1
echo "man pages: every option of ${#subcommands[@]} subcommands and both programs"
