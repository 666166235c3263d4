"""The inputs of the whole-job benchmark: a large pad made by importing a generated text, a second
pad one nib apart from it, and the large pad exported as text (what grep reads)."""
import random
import shutil
import subprocess
from dataclasses import dataclass
from pathlib import Path

NOTE_COUNT = 100_000
NOTE_SIZE = 200
# About one note in twelve holds one of these, as a query that finds a few thousand nibs would.
QUERY_WORDS = ["phone", "Phone", "telephone", "PHONE"]
QUERY_SHARE = 1 / 400
WORDS = ("milk call the meeting tomorrow report a ideas for garden Remember book 12:30 and list Anna "
         "about invoice price Berlin ticket notes on at to café Müller Straße naïve résumé €20 Zoë "
         "Ångström señor").split()
LINE_BREAK_SHARE = 1 / 12


def note(rng: random.Random) -> str:
    # Only random() keeps its sequence for a seed across Python versions.
    parts = []
    size = 0
    while size < NOTE_SIZE:
        if parts:
            parts.append("\r\n" if rng.random() < LINE_BREAK_SHARE else " ")
        r = rng.random()
        if r < QUERY_SHARE:
            word = QUERY_WORDS[int(r / QUERY_SHARE * len(QUERY_WORDS))]
        else:
            word = WORDS[int((r - QUERY_SHARE) / (1 - QUERY_SHARE) * len(WORDS))]
        parts.append(word)
        size += len(word) + 1
    return "".join(parts)


def write_notes(path: Path) -> None:
    """The notes in Windows-1252, a blank line between two."""
    rng = random.Random(20240601)
    text = "\r\n\r\n".join(note(rng) for _ in range(NOTE_COUNT))
    path.write_bytes(text.encode("cp1252"))


@dataclass
class Inputs:
    pad: Path  # the large pad
    other_pad: Path  # the large pad and one nib more
    text: Path  # the large pad exported with the default separator


def make_inputs(folder: Path, nibtool: Path) -> Inputs:
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    notes = folder / "notes.txt"
    write_notes(notes)
    inputs = Inputs(folder / "large.nib", folder / "other.nib", folder / "large.txt")
    subprocess.run([nibtool, "import", inputs.pad, notes, "--separator", r"\n\n"], check=True)
    shutil.copyfile(inputs.pad, inputs.other_pad)
    subprocess.run([nibtool, "add", inputs.other_pad, "Call Anna about the phone bill"], check=True)
    subprocess.run([nibtool, "export", inputs.pad, inputs.text], check=True)
    notes.unlink()
    return inputs
