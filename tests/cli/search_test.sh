#!/usr/bin/env bash
# find, replace and spell on the sample as a user calls them.
. "$(dirname "$0")/testlib.sh"

cp "$sample" "$work/s.aeh"
out=$("$cli" find "$work/s.aeh" "the and page")
check "find exits 0" test $? -eq 0
check "find lists the cover" grep -q '^   0  Cover' <<<"$out"
check "find counts" grep -q '^3 pages found' <<<"$out"
out=$("$cli" find "$work/s.aeh" "zzz or link" --whole-word)
check "or alternative" grep -q 'Getting started *link' <<<"$out"
"$cli" find "$work/s.aeh" "a or b or c" 2>/dev/null
check "three alternatives refused" test $? -eq 2

out=$("$cli" replace "$work/s.aeh" page sheet --out "$work/r.aeh")
check "replace exits 0" test $? -eq 0
check "replace reports" grep -q '^4 replacements in 3 pages' <<<"$out"
check "source untouched" cmp -s "$sample" "$work/s.aeh"
check "replaced gone" grep -q '^0 pages found' <<<"$("$cli" find "$work/r.aeh" page)"
check "replacement there" grep -q '^3 pages found' <<<"$("$cli" find "$work/r.aeh" sheet)"
"$cli" info "$work/r.aeh" >/dev/null
check "result opens" test $? -eq 0

out=$(XDG_DATA_HOME="$work/data" "$cli" spell "$work/s.aeh" --lang en_US)
check "spell exits 0" test $? -eq 0
check "spell lists a page" grep -q '^   3  Tables and forms:.*Loch' <<<"$out"
XDG_DATA_HOME="$work/data" "$cli" spell "$work/s.aeh" --lang xx_YY 2>/dev/null
check "missing language fails" test $? -eq 1

finish cli_search
