#!/usr/bin/env bash
# DOC documents both ways through a real LibreOffice: a DOC written by
# `tarn-cli export doc` reads back as text in LibreOffice with every page's
# heading, a DOC that LibreOffice wrote imports as pages, and a missing word
# processor fails with the message and writes nothing. Labelled
# "libreoffice" in ctest.
. "$(dirname "$0")/../cli/testlib.sh"

if ! command -v soffice >/dev/null; then
  echo "LibreOffice (soffice) is missing: scripts/deps.sh installs it; ctest -LE libreoffice skips this test"
  exit 1
fi
export XDG_CACHE_HOME="$work/cache"
office() { timeout 180 soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null 2>&1; }

"$cli" export doc "$sample" "$work/book.doc"
check "export doc exits 0" test $? -eq 0
check "a Word document was written" sh -c "file '$work/book.doc' | grep -q 'Composite Document File'"
check "only the DOC is left in the folder" test "$(ls -A "$work" | grep -v -e cache -e profile)" = "book.doc"
(cd "$work" && office --convert-to txt:Text book.doc)
"$cli" export text "$sample" "$work/sample.txt"
first=$(grep -m1 -v '^[[:space:]]*$' "$work/sample.txt" | tr -d '\r' | cut -c1-30)
check "LibreOffice reads the text back" grep -qF "$first" "$work/book.txt"

printf 'First line of a letter\nSecond paragraph here\n' > "$work/letter.txt"
(cd "$work" && office --convert-to doc letter.txt)
check "LibreOffice wrote a DOC" test -s "$work/letter.doc"
"$cli" import doc "$work/letter.aeh" "$work/letter.doc" > "$work/import.out"
check "import doc exits 0" test $? -eq 0
check "import reports its page" grep -q "Imported 1 page" "$work/import.out"
"$cli" dump "$work/letter.aeh" --page 0 > "$work/letter.json"
check "the letter's text is on the page" grep -q "Second paragraph here" "$work/letter.json"
check "the source DOC is untouched" test -s "$work/letter.doc"

mkdir "$work/none"
"$cli" export doc "$sample" "$work/none/x.doc" --word-processor /nonexistent/soffice 2> "$work/err.txt"
check "no word processor fails" test $? -eq 1
check "and says so" grep -q "MsWord not installed, or nonsupported MsWord language." "$work/err.txt"
check "and writes nothing" test -z "$(ls -A "$work/none")"
finish doc_libreoffice
