#!/usr/bin/env python3
"""The comparison harness without any propagation program: its decks against
decks Vantor wrote, its column reading against real outputs, and its tallies
on an output compared with itself and with a changed copy."""

import os
import random
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tools", "voacompare"))
import voacompare as vc  # noqa: E402

FIXTURES = os.path.join(SOURCE, "tests", "fixtures", "voacap")


def read(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def replace_slot(line, start, width, text):
    """The line with columns start..start+width-1 (0-based start) replaced."""
    return line[:start] + text.rjust(width) + line[start + width:]


class Decks(unittest.TestCase):
    def home_to_london(self):
        return {"tx_lat": 44 * 180, "tx_lon": -79 * 180, "rx_lat": 51 * 180, "rx_lon": 0, "year": 2008,
                "month": 3, "ssn": 50, "power_w": 100, "long_path": False, "tx_antennas": ["iso"] * 8,
                "rx_antennas": ["iso"] * 8}

    def test_point_deck_is_byte_for_byte_what_vantor_wrote(self):
        self.assertEqual(vc.point_deck_text(self.home_to_london()), read(os.path.join(FIXTURES, "p2p", "p2p01.dat")))

    def test_area_deck_is_byte_for_byte_what_vantor_wrote(self):
        d = {"tx_lat": 44 * 180, "tx_lon": -79 * 180, "grid": 31, "month": 3, "ssn": 50, "hour": 12, "band": 3,
             "power_w": 100, "long_path": False, "tx_antenna": "iso", "rx_antenna": "iso"}
        self.assertEqual(vc.area_deck_text(d), read(os.path.join(FIXTURES, "area", "x31.voa")))

    def test_fields_of_other_values_keep_their_columns(self):
        d = self.home_to_london()
        d.update(tx_lat=-(12 * 180 + 37), tx_lon=179 * 180 + 179, rx_lat=-(89 * 180), rx_lon=-5, month=11, ssn=7,
                 power_w=1500, long_path=True, tx_antennas=["t13"] * 8, rx_antennas=["t14"] * 8)
        lines = vc.point_deck_text(d).split("\r\n")
        self.assertEqual(lines[6], "CIRCUIT   12.21S   179.99E    89.00S     0.03W  L     1")
        self.assertEqual(lines[7], "MONTH      200811.00")
        self.assertEqual(lines[8], "SUNSPOT      7.")
        self.assertEqual(lines[9], "ANTENNA       1    1    2    5     0.000[Vantor/dipole10m.t13 ]  0.0    1.5000")
        self.assertEqual(lines[24], "ANTENNA       2   16   26   30     0.000[Vantor/dipole10m.t14 ]  0.0")


class Drawing(unittest.TestCase):
    def test_a_seed_gives_the_same_decks_and_the_held_out_set_others(self):
        a = vc.draw_set(5, 12, [16, 31])
        self.assertEqual(a, vc.draw_set(5, 12, [16, 31]))
        held = vc.draw_set(5, 12, [16, 31], heldout=True)
        self.assertTrue(all(d["name"].startswith("h") for d in held))
        self.assertFalse({(d["tx_lat"], d["tx_lon"]) for d in a} & {(d["tx_lat"], d["tx_lon"]) for d in held})
        self.assertNotEqual(a, vc.draw_set(6, 12, [16, 31]))

    def test_point_decks_fill_every_distance_band_evenly(self):
        decks = vc.draw_set(11, 30, [])
        counts = [0] * len(vc.DISTANCE_BANDS)
        for d in decks:
            band = vc.distance_band(d["distance_km"])
            counts[band] += 1
            lo, hi = vc.DISTANCE_BANDS[band]
            self.assertTrue(lo <= d["distance_km"] < hi)
            self.assertTrue(0 <= d["ssn"] <= 200 and 1 <= d["month"] <= 12)
        self.assertEqual(counts, [5] * 6)

    def test_destination_lies_at_the_distance_asked(self):
        rng = random.Random(1)
        for _ in range(200):
            lat, lon = rng.uniform(-89, 89), rng.uniform(-180, 180)
            km = rng.uniform(0, 19900)
            lat2, lon2 = vc.destination(lat, lon, rng.uniform(0, 360), km)
            self.assertAlmostEqual(vc.great_circle_km(lat, lon, lat2, lon2), km, delta=0.01)
            self.assertTrue(-180 <= lon2 < 180)


class Parsing(unittest.TestCase):
    def test_point_output_by_column(self):
        cells = vc.parse_point(read(os.path.join(FIXTURES, "p2p", "p2p01.out")))
        hours_freqs = [k for k in cells if k != "MUF"]
        self.assertEqual(len(hours_freqs), 24 * 29)
        self.assertEqual(len(cells["MUF"]), 24 * 3)
        self.assertEqual(cells["MUF"][(1, 2)], "10.6")
        self.assertEqual(cells[(1, 2)], {"MODE": "2F2", "TANGLE": "7.8", "SNR": "-7"})
        self.assertEqual(cells[(6, 2)]["MODE"], "4 E")
        self.assertEqual(cells[(24, 30)].keys(), {"MODE", "TANGLE", "SNR"})

    def test_long_model_adds_receive_angles(self):
        cells = vc.parse_point(read(os.path.join(FIXTURES, "p2p", "p2p02.out")))
        with_rangle = [k for k in cells if k != "MUF" and "RANGLE" in cells[k]]
        self.assertEqual(len(with_rangle), 24 * 29)
        self.assertEqual(len(cells), 1 + 24 * 29)

    def test_touching_values_are_read_by_column(self):
        freq = "   5.0  9.1  2.0  3.0  4.0  5.0  6.0  7.0  8.0  9.0 10.0  0.0  0.0 FREQ"
        snr = ("      " + "   20" + "  -35" + "-2189" + "-1571" + "   26   30   32   32   26    4" + "   - " * 2 +
               " SNR   ")
        cells = vc.parse_point(freq + "\n" + snr + "\n")
        self.assertEqual(cells[(5, 2)]["SNR"], "-35")
        self.assertEqual(cells[(5, 3)]["SNR"], "-2189")
        self.assertEqual(cells[(5, 4)]["SNR"], "-1571")
        self.assertEqual(sorted(k for k in cells if k != "MUF"), [(5, f) for f in range(2, 11)])

    def test_area_output_by_column(self):
        n, cells = vc.parse_area(read(os.path.join(FIXTURES, "area", "x16.vg1")))
        self.assertEqual(n, 16)
        self.assertEqual(len(cells), 256)
        first = cells[(1, 1)]
        self.assertEqual((first["MUF"], first["MODE"], first["ANGLE"]), ("14.24", "F2F2", "10.00"))
        self.assertEqual((first["DBU"], first["SDBW"], first["NDBW"], first["SNR"]), ("-24.5", "-154.6", "-163.2", "8.6"))
        self.assertEqual(first["ANGLER"], "3.00")
        self.assertEqual(vc.area_cell_location(16, 1, 1), (-90.0, -180.0))
        self.assertEqual(vc.area_cell_location(16, 16, 16), (90.0, 180.0))


class Comparing(unittest.TestCase):
    """A reference set of one point and one area output, compared with itself
    and with copies changed in known cells."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="voacompare-test-")
        self.set_dir = os.path.join(self.dir, "set")
        decks = [{"kind": "point", "name": "p", "distance_km": 5710.0},
                 {"kind": "area", "name": "a", "tx_lat": 44 * 180, "tx_lon": -79 * 180, "grid": 16}]
        os.makedirs(self.set_dir)
        with open(os.path.join(self.set_dir, "manifest.json"), "w") as f:
            vc.json.dump({"decks": decks}, f)
        self.point = read(os.path.join(FIXTURES, "p2p", "p2p01.out")).split("\n")
        self.area = read(os.path.join(FIXTURES, "area", "x16.vg1")).split("\n")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, name, point, area):
        out = os.path.join(self.dir, name)
        for sub, ext, lines in (("point", ".out", point), ("area", ".vg1", area)):
            os.makedirs(os.path.join(out, sub))
            with open(os.path.join(out, sub, ("p" if sub == "point" else "a") + ext), "wb") as f:
                f.write("\n".join(lines).encode("latin-1"))
        return out

    def line_index(self, lines, start):
        return next(k for k, line in enumerate(lines) if line.startswith(start))

    def test_an_output_agrees_with_itself_everywhere(self):
        ref = self.write("ref", self.point, self.area)
        text, ok = vc.report(self.set_dir, ref, ref)
        self.assertTrue(ok)
        self.assertIn("0 cells differ by more than 3 dB", text)
        point, area, missing = vc.compare_sets(self.set_dir, ref, ref)
        self.assertEqual(missing, [])
        self.assertEqual(point.counts[("SNR", 2)], [696, 696, 696])  # 5,710 km: the third band
        self.assertEqual(sum(c[0] for (f, _), c in area.counts.items() if f == "SNR"), 256)

    def test_changes_are_counted_in_their_field_and_band(self):
        point = list(self.point)
        k = self.line_index(point, "   1.0 10.6")
        point[k] = replace_slot(point[k], 6, 5, "10.7")          # MUF of hour 1: within 0.1 MHz
        point[k + 1] = replace_slot(point[k + 1], 11, 5, "3F2")  # MODE at 2 MHz
        point[k + 3] = replace_slot(point[k + 3], 16, 5, "8")    # SNR at 3 MHz: 7 -> 8 dB
        point[k + 3] = replace_slot(point[k + 3], 21, 5, "20")   # SNR at 4 MHz: 14 -> 20 dB
        area = list(self.area)
        area[3] = replace_slot(area[3], 86, 6, "12.6")           # SNR of cell (1, 1): 8.6 -> 12.6 dB
        area[4] = replace_slot(area[4], 32, 6, "1F2")            # MODE of cell (2, 1)
        ref = self.write("ref", self.point, self.area)
        changed = self.write("changed", point, area)
        text, ok = vc.report(self.set_dir, ref, changed)
        self.assertFalse(ok)
        p, a, _ = vc.compare_sets(self.set_dir, ref, changed)
        self.assertEqual(p.counts[("MUF", 2)], [72, 71, 72])
        self.assertEqual(p.counts[("MODE", 2)], [696, 695, 695])
        self.assertEqual(p.counts[("SNR", 2)], [696, 694, 695])
        self.assertEqual(p.counts[("TANGLE", 2)], [696, 696, 696])
        self.assertEqual(p.big, [("p", "hour 1 4 MHz", "SNR", "14", "20")])
        mode = [sum(c[k] for (f, _), c in a.counts.items() if f == "MODE") for k in range(3)]
        self.assertEqual(mode, [256, 255, 255])
        self.assertEqual(a.big, [("a", "cell 1,1", "SNR", "8.6", "12.6")])
        self.assertIn("p hour 1 4 MHz SNR: 14 -> 20", text)

    def test_a_missing_output_or_slot_is_a_difference(self):
        point = list(self.point)
        k = self.line_index(point, "   2.0 10.4")
        point[k + 3] = replace_slot(point[k + 3], 11, 5, "-")  # SNR at 2 MHz missing
        ref = self.write("ref", self.point, self.area)
        changed = self.write("changed", point, self.area)
        os.remove(os.path.join(changed, "area", "a.vg1"))
        text, ok = vc.report(self.set_dir, ref, changed)
        self.assertFalse(ok)
        self.assertIn("decks without an output on one side: a", text)
        p, _, _ = vc.compare_sets(self.set_dir, ref, changed)
        self.assertEqual(p.counts[("SNR", 2)], [696, 695, 695])
        self.assertEqual(p.big, [("p", "hour 2 2 MHz", "SNR", "-4", "-")])


if __name__ == "__main__":
    unittest.main()
