#!/usr/bin/env bash
# A real word processor on both sides of the RTF converter: LibreOffice reads
# the RTF Tarn writes (every page's text is found), and Tarn reads the RTF
# LibreOffice writes from a document made here (headings, bold, italic, a
# list, a table and a picture come in). Labelled "libreoffice" in ctest: a
# machine without LibreOffice skips it with `ctest -LE libreoffice`.
. "$(dirname "$0")/../cli/testlib.sh"

if ! command -v soffice >/dev/null; then
  echo "LibreOffice (soffice) is missing: scripts/deps.sh installs it; ctest -LE libreoffice skips this test"
  exit 1
fi
# LibreOffice keeps a profile; a fresh one in the scratch folder.
office() { timeout 180 soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null 2>&1; }

# ---- LibreOffice reads Tarn's RTF ----
"$cli" export rtf "$sample" "$work/book.rtf"
check "export exits 0" test $? -eq 0
(cd "$work" && office --convert-to txt:Text book.rtf)
check "LibreOffice converts the RTF to text" test -s "$work/book.txt"
pages=$("$cli" info --json "$sample" | grep -o '"index":[0-9]*,"title":"[^"]*","free":false' | grep -o '"index":[0-9]*' | cut -d: -f2)
for page in $pages; do
  "$cli" export text "$sample" "$work/page.txt" --pages "$page"
  found=yes
  # Each piece of the page's own text is in what LibreOffice read: lines,
  # cut where a table's cells (tabs) or a form control (a run of spaces)
  # stand, since LibreOffice writes those its own way.
  while IFS= read -r line; do
    line=${line%$'\r'}
    [ -z "${line// /}" ] && continue
    grep -qF -- "$line" "$work/book.txt" || { found=no; echo "not found: $line"; }
  done < <(iconv -f CP1252 -t UTF-8 "$work/page.txt" | sed -e 's/\t/\n/g' -e 's/   */\n/g'; echo)
  check "page $page's text is found" test "$found" = yes
done

# Bold and links survive into LibreOffice's own document (what a paste of
# the same RTF would give).
cp "$(dirname "$0")/../data/golden/rtf/small.rtf" "$work/small.rtf"
(cd "$work" && office --convert-to odt small.rtf)
python3 - "$work/small.odt" >"$work/small.txt" <<'PY'
import re, sys, zipfile
content = zipfile.ZipFile(sys.argv[1]).read('content.xml').decode()
bold = set(re.findall(r'<style:style style:name="([^"]+)"[^>]*>(?:(?!</style:style>).)*fo:font-weight="bold"', content))
for name in bold:
    if re.search(r'<text:span text:style-name="%s">bold ' % re.escape(name), content):
        print('bold')
for href in re.findall(r'<text:a [^>]*xlink:href="([^"]+)"', content):
    print('link', href)
PY
check "bold is kept" grep -qx 'bold' "$work/small.txt"
check "the link to the web is kept" grep -qx 'link http://example.org/' "$work/small.txt"
check "the link to a page is kept" grep -qx 'link #tarn_000001' "$work/small.txt"

# ---- Tarn reads LibreOffice's RTF ----
python3 - "$work/doc.fodt" <<'PY'
import base64, struct, sys, zlib
def png(w, h):
    raw = b''.join(b'\x00' + bytes([200, 30, 30]) * w for _ in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))
picture = base64.b64encode(png(8, 6)).decode()
ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
      'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
      'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
      'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
      'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
      'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
      'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
      'xmlns:xlink="http://www.w3.org/1999/xlink"')
doc = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document {ns} office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:automatic-styles>
<style:style style:name="B" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="I" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
<text:list-style style:name="L1"><text:list-level-style-bullet text:level="1" text:bullet-char="&#x2022;"/></text:list-style>
</office:automatic-styles>
<office:body><office:text>
<text:h text:outline-level="1">First Chapter</text:h>
<text:p>Plain <text:span text:style-name="B">bold words</text:span> and <text:span text:style-name="I">italic words</text:span>.</text:p>
<text:list text:style-name="L1"><text:list-item><text:p>Item one</text:p></text:list-item><text:list-item><text:p>Item two</text:p></text:list-item></text:list>
<table:table><table:table-column table:number-columns-repeated="2"/>
<table:table-row><table:table-cell><text:p>A1</text:p></table:table-cell><table:table-cell><text:p>B1</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell><text:p>A2</text:p></table:table-cell><table:table-cell><text:p>B2</text:p></table:table-cell></table:table-row>
</table:table>
<text:h text:outline-level="2">Second Part</text:h>
<text:p>A picture <draw:frame svg:width="2cm" svg:height="1.5cm" text:anchor-type="as-char"><draw:image><office:binary-data>{picture}</office:binary-data></draw:image></draw:frame> and <text:a xlink:href="http://example.com/">a link</text:a>.</text:p>
</office:text></office:body></office:document>'''
open(sys.argv[1], 'w', encoding='utf-8').write(doc)
PY
(cd "$work" && office --convert-to odt doc.fodt && office --convert-to rtf doc.odt)
check "LibreOffice wrote the RTF" test -s "$work/doc.rtf"
"$cli" import rtf "$work/doc.aeh" "$work/doc.rtf" >/dev/null
check "import exits 0" test $? -eq 0
"$cli" dump "$work/doc.aeh" --page 0 --markup >"$work/doc.txt"
"$cli" info "$work/doc.aeh" >"$work/info.txt"
check "the heading is the page's title" grep -q ' 0  First Chapter' "$work/info.txt"
check "heading styles" grep -q 'Heading 1' "$work/info.txt"
check "bold" grep -q '<Y y1 >bold words<Y >' "$work/doc.txt"
check "italic" grep -q '<Y y2 >italic words<Y >' "$work/doc.txt"
check "a bullet list" grep -q 'N10[^>]*>Item one' "$work/doc.txt"
check "a table of four cells" grep -q '<\$08000000><Z S[0-9]* >A1<T><Z S[0-9]* >B1<T><Z S[0-9]* >A2<T><Z S[0-9]* >B2<T>' "$work/doc.txt"
check "a picture" grep -q 'A picture <\$10000000>' "$work/doc.txt"
check "the link" grep -q '<\$01000000>a link<%>' "$work/doc.txt"
check "the second heading" grep -q 'Second Part' "$work/doc.txt"

finish "LibreOffice"
