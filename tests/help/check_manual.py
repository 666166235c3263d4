#!/usr/bin/env python3
"""Checks the user manual: its internal links and local files exist, and it mentions every menu
command, every shortcut shown in the menu and every command-line switch.

Usage: check_manual.py MANUAL_DIR RESOURCE_SCRIPT"""
import os
import re
import sys
from html.parser import HTMLParser

SWITCHES = ["/f", "/s", "/q", "/u"]


class Manual(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.references, self.words = set(), [], []

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        self.ids.add(attributes.get("id"))
        self.references += [attributes[name] for name in ("href", "src") if attributes.get(name)]

    def handle_data(self, data):
        self.words.append(data)


def main(manual_dir, resource_script):
    manual = Manual()
    with open(os.path.join(manual_dir, "index.html"), encoding="utf-8") as page:
        manual.feed(page.read())
    manual.close()
    problems = []
    for reference in manual.references:
        if reference.startswith("#"):
            if reference[1:] not in manual.ids:
                problems.append(f"link to a missing anchor: {reference}")
        elif not re.match(r"^[a-z]+:", reference) and not os.path.isfile(os.path.join(manual_dir, reference)):
            problems.append(f"link to a missing file: {reference}")
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
    print("\n".join(problems + [f"manual: {len(problems)} problems; {len(items)} menu items and "
                                f"{len(manual.references)} links checked"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
