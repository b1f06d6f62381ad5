#!/usr/bin/env python3
"""Fault injection over a save: `tarn-cli resave DOC DOC` is run once per
file-system call it makes, with that one call failing (ENOSPC, then EIO) or
with the process killed at it, and the folder is checked afterwards.

The invariant: exit 0 means the document is the new one and its .bak the
previous document; any other exit means the document and its .bak are
byte for byte what they were before. A failed write, flush, link, rename or
mode change never ends in exit 0. After a kill the document is the old
or the new one and a .bak exists; the next save removes what the killed one
left behind.

    savefaults.py --cli build/apps/tarn-cli --doc samples/sample.aeh [--kill] [--yes] [--persist]

Exit status: 0 when the invariant held for every injected call, 1 when it
did not, 77 when strace cannot trace here (the test is then skipped).
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile

# The calls by which a save touches files. Calls the program makes before it
# first names the document (starting up, reading its settings) are not swept.
FS_CALLS = [
    "openat", "open", "creat", "read", "pread64", "write", "pwrite64", "writev",
    "fsync", "fdatasync", "close", "rename", "renameat", "renameat2", "link",
    "linkat", "unlink", "unlinkat", "mkdir", "mkdirat", "chmod", "fchmod",
    "fchmodat", "ftruncate", "newfstatat", "statx", "lstat", "stat", "fstat",
    "lseek", "getdents64", "readlink", "readlinkat", "flock", "fallocate",
    "copy_file_range", "sendfile", "kill",
]
# A save that writes, flushes, links, renames or sets the mode of a file
# cannot succeed when one of these fails.
MUST_FAIL = {"write", "pwrite64", "writev", "fsync", "fdatasync", "rename", "renameat", "renameat2",
             "link", "linkat", "ftruncate", "chmod", "fchmod", "fchmodat", "fallocate"}
ERRORS = ["ENOSPC", "EIO"]
DOC = "doc.aeh"
BAK = "doc.bak"


# The leak checker of a sanitizer build cannot run under strace; the other
# checks can.
ENV = dict(os.environ, ASAN_OPTIONS="detect_leaks=0:" + os.environ.get("ASAN_OPTIONS", ""))


def run(cmd, cwd, timeout):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                           timeout=timeout, start_new_session=True, env=ENV)
        return p.returncode, p.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as e:
        return None, (e.stderr or b"").decode("utf-8", "replace")


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


class Sweep:
    def __init__(self, args):
        self.cli = os.path.abspath(args.cli)
        self.yes = ["--yes"] if args.yes else []
        self.timeout = args.timeout
        self.verbose = args.verbose
        self.persist = args.persist
        self.root = tempfile.mkdtemp(prefix="tarn-savefaults-")
        self.run_dir = os.path.join(self.root, "run")
        # The state before each run: the document D and its .bak B (the
        # document before its last save), and the new document N a clean
        # save of D writes.
        base = os.path.join(self.root, "base")
        os.makedirs(base)
        shutil.copyfile(args.doc, os.path.join(base, DOC))
        self.resave(base)
        self.old_doc = read(os.path.join(base, DOC))
        self.old_bak = read(os.path.join(base, BAK))
        ref = os.path.join(self.root, "ref")
        self.restore(ref)
        rc, err = self.resave(ref)
        if rc != 0:
            sys.exit(f"a clean save fails: {err}")
        self.new_doc = read(os.path.join(ref, DOC))
        if self.new_doc == self.old_doc or read(os.path.join(ref, BAK)) != self.old_doc:
            sys.exit("a clean save does not give a new document with the old one as .bak")

    def command(self):
        return [self.cli, "resave", *self.yes, DOC, DOC]

    def resave(self, folder):
        return run(self.command(), folder, self.timeout)

    def restore(self, folder):
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        with open(os.path.join(folder, DOC), "wb") as f:
            f.write(self.old_doc)
        with open(os.path.join(folder, BAK), "wb") as f:
            f.write(self.old_bak)

    def calls(self):
        """Per call name, the occurrences (1-based) made from the moment the
        document is first named."""
        self.restore(self.run_dir)
        trace = os.path.join(self.root, "trace.txt")
        rc, err = run(["strace", "-qq", "-o", trace, *self.command()], self.run_dir, self.timeout)
        if rc != 0:
            print(f"strace cannot trace here ({err.strip()}): skipped")
            sys.exit(77)
        seen = collections.Counter()
        started = False
        plan = collections.defaultdict(list)
        call = re.compile(r"^([a-z0-9_]+)\((\d+)?")
        # A sanitizer build probes memory by writing into a pipe of its own:
        # those calls are the tool's, not the save's.
        pipes = set()
        with open(trace, encoding="utf-8", errors="replace") as f:
            for line in f:
                m = call.match(line)
                if not m:
                    continue
                name, fd = m.group(1), m.group(2)
                seen[name] += 1
                if name in ("pipe", "pipe2"):
                    pipes.update(re.findall(r"\d+", line[line.index("[") + 1:line.index("]")]))
                    continue
                if fd in pipes and name in ("read", "write", "close"):
                    if name == "close":
                        pipes.discard(fd)
                    continue
                if not started and name != "execve" and f'"{DOC}"' in line:
                    started = True
                if started and name in FS_CALLS:
                    plan[name].append(seen[name])
        if not started:
            sys.exit("the traced save never names the document")
        return plan

    def state(self):
        names = sorted(os.listdir(self.run_dir))
        others = [n for n in names if n not in (DOC, BAK)]
        return read(os.path.join(self.run_dir, DOC)), read(os.path.join(self.run_dir, BAK)), others

    def judge_error(self, rc, name, err):
        doc, bak, others = self.state()
        if rc is None:
            return "VIOLATION: hung", others
        if rc == 0:
            if doc != self.new_doc:
                return "VIOLATION: exit 0 but the document is not the new one", others
            if bak == self.old_bak and "could not become the backup" in err:
                # The new document stands and neither the .bak nor the old
                # document can be renamed any more: the save holds and says
                # where the previous document is.
                return "saved, the previous document kept beside it (warned)", others
            if bak != self.old_doc:
                return "VIOLATION: exit 0 but the .bak is not the previous document", others
            # With --yes a failed rename is retried, and may then succeed.
            retried = self.yes and name.startswith("rename") and not self.persist
            if name in MUST_FAIL and not retried:
                return f"VIOLATION: exit 0 though a {name} failed", others
            return "saved", others
        if doc != self.old_doc:
            return "VIOLATION: failed and the document changed" if doc else "VIOLATION: failed and the document is gone", others
        if bak != self.old_bak:
            return "VIOLATION: failed and the .bak changed" if bak else "VIOLATION: failed and the .bak is gone", others
        return "failed, old document intact", others

    def judge_kill(self):
        doc, bak, others = self.state()
        if doc not in (self.old_doc, self.new_doc):
            return "VIOLATION: killed and the document is neither old nor new"
        if bak not in (self.old_bak, self.old_doc):
            return "VIOLATION: killed and no .bak of the old files"
        # The next save must succeed and remove what the killed one left.
        rc, err = self.resave(self.run_dir)
        _, _, left = self.state()
        if rc != 0:
            return "VIOLATION: the save after a kill fails"
        if left:
            return f"VIOLATION: the save after a kill leaves {len(left)} temporary file(s)"
        return "killed, " + ("new" if doc == self.new_doc else "old") + " document"

    def sweep(self, kill):
        plan = self.calls()
        total = sum(len(r) for r in plan.values())
        print(f"{total} file-system calls after the document is named: " +
              ", ".join(f"{n} {len(r)}" for n, r in sorted(plan.items())))
        outcomes = collections.Counter()
        leftovers = 0
        injected = 0
        for name, occurrences in sorted(plan.items()):
            for n in occurrences:
                faults = ["signal=SIGKILL"] if kill else [f"error={e}" for e in ERRORS]
                for fault in faults:
                    self.restore(self.run_dir)
                    cmd = ["strace", "-qq", "-o", "/dev/null", "-e", f"trace={name}",
                           "-e", f"inject={name}:{fault}:when={n}{'+' if self.persist else ''}", *self.command()]
                    rc, err = run(cmd, self.run_dir, self.timeout)
                    injected += 1
                    if kill:
                        outcome = self.judge_kill()
                    else:
                        outcome, others = self.judge_error(rc, name, err)
                        leftovers += bool(others)
                    outcomes[outcome] += 1
                    if self.verbose or outcome.startswith("VIOLATION"):
                        last = err.strip().splitlines()[-2:] if err.strip() else []
                        print(f"  {name} #{n} {fault}: exit {rc}: {outcome}  {' / '.join(last)}")
        print(f"{injected} runs:")
        for outcome, count in sorted(outcomes.items()):
            print(f"  {count:6d}  {outcome}")
        if not kill:
            print(f"  ({leftovers} runs left temporary files behind)")
        return not any(o.startswith("VIOLATION") for o in outcomes)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--doc", required=True)
    parser.add_argument("--kill", action="store_true", help="kill at each call instead of failing it")
    parser.add_argument("--yes", action="store_true", help="answer Yes to questions")
    parser.add_argument("--persist", action="store_true",
                        help="the call fails every time from the chosen one on, not once")
    parser.add_argument("--timeout", type=float, default=20)
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    if shutil.which("strace") is None:
        print("strace is not installed: skipped")
        return 77
    sweep = Sweep(args)
    try:
        ok = sweep.sweep(args.kill)
    finally:
        shutil.rmtree(sweep.root, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
