#!/usr/bin/env python3
"""Writes the normalised seeds of data/seed/ from the catalog data files that
Debian packages ship. Run by hand when the seeds are refreshed; the build only
reads the committed seeds.

    mkdir -p /tmp/qnr-pkgs && cd /tmp/qnr-pkgs
    apt-get download kstars-data stellarium-data iraf-noao
    for p in *.deb; do dpkg -x "$p" root; done
    python3 tools/datagen/import/import_catalogs.py --root /tmp/qnr-pkgs/root --out data/seed

Only catalog data files are read: kstars' stars.dat and asteroids.dat,
Stellarium's nebulae/default/catalog.dat and data/ssystem_minor.ini, IRAF's
nlandolt.dat. Standard library only.
"""
import argparse
import gzip
import json
import lzma
import math
import os
import re
import struct
import unicodedata

KSTARS = "usr/share/kstars"
STELLARIUM = "usr/share/stellarium"
LANDOLT = "usr/lib/iraf/noao/digiphot/photcal/catalogs/nlandolt.dat"

# Galaxies fainter than this are kept only near the exercise targets: the
# finder shows none fainter than 12, and the instrument field opens only in
# the exercise regions, which the layout places within a few degrees of the
# targets.
GALAXY_ALL_SKY_LIMIT = 12.5
GALAXY_TARGET_RADIUS = 8.0  # degrees

GPL2_NOTE = "GPL-2.0-or-later (see data/seed/COPYING)"


def seed_writer(out_dir, name):
    """A seed file; ".xz" seeds are xz-compressed text (xzcat shows them).
    xz stores no time stamp, so equal content gives equal bytes."""
    path = os.path.join(out_dir, name)
    if name.endswith(".xz"):
        return lzma.open(path, "wt", encoding="utf-8", newline="\n", preset=9 | lzma.PRESET_EXTREME)
    return open(path, "w", encoding="utf-8", newline="\n")


def header(out, lines):
    for line in lines:
        out.write("# " + line + "\n" if line else "#\n")


def sexagesimal(text):
    sign = -1 if text.strip().startswith("-") else 1
    parts = [float(p) for p in text.strip().lstrip("+-").split(":")]
    return sign * (parts[0] + parts[1] / 60 + parts[2] / 3600)


# ---- Stars (kstars stars.dat: Hipparcos and Tycho, to V 8.99).

def import_stars(root, out_dir):
    path = os.path.join(root, KSTARS, "stars.dat")
    rows = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            if line.startswith("#") or len(line) < 58:
                continue
            ra = line[0:9]
            dec = line[10:19]
            ra_h = int(ra[0:2]) + int(ra[2:4]) / 60 + float(ra[4:9]) / 3600
            sign = -1 if dec[0] == "-" else 1
            dec_d = sign * (int(dec[1:3]) + int(dec[3:5]) / 60 + float(dec[5:9]) / 3600)
            plx = float(line[38:45])
            vmag = float(line[45:51])
            bv = float(line[51:56])
            sp = line[56:58].strip() or "-"
            rows.append((ra_h, dec_d, vmag, bv, sp, plx))
    rows.sort()
    with seed_writer(out_dir, "stars.txt.xz") as out:
        header(out, [
            "Real stars: every star of the kstars-data catalog stars.dat (Debian package",
            "kstars-data), derived from the Hipparcos and Tycho catalogues; the modified",
            "catalog is (C) Jason Harris 2003, licensed under the GNU GPL; " + GPL2_NOTE + ".",
            "Columns: RA (hours, J2000.0), Dec (degrees, J2000.0), V, B-V, spectral type",
            "(class and subclass as the source gives them; 'K?' = class only, '-' = none),",
            "parallax (mas; 0 = none). Sorted by RA. %d stars." % len(rows),
        ])
        for ra_h, dec_d, vmag, bv, sp, plx in rows:
            out.write("%.6f %.5f %.2f %.2f %s %.1f\n" % (ra_h, dec_d, vmag, bv, sp, plx))
    return rows


# ---- Fainter stars (Stellarium's star catalogs stars/default/stars_0..3:
# Hipparcos and Tycho-2 stars to V 10.5 in zones of a subdivided icosahedron).

STAR_FILES = ["stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat", "stars_3_1v0_4.cat"]
STAR_MAGIC = 0x835F040A
FAINT_FROM = 9.0  # the kstars catalog is complete to V 8.99; stars this faint and fainter come from here

_G = 0.5 * (1 + math.sqrt(5))
_B = 1 / math.sqrt(1 + _G * _G)
_A = _B * _G
ICOSAHEDRON = [(_A, -_B, 0), (_A, _B, 0), (-_A, _B, 0), (-_A, -_B, 0), (0, _A, -_B), (0, _A, _B),
               (0, -_A, _B), (0, -_A, -_B), (-_B, 0, _A), (_B, 0, _A), (_B, 0, -_A), (-_B, 0, -_A)]
FACES = [(1, 0, 10), (0, 1, 9), (0, 9, 6), (9, 8, 6), (0, 7, 10), (6, 7, 0), (7, 6, 3), (6, 8, 3), (11, 10, 7),
         (7, 3, 11), (3, 2, 11), (2, 3, 8), (10, 11, 4), (2, 4, 11), (5, 4, 2), (2, 8, 5), (4, 1, 10), (4, 5, 1),
         (5, 9, 1), (8, 9, 5)]


def _add(u, v):
    return (u[0] + v[0], u[1] + v[1], u[2] + v[2])


def _sub(u, v):
    return (u[0] - v[0], u[1] - v[1], u[2] - v[2])


def _mul(u, k):
    return (u[0] * k, u[1] * k, u[2] * k)


def _dot(u, v):
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]


def _cross(u, v):
    return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])


def _unit(u):
    return _mul(u, 1 / math.sqrt(_dot(u, u)))


def zone_triangles(level):
    """The zones of one level: each face split in four, level times, in the
    catalog's own numbering (children 4i .. 4i+3)."""
    out = {}

    def split(lev, index, c0, c1, c2):
        if lev == level:
            out[index] = (c0, c1, c2)
            return
        e0, e1, e2 = _unit(_add(c1, c2)), _unit(_add(c2, c0)), _unit(_add(c0, c1))
        split(lev + 1, 4 * index, c0, e2, e1)
        split(lev + 1, 4 * index + 1, e2, c1, e0)
        split(lev + 1, 4 * index + 2, e1, e0, c2)
        split(lev + 1, 4 * index + 3, e0, e1, e2)

    for i, (a, b, c) in enumerate(FACES):
        split(0, i, ICOSAHEDRON[a], ICOSAHEDRON[b], ICOSAHEDRON[c])
    return [out[i] for i in range(len(out))]


def read_star_zones(path, spectral_types):
    """Yields (ra_h, dec_d, V, B-V, spectral type text, parallax mas) of one catalog file.
    A star is its zone's centre plus x0, x1 steps along two tangent axes; the
    step is the zone level's largest corner offset over the largest stored value."""
    data = open(path, "rb").read()
    magic, kind, _major, _minor, level, mag_min, mag_range, mag_steps = struct.unpack_from("<IIIIIiii", data, 0)
    if magic != STAR_MAGIC or kind not in (0, 1):
        raise ValueError("%s: not a star zone file of a known kind" % path)
    zones = zone_triangles(level)
    sizes = struct.unpack_from("<%dI" % len(zones), data, 32)
    pos = 32 + 4 * len(zones)
    axes, scale = [], 0.0
    for c0, c1, c2 in zones:
        centre = _unit(_add(_add(c0, c1), c2))
        ax0 = _unit(_cross((0.0, 0.0, 1.0), centre))
        ax1 = _cross(centre, ax0)
        for corner in (c0, c1, c2):
            d = _sub(corner, centre)
            mu0, mu1 = _dot(d, ax0), _dot(d, ax1)
            f = 1 / math.sqrt(1 - mu0 * mu0 - mu1 * mu1)
            scale = max(scale, abs(mu0) * f, abs(mu1) * f)
        axes.append((centre, ax0, ax1))
    scale /= 0x7FFFFFFF if kind == 0 else (1 << 19) - 1
    size = 28 if kind == 0 else 10
    for zone, count in enumerate(sizes):
        centre, ax0, ax1 = axes[zone]
        for _ in range(count):
            rec = data[pos:pos + size]
            pos += size
            sp, plx = "", 0.0
            if kind == 0:
                _hip, x0, x1, bv, mag, sp_index, _dx0, _dx1, plx_raw = struct.unpack("<IiiBBHiii", rec)
                sp = spectral_types[sp_index] if sp_index < len(spectral_types) else ""
                plx = plx_raw / 100.0
            else:
                bits = int.from_bytes(rec, "little")
                x0 = (bits & 0xFFFFF) - ((bits & 0x80000) << 1)
                x1 = ((bits >> 20) & 0xFFFFF) - (((bits >> 20) & 0x80000) << 1)
                bv, mag = (bits >> 68) & 0x7F, (bits >> 75) & 0x1F
            p = _unit(_add(centre, _add(_mul(ax0, x0 * scale), _mul(ax1, x1 * scale))))
            ra_h = math.degrees(math.atan2(p[1], p[0])) % 360 / 15
            dec_d = math.degrees(math.asin(max(-1.0, min(1.0, p[2]))))
            vmag = 0.001 * (mag_min + mag * mag_range / mag_steps)
            yield ra_h, dec_d, vmag, bv * 4.0 / 127 - 0.5, sp, plx
    if pos != len(data):
        raise ValueError("%s: %d bytes left after the last zone" % (path, len(data) - pos))


def short_type(text):
    """The class and subclass as the bright seed gives them: "A4", "K?" or "-"."""
    m = re.match(r"\s*([OBAFGKM])(\d?)", text or "")
    if not m:
        return "-"
    return m.group(1) + (m.group(2) or "?")


def import_faint_stars(root, out_dir, bright):
    folder = os.path.join(root, STELLARIUM, "stars/default")
    with open(os.path.join(folder, "stars_hip_sp_0v0_4.cat"), "rb") as f:
        spectral_types = f.read().decode("latin-1").split("\n")
    # The bright seed's stars by 0.01-degree cell, to leave out stars it already has.
    cells = {}
    for ra_h, dec_d, vmag, _bv, _sp, _plx in bright:
        cells.setdefault((int(ra_h * 1500), int((dec_d + 90) * 100)), []).append((ra_h, dec_d, vmag))

    def known(ra_h, dec_d, vmag):
        cr, cd = int(ra_h * 1500), int((dec_d + 90) * 100)
        cos_d = max(math.cos(math.radians(dec_d)), 1e-6)
        for i in (-1, 0, 1):
            for j in (-1, 0, 1):
                for r2, d2, v2 in cells.get(((cr + i) % 36000, cd + j), ()):
                    dra = (ra_h - r2 + 12) % 24 - 12
                    if abs(vmag - v2) < 0.6 and math.hypot(dra * 15 * cos_d, dec_d - d2) < 5 / 3600:
                        return True
        return False

    rows, dropped = [], 0
    for name in STAR_FILES:
        for ra_h, dec_d, vmag, bv, sp, plx in read_star_zones(os.path.join(folder, name), spectral_types):
            if vmag < FAINT_FROM:
                continue
            if known(ra_h, dec_d, vmag):
                dropped += 1
                continue
            rows.append((ra_h, dec_d, vmag, bv, short_type(sp), plx))
    rows.sort()
    with seed_writer(out_dir, "stars_faint.txt.xz") as out:
        header(out, [
            "Real stars: the stars of V %.1f and fainter of Stellarium's star catalogs" % FAINT_FROM,
            "stars/default/stars_0..3 (Debian package stellarium-data; Hipparcos and Tycho-2 stars to",
            "V 10.5 and the fainter Hipparcos stars, values partly from the Naval Observatory Merged",
            "Astrometric Dataset (NOMAD) version 1 of the U.S. Naval Observatory), (C) Fabien Chereau",
            "et al., " + GPL2_NOTE + ". Changed here: positions rounded, brighter stars left out.",
            "Left out: %d stars within 5\" and 0.6 mag of a star of stars.txt.xz." % dropped,
            "Columns as stars.txt.xz: RA (hours, J2000.0), Dec (degrees, J2000.0), V (0.05-mag steps),",
            "B-V (steps of 4/127 mag), spectral type ('-' = none; Hipparcos stars only), parallax",
            "(mas; 0 = none). Sorted by RA. %d stars." % len(rows),
        ])
        for ra_h, dec_d, vmag, bv, sp, plx in rows:
            out.write("%.6f %.5f %.2f %.2f %s %.1f\n" % (ra_h, dec_d, vmag, bv, sp, plx))
    return len(rows)


# ---- Landolt standards (IRAF nlandolt.dat).

def import_landolt(root, out_dir):
    rows = []
    with open(os.path.join(root, LANDOLT), encoding="latin-1") as f:
        for line in f:
            p = line.split()
            if len(p) < 8 or line.lstrip().startswith("#"):
                continue
            try:
                ra_h = sexagesimal(p[1])
                dec_d = sexagesimal(p[2])
                v, bv, ub, vr, ri = (float(x) for x in p[3:8])
            except ValueError:
                continue
            rows.append((ra_h, dec_d, p[0], v, bv, ub, vr, ri))
    rows.sort()
    with seed_writer(out_dir, "landolt.txt.xz") as out:
        header(out, [
            "Real photometric standards: Landolt UBVRI standard stars from nlandolt.dat of the",
            "Debian package iraf-noao (IRAF photcal catalogs; IRAF licence, see COPYING).",
            "Columns: name, RA (hours, J2000.0), Dec (degrees), V, B-V, U-B, V-R, R-I.",
            "The source gives positions to 1 s and 1\" only. %d stars." % len(rows),
        ])
        for ra_h, dec_d, name, v, bv, ub, vr, ri in rows:
            out.write("%s %.6f %.5f %.3f %.3f %.3f %.3f %.3f\n" % (name, ra_h, dec_d, v, bv, ub, vr, ri))
    return len(rows)


# ---- Galaxies (Stellarium nebulae catalog.dat, big-endian QDataStream in gzip).

class Stream:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def u32(self):
        v = struct.unpack_from(">I", self.data, self.pos)[0]
        self.pos += 4
        return v

    def f64(self):
        v = struct.unpack_from(">d", self.data, self.pos)[0]
        self.pos += 8
        return v

    def qstring(self):
        n = self.u32()
        if n == 0xFFFFFFFF:
            return ""
        s = self.data[self.pos:self.pos + n].decode("utf-16-be")
        self.pos += n
        return s


def read_nebulae(root):
    data = gzip.open(os.path.join(root, STELLARIUM, "nebulae/default/catalog.dat")).read()
    s = Stream(data)
    s.qstring()  # version
    s.qstring()  # edition
    while s.pos < len(data):
        r = {"id": s.u32(), "ra": s.f64(), "dec": s.f64(), "b": s.f64(), "v": s.f64(), "type": s.u32()}
        r["morph"] = s.qstring()
        r["major"], r["minor"] = s.f64(), s.f64()
        r["pa"] = s.u32()
        r["z"] = s.f64()
        for _ in range(5):  # z error, parallax and its error, distance and its error
            s.f64()
        for k in ("NGC", "IC", "M", "C", "B", "Sh2", "VdB", "RCW", "LDN", "LBN", "Cr", "Mel", "PGC", "UGC"):
            r[k] = s.u32()
        s.qstring()  # Ced
        s.u32()
        s.u32()  # Arp, VV
        for _ in range(7):
            s.qstring()  # PK .. VdBH
        for _ in range(5):
            s.u32()  # DWB .. VdBHa
        yield r


def read_targets(path):
    targets = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            p = [x.strip() for x in line.split("|")]
            ra = [float(x) for x in p[1].split()]
            dec_text = p[2].split()
            sign = -1 if dec_text[0].startswith("-") else 1
            dec = [abs(float(x)) for x in dec_text]
            targets.append((ra[0] + ra[1] / 60 + ra[2] / 3600, sign * (dec[0] + dec[1] / 60 + dec[2] / 3600)))
    return targets


def separation(ra1_h, dec1, ra2_h, dec2):
    a1, d1, a2, d2 = (math.radians(x) for x in (ra1_h * 15, dec1, ra2_h * 15, dec2))
    c = math.sin(d1) * math.sin(d2) + math.cos(d1) * math.cos(d2) * math.cos(a1 - a2)
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))


def import_galaxies(root, out_dir, targets):
    rows = []
    for r in read_nebulae(root):
        if r["type"] not in (0, 1, 2, 3):  # galaxy, active, radio, interacting
            continue
        ra_h = math.degrees(r["ra"]) / 15 % 24
        dec_d = math.degrees(r["dec"])
        b = r["b"] if r["b"] < 30 else None
        v = r["v"] if r["v"] < 30 else None
        if b is None and v is None:
            continue
        bright = min(x for x in (b, v) if x is not None) <= GALAXY_ALL_SKY_LIMIT
        if not bright and not any(separation(ra_h, dec_d, t[0], t[1]) <= GALAXY_TARGET_RADIUS for t in targets):
            continue
        rows.append((ra_h, dec_d, b, v, r))
    rows.sort(key=lambda x: (x[0], x[1]))

    def num(x, fmt):
        return "" if x is None else fmt % x

    with seed_writer(out_dir, "galaxies.txt.xz") as out:
        header(out, [
            "Real galaxies: the galaxies (types galaxy, active, radio and interacting galaxy) of",
            "Stellarium's deep-sky catalog nebulae/default/catalog.dat (Debian package",
            "stellarium-data, (C) 2002-2014 Fabien Chereau et al.), " + GPL2_NOTE + ".",
            "Kept: every galaxy of magnitude %.1f or brighter, and every galaxy within %.0f degrees" %
            (GALAXY_ALL_SKY_LIMIT, GALAXY_TARGET_RADIUS),
            "of a target of tools/hotlist/targets.txt (the only place the instrument sees fainter ones).",
            "Fields (|-separated): RA (hours, J2000.0) | Dec (degrees) | B | V (empty: none) |",
            "major | minor axis (arcmin) | PA (degrees, 0 = none) | redshift | source type |",
            "morphology | NGC | IC | M | PGC | UGC (empty: none). Sorted by RA. %d galaxies." % len(rows),
        ])
        for ra_h, dec_d, b, v, r in rows:
            fields = [
                "%.6f" % ra_h, "%.5f" % dec_d, num(b, "%.2f"), num(v, "%.2f"),
                "%.2f" % (r["major"] * 60), "%.2f" % (r["minor"] * 60), str(r["pa"]),
                "%.6f" % r["z"], str(r["type"]), r["morph"].replace("|", "/").strip(),
            ] + [str(r[k]) if r[k] else "" for k in ("NGC", "IC", "M", "PGC", "UGC")]
            out.write("|".join(fields) + "\n")
    return len(rows)


# ---- Asteroids (kstars asteroids.dat, JSON from the JPL small-body database,
# and the near-Earth asteroids of Stellarium's ssystem_minor.ini).

GAUSS_K_DEG = 0.9856076686  # degrees per day for a = 1 AU


def plain(text):
    """Latin-1 text for the catalogs' fixed fields, without the field separator."""
    text = unicodedata.normalize("NFKD", text)
    text = "".join(c for c in text if not unicodedata.combining(c))
    return text.replace("|", "/").encode("latin-1", "replace").decode("latin-1")


def parse_full_name(text):
    text = text.strip()
    m = re.match(r"^(\d+)\s+(.*)$", text)
    number = ""
    if m:
        number, text = m.group(1), m.group(2)
    m = re.match(r"^(.*?)\s*\((.*)\)$", text)
    if m and m.group(1):
        name = m.group(1)
    elif m:
        name = m.group(2)
    else:
        name = text
    return number, name.strip()


def import_asteroids(root, out_dir):
    rows = []
    seen = set()
    with open(os.path.join(root, KSTARS, "asteroids.dat"), encoding="utf-8") as f:
        doc = json.load(f)
    fields = doc["fields"]
    for rec in doc["data"]:
        r = dict(zip(fields, rec))
        number, name = parse_full_name(r["full_name"])
        try:
            a, e, i = float(r["a"]), float(r["e"]), float(r["i"])
            node, peri, ma = float(r["om"]), float(r["w"]), float(r["ma"])
            epoch = float(r["epoch_mjd"]) + 2400000.5
        except (TypeError, ValueError):
            continue
        if e >= 1 or a <= 0:
            continue
        h = float(r["H"]) if r["H"] else 14.0
        g = float(r["G"]) if r["G"] else 0.15
        moid = float(r["moid"]) if r.get("moid") else 9.0
        pha = "Y" if moid <= 0.05 and h <= 22 else "N"
        rows.append((name, number, epoch, a, e, i, node, peri, ma, h, g, r["class"] or "-", pha, "kstars"))
        seen.add(number or name)

    # Near-Earth asteroids (q < 1.3 AU) of ssystem_minor.ini that kstars does not list.
    sections, current = {}, None
    with open(os.path.join(root, STELLARIUM, "data/ssystem_minor.ini"), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                current = sections.setdefault(line.strip("[]"), {})
            elif "=" in line and current is not None and not line.startswith("#"):
                k, v = line.split("=", 1)
                current[k.strip()] = v.strip()
    for key in sorted(sections):
        s = sections[key]
        if s.get("type") != "asteroid":
            continue
        e = float(s["orbit_Eccentricity"])
        if "orbit_SemiMajorAxis" in s:
            a = float(s["orbit_SemiMajorAxis"])
        elif "orbit_PericenterDistance" in s and e < 1:
            a = float(s["orbit_PericenterDistance"]) / (1 - e)
        else:
            continue
        if e >= 1 or a * (1 - e) >= 1.3:
            continue
        epoch = float(s.get("orbit_Epoch", s.get("orbit_TimeAtPericenter", "0")))
        n = GAUSS_K_DEG / a ** 1.5
        if "orbit_MeanAnomaly" in s:
            ma = float(s["orbit_MeanAnomaly"])
        else:
            ma = (n * (epoch - float(s["orbit_TimeAtPericenter"]))) % 360
        number = s.get("minor_planet_number", "")
        name = s.get("name", key)
        if (number or name) in seen:
            continue
        q = a * (1 - e)
        group = "ATE" if a < 1 else ("APO" if q < 1.0167 else "AMO")
        h = float(s.get("absolute_magnitude", "14"))
        g = float(s.get("slope_parameter", "0.15"))
        rows.append((name, number, epoch, a, e, float(s["orbit_Inclination"]), float(s["orbit_AscendingNode"]),
                     float(s["orbit_ArgOfPericenter"]), ma, h, g, group, "N", "stellarium"))
    with seed_writer(out_dir, "asteroids.txt.xz") as out:
        header(out, [
            "Real asteroids: kstars-data asteroids.dat (JSON from the NASA/JPL Small-Body Database;",
            "file " + GPL2_NOTE + ", the orbits are facts), and the near-Earth",
            "asteroids (q < 1.3 AU) of Stellarium's data/ssystem_minor.ini (stellarium-data, GPL-2+)",
            "that kstars does not list. Osculating elements, heliocentric ecliptic J2000.0.",
            "Fields (|-separated): name | number (empty: unnumbered) | epoch (JD, TDB) | a (AU) | e |",
            "i | node | argument of perihelion | mean anomaly (degrees) | H | G | orbit class |",
            "potentially hazardous (Y/N: MOID <= 0.05 AU and H <= 22) | source. %d bodies." % len(rows),
        ])
        for row in rows:
            name, number, epoch, a, e, i, node, peri, ma, h, g, cls, pha, src = row
            out.write("|".join([plain(name), number, "%.5f" % epoch, "%.10f" % a, "%.10f" % e, "%.8f" % i,
                                "%.8f" % node, "%.8f" % peri, "%.8f" % ma, "%.2f" % h, "%.2f" % g, cls, pha,
                                src]) + "\n")
    return len(rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.normpath(os.path.join(here, "..", "..", ".."))
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--root", required=True, help="folder the packages were unpacked into")
    ap.add_argument("--out", default=os.path.join(repo, "data", "seed"))
    ap.add_argument("--targets", default=os.path.join(repo, "tools", "hotlist", "targets.txt"))
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    targets = read_targets(args.targets)
    bright = import_stars(args.root, args.out)
    print("stars", len(bright))
    print("faint stars", import_faint_stars(args.root, args.out, bright))
    print("landolt", import_landolt(args.root, args.out))
    print("galaxies", import_galaxies(args.root, args.out, targets))
    print("asteroids", import_asteroids(args.root, args.out))


if __name__ == "__main__":
    main()
