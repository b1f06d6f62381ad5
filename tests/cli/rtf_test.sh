#!/usr/bin/env bash
# tarn-cli export rtf|winhelp|text and import rtf|text end to end: the sample
# written in each form and read back, the options, and bad usage.
. "$(dirname "$0")/testlib.sh"

# The sample as one RTF file, read back into a new hypertext.
"$cli" export rtf "$sample" "$work/book.rtf" 2>"$work/err.txt"
check "export rtf exits 0" test $? -eq 0
check "no messages" test ! -s "$work/err.txt"
check "an RTF file" grep -q '^{\\rtf1\\ansi' "$work/book.rtf"
check "links are hyperlinks" grep -q 'HYPERLINK \\\\l "tarn_000001"' "$work/book.rtf"
"$cli" import rtf "$work/back.aeh" "$work/book.rtf" >/dev/null
check "import rtf exits 0" test $? -eq 0
"$cli" info --json "$work/back.aeh" >"$work/back.json"
check "three pages back" grep -q '"pages":\[{"index":0,"title":"Welcome to Tarn"' "$work/back.json"
"$cli" dump "$work/back.aeh" --page 0 --markup >"$work/page0.txt"
check "the link to page 1 back" grep -q '<\$00000001>Getting started<%>' "$work/page0.txt"

# A file per page.
"$cli" export rtf "$sample" "$work/pages" --per-page --pages 0,2
check "per page exits 0" test $? -eq 0
check "the cover's file" test -f "$work/pages/sampleindex.rtf"
check "page 2's file" test -f "$work/pages/sample000002.rtf"
check "only the listed pages" test "$(ls "$work/pages" | wc -l)" -eq 2

# WinHelp sources with their help project, read back as help sources.
"$cli" export winhelp "$sample" "$work/help/book.rtf" 2>/dev/null
check "winhelp needs its folder" test $? -eq 1
mkdir -p "$work/help"
"$cli" export winhelp "$sample" "$work/help/book.rtf"
check "winhelp exits 0" test $? -eq 0
check "topic footnotes" grep -q '{\\super #{\\footnote' "$work/help/book.rtf"
check "help project" grep -q '^\[MAP\]' "$work/help/book.HPJ"
"$cli" import rtf "$work/help.aeh" "$work/help/book.rtf" --winhelp >"$work/report.txt"
check "winhelp import exits 0" test $? -eq 0
check "report of pages" grep -q 'Imported pages (' "$work/report.txt"

# Plain text both ways, with the paragraph cut.
"$cli" export text "$sample" "$work/book.txt"
check "export text exits 0" test $? -eq 0
check "the cover's text" grep -q 'This hypertext shows what a page can hold' "$work/book.txt"
printf 'one\r\ntwo\r\nthree\r\nfour\r\n' >"$work/lines.txt"
printf 'caf\xc3\xa9 \xd0\xb6\n' >"$work/utf8.txt"
"$cli" import text "$work/text.aeh" "$work/lines.txt" "$work/utf8.txt" --cut paragraphs:3 >"$work/out.txt"
check "import text exits 0" test $? -eq 0
check "the pages are told" grep -q '^Imported 3 pages into ' "$work/out.txt"
check "replaced characters are told" grep -q 'shown as "?": 1$' "$work/out.txt"
check "pages of three paragraphs" test "$("$cli" info --json "$work/text.aeh" | grep -o '"free":false' | wc -l)" -eq 3

# Into an existing hypertext.
"$cli" import text "$work/more.aeh" "$work/lines.txt" --into "$sample" >/dev/null
check "import --into exits 0" test $? -eq 0
pages_in() { "$cli" info --json "$1" | grep -o '"free":false' | wc -l; }
check "the sample's pages and one more" test "$(pages_in "$work/more.aeh")" -eq $(($(pages_in "$sample") + 1))

# Bad usage and failures.
"$cli" export rtf "$sample" 2>/dev/null
check "missing output is usage" test $? -eq 2
"$cli" export pdf "$sample" "$work/x" 2>/dev/null
check "unknown format is usage" test $? -eq 2
"$cli" import text "$work/x.aeh" "$work/lines.txt" --cut heading 2>/dev/null
check "text has no headings" test $? -eq 2
"$cli" import rtf "$work/x.aeh" "$work/lines.txt" 2>"$work/err.txt"
check "not RTF fails" test $? -eq 1
check "not RTF is told" grep -q 'Not an RTF file' "$work/err.txt"
"$cli" export rtf "$sample" "$work/no/such/folder/x.rtf" 2>"$work/err.txt"
check "unwritable output fails" test $? -eq 1

finish "cli rtf and text"
