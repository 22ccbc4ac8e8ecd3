#!/usr/bin/env python3
"""The batch solve written plainly in Python with the standard sqlite3 module, for the timings.

usage: python_solve.py DATA_FOLDER REPORT_FOLDER PROJECT.rmt...

For each project, as `pluvane-cli solve ... --text FOLDER` does: read the node's rainfall
location and the live element rows, total A, the area-weighted C and the three Tc subtotals,
read the location's table from DATA_FOLDER/intensity.mdb, interpolate the seven intensities at
Tc, compute Q = A * I * min(Cf * C, 1), store the single TblResults row in one transaction and
write a plain-text report named after the project. Prints one line per project.
"""
import os
import sqlite3
import sys

PERIODS = [1, 2, 5, 10, 25, 50, 100]
CF = {25: 1.1, 50: 1.2, 100: 1.25}


def live_rows(db, table):
    cursor = db.execute(f"SELECT * FROM {table} WHERE Deleted = 'False' ORDER BY rowid")
    names = [d[0] for d in cursor.description]
    return [dict(zip(names, row)) for row in cursor]


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return 0.0


def intensities(rows, tc_hours):
    durations = [number(r[1]) for r in rows]
    for b, duration in enumerate(durations):
        if tc_hours < duration:
            break
    else:
        return [number(v) for v in rows[-1][2:]]
    if b == 0:
        return [number(v) for v in rows[0][2:]]
    lower, upper = rows[b - 1], rows[b]
    d0, d1 = durations[b - 1], durations[b]
    return [number(l) + (number(u) - number(l)) * (tc_hours - d0) / (d1 - d0)
            for l, u in zip(lower[2:], upper[2:])]


def solve(data_folder, report_folder, path):
    db = sqlite3.connect(path)
    location = db.execute("SELECT IntensityTable FROM TblNodeInfo ORDER BY rowid LIMIT 1").fetchone()[0]
    project = db.execute("SELECT * FROM TblProjectInfo ORDER BY rowid DESC LIMIT 1").fetchone()
    basins = live_rows(db, "TblBasinInfo")
    surfaces = live_rows(db, "TblSurfaceInfo")
    channels = live_rows(db, "TblChannelInfo")
    area = sum(number(b["Area"]) for b in basins)
    average_c = sum(number(b["Area"]) / area * number(b["CVal"]) for b in basins) if area else 0.0
    tc = [sum(number(b["Tc"]) for b in basins), sum(number(s["SurfTc"]) for s in surfaces),
          sum(number(c["ChannelTc"]) for c in channels)]
    total_tc = sum(tc)

    rain = sqlite3.connect(os.path.join(data_folder, "intensity.mdb"))
    table = '"' + location.replace('"', '""') + '"'
    rows = rain.execute(f"SELECT * FROM {table} ORDER BY ID").fetchall()
    rain.close()
    i_values = intensities(rows, total_tc / 60.0)
    q_values = [area * i * min(CF.get(p, 1.0) * average_c, 1.0) for p, i in zip(PERIODS, i_values)]

    texts = [f"{i_values[0]:.4f}"] + [repr(v) for v in i_values[1:]] + [f"{q_values[0]:.4f}"] + [repr(v) for v in q_values[1:]]
    columns = [f"Ival_{p}" for p in PERIODS] + [f"Qpeak_{p}" for p in PERIODS]
    with db:
        if db.execute("SELECT rowid FROM TblResults LIMIT 1").fetchone():
            db.execute("UPDATE TblResults SET " + ", ".join(c + " = ?" for c in columns), texts)
        else:
            db.execute(f"INSERT INTO TblResults ({', '.join(columns)}) VALUES ({', '.join('?' * len(columns))})", texts)
    db.close()

    lines = ["  Pluvane  Version 1.1 Beta", ""]
    for label, value in zip(["Project Name:", "Design Engineer:", "Project Manager:", "Design Date:", "Job Number:"],
                            project or [""] * 5):
        lines.append(f"{label}\t{value}")
    lines += ["-" * 65, "", "Overland Flow", "", "Name\tArea\tSlope\tL\tType\tn\tTc"]
    lines += [f"{b['BasinName'][:13]}\t{number(b['Area']):g}\t{number(b['Slope']):g}\t{number(b['TravelLength']):g}\t"
              f"{b['BasinNType'][:13]}\t{number(b['BasinN']):g}\t{number(b['Tc']):g}" for b in basins]
    lines += ["", "Average Runoff Coefficient", "", "Name\tUse\ta\ta/A\tC\tCA"]
    lines += [f"{b['BasinName'][:15]}\t{b['SoilType'][:15]}\t{number(b['Area']):g}\t{number(b['Area']) / area:.3f}\t"
              f"{number(b['CVal']):g}\t{number(b['Area']) / area * number(b['CVal']):.4f}" for b in basins]
    lines += [f"TOTAL\t\t{area:g}\t\t\t{average_c:.4f}", "", "Shallow Concentrated Flow", "",
              "Name\tType\tSlope \tLength\tV(fps)\tTc(min)"]
    lines += [f"{s['SurfName'][:15]}\t{s['SurfType'][:15]}\t{number(s['SurfSlope']):g}\t{number(s['SurfLength']):g}\t"
              f"{number(s['SurfVelocity']):g}\t{number(s['SurfTc']):g}" for s in surfaces]
    lines += ["", "Channel Flow", "", "Name\tL\tn\tMaterial\tS\tA\tWP\tV\tTc"]
    lines += [f"{c['ChannelName'][:11]}\t{number(c['ChannelLength']):g}\t{number(c['ChannelN']):g}\t"
              f"{c['ChannelMaterial'][:11]}\t{number(c['ChannelSlope']):g}\t{number(c['ChannelArea']):g}\t"
              f"{number(c['ChannelWP']):g}\t{number(c['ChannelVelocity']):.2f}\t{number(c['ChannelTc']):g}"
              for c in channels]
    lines += ["", "Runoff Rate Calculations", "", f"Overland Flow Tc \t: {tc[0]:g}",
              f"Shallow Concentrated Flow Tc\t: {tc[1]:g}", f"Channel Flow Tc\t: {tc[2]:g}",
              f"TOTAL Tc (min)\t: {total_tc:g}", "", "Q = C * Cf * A * I", "",
              "\t1Yr\t2Yr\t5Yr\t10Yr\t25Yr\t50Yr\t100Yr",
              "I(in/hr)\t" + "\t".join(f"{v:.2f}" for v in i_values),
              "Q(cfs)\t" + "\t".join(f"{v:.2f}" for v in q_values)]
    name = os.path.splitext(os.path.basename(path))[0]
    target = os.path.join(report_folder, name + ".txt")
    with open(target + ".part", "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(target + ".part", target)
    print(f"{path}: {location}, Q (cfs) " + " ".join(f"{q:.2f}" for q in q_values))


def main():
    data_folder, report_folder, projects = sys.argv[1], sys.argv[2], sys.argv[3:]
    for path in projects:
        solve(data_folder, report_folder, path)


if __name__ == "__main__":
    main()
