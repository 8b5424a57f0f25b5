#!/usr/bin/env python3
"""The language files' check: it passes the files as they are, and fails a
copy of them with each fault planted, naming the file and the key.

    texts_check_test.py TEXTS_PY LANG_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

texts_py, lang_dir = sys.argv[1:3]

# (what, file, old line start, new line, words the report must hold)
FAULTS = [
    ("a text missing", "de.txt", "menu.exit =", None, "menu.exit is missing"),
    ("a placeholder dropped", "fr.txt", "window.available =", "window.available = Disponible", "window.available must hold {1}"),
    ("an access key dropped", "ja.txt", "menu.exit =", "menu.exit = 終了", "needs an access key"),
    ("two texts on one access key", "de.txt", "menu.exit =", "menu.exit = &Schließen", "share the access key"),
    ("an unknown key", "ar.txt", "menu.exit =", "menu.exit = &خروج\nmenu.quit = &x", "menu.quit is not a key"),
]


def check(folder):
    return subprocess.run([sys.executable, texts_py, "check", folder], capture_output=True, text=True)


failures = 0
clean = check(lang_dir)
if clean.returncode != 0:
    print("the files as they are fail:", clean.stderr)
    failures += 1
for what, name, start, new, words in FAULTS:
    with tempfile.TemporaryDirectory() as folder:
        for f in os.listdir(lang_dir):
            shutil.copy(os.path.join(lang_dir, f), folder)
        path = os.path.join(folder, name)
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        hits = [i for i, line in enumerate(lines) if line.startswith(start)]
        assert hits, f"{name} has no line starting {start}"
        if new is None:
            del lines[hits[0]]
        else:
            lines[hits[0]] = new
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        result = check(folder)
        if result.returncode == 0 or words not in result.stderr or name not in result.stderr:
            print(f"{what}: not reported as '{words}' in {name}:", result.returncode, result.stderr)
            failures += 1
        else:
            print(f"ok  {what}")
sys.exit(1 if failures else 0)
