#!/usr/bin/env python3
"""Prints the classes of a Wine prefix's machine registry (HKLM\\Software\\Classes, both
views), one line per key and per value, sorted, so that two snapshots compare line by line. The
32-bit copies of keys both views share count as the shared keys.

Usage: registry-snapshot.py PREFIX [FOLDER=TOKEN ...]

Each FOLDER (a Windows path such as C:\\Program Files\\Vantiq) is replaced by TOKEN in the
values, so registrations of one DLL from two places compare equal. Windows Installer's own
bookkeeping under Classes\\Installer is left out. Run `wineserver -w` first: the server
writes system.reg when it exits.
"""
import re
import sys


def sections(path):
    """(key, [value lines]) for each key of a Wine registry file, continuations joined."""
    key, values, pending = None, [], ""
    with open(path, encoding="ascii", errors="backslashreplace") as reg:
        for raw in reg:
            line = pending + raw.rstrip("\n")
            if line.endswith("\\") and not line.startswith("["):
                pending = line[:-1].strip()
                continue
            pending = ""
            if line.startswith("["):
                if key is not None:
                    yield key, values
                key, values = line[1:line.rindex("]")], []
            elif key is not None and (line.startswith("@") or line.startswith('"')):
                values.append(line)
    if key is not None:
        yield key, values


# The subkeys of Classes that WOW64 keeps apart for 32-bit programs; Windows shares every
# other one (ProgIDs, TypeLib) between both views.
REDIRECTED = ("clsid", "directshow", "interface", "media type", "mediafoundation")


def shared_view(key):
    """Key as Windows resolves it: a shared subkey's 32-bit copy is the key itself.

    Wine's installer writes a 32-bit package's ProgIDs into Wow6432Node, its regsvr32
    into the shared key; a program of either architecture reads them the same."""
    # The file doubles each backslash of a key.
    head = r"software\\classes\\wow6432node\\"
    if key.startswith(head) and key[len(head):].split(r"\\", 1)[0] not in REDIRECTED:
        return r"software\\classes\\" + key[len(head):]
    return key


def snapshot(prefix, folders):
    lines = []
    for key, values in sections(prefix + "/system.reg"):
        # Keys are case-insensitive; the files spell them as their creator did.
        folded = key.lower()
        if not folded.startswith("software\\\\classes\\\\"):
            continue
        if re.match(r"software\\\\classes\\\\(wow6432node\\\\)?installer(\\\\|$)", folded):
            continue
        folded = shared_view(folded)
        lines.append(folded)
        for value in values:
            for folder, token in folders:
                value = re.sub(re.escape(folder.replace("\\", "\\\\")), lambda _: token, value,
                               flags=re.IGNORECASE)
            lines.append(folded + " : " + value)
    return sorted(set(lines))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folders = [tuple(arg.split("=", 1)) for arg in sys.argv[2:]]
    print("\n".join(snapshot(sys.argv[1], folders)))


if __name__ == "__main__":
    main()
