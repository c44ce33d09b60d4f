#!/usr/bin/env python3
"""Checks what the wizard left behind against what SETUP.INF asks for.

    checkinstall.py tree MEDIUM TARGETS SIREL_SUBDIR DXF_SUBDIR
    checkinstall.py block MEDIUM TARGETS SIREL_SUBDIR DXF_SUBDIR FOLDER
    checkinstall.py old MEDIUM TARGETS SIREL_SUBDIR DXF_SUBDIR
    checkinstall.py snapshot TARGETS
    checkinstall.py messages MEDIUM install|fail|cancel LOG
    checkinstall.py screenreader MEDIUM LOG
    checkinstall.py names-medium DIR windows-1252|utf-8
    checkinstall.py names-tree TARGETS TARGET_PATH LOG
    checkinstall.py names-text MEDIUM LOG

tree: every planned file lies byte-identical below TARGETS and nothing else
does (no temporary file, no stray copy).

block: puts a file where the copy needs the target folder of the medium
folder FOLDER (such as dxf/parts), so the copy fails there.

old: an older installation below TARGETS: every third planned file with
other content and an old last-write time, a file of the user's own and an
empty folder.

snapshot: one line per folder and file below TARGETS (size, last-write time
in nanoseconds, SHA-256), sorted; two snapshots are equal when the tree is.

messages: the "message:" lines of a driver log (UTF-8) are the texts the
run must show: the success text, the copy failure followed by the abort
text, or the abort text alone (cancel).

screenreader: the "steps:" and "buttons:" lines of a keyboard run's log name
the side-bar's steps and its previous/next buttons as SETUP.INF does, on
every page.

names-medium: a small medium whose one search group copies the tree
Pr\u00fcfung\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\plan.dxf into PROJEKTE\\M\u00dcLLER, its SETUP.INF
in the encoding given; its heading (Txt_035) holds M\u00dcLLER too.

names-tree: TARGETS (the host folder of the target drive) holds exactly
that file below TARGET_PATH (a Windows path on that drive), and the log
(UTF-8) names it there and ends with exit code 0.

names-text: the "text: Label_135" line of a driver log is the heading of
the medium's first language, letter for letter.

block prints the path of the file it made, relative to TARGETS.
"""
import hashlib
import os
import re
import sys

FIXED_FIRST, GROUP_FIRSTS = 500, (600, 700, 800)


def decode_setup_text(data):
    """The text of SETUP.INF as the wizard reads it: UTF-8 when the whole
    file is valid UTF-8, otherwise Windows-1252 (its five undefined bytes as
    the control characters of the same number)."""
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return "".join(bytes([b]).decode("cp1252") if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else chr(b)
                       for b in data)


def read_language(medium):
    """The Txt_ values of the first language of SETUP.INF, by number."""
    with open(os.path.join(medium, "SETUP.INF"), "rb") as f:
        lines = decode_setup_text(f.read()).splitlines()
    sections, current = {}, None
    for line in lines:
        s = line.strip()
        if s.startswith("[") and s.endswith("]"):
            current = sections.setdefault(s[1:-1].lower(), {})
        elif current is not None and "=" in s and not s.startswith(";"):
            key, value = s.split("=", 1)
            if len(value) >= 2 and value[0] == value[-1] == '"':
                value = value[1:-1]
            current.setdefault(key.lower(), value)
    first = sections["languages"]["1"].lower()
    texts = {}
    for key, value in sections[first].items():
        if key.startswith("txt_") and key[4:].isdigit():
            texts[int(key[4:])] = value
    return texts


def run_of(texts, first):
    """The values of consecutive ids from `first` up to the first missing one."""
    values = []
    while first + len(values) in texts:
        values.append(texts[first + len(values)])
    return values


def medium_files(root):
    """Every file below root as a medium path (a/b/C.EXT). Windows hides no
    name for its leading dot, so dot-names are walked like any other."""
    found = []
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames.sort()
        for name in sorted(filenames):
            found.append(os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/"))
    return found


def plan(medium, sirel, dxf):
    """[(group, medium path, target path below TARGETS)] in the order of the
    copy; group 0 is the fixed list, then one per search group."""
    texts = read_language(medium)
    entries = [(0, name.replace("\\", "/"), sirel + "/" + name.replace("\\", "/"))
               for name in run_of(texts, FIXED_FIRST)]
    group = 0
    for first, base in zip(GROUP_FIRSTS, (sirel, sirel, dxf)):
        for value in run_of(texts, first):
            group += 1
            source, _, subdir = value.partition(";")
            source = source.replace("\\", "/").strip("/")
            target = base + "/" + subdir.replace("\\", "/").strip("/")
            for rel in medium_files(os.path.join(medium, source)):
                entries.append((group, source + "/" + rel, target + "/" + rel))
    return entries


def read(path):
    with open(path, "rb") as f:
        return f.read()


def same_content(path, data):
    return read(path) == data


BLOCKER = b"a file where the copy needs a folder\n"


def blocked_target(entries, folder):
    """(group, target folder) of a medium folder that holds planned files."""
    for group, source, target in entries:
        if source.startswith(folder + "/"):
            return group, target[:len(target) - len(source) + len(folder)]
    return None


def make_blocker(medium, targets, sirel, dxf, folder):
    found = blocked_target(plan(medium, sirel, dxf), folder)
    if found is None:
        return ["%s holds no file of the copy" % folder]
    path = os.path.join(targets, found[1])
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(BLOCKER)
    print(found[1])
    return []


def check_tree(medium, targets, sirel, dxf):
    errors = []
    entries = plan(medium, sirel, dxf)
    planned = set()
    copied = 0
    for group, source, target in entries:
        planned.add(target)
        path = os.path.join(targets, target)
        if not os.path.isfile(path):
            errors.append("missing: %s" % target)
            continue
        if not same_content(path, read(os.path.join(medium, source))):
            errors.append("differs from the medium: %s" % target)
        copied += 1
    for dirpath, _, filenames in os.walk(targets):
        for name in filenames:
            rel = os.path.relpath(os.path.join(dirpath, name), targets).replace(os.sep, "/")
            if rel not in planned:
                errors.append("not planned, left in the target: %s" % rel)
    print("%d of %d planned files in place" % (copied, len(entries)))
    return errors


OLD_TIME = 1000000000  # 2001-09-09


def make_old(medium, targets, sirel, dxf):
    for i, (_, _, target) in enumerate(plan(medium, sirel, dxf)):
        if i % 3:
            continue
        path = os.path.join(targets, target)
        try:
            os.makedirs(os.path.dirname(path), exist_ok=True)
        except (FileExistsError, NotADirectoryError):
            continue  # below a file that blocks the copy
        if os.path.isfile(path):
            continue
        with open(path, "wb") as f:
            f.write(b"an older version of " + target.encode() + b"\n")
        os.utime(path, (OLD_TIME, OLD_TIME))
    mine = os.path.join(targets, sirel, "MINE.TXT")
    with open(mine, "wb") as f:
        f.write(b"the user's own file\n")
    os.utime(mine, (OLD_TIME, OLD_TIME))
    os.makedirs(os.path.join(targets, sirel, "EMPTY"), exist_ok=True)
    return []


def snapshot(targets):
    lines = []
    for dirpath, dirnames, filenames in os.walk(targets):
        for name in dirnames:
            rel = os.path.relpath(os.path.join(dirpath, name), targets).replace(os.sep, "/")
            lines.append(rel + "/")
        for name in filenames:
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, targets).replace(os.sep, "/")
            st = os.stat(path)
            lines.append("%s %d %d %s" % (rel, st.st_size, st.st_mtime_ns,
                                          hashlib.sha256(read(path)).hexdigest()))
    return sorted(lines)


def pattern_of(text):
    """A message text whose %s placeholders stand for any filled-in name."""
    return re.compile("^" + "[^%]+".join(re.escape(p) for p in text.split("%s")) + "$")


def check_messages(medium, mode, log):
    texts = read_language(medium)
    expected = [texts.get(i, "") for i in {"install": [31], "fail": [24, 25], "cancel": [25]}[mode]]
    failed = texts.get(24)
    shown = log_lines(log, "message: ")
    errors = []
    if len(shown) != len(expected):
        errors.append("%d messages shown, %d expected: %r" % (len(shown), len(expected), shown))
    for got, want in zip(shown, expected):
        # The copy-failure text is followed by the source, the target and
        # the reason, on lines of their own (joined by blanks in the log).
        details = want == failed and got.startswith(want) and got[len(want):].startswith(" ")
        if not details and not pattern_of(want).match(got):
            errors.append("message %r does not read %r" % (got, want))
        if want == failed and mode == "fail" and not details:
            errors.append("the copy-failure message names no file: %r" % got)
    return errors


def log_lines(log, prefix):
    """The rest of each line of a driver log (UTF-8, CR LF) that starts with prefix."""
    with open(log, "rb") as f:
        return [line[len(prefix):].rstrip("\r")
                for line in f.read().decode("utf-8", "replace").splitlines() if line.startswith(prefix)]


def joined(names):
    """Names as the driver joins them on one line."""
    return ", ".join('"%s"' % n for n in names) if names else "(none)"


def check_screenreader(medium, log):
    texts = read_language(medium)
    steps = joined([texts.get(i, "") for i in range(63, 68)])
    buttons = joined([texts.get(76, ""), texts.get(75, "")])
    errors = []
    pages = log_lines(log, "tree: page ")
    if len({p[:1] for p in pages}) != 5:
        errors.append("the accessible tree was not read on all five pages: %r" % pages)
    for kind, want in (("steps: ", steps), ("buttons: ", buttons)):
        seen = log_lines(log, kind)
        if len(seen) != len(pages):
            errors.append("%d %slines for %d pages" % (len(seen), kind, len(pages)))
        errors += ["the side-bar reads %s%s, SETUP.INF %s" % (kind, got, want) for got in seen if got != want]
    return errors


NAMES_TARGET = "PROJEKTE\\M\u00dcLLER"
NAMES_SOURCE = ["Pr\u00fcfung", "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "plan.dxf"]
NAMES_CONTENT = b"0\nSECTION\n0\nENDSEC\n0\nEOF\n"
NAMES_HEADING = "Projekte M\u00dcLLER \u2013 Pr\u00fcfung"


def make_names_medium(folder, encoding):
    """SETUP.INF in Windows-1252 or UTF-8, the licence, and the one file of the search group."""
    text = ("[BootSetup]\r\nVersion=2.0\r\nDefaultDir=SIREL\r\n[Languages]\r\n1=English\r\n[English]\r\n"
            "Txt_001=LICENSE.TXT\r\nTxt_004=Language:\r\nTxt_025=Setup of %s was cancelled.\r\nTxt_031=Done\r\n"
            "Txt_035=" + NAMES_HEADING + "\r\nTxt_073=Sirel\r\nTxt_074=Cancel\r\n"
            "Txt_600=" + NAMES_SOURCE[0] + "\\;" + NAMES_TARGET + "\r\n")
    os.makedirs(os.path.join(folder, *NAMES_SOURCE[:2]), exist_ok=True)
    with open(os.path.join(folder, "SETUP.INF"), "wb") as f:
        f.write(text.encode(encoding))
    with open(os.path.join(folder, "LICENSE.TXT"), "wb") as f:
        f.write(b"licence\r\n")
    with open(os.path.join(folder, *NAMES_SOURCE), "wb") as f:
        f.write(NAMES_CONTENT)
    return []


def check_names_tree(targets, target_path, log):
    """The one file under its name, in UTF-8 on the host, and the log's line of it."""
    errors = []
    drive, rest = target_path[:2], target_path[2:].strip("\\")
    installed = "\\".join([rest, NAMES_TARGET, NAMES_SOURCE[1], NAMES_SOURCE[2]])
    host = os.path.join(os.fsencode(targets), *[p.encode("utf-8") for p in installed.split("\\")])
    if not os.path.isfile(host):
        errors.append("missing: %s" % host.decode("utf-8", "replace"))
    elif read(host) != NAMES_CONTENT:
        errors.append("differs from the medium: %s" % host.decode("utf-8"))
    found = [os.path.join(d, n) for d, _, names in os.walk(os.fsencode(targets)) for n in names]
    errors += ["not planned, left in the target: %s" % f.decode("utf-8", "replace") for f in found if f != host]
    with open(log, "rb") as f:
        lines = f.read().decode("utf-8", "strict").splitlines()
    source = "D:\\" + "\\".join(NAMES_SOURCE)
    if not any(l.split("\t")[2:5] == ["copied", source, drive + "\\" + installed] for l in lines):
        errors.append("the log has no line copied\t%s\t%s" % (source, drive + "\\" + installed))
    if not lines or lines[-1].split("\t")[2:4] != ["end", "0"]:
        errors.append("the log does not end with exit code 0: %r" % (lines[-1:] or ""))
    return errors


def check_names_text(medium, log):
    heading = read_language(medium).get(35, "")
    shown = log_lines(log, "text: Label_135 ")
    errors = [] if "M\u00dcLLER" in heading else ["the medium's heading holds no M\u00dcLLER: %r" % heading]
    if shown != [heading]:
        errors.append("Label_135 shows %r, SETUP.INF %r" % (shown, heading))
    return errors


def main(argv):
    if len(argv) == 5 and argv[0] == "tree":
        errors = check_tree(*argv[1:5])
    elif len(argv) == 6 and argv[0] == "block":
        errors = make_blocker(*argv[1:])
    elif len(argv) == 5 and argv[0] == "old":
        errors = make_old(*argv[1:])
    elif len(argv) == 2 and argv[0] == "snapshot":
        print("\n".join(snapshot(argv[1])))
        errors = []
    elif len(argv) == 4 and argv[0] == "messages" and argv[2] in ("install", "fail", "cancel"):
        errors = check_messages(*argv[1:])
    elif len(argv) == 3 and argv[0] == "screenreader":
        errors = check_screenreader(*argv[1:])
    elif len(argv) == 3 and argv[0] == "names-medium" and argv[2] in ("windows-1252", "utf-8"):
        errors = make_names_medium(argv[1], "cp1252" if argv[2] == "windows-1252" else "utf-8")
    elif len(argv) == 4 and argv[0] == "names-tree":
        errors = check_names_tree(*argv[1:])
    elif len(argv) == 3 and argv[0] == "names-text":
        errors = check_names_text(*argv[1:])
    else:
        sys.stderr.write(__doc__)
        return 2
    for e in errors:
        print("error: " + e)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
