#!/usr/bin/env python3
"""Writes COUNT text files of German-looking prose, spread over sub-folders, into FOLDER.

   make_texts.py FOLDER COUNT MEAN_BYTES

Sizes vary from a tenth to nearly twice the mean; the same arguments give the same files.
"""
import os
import random
import sys


def main() -> None:
    folder, count, mean = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(618)
    syllables = ["fel", "der", "strei", "fen", "qua", "dra", "te", "far", "be", "spiel",
                 "zug", "punk", "baum", "ast", "licht", "ton", "brett", "stein", "ein", "ver"]
    words = ["".join(rng.choices(syllables, k=rng.randint(1, 4))) for _ in range(3000)]
    for n in range(count):
        size = rng.randint(mean // 10, 2 * mean - mean // 10)
        lines, length = [], 0
        while length < size:
            line = " ".join(rng.choices(words, k=rng.randint(6, 14))).capitalize() + ".\n"
            lines.append(line)
            length += len(line)
        path = os.path.join(folder, f"texts{n % 60:02d}", f"text{n:04d}.txt")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as out:
            out.write("".join(lines)[:size])


if __name__ == "__main__":
    main()
