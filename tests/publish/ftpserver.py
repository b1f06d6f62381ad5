#!/usr/bin/python3
"""A real FTP server on loopback for the publishing tests (pyftpdlib).

Prints its port on the first line of standard output, then serves until
killed. Faults on request:
  --full-disk       every STOR is refused with "452 Insufficient storage space"
  --slow SECONDS    LIST and RETR wait that long before answering
  --drop NAME       the control connection is closed when NAME is stored
  --cut NAME        reading NAME fails half way: the data connection ends early
"""
import argparse
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class CutFile:
    """A file whose reads fail half way through."""

    def __init__(self, f):
        self._f = f
        self._left = max(1, self._size() // 2)

    def _size(self):
        pos = self._f.tell()
        self._f.seek(0, 2)
        size = self._f.tell()
        self._f.seek(pos)
        return size

    def read(self, n=-1):
        if self._left <= 0:
            raise OSError("cut on purpose")
        data = self._f.read(min(n, self._left) if n > 0 else self._left)
        self._left -= len(data)
        return data

    def __getattr__(self, name):
        return getattr(self._f, name)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", default="author")
    p.add_argument("--password", default="secret")
    p.add_argument("--full-disk", action="store_true")
    p.add_argument("--slow", type=float, default=0)
    p.add_argument("--drop", default="")
    p.add_argument("--cut", default="")
    a = p.parse_args()

    class FS(AbstractedFS):
        def open(self, filename, mode):
            f = super().open(filename, mode)
            if a.cut and filename.endswith("/" + a.cut) and "r" in mode:
                return CutFile(f)
            return f

    class Handler(FTPHandler):
        use_sendfile = False

        def ftp_STOR(self, file, mode="w"):
            if a.full_disk:
                self.respond("452 Insufficient storage space.")
                return
            if a.drop and file.endswith("/" + a.drop):
                self.close()
                return
            return super().ftp_STOR(file, mode)

        def ftp_LIST(self, path):
            if a.slow:
                time.sleep(a.slow)
            return super().ftp_LIST(path)

        def ftp_RETR(self, file):
            if a.slow:
                time.sleep(a.slow)
            return super().ftp_RETR(file)

    authorizer = DummyAuthorizer()
    authorizer.add_user(a.user, a.password, a.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.abstracted_fs = FS
    Handler.banner = "Tarn test server ready."
    Handler.passive_ports = None
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    server = FTPServer(("127.0.0.1", 0), Handler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
