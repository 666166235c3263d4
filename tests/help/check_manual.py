#!/usr/bin/env python3
"""Checks the user manual: it mentions every menu command, every shortcut shown in the menu and
every command-line switch.

Usage: check_manual.py MANUAL_DIR RESOURCE_SCRIPT"""
import os
import re
import sys
from html.parser import HTMLParser

SWITCHES = ["/f", "/s", "/q", "/u"]


class Manual(HTMLParser):
    def __init__(self):
        super().__init__()
        self.words = []

    def handle_data(self, data):
        self.words.append(data)


def main(manual_dir, resource_script):
    manual = Manual()
    with open(os.path.join(manual_dir, "index.html"), encoding="utf-8") as page:
        manual.feed(page.read())
    manual.close()
    problems = []
    # The menu's item texts without "&" and "...", and the shortcut texts after their tabs.
    with open(resource_script, encoding="latin-1") as script:
        items = re.findall(r'^\s*(?:POPUP|MENUITEM)\s+"((?:[^"\\]|\\.)*)"', script.read(), re.M)
    if len(items) < 30:
        problems.append(f"only {len(items)} menu items found in {resource_script}")
    text = re.sub(r"\s+", " ", " ".join(manual.words))
    for item in items:
        label, _, shortcut = item.replace("&", "").partition("\\t")
        problems += [f"not mentioned: {wanted}" for wanted in (label.rstrip("."), shortcut) if wanted not in text]
    problems += [f"not mentioned: {switch}" for switch in SWITCHES if switch not in text]
    print("\n".join(problems + [f"manual: {len(problems)} problems; {len(items)} menu items checked"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
