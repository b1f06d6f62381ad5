#!/usr/bin/python3
"""A small server of the publishing extensions for the tests, written from
the description of its answers: an upload program (rights, challenge,
MPUT, DEL, CHPASS) and plain GETs of the sections' files.

Prints its port on the first line of standard output, then serves until
killed. The sections live below --root.
  --fail NAME     an MPUT of NAME is refused with "NDisk full"
  --template F    served as the list template
  --list-fail HOW a GET of a section's list page answers HOW: an HTTP
                  status ("500") or "drop" (the connection closed unanswered)
"""
import argparse
import hashlib
import os
import secrets
import subprocess
import sys
from http.server import BaseHTTPRequestHandler, HTTPServer

USERS = {"author": "secret", "auth": "short"}
# "auth" is a prefix of "author": the client also takes "author" lines.
RIGHTS = [
    "author sec1 pub/sec1/ First section;;100",
    "author sec2 pub/sec2/ Unlimited section",
    "auth sec3 pub/sec3/ Section of another;;0",
]
SECTIONS = {"sec1": "pub/sec1/", "sec2": "pub/sec2/", "sec3": "pub/sec3/"}


def letters(data):
    return "".join(chr(65 + (b & 15)) + chr(65 + (b >> 4)) for b in data)


def unletters(text):
    return bytes((ord(text[i]) - 65) | ((ord(text[i + 1]) - 65) << 4) for i in range(0, len(text), 2))


def decipher(current, enciphered):
    key = bytes(b if b else 1 for b in hashlib.md5(current.encode("latin-1")).digest()[:8])
    out = subprocess.run(["openssl", "enc", "-d", "-des-ecb", "-provider", "legacy", "-provider", "default",
                          "-K", key.hex(), "-nopad", "-nosalt"], input=unletters(enciphered),
                         capture_output=True, check=True).stdout
    return out.decode("latin-1").rstrip("\r")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--fail", default="")
    p.add_argument("--template", default="")
    p.add_argument("--list-fail", default="")
    a = p.parse_args()
    challenges = {}

    class Handler(BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def answer(self, status, body=b"", reason=None):
            self.send_response(status, reason)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            path = self.path.lstrip("/")
            if a.list_fail and path.endswith("lista.html"):
                if a.list_fail == "drop":
                    self.close_connection = True
                    return
                return self.answer(int(a.list_fail), b"Server trouble")
            if a.template and path.endswith("template.htm"):
                with open(a.template, "rb") as f:
                    return self.answer(200, f.read())
            full = os.path.normpath(os.path.join(a.root, path))
            if not full.startswith(os.path.abspath(a.root)) or not os.path.isfile(full):
                return self.answer(404, b"Not found")
            with open(full, "rb") as f:
                self.answer(200, f.read())

        def do_POST(self):
            if not self.path.endswith("tarnupd.dll"):
                return self.answer(404, b"Not found")
            body = self.rfile.read(int(self.headers["Content-Length"]))
            parts = body.split(b"\r\n", 5)
            fields = [x.decode("latin-1") for x in parts[:5]]
            if len(fields) < 5:
                return self.answer(400, b"Bad request")
            user, password, base, action = (f.split("=", 1)[-1] for f in fields[:4])
            extra = fields[4]
            rest = parts[5] if len(parts) > 5 else b""
            if action == "GETMYRIGHTS":
                return self.answer(200, ("\r\n".join(RIGHTS) + "\r\n").encode())
            if action == "AUTHINI":
                if user not in USERS:
                    return self.answer(200, b"Unknown user\r\n")
                challenges[user] = " " + secrets.token_hex(8)
                return self.answer(200, (challenges[user] + "\r\n").encode())
            expected = letters(hashlib.md5((challenges.pop(user, "?") + USERS.get(user, "")).encode()).digest())
            if user not in USERS or password != expected:
                return self.answer(200, b"")
            if base not in SECTIONS or "/" in extra or extra.startswith(".."):
                return self.answer(200, b"NNo rights on this section")
            folder = os.path.join(a.root, SECTIONS[base])
            os.makedirs(folder, exist_ok=True)
            if action == "MPUT":
                size_line, _, data = rest.partition(b"\r\n")
                if len(data) != int(size_line):
                    return self.answer(200, b"NSize wrong")
                if a.fail and extra == a.fail:
                    return self.answer(200, b"NDisk full")
                with open(os.path.join(folder, extra), "wb") as f:
                    f.write(data)
                return self.answer(200, b"Y")
            if action == "DEL":
                try:
                    os.remove(os.path.join(folder, extra))
                except OSError:
                    return self.answer(200, b"NNo such file")
                return self.answer(200, b"Y")
            if action == "CHPASS":
                USERS[user] = decipher(USERS[user], extra)
                return self.answer(200, b"Y")
            return self.answer(200, b"NUnknown action")

    server = HTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
