#!/usr/bin/env python3
"""Checks the user manual: the HTML is well formed (every element closed in order), its internal
links and local files exist, and it mentions every menu command, every shortcut shown in the menu
and every command-line switch.

Usage: check_manual.py MANUAL_DIR RESOURCE_SCRIPT"""
import html
import os
import re
import sys
from html.parser import HTMLParser

SWITCHES = ["/f", "/s", "/q", "/u"]
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}


class Manual(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.problems = []
        self.ids = set()
        self.references = []
        self.words = []

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if "id" in attributes:
            self.ids.add(attributes["id"])
        for name in ("href", "src"):
            if attributes.get(name):
                self.references.append(attributes[name])
        if tag not in VOID:
            self.open.append((tag, self.getpos()[0]))

    def handle_endtag(self, tag):
        if tag in VOID:  # also what <br/> reports
            return
        if not self.open or self.open[-1][0] != tag:
            expected = f"</{self.open[-1][0]}> of line {self.open[-1][1]}" if self.open else "nothing"
            self.problems.append(f"line {self.getpos()[0]}: </{tag}> where {expected} was due")
        else:
            self.open.pop()

    def handle_data(self, data):
        self.words.append(data)


def menu_entries(resource_script):
    """The menu's item texts without "&" and "...", and the shortcut texts after the tabs."""
    with open(resource_script, encoding="latin-1") as script:
        source = script.read()
    entries = []
    for kind, quoted in re.findall(r'^\s*(POPUP|MENUITEM)\s+"((?:[^"\\]|\\.)*)"', source, re.M):
        label, _, shortcut = quoted.replace("&", "").partition("\\t")
        entries.append(label.rstrip("."))
        if shortcut:
            entries.append(shortcut)
    return entries


def main(manual_dir, resource_script):
    manual = Manual()
    with open(os.path.join(manual_dir, "index.html"), encoding="utf-8") as page:
        manual.feed(page.read())
    manual.close()
    problems = list(manual.problems)
    problems += [f"<{tag}> of line {line} is never closed" for tag, line in manual.open]
    for reference in manual.references:
        if reference.startswith("#"):
            if reference[1:] not in manual.ids:
                problems.append(f"link to a missing anchor: {reference}")
        elif not re.match(r"^[a-z]+:", reference) and not os.path.isfile(os.path.join(manual_dir, reference)):
            problems.append(f"link to a missing file: {reference}")
    text = html.unescape(re.sub(r"\s+", " ", " ".join(manual.words)))
    entries = menu_entries(resource_script)
    if len(entries) < 40:
        problems.append(f"only {len(entries)} menu entries found in {resource_script}")
    for wanted in entries + SWITCHES:
        if wanted not in text:
            problems.append(f"not mentioned: {wanted}")
    for problem in problems:
        print(problem)
    print(f"manual: {len(problems)} problems; {len(entries)} menu texts and {len(manual.references)} links checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
