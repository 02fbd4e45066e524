#!/usr/bin/env python3
"""Puts the lines of the local-text files in rising order after a merge: the comment lines at the
top stay, the numbered lines are sorted by number, and a number that stands twice keeps its first
line (the union merge of data/l/* leaves both sides' new lines where they fell)."""
import re
import sys
from pathlib import Path

def sort_texts(path):
    lines = path.read_text(encoding='utf-8').splitlines()
    head, rest = [], []
    for line in lines:
        (rest if rest or re.match(r'\d', line) else head).append(line)
    seen, entries = set(), []
    for line in rest:
        number = int(re.match(r'\d+', line).group()) if re.match(r'\d', line) else None
        if number is None:
            sys.exit(f'{path}: a comment line among the texts: {line!r}')
        if number in seen:
            continue
        seen.add(number)
        entries.append((number, line))
    entries.sort(key=lambda e: e[0])
    path.write_text('\n'.join(head + [line for _, line in entries]) + '\n', encoding='utf-8')

top = Path(__file__).resolve().parent.parent
for path in sorted((top / 'data' / 'l').iterdir()):
    if path.is_file():
        sort_texts(path)
