#!/usr/bin/env bash
# The command-line tool as a user calls it: info on the sample, a re-save
# over the same file and under a new name, damaged input and bad usage.
. "$(dirname "$0")/testlib.sh"

cp "$sample" "$work/s.aeh"
json=$("$cli" info --json "$work/s.aeh")
check "info exits 0" test $? -eq 0
check "title" grep -q '"title":"Welcome to Tarn"' <<<"$json"
check "styles" grep -q '"name":"Heading"' <<<"$json"
check "pages" grep -q '"title":"Getting started"' <<<"$json"
check "counts" grep -q '"counts":{"0":4' <<<"$json"
check "json parses" python3 -c 'import json,sys; d=json.loads(sys.stdin.read()); assert d["K"]==25 and len(d["pages"])==4' <<<"$json"
"$cli" info "$work/s.aeh" >"$work/text.txt"
check "text info" grep -q 'Welcome to Tarn' "$work/text.txt"

rev1=$(python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["revision"])' <<<"$json")
"$cli" resave "$work/s.aeh" "$work/s.aeh"
check "resave over itself" test $? -eq 0
check "backup made" test -f "$work/s.bak"
check "backup is the old file" cmp -s "$sample" "$work/s.bak"
rev2=$("$cli" info --json "$work/s.aeh" | python3 -c 'import json,sys; print(json.loads(sys.stdin.read())["revision"])')
check "revision raised" test "$rev2" -eq $((rev1 + 1))
"$cli" resave "$work/s.aeh" "$work/new.aeh"
check "resave new name" test $? -eq 0
check "same size" test "$(stat -c %s "$work/new.aeh")" -eq "$(stat -c %s "$work/s.aeh")"

dump=$("$cli" dump "$work/s.aeh" --page 2)
check "dump exits 0" test $? -eq 0
check "dump paragraphs" python3 -c '
import json,sys
d=json.loads(sys.stdin.read())
assert [p["style"] for p in d]==[2,0,0,0,0,0,0], d
assert d[0]["text"]=="Pictures" and d[0]["formats"][0]["face"]=="Arial" and d[0]["formats"][0]["size"]==18
assert d[1]["objects"][0]["id"]=="10000000"
assert d[6]["links"]==[{"from":12,"to":17,"link":"00000000"}]' <<<"$dump"
"$cli" dump "$work/s.aeh" --page 1 --markup >"$work/p1.bin"
printf '<Z S2 >Getting started<Z S0 >Pages are written as rich text with styles, links and pictures. Every page can link to any other.<Z S0 >Back to the <$00000000>cover<%%>.'\
'<Z S0 A2 >Text can be <Y y1 >bold<Y >, <Y y2 >italic<Y >, <Y c0000FF >blue<Y > or <Y s16 >larger<Y >, and a paragraph can be centred.'\
'<Z S0 >A list:<Z S3 >styles name a look once<Z S3 >paragraphs take it with one click<Z S0 >More on the web: <$01000000>example.com<%%>.\0' >"$work/p1.expected"
check "dump markup round trip" cmp -s "$work/p1.bin" "$work/p1.expected"
"$cli" dump "$work/s.aeh" --page 9 2>/dev/null
check "dump missing page exits 1" test $? -eq 1
"$cli" dump "$work/s.aeh" 2>/dev/null
check "dump without page is usage" test $? -eq 2

if "$cli" 2>&1 | grep -q 'tarn-cli render'; then
  QT_QPA_PLATFORM=offscreen "$cli" render "$work/s.aeh" --page 2 --png "$work/p2.png" --width 500 2>/dev/null
  check "render exits 0" test $? -eq 0
  check "render writes a PNG" python3 -c '
import struct,sys
b=open(sys.argv[1],"rb").read()
assert b[:8]==b"\x89PNG\r\n\x1a\n"
w,h=struct.unpack(">II",b[16:24])
assert w==500 and 40<h<500, (w,h)' "$work/p2.png"
  QT_QPA_PLATFORM=offscreen "$cli" render "$work/s.aeh" --page 7 --png "$work/x.png" 2>/dev/null
  check "render missing page exits 1" test $? -eq 1
fi

# A folder that cannot be made: --yes answers the retry question a few
# times, then the command fails with the reason (it never loops).
touch "$work/blocker"
timeout 60 "$cli" resave --yes "$work/s.aeh" "$work/blocker/sub/x.aeh" 2>"$work/retry.txt"
check "retries end in exit 1" test $? -eq 1
check "asked four times at most" test "$(grep -c '^Tarn: answered' "$work/retry.txt")" -le 4
check "the reason on a second line" grep -q '^Not a directory$' "$work/retry.txt"

# A document cut inside its data: info says so, and re-saving over it is
# refused unless --yes, which keeps the cut file as the .bak.
head -c "$(($(stat -c %s "$sample") - 100))" "$sample" >"$work/cut.aeh"
cp "$work/cut.aeh" "$work/cut-original.aeh"
"$cli" info --json "$work/cut.aeh" >"$work/cut.json" 2>"$work/cut-err.txt"
check "damaged info exits 0" test $? -eq 0
check "damaged entry" python3 -c 'import json,sys; assert json.load(open(sys.argv[1]))["damaged"]' "$work/cut.json"
check "damaged warning" grep -q "Warning!: The file $work/cut.aeh is damaged" "$work/cut-err.txt"
check "damaged in the text" sh -c "'$cli' info '$work/cut.aeh' 2>/dev/null | grep -q '^Damaged: *yes'"
check "sound file not damaged" python3 -c 'import json,sys; assert json.loads(sys.stdin.read())["damaged"]==[]' <<<"$json"
"$cli" resave "$work/cut.aeh" "$work/cut.aeh" 2>/dev/null
check "resave over damaged refused" test $? -eq 1
check "damaged file untouched" cmp -s "$work/cut.aeh" "$work/cut-original.aeh"
"$cli" resave --yes "$work/cut.aeh" "$work/cut.aeh" 2>/dev/null
check "resave over damaged with --yes" test $? -eq 0
check "damaged file kept as .bak" cmp -s "$work/cut.bak" "$work/cut-original.aeh"

printf 'not a hypertext at all, but long enough to have a header of sorts' >"$work/bad.aeh"
head -c 3000 /dev/zero >>"$work/bad.aeh"
"$cli" info "$work/bad.aeh" 2>"$work/err.txt"
check "bad file exits 1" test $? -eq 1
check "bad file message" grep -q 'Unrecognized format.' "$work/err.txt"
check "read error message" grep -q "Error reading file:$work/bad.aeh" "$work/err.txt"
"$cli" info "$work/missing.aeh" 2>"$work/err2.txt"
check "missing exits 1" test $? -eq 1
check "missing message" grep -q "doesn't exist" "$work/err2.txt"
"$cli" info 2>/dev/null
check "usage exits 2" test $? -eq 2
"$cli" frobnicate x 2>/dev/null
check "unknown command exits 2" test $? -eq 2

finish cli
