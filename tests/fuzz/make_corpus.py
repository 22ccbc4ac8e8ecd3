#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzz targets (about 100 inputs each) into corpus/.

Deterministic (fixed seed), so re-running it reproduces the checked-in files."""
import os
import random
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DURATIONS = ["0.083333", "0.166667", "0.25", "0.50", "1.0", "2.0", "3.0", "6.0", "12.0", "24.0"]
NOAA_LABELS = ["5-min:", "10-min:", "15-min:", "30-min:", "60-min:", "2-hr:", "3-hr:", "6-hr:", "12-hr:", "24-hr:"]
ODD = ["", "abc", "-5", "0", "1e39", "1e308", "nan", "inf", "-0", "3e38", "1,5", "\x00", "\xff", "  4 ", "+2", "1e-45"]
rng = random.Random(10)


def shipped(cell):
    lines = ["# location: Seed", "# source: generated", "duration_hours,1,2,5,10,25,50,100"]
    for d in DURATIONS:
        lines.append(d + "," + ",".join(cell() for _ in range(7)))
    return "\n".join(lines) + "\n"


def noaa(cell):
    lines = ["Point precipitation frequency estimates (inches)", "NOAA Atlas 14 Volume 9 Version 2",
             "Data type: Precipitation depth", "Time series type: Partial duration",
             "Project area: Southeastern States", "Location name (ESRI Maps): Seed, Georgia, USA",
             "Latitude: 33.7490 Degree", "Longitude: -84.3880 Degree", "",
             "PRECIPITATION FREQUENCY ESTIMATES",
             "by duration for ARI (years):, 1,2,5,10,25,50,100,200,500,1000"]
    for label in NOAA_LABELS:
        lines.append(label + ", " + ",".join(cell() for _ in range(10)))
    return "\r\n".join(lines) + "\r\n"


def good():
    return "%.3f" % rng.uniform(0.1, 9)


def mixed():
    return rng.choice(ODD) if rng.random() < 0.1 else good()


def mangle(text):
    data = bytearray(text.encode("latin-1", "replace"))
    for _ in range(rng.randint(1, 6)):
        if not data:
            break
        i = rng.randrange(len(data))
        choice = rng.random()
        if choice < 0.4:
            data[i] = rng.randrange(256)
        elif choice < 0.7:
            del data[i:i + rng.randint(1, 20)]
        else:
            data[i:i] = bytes(rng.randrange(256) for _ in range(rng.randint(1, 8)))
    return bytes(data)


def tables():
    out = [shipped(good).encode(), noaa(good).encode(), b"", b"\n", b"duration_hours,1,2,5,10,25,50,100\n"]
    while len(out) < 100:
        base = (shipped if rng.random() < 0.5 else noaa)(mixed)
        out.append(base.encode("latin-1", "replace") if rng.random() < 0.4 else mangle(base))
    return out


def numbers():
    out = []
    for value in [0.0, -0.0, 1.0, 0.5, 2.5, 1e300, -1e300, 1.7976931348623157e308, 5e-324, 2.2250738585072014e-308,
                  123456789012345.0, 0.1, 1e15, 1e-5, 9.2e18, 9.3e18, float("inf"), float("nan")]:
        out.append(struct.pack("<d", value) + b" 12.5e3")
    for text in ["", " ", "-", "+.", "1.2.3", "2.5 ft", "1e999", "-1e-999", "0x1p3", "1e", ".5", "00012", "1e308"]:
        out.append(text.encode())
    while len(out) < 100:
        out.append(bytes(rng.randrange(256) for _ in range(rng.randint(8, 24))))
    return out


def rich():
    out = [b"", b"\x05Hello\r\n", b"\x05a{b}c\\d\x05\xc3\xa9\xe2\x80\x94\n\n"]
    alphabet = b"abc {}\\\t\r\n\xc3\xa9\xe2\x80\x94\xf0\x9f\x98\x80\x00\x7f"
    while len(out) < 100:
        out.append(bytes(rng.choice(alphabet) if rng.random() < 0.6 else rng.randrange(256)
                         for _ in range(rng.randint(2, 60))))
    return out


def projects():
    out = [b"10\n0.9\n15\n", b"0\n0\n0\n", b"1e308\n1\n5\n", b"10\n0.9\n15\nA\n-5\n", b"10\n0.9\n30\n\x15\n1e39\n\x16\n1e39\n"]
    while len(out) < 100:
        lines = [rng.choice(["10", "0.5", "1e30", "-3", "abc", "", "1e308", "0"]),
                 rng.choice(["0.9", "1", "2", "-1", "nan", ""]),
                 rng.choice(["5", "15", "30", "90", "1440", "2000", "-10", "1e30"])]
        for _ in range(rng.randint(0, 6)):
            lines += [chr(rng.randrange(32, 127)), rng.choice(ODD + [good(), good()])]
        out.append("\n".join(lines).encode("latin-1", "replace") + b"\n")
    return out


def write(name, inputs):
    folder = os.path.join(HERE, "corpus", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for i, data in enumerate(inputs):
        with open(os.path.join(folder, "seed-%03d" % i), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    table_inputs = tables()
    write("rain_import", table_inputs)
    write("shipped_format", [t for t in table_inputs if not t.startswith(b"Point")] + [shipped(mixed).encode() for _ in range(50)])
    write("number_text", numbers())
    write("rtf_writer", rich())
    write("solve_report", projects())
