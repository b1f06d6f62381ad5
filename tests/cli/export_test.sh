#!/usr/bin/env bash
# tarn-cli export html end to end: the sample hypertext written as a site in
# which every local HREF, SRC and BACKGROUND names a file that exists, the
# options, page lists, bad usage, and folders or files that cannot be written.
. "$(dirname "$0")/testlib.sh"

# Every local reference of every HTML file in the folder names an existing
# file; every line ends with CR LF.
links_resolve() {
  python3 - "$1" <<'PY'
import os, re, sys
root = sys.argv[1]
attr = re.compile(rb'\b(HREF|SRC|BACKGROUND)\s*=\s*("([^"]*)"|\'([^\']*)\'|([^\s>]+))', re.I)
bad = []
pages = 0
for folder, _, files in os.walk(root):
    for name in files:
        if not name.lower().endswith(('.htm', '.html')):
            continue
        pages += 1
        path = os.path.join(folder, name)
        data = open(path, 'rb').read()
        if data.replace(b'\r\n', b'').find(b'\n') >= 0:
            bad.append(f'{name}: a line without CR')
        for m in attr.finditer(data):
            value = (m.group(3) or m.group(4) or m.group(5) or b'').decode('cp1252')
            if not value or value.startswith('#') or re.match(r'^[a-zA-Z][a-zA-Z0-9+.-]*:', value):
                continue
            target = value.split('#')[0].split('?')[0]
            if not os.path.isfile(os.path.join(folder, target)):
                bad.append(f'{name}: {m.group(1).decode()}="{value}" names no file')
if pages == 0:
    bad.append('no HTML files written')
for b in bad:
    print(b)
sys.exit(1 if bad else 0)
PY
}

out="$work/site"
"$cli" export html "$sample" "$out" 2>"$work/err.txt"
check "export exits 0" test $? -eq 0
check "no messages" test ! -s "$work/err.txt"
for f in sample_index.html sample_000001.html sample_000002.html sample_style.css; do
  check "wrote $f" test -f "$out/$f"
done
check "local references resolve" links_resolve "$out"
check "cover links the other pages" grep -q 'HREF="sample_000001.html"' "$out/sample_index.html"
check "page marker" grep -q "<!--pageTarn=\"1;$sample\"-->" "$out/sample_000001.html"
check "keywords" grep -q '<META NAME="keywords" CONTENT="welcome,">' "$out/sample_index.html"
check "style classes" grep -q 'DIV.s2 {' "$out/sample_style.css"
check "the picture is copied" cmp -s <(head -c 6 "$out/sample_i000000.gif") <(printf GIF89a)
check "the picture is shown with its map" grep -q '<IMG SRC="sample_i000000.gif" .*USEMAP=#ma000000' "$out/sample_000002.html"
check "a zone of the map" grep -q '<AREA COORDS=48,0,96,96 TARGET=_self HREF="sample_000003.html" ' "$out/sample_000002.html"
check "the table" grep -q '<TABLE WIDTH=60% BORDER=1 CELLPADDING=4 CELLSPACING=2 >' "$out/sample_000003.html"
check "the form" grep -q '<FORM TARGET=_top METHOD=GET ACTION="sample_000003.html" >' "$out/sample_000003.html"
check "written in the code page" sh -c "! grep -q charset '$out/sample_index.html'"

"$cli" export html "$sample" "$work/utf8" --utf8
check "utf8 exits 0" test $? -eq 0
check "utf8 declared" grep -q '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=utf-8">' "$work/utf8/sample_000003.html"
check "utf8 pages are UTF-8" sh -c "cat '$work'/utf8/*.html '$work'/utf8/*.css | iconv -f UTF-8 -t UTF-8 >/dev/null"
check "utf8 references resolve" links_resolve "$work/utf8"

"$cli" export html "$sample" "$work/htm" --htm --images-folder --original-names
check "options exit 0" test $? -eq 0
check "htm extension" test -f "$work/htm/sample_000002.htm" -a -f "$work/htm/sample_index.htm"
check "htm references resolve" links_resolve "$work/htm"

"$cli" export html "$sample" "$work/some" --pages 2,0
check "page list exits 0" test $? -eq 0
check "listed pages" test -f "$work/some/sample_000002.html" -a -f "$work/some/sample_index.html"
check "only listed pages" test ! -e "$work/some/sample_000001.html"

"$cli" export html "$sample" "$work/again"
"$cli" export html "$sample" "$work/again"
check "existing files are overwritten" test $? -eq 0

# A link already in the output folder is replaced, never written through.
mkdir -p "$work/linked/out" "$work/linked/outside"
printf keep >"$work/linked/outside/victim.html"
ln -s "$work/linked/outside/victim.html" "$work/linked/out/sample_000001.html"
"$cli" export html "$sample" "$work/linked/out" 2>/dev/null
check "export over a link exits 0" test $? -eq 0
check "the linked file is untouched" test "$(cat "$work/linked/outside/victim.html")" = keep
check "the page is a file now" test -f "$work/linked/out/sample_000001.html" -a ! -L "$work/linked/out/sample_000001.html"

"$cli" export html "$sample" "$work/missing-page" --pages 1,9 2>"$work/err4.txt"
check "missing page exits 1" test $? -eq 1
check "missing page message" grep -q 'Page 9 does not exist.' "$work/err4.txt"
check "nothing written for a missing page" test ! -e "$work/missing-page/sample_000001.html"

touch "$work/blocker"
"$cli" export html "$sample" "$work/blocker/site" 2>"$work/err2.txt"
check "folder that cannot be made exits 1" test $? -eq 1
check "folder message" grep -q 'Error creating directory' "$work/err2.txt"

mkdir -p "$work/partial/sample_000001.html"
"$cli" export html "$sample" "$work/partial" 2>"$work/err3.txt"
check "file that cannot be written exits 1" test $? -eq 1
check "file message names the file" grep -q 'sample_000001.html' "$work/err3.txt"
check "what was written stays" test -f "$work/partial/sample_index.html"

"$cli" export html "$sample" 2>/dev/null
check "missing folder is usage" test $? -eq 2
"$cli" export pdf "$sample" "$work/x" 2>/dev/null
check "unknown format is usage" test $? -eq 2
"$cli" export html "$sample" "$work/x" --pages 1,a 2>/dev/null
check "bad page list is usage" test $? -eq 2
"$cli" export html "$work/missing.aeh" "$work/x" 2>/dev/null
check "missing hypertext exits 1" test $? -eq 1

finish export
