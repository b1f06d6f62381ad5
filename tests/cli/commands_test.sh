#!/usr/bin/env bash
# tarn-cli commands, --version and the help of each command.
. "$(dirname "$0")/testlib.sh"

text=$("$cli" commands)
check "commands exits 0" test $? -eq 0
check "file menu row" grep -Eq '^File > Export pages\.\.\. +Ctrl\+E +FileExport +bound$' <<<"$text"
check "unbuilt row" grep -Eq '^Publish > Cd-Rom\.\.\. +CdRom1 +not yet$' <<<"$text"
check "printing row" grep -Eq '^File > Printer setup\.\.\. +Impostastampante1 +bound$' <<<"$text"
check "two keys" grep -Eq '^Edit > Cut +Shift\+Del, Ctrl\+X +EditCut +bound$' <<<"$text"
check "toolbar row" grep -Eq '^Toolbar Images > Add click area +AddClickZone +bound$' <<<"$text"
check "unbuilt toolbar row" grep -Eq '^Toolbar Images > Image edit +BEditImage +not yet$' <<<"$text"
check "anchor row" grep -q '^File > - (Nrecent)' <<<"$text"
"$cli" commands --json >"$work/commands.json"
check "json lines parse" python3 -c '
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1])]
byname = {r["name"]: r for r in rows}
assert byname["PagePlus"]["shortcut"] == "Ctrl++" and byname["PagePlus"]["stored"] == 0x40BB
assert byname["FileOpen"]["bound"] and byname["Stampatutte1"]["bound"] and not byname["CdRom1"]["bound"]
assert byname["PreviewPage"]["path"] == "Publish > Browser preview > Present page in default browser"
assert byname["EsportaHtml1"]["hidden"]
' "$work/commands.json"
"$cli" commands --bogus 2>/dev/null
check "bad option exits 2" test $? -eq 2

check "version" grep -q '^tarn-cli (Tarn) ' <<<"$("$cli" --version)"
for command in info resave dump export render print commands; do
  check "$command --help" grep -q "^usage: tarn-cli $command" <<<"$("$cli" "$command" --help)"
  check "help $command" grep -q "^usage: tarn-cli $command" <<<"$("$cli" help "$command")"
done
check "--help lists commands" grep -q 'tarn-cli commands \[--json\]' <<<"$("$cli" --help)"

finish commands
