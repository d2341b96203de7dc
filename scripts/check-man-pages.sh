#!/usr/bin/env bash
# Checks the manual pages against the programs they describe:
#   scripts/check-man-pages.sh PAGE_DIR PROGRAM...
# PAGE_DIR holds PROGRAM.1.gz for each PROGRAM (a path to the built or installed program). Each
# page must have its sections and format without a groff warning; every long option a page names
# must be an option of one of the programs (a renamed or removed option fails); and the
# vantrel-cli page must describe every command and subcommand that its --help lists.
set -euo pipefail

[ "$#" -ge 2 ] || { echo "usage: $0 PAGE_DIR PROGRAM..." >&2; exit 64; }
page_dir="$1"
shift

status=0
complain() {
  echo "check-man-pages: $*" >&2
  status=1
}

# The desktop app reads its options before it needs a display.
export QT_QPA_PLATFORM=offscreen

# Prints the command paths below the given one ("config", "config read", ...), one a line,
# from the "Subcommands:" lists of the program's help pages.
command_paths() {
  local program="$1" sub
  shift
  while read -r sub; do
    echo "${*:+$* }$sub"
    command_paths "$program" "$@" "$sub"
  done < <("$program" "$@" --help 2>/dev/null |
    awk '/^[A-Za-z].*:$/ { section = $0; next }
         section ~ /^Subcommands:/ && /^  [a-z]/ { print $1 }')
}

# Prints every long option of the program's help pages, top level and every command.
long_options() {
  local program="$1" path
  {
    echo
    command_paths "$program"
  } | while read -r path; do
    # shellcheck disable=SC2086 # a path is words
    "$program" $path --help 2>/dev/null | grep -E '^ +-' | grep -oE -- '--[a-z0-9][a-z0-9-]*' || true
  done
}

# The long options named anywhere in a page's source, hyphens unescaped.
page_options() {
  zcat "$1" | sed 's/\\-/-/g' | grep -oE -- '--[a-z0-9][a-z0-9-]*' | sort -u || true
}

# The tags of the COMMANDS section's entries, one a line as "SUBSECTION<TAB>TEXT", with font
# changes, escapes and macro names removed: "4	config read [--out FILE] ...".
command_tags() {
  zcat "$1" | awk '
    /^\.SH / { inside = ($0 ~ /^\.SH "?COMMANDS"?$/); next }
    !inside { next }
    /^\.SS / { subsection++; next }
    /^\.TP/ { tag = 1; next }
    tag {
      tag = 0
      line = $0
      sub(/^\.[A-Z]+ /, "", line)
      gsub(/\\f[BIRP]/, "", line)
      gsub(/\\-/, "-", line)
      gsub(/"/, "", line)
      print subsection "\t" line
    }'
}

# Whether the command path ("config read") has an entry of its own, or, for the operations of a
# command such as fleet, an entry for the rest of the path ("config read") that follows the
# entry of its first words ("fleet") in the same subsection.
documented() {
  local tags="$1" path="$2"
  awk -F '\t' -v path="$path" '
    function starts(text, words) { return index(text " ", words " ") == 1 }
    { subsection[NR] = $1; tag[NR] = $2 }
    END {
      n = split(path, word, " ")
      for (k = n; k >= 1; k--) {
        head = word[1]
        for (i = 2; i <= k; i++) head = head " " word[i]
        rest = ""
        for (i = k + 1; i <= n; i++) rest = rest (rest == "" ? "" : " ") word[i]
        for (t = 1; t <= NR; t++) {
          if (!starts(tag[t], head)) continue
          if (rest == "") exit 0
          for (u = t + 1; u <= NR && subsection[u] == subsection[t]; u++)
            if (starts(tag[u], rest)) exit 0
        }
      }
      exit 1
    }' <<<"$tags"
}

known_options="$(for program in "$@"; do long_options "$program"; done | sort -u)"
[ -n "$known_options" ] || complain "no options read from the programs' help"

for program in "$@"; do
  name="$(basename "$program")"
  page="$page_dir/$name.1.gz"
  if [ ! -f "$page" ]; then
    complain "$page is missing"
    continue
  fi
  source="$(zcat "$page")"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
    grep -qE "^\.SH \"?$section\"?\$" <<<"$source" || complain "$name.1 has no $section section"
  done
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)"
  [ -z "$warnings" ] || complain "$name.1 does not format cleanly: $warnings"
  while read -r option; do
    [ -n "$option" ] || continue
    grep -qxF -- "$option" <<<"$known_options" ||
      complain "$name.1 names $option, which no program has"
  done < <(page_options "$page")

  if [ "$name" = vantrel-cli ]; then
    tags="$(command_tags "$page")"
    [ -n "$tags" ] || complain "$name.1 has no command entries"
    while read -r path; do
      documented "$tags" "$path" || complain "$name.1 does not describe the command '$path'"
    done < <(command_paths "$program")
  fi
done
exit "$status"
