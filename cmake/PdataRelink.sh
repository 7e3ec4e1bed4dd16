#!/usr/bin/env bash
# Links a 64-bit program twice, so that the unwind records of the functions --gc-sections dropped
# leave the file too (cmake/PdataLinkerScript.cmake says why they stay after one link).
#
#   PdataRelink.sh SCRIPT LINK COMMAND...
#
# The first link, with SCRIPT, names the sections it drops. For every function section dropped
# from a library member, ".text$NAME", the second link discards that member's ".pdata$NAME" and
# ".xdata$NAME": the table entry and the record that only that entry refers to. Nothing else
# changes, so the second link keeps the same functions. Sections of the link-time optimised
# objects are left alone: their temporary file names differ from one link to the next.
set -euo pipefail

script=${1:?usage: PdataRelink.sh SCRIPT LINK COMMAND...}
shift
out=""
previous=""
for arg in "$@"; do
    [ "$previous" = "-o" ] && out=$arg
    previous=$arg
done
[ -n "$out" ] || { echo "PdataRelink.sh: no -o in the link command" >&2; exit 1; }

dropped="$out.dropped"
status=0
"$@" -Wl,--print-gc-sections 2>"$dropped" || status=$?
grep -v "removing unused section" "$dropped" >&2 || true
[ "$status" -eq 0 ] || exit "$status"

# "ld: removing unused section '.text$NAME' in file '/path/libX.a(member.o)'", with "[SYMBOL]"
# after the name for a COMDAT section -> "*libX.a:member.o(.pdata$NAME .xdata$NAME)"
discards=$(sed -n "s/.*removing unused section '\.text\(\$[^'[]*\)\(\[[^']*\]\)\{0,1\}' in file '\([^']*\/\)\{0,1\}\([^'/]*\.a\)(\([^')]*\))'$/    *\4:\5(.pdata\1 .xdata\1)/p" \
    "$dropped" | sort -u)
[ -n "$discards" ] || exit 0

own="$out.pdata.ld"
awk -v discards="$discards" '
    { print }
    /^SECTIONS$/ { in_sections = 1; next }
    in_sections && /^\{$/ { print "  /DISCARD/ : {"; print discards; print "  }"; in_sections = 0 }
' "$script" >"$own"
grep -q '^  /DISCARD/' "$own" || { echo "PdataRelink.sh: no SECTIONS in $script" >&2; exit 1; }

args=()
for arg in "$@"; do
    [ "$arg" = "-Wl,-T,$script" ] && arg="-Wl,-T,$own"
    args+=("$arg")
done
exec "${args[@]}"
