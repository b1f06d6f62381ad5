#!/usr/bin/env bash
# The exported sample and a hypertext with every object kind, in the
# Windows code page and in UTF-8, read by an HTML checker: nothing beyond
# what the pages' markup says on purpose (listed below) may be reported.
. "$(dirname "$0")/testlib.sh"
make_objectsite=${TARN_MAKE_OBJECTSITE:?}
command -v tidy >/dev/null || { echo "tidy is not installed (scripts/deps.sh installs it)"; exit 1; }

# What the pages are written with on purpose: the attributes and elements
# of the browsers they were made for, EMBED elements closed, forms that the
# next form start closes (the last one is never closed), the cell of a
# nested table closing its paragraph twice, zones without "alt" texts (off
# by default) and the picture of a reset button, which has none; paragraphs
# aligned by the old attribute and list items standing in their paragraph's
# DIV without a list around them.
cat >"$work/allowed.txt" <<'LIST'
Warning: missing <!DOCTYPE> declaration
Warning: <body> attribute "text" not allowed for HTML5
Warning: <body> attribute "link" not allowed for HTML5
Warning: <body> attribute "vlink" not allowed for HTML5
Warning: <body> attribute "bgcolor" not allowed for HTML5
Warning: <font> element removed from HTML5
Warning: <img> attribute "align" not allowed for HTML5
Warning: <img> proprietary attribute "lowsrc"
Warning: <img> lacks "alt" attribute
Warning: <area> lacks "alt" attribute
Warning: <td> proprietary attribute "background"
Warning: <input> proprietary attribute "border"
Warning: <iframe> proprietary attribute "target"
Warning: <iframe> proprietary attribute "bordercolor"
Warning: <embed> proprietary attribute "loop"
Warning: <embed> proprietary attribute "autostart"
Warning: <embed> proprietary attribute "controls"
Warning: <embed> proprietary attribute "controller"
Warning: <embed> proprietary attribute "url"
Warning: discarding unexpected </embed>
Warning: discarding unexpected </td>
Warning: discarding unexpected </div>
Warning: missing </form>
Warning: <div> attribute "align" not allowed for HTML5
Warning: inserting implicit <ul>
Warning: missing </div> before <li>
Warning: missing </ul> before </div>
LIST

# Every message tidy gives for the HTML files of a folder, without its place.
messages() {  # folder, encoding
  for f in "$1"/*.html; do
    tidy -e -q --char-encoding "$2" --gnu-emacs yes "$f" 2>&1 >/dev/null
  done | sed -E 's/^.*:[0-9]+:[0-9]+: //'
}

# Nothing outside the list; the list itself must be met somewhere, so that
# it does not keep entries nothing needs.
only_allowed() {  # messages file
  if grep -v -x -F -f "$work/allowed.txt" "$1" >"$work/unexpected.txt"; then
    sort -u "$work/unexpected.txt" | sed 's/^/  unexpected: /'
    return 1
  fi
}

"$make_objectsite" "$work/objects.aeh"
check "object site written" test -f "$work/objects.aeh"
for source in "$sample" "$work/objects.aeh"; do
  name=$(basename "$source" .aeh)
  "$cli" export html "$source" "$work/$name" && "$cli" export html "$source" "$work/$name-utf8" --utf8
  check "$name exported" test $? -eq 0
  messages "$work/$name" win1252 >"$work/$name.txt"
  messages "$work/$name-utf8" utf8 >>"$work/$name.txt"
  check "$name: only what the markup says on purpose" only_allowed "$work/$name.txt"
  cat "$work/$name.txt" >>"$work/all.txt"
done
check "no errors at all" sh -c "! grep -q '^Error' '$work/all.txt'"
while IFS= read -r line; do
  check "still needed: $line" grep -q -x -F "$line" "$work/all.txt"
done <"$work/allowed.txt"

finish "html check"
