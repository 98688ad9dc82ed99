#!/usr/bin/env bash
# bash completion of korvane-cli, through bash-completion as an interactive shell loads it:
# the subcommands, each subcommand's options, the values of --format and --distribution,
# no guess for a free value, and the op-amp names that "korvane-cli opamps --names"
# prints (a stand-in program that has the catalogue shows them; the real one, where it
# has no catalogue, offers none).
#   completion_test.sh <completion script> <korvane-cli>
set -euo pipefail
script=$1
cli=$2
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$script"
failures=0

# offers <command line, ending where Tab is pressed>: what completion offers, sorted.
offers() {
  local line=$1
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _korvane_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {  # expect <command line> <offers, sorted, blank-separated>
  local got
  got=$(offers "$1")
  if [[ $got != "$2" ]]; then
    echo "FAIL: '$1<Tab>' offers '$got', expected '$2'" >&2
    failures=$((failures + 1))
  fi
}

[[ $(complete -p korvane-cli) == *"_korvane_cli"* ]] || { echo "FAIL: not registered" >&2; exit 1; }

# The subcommands; any later one (such as the op-amp catalogue) must not break this.
got=$(offers "$cli ")
for subcommand in analyze design netlist response tolerance; do
  [[ " $got " == *" $subcommand "* ]] || { echo "FAIL: '$cli <Tab>' offers '$got'" >&2; exit 1; }
done

expect "$cli de" "design"
expect "$cli -" "--help --version -h"
expect "$cli design --se" "--series-c --series-r"
expect "$cli design --fo 1k --series-c 12 --q" "--q"
expect "$cli tolerance --design --tr" "--trials"
expect "$cli design --format " "csv json text"
expect "$cli analyze --format=j" "json"
expect "$cli tolerance --distribution " "normal uniform"
expect "$cli design --fo " ""
expect "$cli design --batch --ba" "--batch"

# The op-amp names come from the program, at completion time.
stand_in=$(mktemp -d)
trap 'rm -rf "$stand_in"' EXIT
cat >"$stand_in/korvane-cli" <<'STUB'
#!/usr/bin/env bash
case "$*" in
  "--help") printf 'Usage: korvane-cli [OPTIONS] SUBCOMMAND\n\nSubcommands:\n  response  r\n  opamps    o\n' ;;
  "response --help") printf 'Usage: korvane-cli response [OPTIONS]\n\nOptions:\n  --opamp NAME   an op-amp of the catalogue\n  --gbw TEXT     GBW\n\n' ;;
  "opamps --names") printf 'NE5532\nOPA1656\nTL072\n' ;;
  *) exit 2 ;;
esac
STUB
chmod +x "$stand_in/korvane-cli"
expect "$stand_in/korvane-cli response --opamp " "NE5532 OPA1656 TL072"
expect "$stand_in/korvane-cli response --opamp=O" "OPA1656"
expect "$stand_in/korvane-cli response --g" "--gbw"
sed -i 's/^  "opamps --names").*$//' "$stand_in/korvane-cli"  # a program without the catalogue
expect "$stand_in/korvane-cli response --opamp " ""

((failures == 0)) || exit 1
echo "korvane-cli completion: all checks passed"
