#!/usr/bin/env python3
"""Mixes the material of bench/make-data into one corpus of a given size.

Usage: mix-corpus.py BYTES OUT KIND_FILE...

Every kind (one file each) contributes the same number of bytes, or all it
has when it has less: a small kind such as a word list is taken whole, the
large ones share the rest. A kind is cut into pieces of whole lines of about
64 KB; when only part of a kind is taken, its pieces are chosen evenly over
the whole kind (manual pages of every letter, not the first ones), and the
pieces of all kinds are interleaved so that every stretch of the corpus
mixes them all. The corpus ends with a line break. Only when the corpus is larger than all the material
together is the material repeated, whole, as often as needed. Prints the
largest number of times any piece was used (the repeat factor).
"""
import sys

PIECE = 64 * 1024


def pieces(data):
    out, start = [], 0
    while start < len(data):
        end = data.find(b"\n", min(start + PIECE, len(data)) - 1)
        end = len(data) if end < 0 else end + 1
        out.append(data[start:end])
        start = end
    return out


def level(sizes, budget):
    """The largest share t with sum(min(size, t)) <= budget."""
    low, high = 0, max(sizes)
    while low < high:
        mid = (low + high + 1) // 2
        if sum(min(s, mid) for s in sizes) <= budget:
            low = mid
        else:
            high = mid - 1
    return low


def spread(items, count):
    """COUNT of ITEMS, chosen evenly over all of them."""
    n = len(items)
    return [items[i] for i in range(n) if (i + 1) * count // n != i * count // n]


def main():
    budget, out_path, paths = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    kinds = []
    for path in paths:
        with open(path, "rb") as f:
            kinds.append(pieces(f.read()))
    kinds = [k for k in kinds if k]
    total = sum(len(p) for k in kinds for p in k)
    if total == 0:
        sys.exit("mix-corpus: no material")

    def interleaved(chosen):
        # Each kind's pieces keyed by where they sit in the kind, so that
        # sorting the keys interleaves the kinds evenly.
        keyed = [((n + 0.5) / len(ids), k, j) for k, ids in enumerate(chosen) for n, j in enumerate(ids)]
        return [(k, j) for _, k, j in sorted(keyed)]

    everything = [list(range(len(kind))) for kind in kinds]
    rounds, rest = divmod(budget, total)
    share = level([sum(len(p) for p in kind) for kind in kinds], rest)
    partial = []
    for kind in kinds:
        size = sum(len(p) for p in kind)
        ids = list(range(len(kind)))
        partial.append(ids if size <= share else spread(ids, len(kind) * share // size))
    # Pieces are whole lines, so the partial round can fall short of the
    # size by a few pieces: the pieces it left out fill that gap.
    taken = set(interleaved(partial))
    order = interleaved(everything) * rounds + interleaved(partial) + [
        piece for piece in interleaved(everything) if piece not in taken]
    uses = {}
    written = 0
    with open(out_path, "wb") as out:
        for k, j in order:
            if written >= budget:
                break
            piece = kinds[k][j][: budget - written]
            out.write(piece)
            written += len(piece)
            uses[(k, j)] = uses.get((k, j), 0) + 1
        # A corpus ends at a line break, so that copies of it laid end to end
        # join no word across their seam.
        if written and not piece.endswith(b"\n"):
            out.seek(written - 1)
            out.write(b"\n")
    print(max(uses.values()))


if __name__ == "__main__":
    main()
