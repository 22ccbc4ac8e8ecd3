#!/usr/bin/env python3
"""Writes COUNT project files of ELEMENTS live elements each for the batch timings.

usage: make_projects.py BIN_DIR OUT_DIR [--count 200] [--elements 60] [--seed 16]

Each project is a copy of BIN_DIR/empty.mdb with a project row, a node row naming one of the
shipped rainfall locations and the element rows as the dialogs write them (every value a text,
Deleted = 'False'), spread evenly over the three kinds. The same seed gives the same files.
"""
import argparse
import os
import random
import shutil
import sqlite3

LOCATIONS = ["Atlanta", "Fort Myers", "Lake Houston"]
SOILS = [("Residential: Single Family areas", "0.40"), ("Parks, cemeteries", "0.18"),
         ("Business: Neighborhood areas", "0.60"), ("Streets: Asphaltic", "0.85")]
SURFACES = [("Smooth Surfaces (Asphalt, concrete, gravel, bare soil)", "0.011"),
            ("Grass, Short grass, prairie", "0.15")]


def text(value, decimals):
    return f"{value:.{decimals}f}"


def write_project(path, template, index, elements, rng):
    shutil.copyfile(template, path + ".part")
    db = sqlite3.connect(path + ".part")
    location = LOCATIONS[index % len(LOCATIONS)]
    db.execute("INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, "
               "IValueBasinName) VALUES (?, ?, ?, ?, ?, ?)",
               (f"Batch site {index + 1}", "A. Engineer, P.E.", "B. Manager", "2026-12-08", f"B-{index + 1:04d}",
                location))
    db.execute("INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES (?, ?, ?, ?)",
               ("Outfall", location, "5040", "5160"))
    per_kind = [elements // 3 + (1 if k < elements % 3 else 0) for k in range(3)]
    for n in range(per_kind[0]):
        soil, c = rng.choice(SOILS)
        surface, manning = rng.choice(SURFACES)
        db.execute("INSERT INTO TblBasinInfo (BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, "
                   "TravelLength, Deleted, BasinNType, BasinN, Tc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'False', ?, ?, ?)",
                   (f"Basin{n + 1}", f"Sub-basin {n + 1}", str(480 * (n + 1)), "840", text(rng.uniform(0.2, 3.0), 2),
                    soil, c, text(rng.uniform(0.005, 0.04), 3), str(rng.randrange(50, 300, 10)), surface, manning,
                    text(rng.uniform(0.3, 2.5), 4)))
    for n in range(per_kind[1]):
        db.execute("INSERT INTO TblSurfaceInfo (SurfTag, SurfName, SurfX, SurfY, SurfSlope, SurfLength, Deleted, "
                   "SurfVelocity, SurfType, SurfTc) VALUES (?, ?, ?, ?, ?, ?, 'False', ?, ?, ?)",
                   (f"Surface{n + 1}", f"Path {n + 1}", str(480 * (n + 1)), "2500", text(rng.uniform(0.005, 0.03), 3),
                    str(rng.randrange(100, 500, 10)), text(rng.uniform(1.0, 3.5), 4), rng.choice(["Paved", "Unpaved"]),
                    text(rng.uniform(0.2, 1.5), 4)))
    for n in range(per_kind[2]):
        db.execute("INSERT INTO TblChannelInfo (ChannelTag, ChannelName, ChannelLeft, ChannelTop, ChannelArea, "
                   "ChannelWP, ChannelSlope, ChannelLength, ChannelMaterial, ChannelN, Deleted, ChannelVelocity, "
                   "ChannelTc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'False', ?, ?)",
                   (f"Channel{n + 1}", f"Reach {n + 1}", str(480 * (n + 1)), "4000", text(rng.uniform(1.0, 6.0), 2),
                    text(rng.uniform(4.0, 9.0), 2), text(rng.uniform(0.002, 0.02), 3), str(rng.randrange(50, 400, 10)),
                    "Concrete Channel", "0.013", text(rng.uniform(2.0, 8.0), 4), text(rng.uniform(0.1, 1.0), 4)))
    db.commit()
    db.close()
    os.replace(path + ".part", path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bin_dir")
    parser.add_argument("out_dir")
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--elements", type=int, default=60)
    parser.add_argument("--seed", type=int, default=16)
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    rng = random.Random(args.seed)
    template = os.path.join(args.bin_dir, "empty.mdb")
    for index in range(args.count):
        write_project(os.path.join(args.out_dir, f"site-{index + 1:03d}.rmt"), template, index, args.elements, rng)
    print(f"Wrote {args.count} projects of {args.elements} elements to {args.out_dir}")


if __name__ == "__main__":
    main()
