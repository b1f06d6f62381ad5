#!/usr/bin/env bash
# tarn-cli print end to end: the sample hypertext into PDF files read back
# with poppler's tools (all pages in the default order, chosen pages in the
# order given, margins), bad usage, pages that do not exist and files that
# cannot be written.
. "$(dirname "$0")/testlib.sh"

for tool in pdftotext pdfinfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "print: $tool is missing (scripts/deps.sh installs poppler-utils)"
    exit 77
  fi
done

pages_of() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
# The words of the PDF in reading order on one line.
words_of() { pdftotext "$1" - | tr -s ' \n\f' ' '; }
in_order() {  # text, then pieces that must occur in this order
  local text=$1 piece
  shift
  for piece in "$@"; do
    case $text in
      *"$piece"*) text=${text#*"$piece"} ;;
      *) echo "missing or out of order: $piece"; return 1 ;;
    esac
  done
}

all="$work/all.pdf"
check "all pages print" "$cli" print "$sample" --pdf "$all"
check "one sheet a page" test "$(pages_of "$all")" = 4
check "default order" in_order "$(words_of "$all")" "Welcome to Tarn" "Getting started" "Pictures" "Tables and forms"
check "title names the first page" sh -c "pdfinfo '$all' | grep -q 'Title: *Tarn, pag: '"

two="$work/two.pdf"
check "listed pages" "$cli" print "$sample" --pdf "$two" --pages 2,0 --no-background
check "two sheets" test "$(pages_of "$two")" = 2
check "listed order" in_order "$(words_of "$two")" "Pictures" "Welcome to Tarn"

# Words stand inside the margins: 10 mm is 28.3 points from each edge of A4.
narrow="$work/narrow.pdf"
check "margins" "$cli" print "$sample" --pdf "$narrow" --margins 10 --pages 0
inside() {
  pdftotext -bbox "$1" - | python3 -c '
import re, sys
m = float(sys.argv[1]) * 72 / 25.4
boxes = [tuple(map(float, b)) for b in re.findall(r"xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\"", sys.stdin.read())]
bad = [b for b in boxes if b[0] < m - 1 or b[1] < m - 1 or b[2] > 595.3 - m + 1 or b[3] > 841.9 - m + 1]
sys.exit(1 if not boxes or bad else 0)' "$2"
}
check "words inside 10 mm" inside "$narrow" 10
# The sample's text style indents 10 screen pixels: 7.5 points more.
check "the first word starts at the margin" sh -c "pdftotext -bbox '$narrow' - | grep -m1 '<word' | grep -q 'xMin=\"35\\.'"

check "a missing page is refused" sh -c "! '$cli' print '$sample' --pdf '$work/x.pdf' --pages 0,99 2>/dev/null"
check "nothing written for it" test ! -e "$work/x.pdf"
check "an unwritable file is an error" sh -c "! '$cli' print '$sample' --pdf '$work/no/such/dir/x.pdf' 2>/dev/null"
for bad in "--pdf" "--pages 1 --all --pdf $work/y.pdf" "--margins -3 --pdf $work/y.pdf" "--margins x --pdf $work/y.pdf" \
           "--image-scale 5 --pdf $work/y.pdf" "--pages 1,,2 --pdf $work/y.pdf"; do
  # shellcheck disable=SC2086
  check "usage: $bad" sh -c "'$cli' print '$sample' $bad >/dev/null 2>&1; test \$? -eq 2"
done
check "a missing file fails" sh -c "! '$cli' print '$work/none.aeh' --pdf '$work/z.pdf' 2>/dev/null"

finish print
