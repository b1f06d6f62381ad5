#!/usr/bin/env bash
# tarn-cli import html end to end: a small site with a loop and a missing
# page imported by following links, adding to an existing hypertext, the
# page limit, files that cannot be read, and bad usage.
. "$(dirname "$0")/testlib.sh"

site="$work/site"
mkdir -p "$site/sub"
printf '<html><head><title>Start</title></head><body><p>Go to <a href="a.html">a</a> or <a href="sub/b.html">b</a>.\n<img src="pic.gif"></body></html>\n' >"$site/start.html"
printf '<title>A</title><a href="start.html">back</a> <a href="gone.html">gone</a>\n' >"$site/a.html"
printf '<title>B</title><p>caf\xc3\xa9 \xe2\x86\x92 <a href="../a.html">a</a>\n' >"$site/sub/b.html"

out="$work/set.aeh"
"$cli" import html "$out" "$site/start.html" --follow >"$work/sum.txt" 2>"$work/err.txt"
check "follow exits 0" test $? -eq 0
check "summary counts the pages" grep -q '^Imported 3 pages, 0 images, 0 styles into' "$work/sum.txt"
check "missing page reported" grep -q 'gone.html' "$work/sum.txt"
check "missing picture reported" grep -q 'image pic.gif' "$work/sum.txt"
check "replaced characters counted" grep -q 'shown as "?": 1' "$work/sum.txt"
"$cli" info "$out" >"$work/info.txt"
check "pages titled from the files" grep -q '  2  B ' "$work/info.txt"
check "hypertext titled from the first page" grep -q '^Title: *Start' "$work/info.txt"

"$cli" import html "$work/more.aeh" "$site/a.html" --into "$sample" >/dev/null 2>&1
check "into exits 0" test $? -eq 0
before=$("$cli" info --json "$sample" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["pages"]))')
after=$("$cli" info --json "$work/more.aeh" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["pages"]))')
check "into adds a page" test "$after" -eq $((before + 1))

"$cli" import html "$work/two.aeh" "$site/start.html" --follow --max-pages 2 >"$work/sum2.txt" 2>&1
check "page limit" grep -q '^Imported 2 pages' "$work/sum2.txt"
check "page limit reported" grep -q 'past the page limit' "$work/sum2.txt"

"$cli" import html "$work/no.aeh" "$site/start.html" "$site/nothing.html" >/dev/null 2>"$work/err2.txt"
check "unreadable file exits 1" test $? -eq 1
check "unreadable file named" grep -q 'Cannot read .*nothing.html' "$work/err2.txt"
check "nothing written" test ! -e "$work/no.aeh"

"$cli" import html "$work/x.aeh" >/dev/null 2>&1
check "no files is bad usage" test $? -eq 2
"$cli" import pdf "$work/x.aeh" "$site/a.html" >/dev/null 2>&1
check "unknown format is bad usage" test $? -eq 2
"$cli" import html "$work/x.aeh" "$site/a.html" --max-pages many >/dev/null 2>&1
check "bad number is bad usage" test $? -eq 2

finish "import"
