#!/usr/bin/env python3
"""Runs thousands of designs through kiila-calc and through the reference calculation in
mitoitus.py, and compares every result and the working values of every size tried
(kiila-calc --details).

    check.py [path/to/kiila-calc] [--count N] [--seed S] [--show K] [--csv-out FILE]

Without a program it only checks the reference itself against the worked values.  Exits 0
when everything agrees, 1 on any difference.
"""

import argparse
import json
import math
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mitoitus as ref  # noqa: E402

COLUMNS = ("arrangement", "cracked", "c1", "c2", "s1", "s2", "nsd", "v1d", "e1", "e2")
REL_TOL = 1e-9
ABS_TOL = 1e-12
HUGE = 1.7976931348623157e308
TINY = 5e-324


# ---------------------------------------------------------------------------------------------
# Worked values: the reference must reproduce them exactly before it judges anything
# ---------------------------------------------------------------------------------------------

def design(arr, cracked=False, c1=0.0, c2=0.0, s1=0.0, s2=0.0, nsd=0.0, v1d=0.0, e1=0.0,
           e2=0.0):
    return (arr, bool(cracked), float(c1), float(c2), float(s1), float(s2), float(nsd),
            float(v1d), float(e1), float(e2))


# Designs that between them reach every arrangement and every way a size pass and a run end,
# each with what it reaches (self_check asserts it, so the table keeps its meaning): outcomes
# of a size (tension, shear, eccentric, chosen), of the run (chosen, stopped, advice), the
# distance that stops it, how the eccentric search ends (step, step0, bisection) and a group
# far from the edges ("far"). Their working values are compared like every other design's.
REACHING_DESIGNS = (
    # arrangement 1: chosen; a tension failure; the stop at M10's cMin; c2; the advice
    ({"chosen"}, design(1, False, 200, 200, nsd=2.7, v1d=2.7)),
    ({"tension", "chosen"}, design(1, False, 200, 200, nsd=2.71)),
    ({"tension", "stop c1"}, design(1, False, 52, 200, nsd=3)),
    ({"stop c2"}, design(1, True, 200, 40)),
    ({"tension", "advice"}, design(1, False, 200, 200, nsd=100)),
    # arrangement 2: tension, shear, then chosen; the search at its step 880; far from the
    # edges; an eccentric failure (M8, at a step), then a bisection (M10); the stop on s1
    ({"tension", "shear", "chosen"}, design(2, True, 100, 100, 150, nsd=3, v1d=2)),
    ({"tension", "shear", "step", "chosen"}, design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=20)),
    ({"far", "chosen"}, design(2, False, 500, 600, 150, v1d=3)),
    ({"eccentric", "step", "bisection", "chosen"}, design(2, False, 100, 100, 150, nsd=1, v1d=1, e1=200)),
    ({"stop s1"}, design(2, False, 200, 200, 69)),
    # arrangement 3: the search's step-0 fallback; an eccentric failure; far from the edges
    ({"tension", "step0", "chosen"}, design(3, False, 180, 180, 360, e1=9, nsd=15)),
    ({"eccentric", "step", "chosen"}, design(3, True, 120, 130, 200, nsd=4, v1d=1, e1=40)),
    ({"far", "step", "chosen"}, design(3, False, 700, 700, 200, nsd=2, v1d=5, e1=100)),
    # arrangements 4 and 5: torsion of the row across; the stop on s2; shear failures to the
    # advice
    ({"far", "chosen"}, design(4, False, 600, 600, 0, 200, v1d=2, e2=50)),
    ({"stop s2"}, design(4, False, 200, 200, 0, 60)),
    ({"chosen"}, design(5, True, 120, 130, 0, 200, nsd=4, v1d=1, e2=40)),
    ({"shear", "advice"}, design(5, True, 120, 130, 0, 200, v1d=40, e2=300)),
    # arrangement 6: near and far from the edges with torsion and eccentric tension; s1
    ({"step", "chosen"}, design(6, False, 200, 200, 150, 150, nsd=2, v1d=1, e1=30, e2=20)),
    ({"far", "step", "chosen"}, design(6, False, 600, 600, 150, 150, nsd=3, v1d=2, e1=60, e2=10)),
    ({"stop s1"}, design(6, False, 200, 200, 60, 150)),
    # arrangement 7: the search at its step 951; a bisection; the stop at 10 hef; negative
    # eccentricities through tension and eccentric failures; bisections to the advice
    ({"far", "step", "chosen"}, design(7, False, 600, 600, 150, 150, e1=50)),
    ({"far", "bisection", "chosen"}, design(7, False, 600, 600, 150, 150, e1=200)),
    ({"stop c2"}, design(7, False, 600, 499, 150, 150)),
    ({"far", "tension", "eccentric", "step", "chosen"},
     design(7, True, 900, 900, 480, 480, nsd=20, v1d=5, e1=-300, e2=-30)),
    ({"far", "eccentric", "bisection", "advice"}, design(7, False, 800, 800, 190, 190, nsd=5, e1=1000)),
)


def reaches(r):
    """What a reference result reaches, in the terms of REACHING_DESIGNS."""
    tags = {r["outcome"]} if r["outcome"] != "stopped" else set()
    for s in r["sizes"]:
        tags.add(s["outcome"])
        d = s["_detail"]
        if d["eccentric"]:
            tags.add(d["eccentric"]["end"])
        if d["shear"] and d["shear"]["farFromEdges"]:
            tags.add("far")
    if r["message"]:
        tags.add("stop " + r["_stop_detail"]["stop"]["distance"])
    return tags


def run(d, details=True):
    return ref.mitoitus(*d, details=details)


def self_check():
    """Worked values of the design rules, asserted on the reference."""
    problems = []

    def expect(what, cond):
        if not cond:
            problems.append(what)

    def near(a, b, tol):
        return a is not None and abs(a - b) <= tol

    def caps(r):
        return [s["anchorCapacity"] for s in r["sizes"]]

    # Single anchor far from the edges: FAnchor = FRd.
    r = run(design(1, False, 200, 200, nsd=2.7, v1d=2.7))
    expect("arr 1: M8 capacity 2.7", caps(r) == [2.7])
    expect("arr 1: NSd = V1d = 2.7 chooses M8", r["chosen"]["sizeNo"] == 1)
    expect("arr 1: anchor text", r["chosen"]["anchorText"] == "1 kpl  Kalvex M 8")
    expect("arr 1: no plate", r["chosen"]["plate"] is None and r["chosen"]["plateText"] is None)
    expect("arr 1: no shear heading", "shear" not in r["headings"])
    r = run(design(1, False, 200, 200, nsd=2.71))
    expect("arr 1: NSd 2.71 moves to M10 (4.1)",
           caps(r) == [2.7, 4.1] and r["chosen"]["size"] == "M10"
           and r["sizes"][0]["outcome"] == "tension")
    r = run(design(1, True, 200, 200, nsd=2.3))
    expect("cracked M8 uses 2.3", caps(r) == [2.3] and r["chosen"]["sizeNo"] == 1)

    # Edge-distance messages.
    r = run(design(1, False, 50, 200))
    expect("C1 = cMin passes", r["outcome"] == "chosen")
    r = run(design(1, False, 49.9, 200, nsd=1))
    expect("C1 = 49.9 stops at M8 with no capacity",
           r["outcome"] == "stopped" and r["sizes"] == [] and r["headings"] == {})
    r = run(design(1, False, 40, 200))
    expect("c1 message text",
           r["message"] == {"size": "M8", "title": " Ohje ",
                            "text": "Ankkurien M8\r\n arvo  c1  kasvatettava minimiarvoon 50 mm"})
    r = run(design(1, False, 52, 200, nsd=3))
    expect("C1 = 52: M8 fails the tension, M10 stops on c1 at 55",
           r["outcome"] == "stopped" and len(r["sizes"]) == 1
           and r["message"]["text"] == "Ankkurien M10\r\n arvo  c1  kasvatettava minimiarvoon 55 mm")
    r = run(design(1, False, 200, -5))
    expect("c2 message", r["message"]["text"].endswith(" c2  kasvatettava minimiarvoon 50 mm"))

    # Spacing messages: one line break in arrangements 2 to 5, two in 6 and 7.
    r = run(design(2, False, 200, 200, s1=69))
    expect("s1 message, arr 2",
           r["message"]["text"] == "Ankkurien M8\r\n arvo  s1  kasvatettava minimiarvoon 70 mm")
    r = run(design(5, False, 200, 200, s1=0, s2=69.99))
    expect("s2 message, arr 5",
           r["message"]["text"] == "Ankkurien M8\r\n arvo  s2  kasvatettava minimiarvoon 70 mm")
    r = run(design(6, False, 200, 200, s1=70, s2=10))
    expect("s2 message, arr 6",
           r["message"]["text"] == "Ankkurien M8\r\n\r\n arvo  s2  kasvatettava minimiarvoon 70 mm")
    r = run(design(1, False, 200, 200, s1=-100, s2=-100))
    expect("arr 1 ignores spacings", r["outcome"] == "chosen")

    # Arrangement 7 edge distances, from the entered values.
    r = run(design(7, False, 400, 600, 150, 150))
    expect("arr 7 c1 message",
           r["message"]["text"] == "TAPAUS 7 arvo  c1  kasvatettava minimiarvoon 500 mm")
    r = run(design(7, False, 499, 600, 150, 150))
    expect("arr 7 C1 = 499 stops", r["outcome"] == "stopped")
    r = run(design(7, False, 500, 600, 150, 150))
    expect("arr 7 C1 = 500 passes", r["outcome"] == "chosen")

    # The worked design of arrangement 2.
    r = run(design(2, True, 100, 100, 150, 0, nsd=3, v1d=2))
    expect("arr 2 worked: capacities 1.15, 1.70, 2.21",
           [round(x, 2) for x in caps(r)] == [1.15, 1.7, 2.21])
    expect("arr 2 worked: outcomes",
           [s["outcome"] for s in r["sizes"]] == ["tension", "shear", "chosen"])
    expect("arr 2 worked: M10 shear capacity is FAnchor (near the edges)",
           r["sizes"][1]["shearCapacity"] == r["sizes"][1]["anchorCapacity"])
    expect("arr 2 worked: M8 writes no shear capacity", r["sizes"][0]["shearCapacity"] is None)
    expect("arr 2 worked: chosen M12",
           r["chosen"] == {"size": "M12", "sizeNo": 3, "anchorText": "2 kpl  Kalvex M 12",
                           "plateText": "Kiinnityslevyn mitat min. 36 mm x 186 mm",
                           "plate": [36.0, 186.0]})
    expect("arr 2 worked: headings",
           r["headings"] == {"capacity": "Ankkurien  veto- ja leikkauskapasiteetti kN ",
                             "shear": "Ankkuriryhmän  2 leikkauskapasiteetti kN "})
    expect("data sheet title", ref.data_sheet_title(3) == " Kalvex X-TR M 12")

    # Spacing above sCr: plate from sCr.
    r = run(design(2, False, 200, 200, 500))
    expect("arr 2, S1 = 500: plate 24 x 324", r["chosen"]["plate"] == [24.0, 324.0])
    # Edge above cCr: same capacity as at cCr.
    expect("C above cCr = cCr",
           caps(run(design(6, True, 170, 400, 100, 100))) == caps(run(design(6, True, 150, 150, 100, 100))))

    # Shear.
    r = run(design(2, False, 499, 600, 150, v1d=0.1))
    expect("arr 2 near edge: shear capacity FAnchor",
           r["sizes"][0]["shearCapacity"] == r["sizes"][0]["anchorCapacity"])
    r = run(design(2, False, 500, 600, 150, v1d=0.1))
    expect("arr 2 far: shear capacity 2 FAnchor",
           r["sizes"][0]["shearCapacity"] == 2 * r["sizes"][0]["anchorCapacity"])
    r = run(design(4, False, 600, 600, 0, 100, v1d=2))
    expect("arr 4 VRes 1", r["sizes"][0]["_detail"]["VRes"] == 1)
    r = run(design(4, False, 600, 600, 0, 100, v1d=2, e2=50))
    expect("arr 4 e2 50 VRes 2", r["sizes"][0]["_detail"]["VRes"] == 2)
    r = run(design(6, False, 600, 600, 150, 150, v1d=4))
    expect("arr 6 far VRes 1", near(r["sizes"][0]["_detail"]["VRes"], 1, 1e-12))
    r = run(design(6, False, 200, 200, 150, 150, v1d=0.1))
    expect("arr 6 near: 2 FAnchor",
           r["sizes"][0]["shearCapacity"] == 2 * r["sizes"][0]["anchorCapacity"]
           and r["headings"]["shear"] == "Ankkuriryhmän  4 leikkauskapasiteetti kN ")
    r = run(design(6, False, 600, 600, 150, 150, v1d=2, e2=10))
    expect("arr 6 torsion VRes 0.5344", near(r["sizes"][0]["_detail"]["VRes"], 0.5344, 5e-5))
    a = run(design(6, False, 600, 600, 150, 150, v1d=2, e2=3))
    b = run(design(6, False, 600, 600, 150, 150, v1d=2, e2=9))
    expect("e2 3 acts as 9", a["sizes"][0]["utilization"] == b["sizes"][0]["utilization"])
    r = run(design(1, False, 200, 200, v1d=2.7))
    expect("arr 1 V1d = FAnchor passes", r["chosen"]["sizeNo"] == 1)

    # Decision a: magnitudes.
    r = run(design(1, False, 200, 200, v1d=-100))
    expect("V1d = -100 is no pass", r["outcome"] == "advice" and r["advice"] == ref.ADVICE)
    a = run(design(6, False, 600, 600, 150, 150, v1d=2, e2=-10))
    b = run(design(6, False, 600, 600, 150, 150, v1d=2, e2=10))
    expect("e2 by magnitude", a["sizes"] == b["sizes"])
    a = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=-5))
    b = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=9))
    expect("e1 = -5 acts as 9", a["sizes"] == b["sizes"])
    r = run(design(2, False, 200, 200, 150, nsd=-1000, v1d=0))
    expect("negative NSd passes the tension", r["chosen"]["sizeNo"] == 1)

    # Eccentric tension.
    r = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=20))
    s = r["sizes"][2]
    srch = s["_detail"]["search"]
    expect("ecc worked: FAnchor 2.21415", near(s["anchorCapacity"], 2.21415, 5e-6))
    expect("ecc worked: step 880", srch["how"] == "step" and srch["stepNo"] == 880)
    expect("ecc worked: xNA -201.6", near(srch["xNA"], -201.6, 1e-9))
    expect("ecc worked: NGroup 3.5297", near(srch["NGroup"], 3.5297, 5e-5))
    expect("ecc worked: NFromM 3.3697", near(srch["NFromM"], 3.3697, 5e-5))
    expect("ecc worked: M12 chosen", r["chosen"]["sizeNo"] == 3
           and r["headings"]["eccentric"] == "Ankkuriryhmän  2 epäkeskinen vetokapasiteetti kN")
    r = run(design(7, False, 600, 600, 150, 150, e1=50))
    s = r["sizes"][0]
    srch = s["_detail"]["search"]
    expect("arr 7 e1 50: FAnchor 1.35", near(s["anchorCapacity"], 1.35, 1e-12))
    expect("arr 7 e1 50: step 951", srch["how"] == "step" and srch["stepNo"] == 951)
    expect("arr 7 e1 50: xNA -152.88", near(srch["xNA"], -152.88, 1e-9))
    expect("arr 7 e1 50: NGroup 5.486", near(srch["NGroup"], 5.486, 5e-4))
    a = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=1))
    b = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=9))
    expect("e1 1 acts as 9", a["sizes"] == b["sizes"])
    r = run(design(4, False, 200, 200, 0, 150, e1=50))
    expect("arr 4 never runs the eccentric step",
           r["sizes"][0]["eccentricCapacity"] is None and "eccentric" not in r["headings"])
    # NGroup equal to NSd fails the size.
    r = run(design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=20))
    ng = r["sizes"][2]["eccentricCapacity"]
    r = run(design(2, True, 100, 100, 150, nsd=ng, v1d=2, e1=20))
    expect("NGroup = NSd fails", r["sizes"][2]["outcome"] == "eccentric")

    # Decision b: no step inside the tolerance.
    r = run(design(7, False, 600, 600, 150, 150, e1=200))
    srch = r["sizes"][0]["_detail"]["search"]
    expect("fallback: bisection", srch["how"] == "bisect")
    expect("fallback: NGroup 2.8919", near(srch["NGroup"], 2.8919, 5e-5))
    r = run(design(7, False, 600, 600, 150, 150, e1=300))
    expect("fallback e1 300: finite",
           r["sizes"][0]["_detail"]["search"]["how"] == "bisect"
           and math.isfinite(r["sizes"][0]["eccentricCapacity"]))
    r = run(design(2, False, 100, 100, 150, nsd=1, v1d=1, e1=200))
    expect("arr 2 e1 200: M8 fails, M10 ends in the fallback",
           [s["outcome"] for s in r["sizes"]] == ["eccentric", "chosen"]
           and r["sizes"][1]["_detail"]["search"]["how"] == "bisect")
    r = run(design(3, False, 180, 180, 360, e1=9, nsd=15))
    expect("ratio below 1 at step 0: step 0",
           [s["outcome"] for s in r["sizes"]] == ["tension", "tension", "chosen"]
           and r["sizes"][2]["_detail"]["search"]["how"] == "step0")

    # The table of designs reaching every outcome.
    for tags, d in REACHING_DESIGNS:
        got = reaches(run(d))
        expect("%s reaches %s, not %s" % (describe(d), sorted(tags), sorted(got)), got == tags)

    # General form of numbers.
    expect("general form", [ref.general(x) for x in (50.0, 324.0, 0.5, 174.25, -3.0, 1 / 3)]
           == ["50", "324", "0.5", "174.25", "-3", "0.333333333333333"])
    r = run(design(6, False, 200, 200, 150.5, 100.25))
    expect("fractional plate", r["chosen"]["plateText"]
           == "Kiinnityslevyn mitat min. 124.25 mm x 174.5 mm")
    return problems


# ---------------------------------------------------------------------------------------------
# Designs
# ---------------------------------------------------------------------------------------------

def edge_pool():
    pool = [0.0, -0.0, -1.0, -50.0, -HUGE, TINY, 1e-300, 1.0, 40.0, 52.0, 100.0, 200.0,
            300.0, 1000.0, 1e6, 1e300, HUGE]
    for s in ref.SIZES:
        for base in (s["cMin"], s["cCr"], 10 * s["hef"]):
            pool += [base - 1.0, base - 0.1, base - 1e-9, base, base + 1e-9, base + 0.5]
    return pool


def spacing_pool():
    pool = [0.0, -0.0, -1.0, -150.0, -HUGE, TINY, 1.0, 100.0, 150.0, 200.0, 250.5, 1000.0,
            1e6, HUGE]
    for s in ref.SIZES:
        for base in (s["sMin"], s["sCr"]):
            pool += [base - 1.0, base - 1e-9, base, base + 1e-9, base + 1.0]
    return pool


FORCE_POOL = [0.0, -0.0, TINY, -TINY, 0.001, 0.5, 1.0, 1.15, 2.3, 2.7, 2.71, 3.0, 4.1, 5.5,
              7.4, 11.5, 20.0, 46.0, 100.0, -1.0, -2.0, -100.0, 1e6, 1e300, HUGE, -HUGE]

ECC_POOL = [0.0, -0.0, TINY, -TINY, 1e-9, 0.5, 1.0, 5.0, 8.999999, 9.0, 9.000001, 10.0,
            15.0, 20.0, 35.5, 50.0, 100.0, 200.0, 300.0, 1000.0, 1e6, 1e300, HUGE,
            -1.0, -5.0, -8.999999, -9.0, -20.0, -50.0, -200.0, -300.0, -1e6, -HUGE]


def worked_designs():
    return [
        design(1, False, 200, 200, nsd=2.7, v1d=2.7),
        design(1, False, 200, 200, nsd=2.71),
        design(1, True, 200, 200, nsd=2.3),
        design(1, False, 50, 200),
        design(1, False, 49.9, 200, nsd=1),
        design(1, False, 40, 200),
        design(1, False, 52, 200, nsd=3),
        design(2, True, 100, 100, 150, 0, nsd=3, v1d=2),
        design(2, True, 100, 100, 150, 0, nsd=3, v1d=2, e1=20),
        design(2, False, 100, 100, 500),
        design(2, False, 499, 600, 150, v1d=0.1),
        design(2, False, 500, 600, 150, v1d=0.1),
        design(4, False, 600, 600, 0, 100, v1d=2),
        design(4, False, 600, 600, 0, 100, v1d=2, e2=50),
        design(6, False, 600, 600, 150, 150, v1d=4),
        design(6, False, 600, 600, 150, 150, v1d=2, e2=10),
        design(6, False, 600, 600, 150, 150, v1d=2, e2=5),
        design(6, False, 200, 200, 150, 150, v1d=1),
        design(7, False, 400, 600, 150, 150),
        design(7, False, 499, 600, 150, 150),
        design(7, False, 500, 600, 150, 150),
        design(7, False, 600, 600, 150, 150, e1=50),
        design(7, False, 600, 600, 150, 150, e1=200),
        design(7, False, 600, 600, 150, 150, e1=300),
        design(2, False, 100, 100, 150, nsd=1, v1d=1, e1=200),
        design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=1),
        design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=9),
        design(2, True, 100, 100, 150, nsd=3, v1d=2, e1=-5),
        design(1, False, 200, 200, v1d=-100),
        design(6, False, 600, 600, 150, 150, v1d=2, e2=-10),
        design(3, False, 180, 180, 360, e1=9, nsd=15),
        design(7, True, 900, 900, 480, 480, e1=5, nsd=25),
        design(3, True, 120, 130, 200, 0, nsd=4, v1d=1, e1=40),
        design(5, True, 120, 130, 0, 200, nsd=4, v1d=1, e2=40),
    ]


def base_design(arr, cracked):
    """A design that passes the distance checks, with moderate loads."""
    c = 900.0 if arr == 7 else 200.0
    return design(arr, cracked, c, c, 200, 200, nsd=1.0, v1d=0.5)


def straddle_designs():
    """Each input varied alone over its boundary values, from a valid base design."""
    out = []
    pools = {2: edge_pool(), 3: edge_pool(), 4: spacing_pool(), 5: spacing_pool(),
             6: FORCE_POOL, 7: FORCE_POOL, 8: ECC_POOL, 9: ECC_POOL}
    for arr in range(1, 8):
        for cracked in (False, True):
            base = list(base_design(arr, cracked))
            for index, pool in pools.items():
                for value in pool:
                    d = list(base)
                    d[index] = value
                    out.append(tuple(d))
            # The eccentric search over e1 with some tension on a grid.
            if arr in (2, 3, 6, 7):
                for e1 in ECC_POOL:
                    d = list(base)
                    d[8] = e1
                    d[6] = 3.0
                    d[4] = 300.0
                    out.append(tuple(d))
    return out


def rand_number(rng, lo, hi):
    x = rng.uniform(lo, hi)
    form = rng.random()
    if form < 0.35:
        return float(round(x))
    if form < 0.55:
        return round(x, 1)
    if form < 0.65:
        return round(x, 2)
    return x


def random_designs(rng, count):
    edges = edge_pool()
    spacings = spacing_pool()
    out = []
    for _ in range(count):
        arr = rng.randint(1, 7)
        cracked = rng.random() < 0.5
        n = ref.ARRANGEMENTS[arr][0]

        def edge():
            r = rng.random()
            if r < 0.15:
                return rng.choice(edges)
            if arr == 7 or r < 0.35:
                return rand_number(rng, 450, 1000)
            return rand_number(rng, 40, 700)

        def spacing():
            r = rng.random()
            if r < 0.15:
                return rng.choice(spacings)
            return rand_number(rng, 60, 600)

        def force(scale):
            r = rng.random()
            if r < 0.08:
                return rng.choice(FORCE_POOL)
            if r < 0.12:
                return 0.0
            return rand_number(rng, -0.1 * scale, scale)

        def ecc():
            r = rng.random()
            if r < 0.35:
                return 0.0
            if r < 0.5:
                return rng.choice(ECC_POOL)
            if r < 0.6:
                return rand_number(rng, -12, 12)
            return rand_number(rng, -350, 350)

        c1, c2 = edge(), edge()
        s1, s2 = spacing(), spacing()
        nsd = force(n * rng.choice((1.5, 4.0, 8.0, 12.0)))
        v1d = force(rng.choice((1.5, 4.0, 8.0, 12.0)))
        if rng.random() < 0.3:
            v1d = -v1d
        out.append(design(arr, cracked, c1, c2, s1, s2, nsd, v1d, ecc(), ecc()))
    return out


def knife_edge_designs(rng, count):
    """Loads set just below and just above a capacity that the reference computes, so that
    the decisions of the checks are tested where they turn."""
    out = []
    base = random_designs(rng, count)
    for d in base:
        r = ref.mitoitus(*d)
        if not r["sizes"]:
            continue
        row = rng.choice(r["sizes"])
        n = ref.ARRANGEMENTS[d[0]][0]
        factor = rng.choice((1 - 1e-7, 1 + 1e-7, 1 - 1e-3, 1 + 1e-3))
        d = list(d)
        if row["eccentricCapacity"] is not None and rng.random() < 0.5:
            d[6] = row["eccentricCapacity"] * factor
        else:
            d[6] = n * row["anchorCapacity"] * factor
        out.append(tuple(d))
    return out


def exact_edge_designs(rng, count):
    """Loads exactly at a capacity, where the rules say which side equality falls on: a shear
    equal to FAnchor passes (arrangement 1), a tension per anchor equal to FAnchor passes, an
    eccentric capacity equal to NSd fails.  Both sides compute these capacities by the same
    formulas in the same order, so the values agree to the last bit."""
    out = []
    for d in random_designs(rng, count):
        r = ref.mitoitus(*d)
        if not r["sizes"]:
            continue
        row = rng.choice(r["sizes"])
        n = ref.ARRANGEMENTS[d[0]][0]
        d = list(d)
        if row["eccentricCapacity"] is not None:
            d[6] = row["eccentricCapacity"]
        elif d[0] == 1 and rng.random() < 0.5:
            d[7] = rng.choice((1.0, -1.0)) * row["anchorCapacity"]
        elif (n * row["anchorCapacity"]) / n == row["anchorCapacity"]:
            d[6] = n * row["anchorCapacity"]
        else:
            continue
        out.append(tuple(d))
    return out


def all_designs(seed, count):
    rng = random.Random(seed)
    designs = worked_designs() + [d for _, d in REACHING_DESIGNS] + straddle_designs()
    designs += random_designs(rng, count)
    designs += knife_edge_designs(rng, max(count // 5, 1))
    designs += exact_edge_designs(rng, max(count // 10, 1))
    return designs


def to_csv(designs):
    lines = [",".join(COLUMNS)]
    for d in designs:
        arr, cracked = d[0], d[1]
        lines.append(",".join([str(arr), "1" if cracked else "0"] + [repr(x) for x in d[2:]]))
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------------------------------------
# Comparison
# ---------------------------------------------------------------------------------------------

def is_number(x):
    return isinstance(x, (int, float)) and not isinstance(x, bool)


def close(a, b, tol=0.0):
    if not (is_number(a) and is_number(b)):
        return False
    if not math.isfinite(b):
        return False
    if a == b:
        return True
    return abs(a - b) <= max(REL_TOL * max(abs(a), abs(b)), ABS_TOL, tol)


# The working values of kiila-calc --details, by group.
PASS_KEYS = ("C1calc", "C2calc", "S1calc", "S2calc", "e1Calc", "e2Calc")
TENSION_KEYS = ("FRd", "Ac0", "Ac", "cSmall", "psiS", "FAnchor", "NSdPerAnchor")
SHEAR_KEYS = ("VAnchor", "FTorsion", "rCorner", "sumR2", "angleT", "VRes", "VGroupCap")
ECCENTRIC_KEYS = ("xNA", "L", "FMiddle", "FInner", "CConc", "NGroup", "MGroup", "NFromM")


def compare_details(path, want, got, diffs):
    """Differences between the reference's working values of one size and kiila-calc's
    "details" object, appended to diffs."""
    if not isinstance(got, dict):
        diffs.append((path, "an object", got))
        return

    def value(key, a, b, tol=0.0):
        if a is None or (is_number(a) and not math.isfinite(a)):
            # Not reached, or no finite value: null.
            if b is not None:
                diffs.append((path + key, a, b))
        elif not close(a, b, tol):
            diffs.append((path + key, a, b))

    def exact(key, a, b):
        if a != b or type(a) is not type(b):
            diffs.append((path + key, a, b))

    for key in PASS_KEYS:
        value(key, want[key], got.get(key))
    if "stop" in want:
        gs = got.get("stop") or {}
        exact("stop.kind", want["stop"]["kind"], gs.get("kind"))
        exact("stop.distance", want["stop"]["distance"], gs.get("distance"))
        value("stop.value", want["stop"]["value"], gs.get("value"))
        value("stop.minimum", want["stop"]["minimum"], gs.get("minimum"))
        return
    for key in TENSION_KEYS:
        value(key, want[key], got.get(key))
    exact("outcome", want["outcome"], got.get("outcome"))
    ws, gs = want["shear"], got.get("shear")
    if ws is None or gs is None:
        if ws is not gs:
            diffs.append((path + "shear", ws, gs))
    else:
        exact("shear.farFromEdges", ws["farFromEdges"], gs.get("farFromEdges"))
        for key in SHEAR_KEYS:
            value("shear." + key, ws[key], gs.get(key))
    we, ge = want["eccentric"], got.get("eccentric")
    if we is None or ge is None:
        if we is not ge:
            diffs.append((path + "eccentric", we, ge))
    else:
        exact("eccentric.end", we["end"], ge.get("end"))
        exact("eccentric.stepNo", we["stepNo"], ge.get("stepNo"))
        value("eccentric.xStart", we["xStart"], ge.get("xStart"))
        value("eccentric.stepWidth", we["stepWidth"], ge.get("stepWidth"))
        for key in ECCENTRIC_KEYS:
            # A bisection defines its forces only to their spread over its last bracket.
            value("eccentric." + key, we[key], ge.get(key), 2 * we["spread"][key])


def compare(want, got, details=False):
    """Differences between the reference result `want` and the JSON object `got`, as a list of
    (path, wanted, got); with details, also the working values of every size."""
    diffs = []

    def same_value(path, a, b, tol=0.0):
        if a is None or b is None:
            if a is not b:
                diffs.append((path, a, b))
        elif is_number(a) and not math.isfinite(a):
            # No value in the text: a non-finite figure may not be shown.
            if b is not None:
                diffs.append((path, "null (not finite: %r)" % a, b))
        elif not close(a, b, tol):
            diffs.append((path, a, b))

    def same_exact(path, a, b):
        if a != b or type(a) is not type(b) and not (is_number(a) and is_number(b)):
            diffs.append((path, a, b))

    if "error" in got:
        return [("error", None, got.get("error"))]
    same_exact("arrangement", want["arrangement"], got.get("arrangement"))
    same_exact("cracked", want["cracked"], got.get("cracked"))
    gin = got.get("input") or {}
    for key, value in want["input"].items():
        if value is None:  # an input the arrangement does not use
            if gin.get(key, 0) is not None:
                diffs.append(("input." + key, value, gin.get(key)))
        elif not (is_number(gin.get(key)) and gin.get(key) == value):
            diffs.append(("input." + key, value, gin.get(key)))
    same_exact("outcome", want["outcome"], got.get("outcome"))

    wsizes, gsizes = want["sizes"], got.get("sizes")
    if not isinstance(gsizes, list):
        diffs.append(("sizes", [s["size"] for s in wsizes], gsizes))
        gsizes = []
    if len(wsizes) != len(gsizes):
        diffs.append(("sizes (count)", [s["size"] for s in wsizes],
                      [s.get("size") for s in gsizes]))
    for i, (w, g) in enumerate(zip(wsizes, gsizes)):
        p = "sizes[%d]." % i
        same_exact(p + "size", w["size"], g.get("size"))
        same_exact(p + "outcome", w["outcome"], g.get("outcome"))
        same_exact(p + "governs", w["governs"], g.get("governs"))
        same_value(p + "anchorCapacity", w["anchorCapacity"], g.get("anchorCapacity"))
        same_value(p + "shearCapacity", w["shearCapacity"], g.get("shearCapacity"))
        tol = 0.0
        search = w.get("_detail", {}).get("search")
        if search:
            # A result of the bisection is defined only to the width of its last bracket.
            tol = 2 * search["tol"]
        same_value(p + "eccentricCapacity", w["eccentricCapacity"], g.get("eccentricCapacity"),
                   tol)
        if details:
            compare_details(p + "details.", w["_detail"], g.get("details"), diffs)
        wu, gu = w["utilization"], g.get("utilization") or {}
        for key in ("tension", "shear", "eccentric"):
            t = tol * abs(wu[key] / w["eccentricCapacity"]) if key == "eccentric" and tol else 0.0
            same_value(p + "utilization." + key, wu[key], gu.get(key), t)

    wc, gc = want["chosen"], got.get("chosen")
    if wc is None or gc is None:
        if wc is not gc:
            diffs.append(("chosen", wc, gc))
    else:
        for key in ("size", "sizeNo", "anchorText", "plateText"):
            same_exact("chosen." + key, wc[key], gc.get(key))
        wp, gp = wc["plate"], gc.get("plate")
        if wp is None or gp is None:
            if wp is not gp:
                diffs.append(("chosen.plate", wp, gp))
        elif not (isinstance(gp, list) and len(gp) == 2 and close(wp[0], gp[0])
                  and close(wp[1], gp[1])):
            diffs.append(("chosen.plate", wp, gp))

    wm, gm = want["message"], got.get("message")
    if wm is None or gm is None:
        if wm is not gm:
            diffs.append(("message", wm, gm))
    else:
        # kiila-calc's JSON gives the title without its blanks and ends lines with a line feed.
        shown = {"size": wm["size"], "title": wm["title"].strip(" \t"),
                 "text": wm["text"].replace("\r", "")}
        for key in ("size", "title", "text"):
            same_exact("message." + key, shown[key], gm.get(key))
        if details:
            compare_details("message.details.", want["_stop_detail"], gm.get("details"), diffs)

    same_exact("advice", want["advice"], got.get("advice"))

    gh = got.get("headings") or {}
    for key in ("capacity", "shear", "eccentric"):
        same_exact("headings." + key, want["headings"].get(key), gh.get(key))
    return diffs


def describe(d):
    return ("arrangement %d, %s, C1=%r C2=%r S1=%r S2=%r NSd=%r V1d=%r e1=%r e2=%r"
            % ((d[0], "cracked" if d[1] else "non-cracked") + tuple(d[2:])))


def compare_with_program(program, designs, show):
    csv_text = to_csv(designs)
    proc = subprocess.run([program, "--csv", "-", "--json", "--details", "--lang", "none"],
                          input=csv_text.encode("utf-8"), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=1200)
    lines = [ln for ln in proc.stdout.decode("utf-8", "replace").splitlines() if ln.strip()]
    problems = 0
    if proc.returncode != 0:
        print("kiila-calc exit code %d; stderr: %s"
              % (proc.returncode, proc.stderr.decode("utf-8", "replace").strip()[:2000]))
        problems += 1
    if len(lines) != len(designs):
        print("kiila-calc gave %d lines for %d designs" % (len(lines), len(designs)))
        problems += 1

    differing = 0
    by_path = {}
    shown = 0
    for row, (d, line) in enumerate(zip(designs, lines), start=1):
        want = ref.mitoitus(*d, details=True)
        try:
            got = json.loads(line, parse_constant=lambda c: {"NaN": math.nan}.get(c, math.inf))
        except ValueError as exc:
            got = {"error": "not JSON (%s): %s" % (exc, line[:200])}
        diffs = compare(want, got, details=True)
        if diffs:
            differing += 1
            for path, _, _ in diffs:
                key = path.split("[")[0] + (path.split("]")[1] if "]" in path else "")
                by_path[key] = by_path.get(key, 0) + 1
            if shown < show:
                shown += 1
                print("row %d: %s" % (row, describe(d)))
                for path, a, b in diffs:
                    print("    %-32s reference %r" % (path, a))
                    print("    %-32s kiila-calc %r" % ("", b))
                want_line = json.dumps({k: v for k, v in want.items()}, ensure_ascii=False,
                                       default=str)
                print("    reference: %s" % want_line[:3000])
                print("    kiila-calc: %s" % line[:3000])
    print("reference_check: %d designs, %d differ%s" % (
        len(designs), differing,
        "" if not by_path else " (" + ", ".join("%s: %d" % kv for kv in sorted(by_path.items()))
        + ")"))
    return problems + differing


def compare_single_designs(program, designs, show):
    """The same comparison through the single-design command line, one run per design."""
    differing = 0
    for d in designs:
        args = [program, "--arrangement=%d" % d[0], "--json", "--lang", "none"]
        if d[1]:
            args.append("--cracked")
        for name, value in zip(COLUMNS[2:], d[2:]):
            args.append("--%s=%r" % (name, value))
        proc = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        text = proc.stdout.decode("utf-8", "replace").strip()
        try:
            got = json.loads(text)
        except ValueError:
            got = {"error": "exit %d, not JSON: %s %s" % (
                proc.returncode, text[:200], proc.stderr.decode("utf-8", "replace")[:200])}
        diffs = compare(ref.mitoitus(*d, details=True), got)
        if proc.returncode != 0:
            diffs.append(("exit code", 0, proc.returncode))
        if diffs:
            differing += 1
            if differing <= show:
                print("single design: %s" % describe(d))
                for path, a, b in diffs:
                    print("    %-32s reference %r" % (path, a))
                    print("    %-32s kiila-calc %r" % ("", b))
    print("reference_check (single designs): %d designs, %d differ" % (len(designs), differing))
    return differing


# ---------------------------------------------------------------------------------------------
# Load cases: one geometry, several pairs of loads
# ---------------------------------------------------------------------------------------------

def case_utilization(row):
    """The highest utilisation of the checks a case made at a size (no value counts as 0)."""
    values = [u for u in row["utilization"].values() if u is not None]
    return max(0.0 if math.isnan(u) else u for u in values)


def cases_reference(d, loads):
    """What a calculation of several load cases gives, from single-case passes of the
    reference: per size every case's own pass; a size is chosen when every case passes it; the
    size shows the case of highest utilisation, among the failing ones when any fails (the first
    of equal ones)."""
    geometry = d[:6]
    out = {"sizes": [], "outcome": "advice", "chosen": None, "governingCase": None}
    for size_no in range(1, 5):
        passes = [ref.mitoitus(*geometry, *l, first_size=size_no) for l in loads]
        if not passes[0]["sizes"] or passes[0]["sizes"][0]["size"] != ref.size_name(
                ref.SIZES[size_no - 1]):
            out["outcome"] = "stopped"
            return out
        rows = [p["sizes"][0] for p in passes]
        failing = [i for i, r in enumerate(rows) if r["outcome"] != "chosen"]
        candidates = failing or list(range(len(rows)))
        governing = candidates[0]
        for i in candidates:
            if case_utilization(rows[i]) > case_utilization(rows[governing]):
                governing = i
        out["sizes"].append({"size": rows[0]["size"], "rows": rows, "governing": governing})
        if not failing:
            out["outcome"] = "chosen"
            out["chosen"] = rows[0]["size"]
            out["governingCase"] = governing
            return out
    out["governingCase"] = out["sizes"][-1]["governing"]
    return out


def random_case_sets(rng, count):
    """Random geometries, each with 2 to 6 cases of random loads; now and then a case twice."""
    out = []
    for d in random_designs(rng, count):
        others = random_designs(rng, 12)
        loads = [tuple(d[6:])]
        for _ in range(rng.randint(1, 5)):
            if rng.random() < 0.1:
                loads.append(rng.choice(loads))
            else:
                loads.append(tuple(rng.choice(others)[6:]))
        rng.shuffle(loads)
        out.append((d, loads))
    return out


def compare_cases(program, count, seed, show):
    """kiila-calc --cases against cases_reference: the outcome and size, the governing case of
    the run and of each size, each case's outcome and utilisations at each size, and the rows of
    the sizes (the governing case's own)."""
    rng = random.Random(seed)
    differing = 0
    for d, loads in random_case_sets(rng, count):
        want = cases_reference(d, loads)
        table = "name,nsd,v1d,e1,e2\n" + "".join(
            "LC%d,%r,%r,%r,%r\n" % ((i + 1,) + l) for i, l in enumerate(loads))
        args = [program, "--arrangement=%d" % d[0], "--json", "--lang", "none", "--cases", "-"]
        if d[1]:
            args.append("--cracked")
        for name, value in zip(COLUMNS[2:6], d[2:6]):
            args.append("--%s=%r" % (name, value))
        proc = subprocess.run(args, input=table.encode(), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=60)
        diffs = []
        try:
            got = json.loads(proc.stdout.decode("utf-8", "replace"))
        except ValueError:
            got = {}
            diffs.append(("output", "JSON", proc.stdout[:200] + proc.stderr[:200]))
        if got:
            diffs += case_diffs(want, got, loads)
        if diffs:
            differing += 1
            if differing <= show:
                print("cases: %s; loads %r" % (describe(d), loads))
                for path, a, b in diffs:
                    print("    %-32s reference %r" % (path, a))
                    print("    %-32s kiila-calc %r" % ("", b))
    print("reference_check (load cases): %d geometries, %d differ" % (count, differing))
    return differing


def case_diffs(want, got, loads):
    diffs = []

    def same(path, a, b):
        if a is None or b is None or isinstance(a, str):
            if a != b:
                diffs.append((path, a, b))
        elif not close(a, b):
            diffs.append((path, a, b))

    same("outcome", want["outcome"], got.get("outcome"))
    same("chosen", want["chosen"], (got.get("chosen") or {}).get("size"))
    same("governingCase",
         None if want["governingCase"] is None else want["governingCase"] + 1,
         got.get("governingCase"))
    sizes = got.get("sizes", [])
    same("sizes", len(want["sizes"]), len(sizes))
    cases = got.get("cases", [])
    same("cases", len(loads), len(cases))
    for k, w in enumerate(want["sizes"]):
        if k >= len(sizes) or len(cases) != len(loads):
            break
        g = w["governing"]
        same("sizes[%d].governingCase" % k, g + 1, sizes[k].get("governingCase"))
        # The size's row is the governing case's own pass.
        row = w["rows"][g]
        for key in ("anchorCapacity", "shearCapacity", "eccentricCapacity", "outcome",
                    "governs"):
            same("sizes[%d].%s" % (k, key), row[key], sizes[k].get(key))
        for i, r in enumerate(w["rows"]):
            c = cases[i]["sizes"][k] if k < len(cases[i]["sizes"]) else {}
            same("cases[%d][%d].outcome" % (i, k), r["outcome"], c.get("outcome"))
            same("cases[%d][%d].governs" % (i, k), r["governs"], c.get("governs"))
            for key in ("tension", "shear", "eccentric"):
                same("cases[%d][%d].%s" % (i, k, key), r["utilization"][key],
                     c.get("utilization", {}).get(key))
    return diffs


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program", nargs="?", help="path of kiila-calc")
    parser.add_argument("--count", type=int, default=5000, help="random designs")
    parser.add_argument("--seed", type=int, default=20240611)
    parser.add_argument("--show", type=int, default=5, help="differences shown in full")
    parser.add_argument("--csv-out", help="also write the designs as CSV to this file")
    parser.add_argument("--case-count", type=int, default=300,
                        help="random geometries with several load cases")
    args = parser.parse_args()

    problems = self_check()
    for p in problems:
        print("reference fails its worked value: " + p)
    if problems:
        return 1
    print("reference: worked values hold")

    designs = all_designs(args.seed, args.count)
    if args.csv_out:
        with open(args.csv_out, "w", encoding="utf-8") as f:
            f.write(to_csv(designs))
    if not args.program:
        outcomes = {}
        for d in designs:
            r = ref.mitoitus(*d, details=True)
            key = r["outcome"]
            if r["outcome"] == "chosen":
                key += " " + r["chosen"]["size"]
            outcomes[key] = outcomes.get(key, 0) + 1
        print("reference alone: %d designs; %s" % (
            len(designs), ", ".join("%s %d" % kv for kv in sorted(outcomes.items()))))
        return 0
    failures = compare_with_program(args.program, designs, args.show)
    rng = random.Random(args.seed + 1)
    singles = worked_designs() + rng.sample(designs, min(40, len(designs)))
    failures += compare_single_designs(args.program, singles, args.show)
    failures += compare_cases(args.program, args.case_count, args.seed + 2, args.show)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
