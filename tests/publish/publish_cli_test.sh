# tarn-cli publish against a real FTP server on loopback: the first
# publication sends the whole site, the second only what changed since, and
# the failures end with a message and exit 1. Skipped (77) where pyftpdlib
# is missing.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../cli/testlib.sh"
/usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null || { echo "pyftpdlib missing"; exit 77; }

servers=()
start_server() {  # root folder, then options; sets $port
  mkdir -p "$1"
  /usr/bin/python3 "$here/ftpserver.py" --root "$@" >"$work/port" 2>"$work/server.err" &
  servers+=($!)
  # Python starts slowly on a loaded machine: wait long enough, and say so
  # plainly rather than run the checks against no server.
  for _ in $(seq 300); do [ -s "$work/port" ] && break; sleep 0.1; done
  port=$(head -1 "$work/port")
  [ -n "$port" ] || { echo "FAILED: the FTP server did not start: $(cat "$work/server.err")"; exit 1; }
}
trap 'for p in "${servers[@]}"; do kill "$p" 2>/dev/null; done; chmod -R u+w "$work"; rm -rf "$work"' EXIT

export TARN_FTP_PASSWORD=secret
start_server "$work/site"
site=$work/site
doc=$work/site.aeh
cp "$sample" "$doc"
publish() { "$cli" publish ftp "$doc" --host 127.0.0.1 --port "$port" --user author --dir / "$@"; }

publish --changed-only >"$work/first.txt"
check "first publication succeeds" grep -q "^Publishing OK.$" "$work/first.txt"
check "no release before" grep -q "No release of this hypertext was on server" "$work/first.txt"
check "pages on the server" test -s "$site/sample_index.html"
check "version page on the server" grep -q "<!--VER=" "$site/sample_ver.html"
check "the password is not in the output" bash -c "! grep -q secret '$work/first.txt'"

# One page more: only it, the style sheet (it carries no stamp) and the
# version page travel.
printf 'A page written after the first publication.\n' >"$work/new.txt"
"$cli" import text "$work/changed.aeh" "$work/new.txt" --into "$doc" >/dev/null 2>&1
mv "$work/changed.aeh" "$doc"
publish --changed-only >"$work/second.txt"
check "second publication reads the release" grep -q "Release currently on server:" "$work/second.txt"
sent=$(grep -c '^uploaded ' "$work/second.txt")
check "second publication sends three files ($sent)" test "$sent" -eq 3
check "the new page is among them" grep -q '^uploaded /sample_0000' "$work/second.txt"
check "the version page is sent last" bash -c "tail -2 '$work/second.txt' | head -1 | grep -q '_ver.html'"

publish --changed-only >"$work/third.txt"
sent=$(grep -c '^uploaded ' "$work/third.txt")
check "nothing changed: style sheet and version page ($sent)" test "$sent" -eq 2

# The .AEH file itself there and back; names that lead elsewhere refused.
"$cli" publish aeh "$doc" --host 127.0.0.1 --port "$port" --user author --dir / >/dev/null
check "hypertext uploaded" cmp -s "$doc" "$site/site.aeh"
mkdir "$work/back"
"$cli" publish get site.aeh --host 127.0.0.1 --port "$port" --user author --dir / --out "$work/back" >/dev/null
check "hypertext downloaded" cmp -s "$doc" "$work/back/site.aeh"
"$cli" publish get ../escape.aeh --host 127.0.0.1 --port "$port" --user author --dir / --out "$work/back" \
  2>"$work/refused.txt" >/dev/null
check "a name with .. is refused" grep -q "Refused file name" "$work/refused.txt"

# Failures: a wrong password, a full disk, a slow server.
TARN_FTP_PASSWORD=wrong publish >/dev/null 2>"$work/login.txt"
check "refused login exits 1" test $? -eq 1
check "refused login says so" grep -q "Connection impossible: 530" "$work/login.txt"
check "the wrong password is not shown" bash -c "! grep -q wrong '$work/login.txt'"
start_server "$work/full" --full-disk
publish >/dev/null 2>"$work/full.txt"
check "full disk exits 1" test $? -eq 1
check "full disk names the reply" grep -q "452" "$work/full.txt"
start_server "$work/slow" --slow 3
"$cli" publish ftp "$doc" --host 127.0.0.1 --port "$port" --user author --dir / --changed-only --timeout 1 \
  >/dev/null 2>"$work/slow.txt"
check "a slow server hits the time-out" grep -q "Timed out" "$work/slow.txt"
env -u TARN_FTP_PASSWORD setsid "$cli" publish ftp "$doc" --host 127.0.0.1 --port "$port" --user author \
  --dir / </dev/null >/dev/null 2>"$work/nopass.txt"
check "no password and no terminal" grep -q "No password: set TARN_FTP_PASSWORD" "$work/nopass.txt"

# The server extensions: sections, publish, fetch back, delete.
: >"$work/port"
/usr/bin/python3 "$here/tarn3server.py" --root "$work/tarn3" >"$work/port" 2>"$work/server.err" &
servers+=($!)
for _ in $(seq 300); do [ -s "$work/port" ] && break; sleep 0.1; done
sport=$(head -1 "$work/port")
[ -n "$sport" ] || { echo "FAILED: the test server did not start: $(cat "$work/server.err")"; exit 1; }
server() { "$cli" server "$@" --server 127.0.0.1 --port "$sport" --user author; }
export TARN_SERVER_PASSWORD=secret
server list >"$work/sections.txt"
check "sections listed" grep -q "^section 1 sec2 pub/sec2/ Unlimited section quota 0 KB" "$work/sections.txt"
server publish "$doc" --section sec2 --title "The sample" >/dev/null
check "hypertext on the server" cmp -s "$doc" "$work/tarn3/pub/sec2/site.aeh"
server list --section sec2 >"$work/entries.txt"
check "entry listed" grep -q "^site.aeh $(stat -c %s "$doc")$" "$work/entries.txt"
mkdir "$work/fetched"
server fetch site.aeh --section sec2 --out "$work/fetched" >/dev/null
check "fetched whole" cmp -s "$doc" "$work/fetched/site.aeh"
server fetch ../../etc/passwd --section sec2 --out "$work/fetched" 2>"$work/refused2.txt" >/dev/null
check "fetch of a path refused" grep -q "Refused file name" "$work/refused2.txt"
server publish "$doc" --section sec2 >/dev/null 2>"$work/again.txt"
check "publishing again without --yes keeps the old one" test $? -eq 1
server delete site.aeh --section sec2 >/dev/null
check "deleted" test ! -e "$work/tarn3/pub/sec2/site.aeh"
TARN_SERVER_PASSWORD=bad server delete x.aeh --section sec2 >/dev/null 2>"$work/bad.txt"
check "a wrong password is reported" grep -q "Quote Ko or Password Ko" "$work/bad.txt"
finish "publish cli"
