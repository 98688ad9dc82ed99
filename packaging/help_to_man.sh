#!/usr/bin/env bash
# Writes a program's man page (section 1) from its own --help, so that the page cannot
# drift from the program: its usage, description, options and notes, and for a program
# with subcommands (korvane-cli) one part for each subcommand, from that one's --help.
#   help_to_man.sh <program> <name> <version> <summary for the NAME line> <output file>
# The help texts are read in these shapes (CLI11 and QCommandLineParser write them so):
#   description lines, "Usage: <program> ...", description lines,
#   "Options:" or "Subcommands:" then "  <tag>  <text>" items (deeper lines go on),
#   and after the last list, notes: "Heading:" lines, "Lead: text" paragraphs and
#   indented lines kept as they are (formats, examples).
set -euo pipefail
program=$1
name=$2
version=$3
summary=$4
output=$5

help_of() { env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" --help; }

# render <part> <heading macro for notes>: one part of a help text read on standard input.
#   synopsis     the usage line, the program's path replaced by its name
#   description  the text around the usage line, before the first list
#   options      the "Options:" list as .TP items
#   subcommands  the names in the "Subcommands:" list, one a line (no roff)
#   notes        what follows the last list
render() {
  awk -v part="$1" -v heading="$2" -v name="$name" '
    # Every "-" as "\-": options and values stay the ASCII characters one types.
    function esc(s) {
      gsub(/\\/, "\\e", s)
      gsub(/-/, "\\-", s)
      if (s ~ /^[.\047]/) s = "\\&" s
      return s
    }
    function flush_block() { if (in_block) { print ".fi"; print ".RE"; in_block = 0 } }
    { lines[NR] = $0 }
    END {
      list = ""
      for (i = 1; i <= NR; i++) {
        line = lines[i]
        if (line ~ /^Usage: /) {
          usage = substr(line, 8)
          sub(/^[^ ]*/, name, usage)
          seen_usage = 1
          continue
        }
        if (line ~ /^(Options|Subcommands):$/) { list = substr(line, 1, length(line) - 1); seen_list = 1; continue }
        if (list != "") {
          if (line == "") { list = ""; notes_from = i + 1; continue }
          if (line ~ /^  [^ ]/) {
            tag = line; sub(/^  /, "", tag); text = tag
            sub(/  +.*$/, "", tag); sub(/^[^ ]+( [^ ]+)*  +/, "", text)
            if (text == tag) text = ""
            items[list, ++count[list]] = tag; texts[list, count[list]] = text
          } else {
            cont = line; sub(/^ +/, "", cont)
            previous = texts[list, count[list]]
            texts[list, count[list]] = previous (previous == "" ? "" : " ") cont
          }
          continue
        }
        if (!seen_list && line != "") desc = desc (desc == "" ? "" : "\n") esc(line)
      }
      if (part == "synopsis") {
        n = split(usage, words, " ")
        printf ".B %s\n", esc(words[1])
        rest = ""
        for (w = 2; w <= n; w++) rest = rest (rest == "" ? "" : " ") words[w]
        if (rest != "") print esc(rest)
      } else if (part == "description") {
        print desc
      } else if (part == "options") {
        for (k = 1; k <= count["Options"]; k++) {
          print ".TP"
          tag = items["Options", k]
          split(tag, bits, " ")
          printf "\\fB%s\\fR%s\n", esc(bits[1]), (tag ~ / / ? " " esc(substr(tag, index(tag, " ") + 1)) : "")
          print esc(texts["Options", k])
        }
      } else if (part == "subcommands") {
        for (k = 1; k <= count["Subcommands"]; k++) print items["Subcommands", k]
      } else if (part == "notes" && notes_from > 0) {
        text_open = 0
        for (i = notes_from; i <= NR; i++) {
          line = lines[i]
          if (line == "") { flush_block(); text_open = 0; continue }
          if (line ~ /^  /) {
            if (!in_block) { print ".RS"; print ".nf"; in_block = 1 }
            sub(/^  /, "", line); print esc(line); text_open = 0
            continue
          }
          flush_block()
          if (line ~ /^[A-Z][^:]*:$/) {
            title = substr(line, 1, length(line) - 1)
            if (heading == ".SH") print ".SH " toupper(esc(title))
            else printf ".PP\n\\fB%s\\fR\n", esc(title)
            text_open = 0
          } else if (match(line, /^[A-Z][^:]*: /) && split(substr(line, 1, RLENGTH), lead, " ") <= 4) {
            printf ".PP\n\\fB%s\\fR %s\n", esc(substr(line, 1, RLENGTH - 1)), esc(substr(line, RLENGTH + 1))
            text_open = 1
          } else {
            if (!text_open) print ".PP"
            print esc(line); text_open = 1
          }
        }
        flush_block()
      }
    }'
}

page() {
  main_help=$(help_of)
  upper=$(tr '[:lower:]' '[:upper:]' <<<"$name")
  mapfile -t subcommands < <(render subcommands "" <<<"$main_help")
  local -A sub_helps
  for subcommand in "${subcommands[@]}"; do sub_helps[$subcommand]=$(help_of "$subcommand"); done

  echo ".TH $upper 1 \"\" \"$name $version\" \"User Commands\""
  echo ".SH NAME"
  echo "$name \\- $summary"
  echo ".SH SYNOPSIS"
  render synopsis "" <<<"$main_help"
  for subcommand in "${subcommands[@]}"; do
    echo ".br"
    render synopsis "" <<<"${sub_helps[$subcommand]}"
  done
  echo ".SH DESCRIPTION"
  render description "" <<<"$main_help"
  echo ".SH OPTIONS"
  render options "" <<<"$main_help"
  if ((${#subcommands[@]} > 0)); then
    echo ".SH COMMANDS"
    for subcommand in "${subcommands[@]}"; do
      echo ".SS $subcommand"
      render description "" <<<"${sub_helps[$subcommand]}"
      render options "" <<<"${sub_helps[$subcommand]}"
      render notes ".PP" <<<"${sub_helps[$subcommand]}"
    done
  fi
  render notes ".SH" <<<"$main_help"
}

# Written whole or not at all: a failed run leaves no page that looks up to date.
page >"$output.tmp"
mv "$output.tmp" "$output"
