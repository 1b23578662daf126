#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of tovik-cli from its own --help text, so that the two say the
# same. The help text is laid out as:
#   line 1             "NAME - what it is"
#   "Heading:"         a section; "Usage:" holds the commands, "Exit codes:" the statuses
#   "  tovik-cli ..."  in Usage, a command; a following line starting with "[" continues it
#   deeper lines       in Usage, the description of the command above
#   "  TAG  text"      elsewhere, a tagged item; deeper lines continue its text
# Usage: manpage.sh CLI VERSION OUT
set -eu
cli=$1 version=$2 out=$3
help=$("$cli" --help)
printf '%s\n' "$help" | LC_ALL=C.UTF-8 awk -v version="$version" '
function esc(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.\047]/) s = "\\&" s
    return s
}
function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
function command(s,   word) {
    word = s; sub(/ .*/, "", word)
    return "\\fB" esc(word) "\\fR" esc(substr(s, length(word) + 1))
}
function flush() {
    if (text != "") print esc(text)
    text = ""
}
# The commands gathered from "Usage:", as a synopsis and then one tagged paragraph each.
function commands(   i) {
    if (n == 0) return
    print ".SH SYNOPSIS"
    print ".nf"
    for (i = 1; i <= n; i++) print command(cmd[i])
    print ".fi"
    print ".SH COMMANDS"
    for (i = 1; i <= n; i++) {
        if (desc[i] == "") continue
        print ".TP"
        print command(cmd[i])
        print esc(desc[i])
    }
    n = 0
}
NR == 1 {
    program = $0; sub(/ - .*/, "", program)
    what = $0; sub(/^[^ ]* - /, "", what)
    print ".\\\" Made from the output of " program " --help by manpage.sh; do not edit."
    print ".TH " esc(toupper(program)) " 1 \"\" \"Tovik " version "\" \"User Commands\""
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print esc(program) " \\- " esc(what)
    next
}
/^$/ { next }
/^[^ ].*:$/ {
    flush()
    commands()
    section = substr($0, 1, length($0) - 1)
    usage = section == "Usage"
    if (!usage)
        print ".SH \"" esc(section == "Exit codes" ? "EXIT STATUS" : toupper(section)) "\""
    next
}
usage {
    line = trim($0)
    if (index(line, program) == 1) { n++; cmd[n] = line; desc[n] = ""; next }
    if (line ~ /^\[/ && desc[n] == "") { cmd[n] = cmd[n] " " line; next }
    desc[n] = desc[n] == "" ? line : desc[n] " " line
    next
}
match($0, /^  [^ ]+  +/) {
    flush()
    print ".TP"
    print ".B " esc(trim(substr($0, 1, RLENGTH)))
    text = trim(substr($0, RLENGTH + 1))
    next
}
{ line = trim($0); text = text == "" ? line : text " " line }
END {
    flush()
    commands()
    print ".SH \"SEE ALSO\""
    print ".BR tovik (1)"
}
' >"$out.tmp"
mv "$out.tmp" "$out"
