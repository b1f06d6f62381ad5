#!/usr/bin/env bash
# The page order tree and the references of a page from the command line,
# and deleting a page: refused while references would break unless --yes,
# and afterwards nothing refers to it any more.
. "$(dirname "$0")/testlib.sh"

cp "$sample" "$work/s.aeh"
tree=$("$cli" tree "$work/s.aeh")
check "tree exits 0" test $? -eq 0
check "tree shows chapters and pages" diff <(printf 'sample.aeh\n  [Welcome]\n    0  Cover\n  [First steps]\n    1  Getting started\n    2  Pictures\n    3  Tables and forms\n') <(echo "$tree")
check "tree as JSON" python3 -c '
import json,sys
d=json.loads(sys.stdin.read())
root=d["nodes"][0]
assert root["type"]=="root" and [c["text"] for c in root["children"]]==["Welcome","First steps"], root
assert root["children"][1]["children"][0]=={"type":"page","index":1,"title":"Getting started"}
assert d["order"]==[0,1,2,3] and d["mended"] is False' <<<"$("$cli" tree --json "$work/s.aeh")"

refs=$("$cli" refs "$work/s.aeh" --page 1 --json)
check "refs exits 0" test $? -eq 0
check "refs of page 1" python3 -c '
import json,sys
d=json.loads(sys.stdin.read())
assert d["title"]=="Getting started"
assert [(r["index"],r["how"]) for r in d["referred_by"]]==[(0,"in text")], d
assert [(r["kind"],r["index"]) for r in d["refers_to"]]==[(0,0),(1,0)], d' <<<"$refs"
check "refs text names the cover" grep -q 'the hypertext, as its cover page' <<<"$("$cli" refs "$work/s.aeh" --page 0)"
"$cli" refs "$work/s.aeh" --page 9 2>/dev/null
check "refs of a missing page exits 1" test $? -eq 1
"$cli" refs "$work/s.aeh" 2>/dev/null
check "refs without a page is usage" test $? -eq 2

cp "$work/s.aeh" "$work/before.aeh"
"$cli" delete "$work/s.aeh" --page 1 >"$work/report.txt" 2>"$work/err.txt"
check "delete with references exits 1" test $? -eq 1
check "the report names the referring page" grep -q '    - Cover   {in text}' "$work/report.txt"
check "nothing written" cmp -s "$work/s.aeh" "$work/before.aeh"
check "stderr says why" grep -q 'would break' "$work/err.txt"
"$cli" delete "$work/s.aeh" --page 0 --yes 2>/dev/null
check "page 0 is never deleted" test $? -eq 1

"$cli" delete "$work/s.aeh" --page 1 --yes --out "$work/out.aeh" >/dev/null
check "delete --yes exits 0" test $? -eq 0
check "the original is untouched" cmp -s "$work/s.aeh" "$work/before.aeh"
check "nothing refers to the deleted page" python3 -c '
import json,sys
d=json.loads(sys.stdin.read())
assert [r["index"] for r in d["referred_by"]]==[2], d
assert d["refers_to"]==[{"id":"00000002","kind":0,"index":2,"caption":"Pictures"}], d' \
  <<<"$("$cli" refs "$work/out.aeh" --page 0 --json)"
check "the page is gone from the tree" python3 -c '
import json,sys
assert json.loads(sys.stdin.read())["order"]==[0,2,3]' <<<"$("$cli" tree --json "$work/out.aeh")"
"$cli" refs "$work/out.aeh" --page 1 2>/dev/null
check "the deleted page no longer exists" test $? -eq 1
# An unreferenced page goes without --yes, in place, keeping a backup.
"$cli" delete "$work/out.aeh" --page 2 >/dev/null 2>&1
check "page 2 still referred to" test $? -eq 1
"$cli" delete "$work/out.aeh" --page 2 --yes >/dev/null
check "delete in place" test $? -eq 0
check "backup kept" test -f "$work/out.bak"

finish "cli pages"
