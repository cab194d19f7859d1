#!/usr/bin/env python3
"""Cuts the small seed corpora of the fuzz targets from a demo store.

    furlong-cli sample --root /tmp/demo && fuzz/make-corpus.py /tmp/demo

writes fuzz/corpus/<target>/seed-* (a few kilobytes each)."""
import glob
import os
import sys

RA, SE, HR, UM, ODDS, UMA = 1272, 555, 719, 1609, 1461, 1577
MARK = b"\n@@\n"
root = sys.argv[1]
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def read(*parts):
    with open(os.path.join(root, *parts), "rb") as f:
        return f.read()


def put(target, name, data):
    os.makedirs(os.path.join(out, target), exist_ok=True)
    with open(os.path.join(out, target, name), "wb") as f:
        f.write(data)


def opt(path):
    return open(path, "rb").read() if os.path.exists(path) else b""


# Day loading: two races of each demo meeting with their runners and one horse's files.
for n, race_file in enumerate(sorted(glob.glob(os.path.join(root, "Data", "*.jvRA")))[:3]):
    base = race_file[:-5]
    runners = read(base + ".jvSEr")[: 2 * 18 * SE]
    horse = runners[30:40].decode()
    history = opt(os.path.join(root, "SEI", horse[:4], horse + ".jvSEI"))[-3 * SE:]
    results = b""
    if history:
        last = history[-SE:]
        results = opt(os.path.join(root, "SEIR", last[11:15].decode(), last[11:21].decode() + ".jvSERA"))[: 2 * RA]
    legacy = b""
    for p in glob.glob(os.path.join(root, "UMA", "*", "*.jvUMA"))[:1]:
        legacy = opt(p)[:UMA] if n == 2 else b""
    parts = [read(race_file)[: 2 * RA], runners, opt(base + ".jvHR")[: 2 * HR], opt(base + ".yoz")[: 2 * ODDS],
             opt(os.path.join(root, "UM2", horse[:4], horse + ".jvUM2")), history, legacy, results]
    put("day_loading", "seed-%d" % n, MARK.join(parts))

# Filing: a few records of each type from the feed.
records = b""
for feed in sorted(glob.glob(os.path.join(root, "JVFeed", "download", "*.jvd")))[:3]:
    data = read(feed)
    kept = {}
    for rec in data.split(b"\r\n"):
        kind = rec[:2]
        if kind in (b"RA", b"SE", b"HR", b"UM") and kept.get(kind, 0) < 2:
            kept[kind] = kept.get(kind, 0) + 1
            records += rec + b"\r\n"
put("filing", "seed-0", records)
put("filing", "seed-1", records + b"x")  # odd length: filed record by record

# LZH archives and odds: the demo's odds archives.
for n, archive in enumerate(sorted(glob.glob(os.path.join(root, "yLZH", "*.lzh")))):
    put("lzh", "seed-%d" % n, read(archive))
for p in sorted(glob.glob(os.path.join(os.path.dirname(out), "..", "tests", "data", "lzh", "*.lzh")))[:6]:
    put("lzh", "test-" + os.path.basename(p), open(p, "rb").read())

# Odds: the sources inside the demo archives are stored (-lh0-) text after a header;
# the test data holds plain source lines of both kinds.
jrdb = b"".join(b"052458%02d16" % r + b"  2.5" * 18 + b"  1.2" * 18 + b" 10.0" * 153 + b"\r\n" for r in (1, 2))
kol = b"".join(b"0400000101%02d20240105" % r + b" " * 89 + b"16" + b" " * 50 + b"  123" * 18 + b"    *" * 36 +
               b"    -  " * 153 + b"\r\n" for r in (1, 2))
put("odds", "seed-jrdb", b"\x00" + MARK + MARK + jrdb)
put("odds", "seed-kol2", b"\x01" + MARK + b" " * ODDS + MARK + kol)
put("odds", "seed-kol3", b"\x06" + MARK + MARK + kol)

# Settings.
put("settings", "seed-0", read("furlong.ini"))
put("settings", "seed-1", b"[Dir]\r\nyoso=\"C:\\odds \"\r\n[Form]\r\nTop=+12\r\n")
