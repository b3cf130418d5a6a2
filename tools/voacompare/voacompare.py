#!/usr/bin/env python3
"""Compares two propagation programs that take voacapl's command line.

Draws decks in the layouts Vantor writes (point-to-point METHOD 23 decks and
Method 30 area decks), runs each program on them in its own data folder,
reads the outputs by column and reports, per field and distance band, the
share of cells that agree.

  voacompare.py draw --seed 7 --point 20 --area 16,16,31 SET
  voacompare.py run --program voacapl --folder /tmp/a/itshfbc SET OUT_A
  voacompare.py compare SET OUT_A OUT_B
  voacompare.py check --program PROG --folder FOLDER SET REFERENCE_OUT
  voacompare.py pair --reference voacapl --reference-folder A --candidate PROG
                     --candidate-folder B SET OUT   (runs both, then compares)

SET holds manifest.json and the decks (point/*.dat, area/*.voa). An output
folder holds point/NAME.out and area/NAME.vg1, each possibly gzip-compressed
(NAME.out.gz). "check" runs the program (its outputs go to a temporary folder)
and compares them with the stored outputs; its exit status is 0 only when every field of every
cell meets its tolerance.
"""

import argparse
import gzip
import json
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

EARTH_RADIUS_KM = 6370.0
DISTANCE_BANDS = [(0, 1500), (1500, 4000), (4000, 7000), (7000, 10000), (10000, 14000), (14000, 20100)]
BAND_FREQUENCY = [3.5, 7.0, 10.0, 14.0, 18.0, 21.0, 24.0, 28.0]  # MHz, the amateur bands' centres
BAND_RANGE = [(2, 5), (5, 9), (9, 12), (12, 16), (16, 20), (20, 23), (23, 26), (26, 30)]
POWERS_W = [1, 5, 10, 50, 100, 400, 1000, 1500]
ANTENNA_FIELDS = {  # as the deck names them, relative to antennas/
    "iso": "default/isotrope",
    "t13": "Vantor/dipole10m.t13",
    "t14": "Vantor/dipole10m.t14",
}
ANTENNA_FILES = ["dipole10m.t13", "dipole10m.t14"]  # copied into antennas/Vantor/
AREA_SUBFOLDER = "vcmp"
RUN_TIMEOUT_S = 600

# Point output: the 5-character slots after the hour (2-6) and the MUF (7-11).
POINT_SLOTS = 11
POINT_FIELDS = ["MUF", "MODE", "TANGLE", "RANGLE", "SNR"]
# Area output (.vg1): 6-character fields from column 27, in this order.
AREA_FIELDS = ["MUF", "MODE", "ANGLE", "DELAY", "VHITE", "MUFda", "LOSS", "DBU", "SDBW", "NDBW", "SNR",
               "RPWRG", "REL", "MPROB", "SPROB", "TGAIN", "RGAIN", "SNRxx", "DU", "DL", "SIGLW", "SIGUP",
               "PWRCT", "ANGLER"]
# Tolerance of each field: MHz, degrees, dB, ms, km or a probability.
TOLERANCE = {"MUF": 0.1, "MODE": None, "TANGLE": 0.1, "RANGLE": 0.1, "ANGLE": 0.1, "ANGLER": 0.1,
             "DELAY": 0.1, "VHITE": 1.0, "MUFda": 0.01, "REL": 0.01, "MPROB": 0.01, "SPROB": 0.01,
             "PWRCT": 0.01}
DB_FIELDS = {"SNR", "LOSS", "DBU", "SDBW", "NDBW", "RPWRG", "TGAIN", "RGAIN", "SNRxx", "DU", "DL", "SIGLW",
             "SIGUP"}
for _f in DB_FIELDS:
    TOLERANCE[_f] = 1.0
BIG_DB = 3.0  # dB fields differing by more than this are listed one by one


# ----------------------------------------------------------------- geometry

def great_circle_km(lat1, lon1, lat2, lon2):
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dl = math.radians(lon2 - lon1)
    c = math.sin(p1) * math.sin(p2) + math.cos(p1) * math.cos(p2) * math.cos(dl)
    return EARTH_RADIUS_KM * math.acos(max(-1.0, min(1.0, c)))


def destination(lat, lon, azimuth_deg, km):
    p1, l1, az = math.radians(lat), math.radians(lon), math.radians(azimuth_deg)
    d = km / EARTH_RADIUS_KM
    p2 = math.asin(math.sin(p1) * math.cos(d) + math.cos(p1) * math.sin(d) * math.cos(az))
    l2 = l1 + math.atan2(math.sin(az) * math.sin(d) * math.cos(p1), math.cos(d) - math.sin(p1) * math.sin(p2))
    lon2 = (math.degrees(l2) + 540.0) % 360.0 - 180.0
    return math.degrees(p2), lon2


def distance_band(km):
    for k, (lo, hi) in enumerate(DISTANCE_BANDS):
        if lo <= km < hi:
            return k
    return len(DISTANCE_BANDS) - 1


def band_name(k):
    lo, hi = DISTANCE_BANDS[k]
    return "%d-%d km" % (lo, min(hi, 20000))


# -------------------------------------------------------------------- decks

def to_units(deg):
    """Degrees to the program's 1/180-degree integer."""
    return int(round(deg * 180.0))


def printed_degrees(units):
    """The coordinate as the deck prints it (two decimals of a float32 quotient)."""
    return float("%.2f" % (abs(units) / 180.0)) * (-1 if units < 0 else 1)


def coordinate(units, positive, negative):
    return "%6.2f" % (abs(units) / 180.0) + (negative if units < 0 else positive)


def kilowatts(watts, width):
    return "%*.4f" % (width, watts / 1000.0)


def random_location(rng):
    lat = math.degrees(math.asin(rng.uniform(-1.0, 1.0)))
    lon = rng.uniform(-180.0, 180.0)
    return to_units(lat), to_units(lon)


def draw_point(rng, name, band_index):
    """One point deck whose great-circle distance falls in the distance band."""
    lo, hi = DISTANCE_BANDS[band_index]
    hi = min(hi, 19900)
    while True:
        tx_lat, tx_lon = random_location(rng)
        lat, lon = destination(tx_lat / 180.0, tx_lon / 180.0, rng.uniform(0, 360), rng.uniform(lo, hi))
        rx_lat, rx_lon = to_units(lat), to_units(lon)
        if rx_lon == -180 * 180:
            rx_lon = 180 * 180
        km = great_circle_km(printed_degrees(tx_lat), printed_degrees(tx_lon), printed_degrees(rx_lat),
                             printed_degrees(rx_lon))
        if distance_band(km) == band_index:
            break
    return {
        "kind": "point", "name": name, "tx_lat": tx_lat, "tx_lon": tx_lon, "rx_lat": rx_lat, "rx_lon": rx_lon,
        "distance_km": round(km, 1), "year": rng.randint(2000, 2030), "month": rng.randint(1, 12),
        "ssn": rng.randint(0, 200), "power_w": rng.choice(POWERS_W), "long_path": rng.random() < 0.3,
        "tx_antennas": [rng.choice(sorted(ANTENNA_FIELDS)) for _ in BAND_RANGE],
        "rx_antennas": [rng.choice(sorted(ANTENNA_FIELDS)) for _ in BAND_RANGE],
    }


def draw_area(rng, name, grid):
    tx_lat, tx_lon = random_location(rng)
    return {
        "kind": "area", "name": name, "tx_lat": tx_lat, "tx_lon": tx_lon, "grid": grid,
        "month": rng.randint(1, 12), "ssn": rng.randint(0, 200), "hour": rng.randint(1, 24),
        "band": rng.randrange(len(BAND_FREQUENCY)), "power_w": rng.choice(POWERS_W),
        "long_path": rng.random() < 0.3, "tx_antenna": rng.choice(sorted(ANTENNA_FIELDS)),
        "rx_antenna": rng.choice(sorted(ANTENNA_FIELDS)),
    }


def draw_set(seed, point_count, area_grids, heldout=False):
    """Point decks spread evenly over the distance bands, then area decks."""
    rng = random.Random(("heldout:%d" if heldout else "set:%d") % seed)
    prefix = "h" if heldout else "t"
    decks = []
    for k in range(point_count):
        decks.append(draw_point(rng, "%sp%03d" % (prefix, k + 1), k % len(DISTANCE_BANDS)))
    for k, grid in enumerate(area_grids):
        decks.append(draw_area(rng, "%sa%03d" % (prefix, k + 1), grid))
    return decks


def antenna_field(kind):
    field = ANTENNA_FIELDS[kind]
    assert len(field) <= 21
    return field.ljust(21)


def point_deck_text(d):
    """The deck as Vantor writes it (src/engine/Decks.cpp), CR LF line ends."""
    lines = [
        "LINEMAX      99",
        "COEFFS    CCIR",
        "TIME          1   24    1    1",
        "SYSTEM       1. 145. 3.00  90. 67.0 3.00 0.10",
        "FPROB      1.00 1.00 1.00 0.00",
        "LABEL     HOME                DX",
        "CIRCUIT  " + coordinate(d["tx_lat"], "N", "S") + "   " + coordinate(d["tx_lon"], "E", "W") + "   " +
        coordinate(d["rx_lat"], "N", "S") + "   " + coordinate(d["rx_lon"], "E", "W") + "  " +
        ("L     1" if d["long_path"] else "S     0"),
        "MONTH      %d%5.2f" % (d["year"], d["month"]),
        "SUNSPOT    %3d." % d["ssn"],
    ]
    for transmit in (True, False):
        kinds = d["tx_antennas"] if transmit else d["rx_antennas"]
        for b, (lo, hi) in enumerate(BAND_RANGE):
            line = "ANTENNA       %s%5d%5d%5d     0.000[%s]  0.0" % (
                "1" if transmit else "2", b + 1 if transmit else b + 9, lo, hi, antenna_field(kinds[b]))
            if transmit:
                line += kilowatts(d["power_w"], 10)
            lines.append(line)
    lines += ["FREQUENCY  -1", "METHOD       23    0", "BOTLINES      1   2   10", "EXECUTE"]
    return "\r\n".join(lines) + "\r\nQUIT"


def area_deck_text(d):
    zeros = "   0.00" * 8
    lines = [
        "Model    :VOACAP",
        "Area     :    -180.0     180.0     -90.0      90.0",
        "Method   :   30",
        "Coeffs   :CCIR",
        "Fprob    : 1.00 1.00 1.00 0.00",
        "System   :  145     3.000   90   67     3.000     0.100",
        "Transmit :" + coordinate(d["tx_lat"], "N", "S") + "   " + coordinate(d["tx_lon"], "E", "W") +
        "   HOME                 " + ("Long " if d["long_path"] else "Short"),
        "Gridsize :  %3d    1" % d["grid"],
        "Months   :  %2d.00" % d["month"] + zeros,
        "Ssns     :    %3d" % d["ssn"] + "      0" * 8,
        "Hours    :     %2d" % d["hour"] + "      0" * 8,
        "Freqs    : %6.3f" % BAND_FREQUENCY[d["band"]] + "  0.000" * 8,
        "Rec Ants :[" + antenna_field(d["rx_antenna"]) + "]  gain=   0.0   0.0",
        "Tx Ants  :[" + antenna_field(d["tx_antenna"]) + "]  0.000   0.0    " + kilowatts(d["power_w"], 7),
    ]
    return "".join(line + "\r\n" for line in lines)


def deck_path(set_dir, d):
    return os.path.join(set_dir, "point", d["name"] + ".dat") if d["kind"] == "point" else \
        os.path.join(set_dir, "area", d["name"] + ".voa")


def write_set(set_dir, decks, seed, heldout):
    os.makedirs(os.path.join(set_dir, "point"), exist_ok=True)
    os.makedirs(os.path.join(set_dir, "area"), exist_ok=True)
    for d in decks:
        text = point_deck_text(d) if d["kind"] == "point" else area_deck_text(d)
        with open(deck_path(set_dir, d), "wb") as f:
            f.write(text.encode("ascii"))
    manifest = {"seed": seed, "heldout": heldout, "decks": decks}
    with open(os.path.join(set_dir, "manifest.json"), "w") as f:
        json.dump(manifest, f, indent=1)


def read_manifest(set_dir):
    with open(os.path.join(set_dir, "manifest.json")) as f:
        return json.load(f)


# ------------------------------------------------------------------ running

ISOTROPE = "ISOTROPE\r\n 2     2 parameters\r\n  0.00  [ 1] Max Gain dBi..:\r\n   0    [ 2] Antenna Type..:\r\n"
VERSION_FILE = "Version 16.1207W\n"


def prepare_folder(folder, antenna_dir):
    """Puts the antenna files where the decks name them. A folder that lacks
    them also gets the isotrope (antenna type 0), the version file and the run
    and area folders: enough for a program that brings its own model data."""
    target = os.path.join(folder, "antennas", "Vantor")
    os.makedirs(target, exist_ok=True)
    for name in ANTENNA_FILES:
        shutil.copyfile(os.path.join(antenna_dir, name), os.path.join(target, name))
    os.makedirs(os.path.join(folder, "areadata", AREA_SUBFOLDER), exist_ok=True)
    os.makedirs(os.path.join(folder, "run"), exist_ok=True)
    for path, text in ((os.path.join("antennas", "default", "isotrope"), ISOTROPE),
                       (os.path.join("database", "version.w32"), VERSION_FILE)):
        path = os.path.join(folder, path)
        if not os.path.exists(path):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(text.encode("ascii"))


def run_program(args):
    """Runs with stdin at end of file: a PAUSE in the program then ends it."""
    return subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=RUN_TIMEOUT_S)


def run_deck(program, folder, set_dir, d):
    """Runs one deck; returns (output bytes or None, error text)."""
    with open(deck_path(set_dir, d), "rb") as f:
        deck = f.read()
    if d["kind"] == "point":
        deck_name, out_name = d["name"] + ".dat", d["name"] + ".out"
        run_dir = os.path.join(folder, "run")
        out_path = os.path.join(run_dir, out_name)
        args = [program, "-s", folder, deck_name, out_name]
    else:
        run_dir = os.path.join(folder, "areadata", AREA_SUBFOLDER)
        out_path = os.path.join(run_dir, d["name"] + ".vg1")
        args = [program, "-s", folder, "area", "calc", AREA_SUBFOLDER + "/" + d["name"] + ".voa"]
        deck_name = d["name"] + ".voa"
    with open(os.path.join(run_dir, deck_name), "wb") as f:
        f.write(deck)
    if os.path.exists(out_path):
        os.remove(out_path)
    try:
        result = run_program(args)
    except subprocess.TimeoutExpired:
        return None, "timed out"
    if not os.path.exists(out_path):
        return None, "no output (exit %d): %s" % (result.returncode, result.stdout.decode(errors="replace")[-300:])
    with open(out_path, "rb") as f:
        out = f.read()
    text = out.decode("latin-1")
    if d["kind"] == "point" and "*****END OF RUN*****" not in text:
        return None, "output without its END OF RUN line"
    if d["kind"] == "area" and len(text.splitlines()) != 3 + d["grid"] ** 2:
        return None, "area output of %d lines" % len(text.splitlines())
    return out, ""


def output_path(out_dir, d):
    sub, ext = ("point", ".out") if d["kind"] == "point" else ("area", ".vg1")
    return os.path.join(out_dir, sub, d["name"] + ext)


def read_output(out_dir, d):
    """The output's text, from NAME.ext or NAME.ext.gz; None if neither exists."""
    path = output_path(out_dir, d)
    if os.path.exists(path):
        with open(path, "rb") as f:
            return f.read().decode("latin-1")
    if os.path.exists(path + ".gz"):
        with gzip.open(path + ".gz", "rb") as f:
            return f.read().decode("latin-1")
    return None


def run_set(program, folder, set_dir, out_dir, antenna_dir, compress):
    prepare_folder(folder, antenna_dir)
    failures = 0
    for d in read_manifest(set_dir)["decks"]:
        out, error = run_deck(program, folder, set_dir, d)
        if out is None:
            print("%s: %s" % (d["name"], error), file=sys.stderr)
            failures += 1
            continue
        path = output_path(out_dir, d)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if compress:
            with open(path + ".gz", "wb") as raw:  # mtime 0: the same output gives the same bytes
                with gzip.GzipFile(fileobj=raw, mode="wb", mtime=0, filename="") as f:
                    f.write(out)
        else:
            with open(path, "wb") as f:
                f.write(out)
    return failures


# ------------------------------------------------------------------ parsing

def parse_point(text):
    """{'MUF': {(hour, first MHz of the sweep): text}, (hour, MHz): {'MODE': text, ...}}.

    Hour blocks start with a line whose columns 68-71 say FREQ; the tag lines
    after it (MODE, TANGLE, RANGLE, SNR in columns 68-73) hold their values in
    the same 5-character slots. Slots whose frequency is 0.0 are unused.
    """
    cells = {"MUF": {}}
    hour = None
    freqs = []
    for line in text.splitlines():
        tag = line[67:73].rstrip()
        if tag == "FREQ":
            hour = int(round(float(line[1:6])))
            freqs = []
            for k in range(POINT_SLOTS):
                f = float(line[11 + 5 * k:16 + 5 * k])
                freqs.append(int(round(f)) if f > 0 else None)
            cells["MUF"][(hour, freqs[0])] = line[6:11].strip()  # once per sweep
        elif tag in ("MODE", "TANGLE", "RANGLE", "SNR") and hour is not None:
            for k, f in enumerate(freqs):
                if f is not None:
                    cells.setdefault((hour, f), {})[tag] = line[11 + 5 * k:16 + 5 * k].strip()
        elif not line.strip():
            hour = None
    return cells


def parse_area(text):
    """(n, {(i, j): {field: text}}) of a .vg1 file, read by column."""
    lines = text.splitlines()
    n = int(lines[2][0:3])
    cells = {}
    for line in lines[3:]:
        if not line.strip():
            continue
        i, j = int(line[0:3]), int(line[3:6])
        cells[(i, j)] = {name: line[26 + 6 * k:32 + 6 * k].strip() for k, name in enumerate(AREA_FIELDS)}
    return n, cells


def area_cell_location(n, i, j):
    return -90.0 + (j - 1) * 180.0 / (n - 1), -180.0 + (i - 1) * 360.0 / (n - 1)


# --------------------------------------------------------------- comparison

def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def agree(field, a, b):
    """(exact, within tolerance, difference or None)."""
    if a == b:
        return True, True, 0.0
    tol = TOLERANCE.get(field)
    x, y = number(a), number(b)
    if tol is None or x is None or y is None:
        return False, False, None
    diff = y - x
    return False, abs(diff) <= tol + 1e-9, diff


class Tally:
    """Counts per (field, distance band): cells, exact, within tolerance."""

    def __init__(self):
        self.counts = {}
        self.big = []  # (deck, where, field, reference, candidate)

    def add(self, field, band, exact, within):
        c = self.counts.setdefault((field, band), [0, 0, 0])
        c[0] += 1
        c[1] += exact
        c[2] += within

    def compare(self, deck, where, field, band, a, b):
        if a in ("", "-") and b in ("", "-"):
            return  # an unused slot in both
        exact, within, diff = agree(field, a, b)
        self.add(field, band, exact, within)
        if field in DB_FIELDS and not exact and (diff is None or abs(diff) > BIG_DB):
            self.big.append((deck, where, field, a, b))

    def perfect(self):
        return all(c[2] == c[0] for c in self.counts.values())


def compare_point(tally, d, ref, cand):
    band = distance_band(d["distance_km"])
    for key in sorted(set(ref["MUF"]) | set(cand["MUF"])):
        tally.compare(d["name"], "hour %d from %d MHz" % key, "MUF", band, ref["MUF"].get(key, "missing"),
                      cand["MUF"].get(key, "missing"))
    keys = sorted(k for k in set(ref) | set(cand) if k != "MUF")
    for key in keys:
        a, b = ref.get(key, {}), cand.get(key, {})
        for field in ("MODE", "TANGLE", "RANGLE", "SNR"):
            if field in a or field in b:
                tally.compare(d["name"], "hour %d %d MHz" % key, field, band, a.get(field, "missing"),
                              b.get(field, "missing"))


def compare_area(tally, d, ref, cand):
    n, a = ref
    m, b = cand
    if n != m:
        for field in AREA_FIELDS:
            tally.add(field, 0, False, False)
        return
    tx_lat, tx_lon = printed_degrees(d["tx_lat"]), printed_degrees(d["tx_lon"])
    for key in sorted(set(a) | set(b)):
        lat, lon = area_cell_location(n, *key)
        band = distance_band(great_circle_km(tx_lat, tx_lon, lat, lon))
        for field in AREA_FIELDS:
            tally.compare(d["name"], "cell %d,%d" % key, field, band, a.get(key, {}).get(field, "missing"),
                          b.get(key, {}).get(field, "missing"))


def compare_sets(set_dir, ref_dir, cand_dir):
    """Tallies of the point and the area decks, and the decks without outputs."""
    point, area = Tally(), Tally()
    missing = []
    for d in read_manifest(set_dir)["decks"]:
        a, b = read_output(ref_dir, d), read_output(cand_dir, d)
        if a is None or b is None:
            missing.append(d["name"])
            continue
        if d["kind"] == "point":
            compare_point(point, d, parse_point(a), parse_point(b))
        else:
            compare_area(area, d, parse_area(a), parse_area(b))
    return point, area, missing


def format_tally(title, tally, fields, max_list):
    out = ["%s: share of cells exactly equal / within tolerance, by distance band" % title]
    bands = sorted({band for (_, band) in tally.counts})
    header = "%-7s %-6s" % ("field", "tol") + "".join("%22s" % band_name(b) for b in bands) + "%24s" % "all"
    out.append(header)
    for field in fields:
        tol = TOLERANCE.get(field)
        row = "%-7s %-6s" % (field, "exact" if tol is None else "%g" % tol)
        total = [0, 0, 0]
        if not any((field, b) in tally.counts for b in bands):
            continue
        for b in bands:
            c = tally.counts.get((field, b), [0, 0, 0])
            total = [x + y for x, y in zip(total, c)]
            row += "%22s" % cell_text(c)
        row += "%24s" % cell_text(total)
        out.append(row)
    out.append("%d cells differ by more than %g dB%s" % (len(tally.big), BIG_DB, ":" if tally.big else ""))
    for deck, where, field, a, b in tally.big[:max_list]:
        out.append("  %s %s %s: %s -> %s" % (deck, where, field, a, b))
    if len(tally.big) > max_list:
        out.append("  ... and %d more" % (len(tally.big) - max_list))
    return "\n".join(out)


def cell_text(c):
    if c[0] == 0:
        return "-"
    return "%.1f%%/%.1f%% of %d" % (100.0 * c[1] / c[0], 100.0 * c[2] / c[0], c[0])


def report(set_dir, ref_dir, cand_dir, max_list=40):
    point, area, missing = compare_sets(set_dir, ref_dir, cand_dir)
    parts = []
    if point.counts:
        parts.append(format_tally("Point decks", point, POINT_FIELDS, max_list))
    if area.counts:
        parts.append(format_tally("Area decks", area, AREA_FIELDS, max_list))
    if missing:
        parts.append("decks without an output on one side: " + " ".join(missing))
    ok = not missing and point.perfect() and area.perfect()
    return "\n\n".join(parts), ok


# ----------------------------------------------------------------- commands

def default_antenna_dir():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.normpath(os.path.join(here, "..", "..", "tests", "fixtures", "voacap", "antennas"))


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = p.add_subparsers(dest="command", required=True)
    d = sub.add_parser("draw", help="draw a set of decks")
    d.add_argument("--seed", type=int, default=1)
    d.add_argument("--heldout", action="store_true", help="the held-out set of this seed (other decks)")
    d.add_argument("--point", type=int, default=24, help="point decks, spread over the distance bands")
    d.add_argument("--area", default="16,16,31", help="grid sizes of the area decks, comma-separated")
    d.add_argument("set_dir")
    for name in ("run", "check"):
        r = sub.add_parser(name, help="run a program on a set" if name == "run" else
                           "run a program and compare with stored outputs")
        r.add_argument("--program", required=True)
        r.add_argument("--folder", required=True, help="the program's own data folder (itshfbc)")
        r.add_argument("--antennas", default=default_antenna_dir())
        r.add_argument("set_dir")
        r.add_argument("out_dir")
        if name == "run":
            r.add_argument("--gzip", action="store_true", help="store outputs gzip-compressed")
        else:
            r.add_argument("--max-list", type=int, default=40)
            r.add_argument("--keep", action="store_true", help="keep the program's outputs")
    pr = sub.add_parser("pair", help="run two programs on a set, each in its own data folder, and compare")
    for side in ("reference", "candidate"):
        pr.add_argument("--" + side, required=True, help="the %s program" % side)
        pr.add_argument("--%s-folder" % side, required=True, help="its own data folder (itshfbc)")
    pr.add_argument("--antennas", default=default_antenna_dir())
    pr.add_argument("--max-list", type=int, default=40)
    pr.add_argument("set_dir")
    pr.add_argument("out_dir", help="receives reference/ and candidate/ outputs")
    c = sub.add_parser("compare", help="compare two output folders of a set")
    c.add_argument("set_dir")
    c.add_argument("reference")
    c.add_argument("candidate")
    c.add_argument("--max-list", type=int, default=40)
    a = p.parse_args(argv)

    if a.command == "draw":
        grids = [int(g) for g in a.area.split(",") if g.strip()]
        decks = draw_set(a.seed, a.point, grids, a.heldout)
        write_set(a.set_dir, decks, a.seed, a.heldout)
        print("%d decks in %s" % (len(decks), a.set_dir))
        return 0
    if a.command == "run":
        failures = run_set(a.program, os.path.abspath(a.folder).rstrip("/"), a.set_dir, a.out_dir, a.antennas,
                           a.gzip)
        return 1 if failures else 0
    if a.command == "check":
        scratch = tempfile.mkdtemp(prefix="voacompare-")
        try:
            failures = run_set(a.program, os.path.abspath(a.folder).rstrip("/"), a.set_dir, scratch, a.antennas,
                               False)
            text, ok = report(a.set_dir, a.out_dir, scratch, a.max_list)
        finally:
            if a.keep:
                print("outputs kept in " + scratch)
            else:
                shutil.rmtree(scratch, ignore_errors=True)
        print(text)
        return 0 if ok and not failures else 1
    if a.command == "pair":
        folders = (os.path.abspath(a.reference_folder).rstrip("/"), os.path.abspath(a.candidate_folder).rstrip("/"))
        if folders[0] == folders[1]:
            print("the two programs need separate data folders", file=sys.stderr)
            return 2
        failures = 0
        for program, folder, side in ((a.reference, folders[0], "reference"), (a.candidate, folders[1], "candidate")):
            failures += run_set(program, folder, a.set_dir, os.path.join(a.out_dir, side), a.antennas, False)
        text, ok = report(a.set_dir, os.path.join(a.out_dir, "reference"), os.path.join(a.out_dir, "candidate"),
                          a.max_list)
        print(text)
        return 0 if ok and not failures else 1
    text, ok = report(a.set_dir, a.reference, a.candidate, a.max_list)
    print(text)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
