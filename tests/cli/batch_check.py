#!/usr/bin/env python3
"""Checks the --json and --csv results of a batch solve against what the projects store.

usage: batch_check.py RESULTS.json RESULTS.csv
Exits 1 naming the first difference. The JSON and CSV must list the same projects in the same
order; each solved project's I and Q must be the single-precision values of its TblResults row
(the 1-year pair is stored to four decimals), its A, C and Tc those of its live element rows.
"""
import csv
import json
import math
import sqlite3
import struct
import sys

PERIODS = [1, 2, 5, 10, 25, 50, 100]
CF = {25: 1.1, 50: 1.2, 100: 1.25}


def f32(value):
    return struct.unpack("<f", struct.pack("<f", float(value)))[0]


def fail(message):
    print("FAIL " + message)
    sys.exit(1)


def check_project(project):
    db = sqlite3.connect(project["path"])
    stored = db.execute("SELECT * FROM TblResults").fetchall()
    names = [d[0] for d in db.execute("SELECT * FROM TblResults").description]
    if len(stored) != 1:
        fail(f"{project['path']}: {len(stored)} result rows")
    row = dict(zip(names, stored[0]))
    for period, values in zip(PERIODS, project["periods"]):
        if values["returnPeriod"] != period:
            fail(f"{project['path']}: period {values['returnPeriod']} in place of {period}")
        for key, column in (("I", f"Ival_{period}"), ("Q", f"Qpeak_{period}")):
            if period == 1:
                same = abs(f32(values[key]) - float(row[column])) <= 0.00005 + 1e-7
            else:
                same = f32(values[key]) == f32(row[column])
            if not same:
                fail(f"{project['path']}: {key} {period} yr {values[key]!r} but stored {row[column]!r}")
        if values["Cf"] != CF.get(period, 1.0) or values["CCf"] != min(values["Cf"] * project["C"], 1.0):
            fail(f"{project['path']}: Cf or C*Cf of {period} yr")
    basins = db.execute("SELECT Area, CVal, Tc FROM TblBasinInfo WHERE Deleted = 'False' ORDER BY rowid").fetchall()
    area = sum(float(a) for a, _, _ in basins)
    average_c = sum(float(a) / area * float(c) for a, c, _ in basins) if area else 0.0
    tc = {"overland": sum(float(t) for _, _, t in basins),
          "shallow": sum(float(t) for (t,) in db.execute("SELECT SurfTc FROM TblSurfaceInfo WHERE Deleted = 'False'")),
          "channel": sum(float(t) for (t,) in db.execute("SELECT ChannelTc FROM TblChannelInfo WHERE Deleted = 'False'"))}
    tc["total"] = tc["overland"] + tc["shallow"] + tc["channel"]
    close = lambda a, b: math.isclose(a, b, rel_tol=1e-12, abs_tol=1e-12)
    if not close(project["A"], area) or not close(project["C"], average_c):
        fail(f"{project['path']}: A {project['A']} C {project['C']}, rows give {area} {average_c}")
    for key, value in tc.items():
        if not close(project["Tc"][key], value):
            fail(f"{project['path']}: Tc {key} {project['Tc'][key]}, rows give {value}")
    location = db.execute("SELECT IntensityTable FROM TblNodeInfo").fetchone()[0]
    if project["location"] != location:
        fail(f"{project['path']}: location {project['location']}")


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        results = json.load(f)["projects"]
    solved = [p for p in results if p["solved"]]
    if not solved:
        fail("no project solved")
    for project in solved:
        check_project(project)
    with open(sys.argv[2], newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    expected = []
    for p in results:
        for values in p["periods"] or [None]:
            expected.append((p, values))
    if len(rows) != len(expected):
        fail(f"{len(rows)} CSV rows for {len(expected)} expected")
    for row, (p, values) in zip(rows, expected):
        if row["path"] != p["path"] or row["solved"] != ("true" if p["solved"] else "false"):
            fail(f"CSV row of {row['path']} out of place")
        if row["source"] != (p["source"] or "") or row["failure"] != (p["failure"] or ""):
            fail(f"CSV source or failure of {row['path']}")
        if values is None:
            if row["I"] or row["Q"] or not row["failure"]:
                fail(f"CSV row of the unsolved {row['path']}")
            continue
        # The same shortest texts: the CSV value reads back as the JSON one.
        pairs = [("A", p["A"]), ("C", p["C"]), ("Tc_total", p["Tc"]["total"]), ("return_period", values["returnPeriod"]),
                 ("Cf", values["Cf"]), ("C_Cf", values["CCf"]), ("I", values["I"]), ("Q", values["Q"])]
        for column, value in pairs:
            if float(row[column]) != float(value) or "," in row[column]:
                fail(f"CSV {column} of {row['path']}: {row[column]!r} vs {value!r}")
    print(f"{len(solved)} solved projects and {len(rows)} CSV rows match")


if __name__ == "__main__":
    main()
