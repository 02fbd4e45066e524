#!/usr/bin/env python3
"""Puts the lines of the local-text files in rising order after a merge. The union merge of
data/l/* keeps both sides' lines where they fell: the comment lines at the top stay, the numbered
lines are sorted by number, and a number that stands twice keeps the line that is new, i.e. not
the line of the revision given with --base (default HEAD, the side merged into)."""
import re
import subprocess
import sys
from pathlib import Path

top = Path(__file__).resolve().parent.parent


def numbered(line):
    m = re.match(r'(\d+)', line)
    return int(m.group(1)) if m else None


def base_lines(path, revision):
    relative = path.relative_to(top).as_posix()
    shown = subprocess.run(['git', '-C', str(top), 'show', f'{revision}:{relative}'], capture_output=True, text=True)
    return set(shown.stdout.splitlines()) if shown.returncode == 0 else set()


def sort_texts(path, revision):
    lines = path.read_text(encoding='utf-8').splitlines()
    old = base_lines(path, revision)
    head, chosen = [], {}
    for line in lines:
        number = numbered(line)
        if number is None:
            if chosen:
                sys.exit(f'{path}: a comment line among the texts: {line!r}')
            head.append(line)
        elif number not in chosen or chosen[number] in old:
            chosen[number] = line
    path.write_text('\n'.join(head + [chosen[n] for n in sorted(chosen)]) + '\n', encoding='utf-8')


revision = sys.argv[sys.argv.index('--base') + 1] if '--base' in sys.argv else 'HEAD'
for path in sorted((top / 'data' / 'l').iterdir()):
    if path.is_file():
        sort_texts(path, revision)
