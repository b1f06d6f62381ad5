#!/usr/bin/env bash
# The exported sample in a real browser (headless Chromium): the picture of
# the Pictures page is shown, a point in each of its three click zones hits
# that zone's area, and clicking there shows the zone's page.
. "$(dirname "$0")/testlib.sh"
browser=$(command -v chromium || command -v chromium-browser || true)
test -n "$browser" || { echo "chromium is not installed (scripts/deps.sh installs it)"; exit 1; }

site="$work/site"
"$cli" export html "$sample" "$site"
check "export exits 0" test $? -eq 0

# A page beside the site that shows the Pictures page in a frame, finds what
# lies under a point of the picture as the browser's own hit test does, and
# either reports it or clicks it and reports the page then shown in the
# frame: its title, its marker and its address. (A link to the top window
# would replace the probe itself: the browser then ends on the page, whose
# title and marker are there as well.) Pages read one another as files of
# one folder only with --allow-file-access-from-files.
cat >"$site/probe.html" <<'HTML'
<html><head><title>probe</title></head><body>
<iframe id="page" src="sample_000002.html" width="700" height="400"></iframe>
<pre id="result">no result</pre>
<script>
const frame = document.getElementById('page');
const args = new URLSearchParams(location.search);
let clicked = false;
frame.onload = () => {
  const doc = frame.contentDocument;
  const out = document.getElementById('result');
  if (clicked) {
    const marker = [...doc.head.childNodes].find(n => n.nodeType == Node.COMMENT_NODE);
    out.textContent = 'title=' + doc.title.trim() + ' ' + (marker ? marker.data : 'no marker') + ' at ' +
                      frame.contentWindow.location.href;
    return;
  }
  const img = doc.querySelector('img[usemap]');
  if (!img || !img.complete || img.naturalWidth == 0) { out.textContent = 'no picture'; return; }
  const box = img.getBoundingClientRect();
  const hit = (x, y) => doc.elementFromPoint(box.left + x, box.top + y);
  if (args.has('click')) { clicked = true; hit(Number(args.get('x')), 48).click(); return; }
  const names = [24, 72, 120].map(x => { const e = hit(x, 48); return e.tagName + ' ' + e.getAttribute('href'); });
  out.textContent = 'picture ' + img.naturalWidth + 'x' + img.naturalHeight + ' shown ' + box.width + 'x' + box.height +
                    '; ' + names.join('; ');
};
</script></body></html>
HTML

run() {  # the query of the probe; prints the document the browser ends with
  local profile
  profile=$(mktemp -d -p "$work")
  timeout 90 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --user-data-dir="$profile" \
    --allow-file-access-from-files --virtual-time-budget=10000 --dump-dom "file://$site/probe.html?$1" 2>/dev/null
}

hits=$(run "hit")
check "the picture is shown and each third hits its area" grep -q -F \
  'picture 48x32 shown 144x96; AREA sample_index.html; AREA sample_000003.html; AREA sample_000003.html#an1' <<<"$hits"
test "$failed" -eq 0 || echo "$hits" | grep -o '<pre id="result">[^<]*'

for zone in "24 Cover 0 sample_index.html" "72 Tables 3 sample_000003.html" "120 Tables 3 sample_000003.html#an1"; do
  set -- $zone
  shown=$(run "click&x=$1")
  check "a click at x=$1 shows the page of its zone" grep -q -E "<title>$2|title=$2" <<<"$shown"
  check "that page is page $3 of the sample" grep -q -F "pageTarn=\"$3;$sample\"" <<<"$shown"
  check "at $4" grep -q -E "/$4( |<|\$)" <<<"$shown"
done

finish "chromium"
