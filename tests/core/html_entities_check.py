#!/usr/bin/env python3
"""Compares the library's HTML Latin-1 entity table with Python's own list of the HTML 4
named entities (html.entities.codepoint2name), which was written independently of it."""
import subprocess
import sys
from html.entities import codepoint2name

out = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
got = {}
for line in out.splitlines():
    code, name = line.split(" ", 1)
    got[int(code)] = name

want = {cp: "&" + name + ";" for cp, name in codepoint2name.items() if 160 <= cp <= 255}
failures = [f"{cp}: table has {got.get(cp)!r}, HTML 4 has {want.get(cp)!r}"
            for cp in sorted(set(got) | set(want)) if got.get(cp) != want.get(cp)]
for f in failures:
    print(f)
print(f"{len(want) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures or len(want) != 96 else 0)
