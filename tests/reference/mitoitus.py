"""Reference design calculation for Kiila wedge anchors, in plain Python.

Written independently of the C++ calculation, straight from the description of the design
rules, so that check.py can run the same designs through both and compare them.  It follows
the rules literally and in their order, including the order of the arithmetic, and applies
the three project decisions:

  a. shear and eccentricities by magnitude: |V1d|, |e1|, |e2| (the raise to 9 applies to the
     magnitude); NSd keeps its sign;
  b. an eccentric search without a step inside the tolerance never evaluates step 1100: it
     uses step 0 when the ratio there is already below 1, else bisects the first pair of
     steps whose ratio falls from >= 1 to < 1;
  c. no comparison passes on NaN (every check is written so that NaN fails).

The result of mitoitus() has the shape of one JSON object of `kiila-calc --json`; with
details=True each size carries its working values under "_detail" (and a stopped run those of
its last size under "_stop_detail"), named as `kiila-calc --details --json` names them.
"""

import math
import sys

# Size table: dNom, hef, sCr, sMin, cCr, cMin, FRd non-cracked, FRd cracked.
SIZES = (
    dict(dNom=8.0, hef=50.0, sCr=300.0, sMin=70.0, cCr=150.0, cMin=50.0, frdU=2.7, frdC=2.3),
    dict(dNom=10.0, hef=50.0, sCr=300.0, sMin=120.0, cCr=150.0, cMin=55.0, frdU=4.1, frdC=3.4),
    dict(dNom=12.0, hef=60.0, sCr=360.0, sMin=150.0, cCr=180.0, cMin=65.0, frdU=7.4, frdC=5.5),
    dict(dNom=16.0, hef=80.0, sCr=480.0, sMin=185.0, cCr=240.0, cMin=95.0, frdU=11.5, frdC=7.4),
)

# Arrangement table: nAnchors, nPerRow, k1, k2.
ARRANGEMENTS = {
    1: (1, 1, 0.0, 0.0),
    2: (2, 1, 0.5, 0.0),
    3: (3, 1, 1.0, 0.0),
    4: (2, 2, 0.0, 0.5),
    5: (3, 3, 0.0, 1.0),
    6: (4, 2, 0.5, 0.5),
    7: (6, 2, 1.0, 0.5),
}

# Finnish defaults of the message fragments.
FRAGMENT_DEFAULTS = {
    "fragAnkkurien": "Ankkurien ",
    "fragArvoC": " arvo ",
    "fragArvoS": " arvo ",
    "fragKasvatettava": " kasvatettava minimiarvoon ",
    "fragAnkkuriryhman": "Ankkuriryhmän  ",
    "fragOhje": " Ohje ",
    "fragVetoLeikkaus": " veto- ja leikkauskapasiteetti kN ",
    "fragLeikkaus": " leikkauskapasiteetti kN ",
    "fragEpakeskinen": " epäkeskinen vetokapasiteetti kN",
    "fragKpl": " kpl ",
    "fragKiinnityslevy": "Kiinnityslevyn mitat min. ",
}

CAPTION_7 = "TAPAUS 7"

ADVICE = ("Valitse järeämpi kiinnitystapaus tai kokeile kasvattaa ankkurien etäisyyttä "
          "reunasta ja/tai keskiöväliä")

PI = 3.1416
CRLF = "\r\n"


def fdiv(a, b):
    """a / b as the hardware divides: a zero divisor gives an infinity or NaN."""
    if b == 0:
        if a == 0 or math.isnan(a):
            return math.nan
        return math.copysign(math.inf, a) * math.copysign(1.0, b)
    return a / b


def shown(x):
    """A figure as the results show it: an infinity (an overflowing utilisation) becomes the
    largest finite value with its sign, as an out-of-range input number does."""
    if math.isinf(x):
        return math.copysign(sys.float_info.max, x)
    return x


def general(x):
    """Number in the general form: integers without decimals, else up to 15 significant
    digits, point as the decimal separator."""
    if isinstance(x, int):
        return str(x)
    if x == math.floor(x) and abs(x) < 1e15:
        return str(int(x))
    return "%.15g" % x


def size_name(size):
    return "M" + general(size["dNom"])


# ---------------------------------------------------------------------------------------------
# Shear check of the group
# ---------------------------------------------------------------------------------------------

def check_shear(tapaus, n_anchors, k2, v1d, e2, s1, s2, c1_entered, c2_entered, hef, f_anchor,
                terms=None):
    """Returns (passes, VRes, VGroupCap or None); fills `terms` (a dict) with the working values
    under the names kiila-calc --details gives them."""
    far = c1_entered >= 10 * hef and c2_entered >= 10 * hef
    cap = None
    v_anchor = f_torsion = r_corner = sum_r2 = angle_t = None
    if tapaus == 1:
        v_res = v1d
    elif tapaus in (2, 3):
        if far:
            v_res = v1d / n_anchors
            cap = n_anchors * f_anchor
        else:
            v_res = v1d
            cap = f_anchor
    elif tapaus in (4, 5):
        v_res = v1d * e2 / (2 * k2 * s2) + v1d / n_anchors
        cap = n_anchors * f_anchor
    elif tapaus == 6:
        if far:
            v_anchor = v1d / 4
            cap = n_anchors * f_anchor
        else:
            v_anchor = v1d / 2
            cap = 2 * f_anchor
        r_corner = 0.5 * math.sqrt(s2 * s2 + s1 * s1)
        f_torsion = v1d * e2 / (4 * r_corner)
        angle_t = PI - math.atan(s1 / s2)
        v_res = math.sqrt(v_anchor * v_anchor + f_torsion * f_torsion
                          - 2 * v_anchor * f_torsion * math.cos(angle_t))
    else:  # 7
        v_anchor = v1d / 6
        cap = n_anchors * f_anchor
        sum_r2 = s2 * s2 / 4 + s1 * s1
        r_corner = math.sqrt(sum_r2)
        f_torsion = v1d * e2 * r_corner / (4 * sum_r2 + 0.5 * (s2 * s2))
        angle_t = PI - math.atan(2 * s1 / s2)
        v_res = math.sqrt(v_anchor * v_anchor + f_torsion * f_torsion
                          - 2 * v_anchor * f_torsion * math.cos(angle_t))
    passes = v_res <= f_anchor  # NaN fails
    if terms is not None:
        terms.update(farFromEdges=far, VAnchor=v_anchor, FTorsion=f_torsion, rCorner=r_corner,
                     sumR2=sum_r2, angleT=angle_t, VRes=v_res, VGroupCap=cap)
    return passes, v_res, cap


# ---------------------------------------------------------------------------------------------
# Eccentric tension of the group
# ---------------------------------------------------------------------------------------------

def eccentric_forces(x_na, d, k1, n_per_row, s1, b_plate, e1, f_anchor):
    """The forces of one step of the search with the neutral axis at x_na, by name."""
    length = 1.5 * d + 2 * k1 * s1 - x_na
    f_outer = f_anchor
    if k1 == 0.5:
        f_middle = 0.0
    else:
        f_middle = (1.5 * d + k1 * s1 - x_na) / length * f_anchor
    if x_na < 0:
        f_inner = (1.5 * d - x_na) / length * f_anchor
    else:
        f_inner = 0.0
    if x_na > 0:
        eps_c = 0.0005 * x_na / length
        c_conc = 8.75 * b_plate * x_na * eps_c
    else:
        c_conc = 0.0
    n_group = n_per_row * f_outer + n_per_row * f_middle + n_per_row * f_inner - c_conc
    m_group = (n_per_row * k1 * s1 * f_outer - n_per_row * k1 * s1 * f_inner
               + (1.5 * d + k1 * s1 - x_na / 3) * c_conc)
    n_from_m = fdiv(m_group, e1)
    return dict(xNA=x_na, L=length, FMiddle=f_middle, FInner=f_inner, CConc=c_conc,
                NGroup=n_group, MGroup=m_group, NFromM=n_from_m)


def eccentric_state(x_na, d, k1, n_per_row, s1, b_plate, e1, f_anchor):
    """NGroup and NFromM with the neutral axis at x_na (one step of the search)."""
    f = eccentric_forces(x_na, d, k1, n_per_row, s1, b_plate, e1, f_anchor)
    return f["NGroup"], f["NFromM"]


def eccentric_search(d, k1, k2, n_per_row, s1, s2, e1, f_anchor):
    """The stepwise search for the eccentric tension capacity NGroup.

    Returns a dict: how ("step", "step0" or "bisect") and end (its name in kiila-calc
    --details: "step", "step0", "bisection"), stepNo (for a bisection the first step whose ratio
    fell below 1), the forces where the search ended (xNA, FMiddle, FInner, CConc, NGroup,
    MGroup, NFromM), tol, the spread of NGroup over the last bisection bracket, and spread, that
    of every force (all 0 when a step of the sweep gave them)."""
    x_start = -20 * k1 * s1 - 15 * d
    b_plate = 3 * d + 2 * k2 * s2
    step = 0.015 * d + 0.02 * k1 * s1

    def at(x):
        return eccentric_state(x, d, k1, n_per_row, s1, b_plate, e1, f_anchor)

    def forces(x):
        return eccentric_forces(x, d, k1, n_per_row, s1, b_plate, e1, f_anchor)

    def ended(how, step_no, x_na, lo=None):
        result = forces(x_na)
        result.update(how=how, stepNo=step_no, tol=0.0, xStart=x_start, stepWidth=step,
                      end={"step": "step", "step0": "step0", "bisect": "bisection"}[how],
                      spread={k: 0.0 for k in result})
        if lo is not None:
            low = forces(lo)
            result["spread"] = {k: abs(result[k] - low[k]) for k in low}
            result["tol"] = result["spread"]["NGroup"]
        return result

    ratios = []
    for step_no in range(0, 1100):  # step 1100 is never evaluated
        x_na = x_start + step_no * step
        n_group, n_from_m = at(x_na)
        ratio = fdiv(n_group, n_from_m)
        if 0.95 < ratio < 1.05:
            return ended("step", step_no, x_na)
        ratios.append((x_na, ratio, n_group))

    if ratios[0][1] < 1:
        return ended("step0", 0, ratios[0][0])

    for k in range(len(ratios) - 1):
        if ratios[k][1] >= 1 and ratios[k + 1][1] < 1:
            lo = ratios[k][0]
            hi = ratios[k + 1][0]
            n_hi = ratios[k + 1][2]
            while hi - lo >= 1e-9:
                mid = (lo + hi) / 2
                n_mid, m_mid = at(mid)
                if fdiv(n_mid, m_mid) >= 1:
                    lo = mid
                else:
                    hi = mid
                    n_hi = n_mid
            result = ended("bisect", k + 1, hi, lo)
            assert result["NGroup"] == n_hi
            return result
    # Cannot happen for the inputs the calculation lets through (the ratio is negative at
    # step 1099); make it loud rather than guess.
    raise RuntimeError("eccentric search: no fall of the ratio through 1")


# ---------------------------------------------------------------------------------------------
# The design
# ---------------------------------------------------------------------------------------------

def mitoitus(tapaus, cracked, c1, c2, s1, s2, nsd, v1d, e1, e2, fragments=None,
             caption7=CAPTION_7, details=False, first_size=1):
    """Runs the design.  `cracked` is true for cracked concrete.  Returns a dict shaped like
    one JSON object of `kiila-calc --json`; with details=True each size also carries its
    working values under "_detail", and a stopped run those of its last size under
    "_stop_detail".  With first_size the run starts at that size (1 to 4): its first row is
    that size's pass on its own, whatever the smaller sizes would have given."""
    frag = dict(FRAGMENT_DEFAULTS)
    for key, text in (fragments or {}).items():
        if text:
            frag[key] = text

    n_anchors, n_per_row, k1, k2 = ARRANGEMENTS[tapaus]

    # An input the arrangement does not use (spacing and eccentricity of a direction with one
    # anchor) is echoed as null, and so are its working values.
    def used(k, value):
        return value if k != 0 else None

    result = {
        "arrangement": tapaus,
        "cracked": bool(cracked),
        "input": {"c1": c1, "c2": c2, "s1": used(k1, s1), "s2": used(k2, s2), "nsd": nsd,
                  "v1d": v1d, "e1": used(k1, e1), "e2": used(k2, e2)},
        "outcome": None,
        "sizes": [],
        "chosen": None,
        "message": None,
        "advice": None,
        "headings": {},
    }

    for size_no in range(first_size, 5):
        size = SIZES[size_no - 1]
        d = size["dNom"]
        hef = size["hef"]
        s_cr = size["sCr"]
        s_min = size["sMin"]
        c_cr = size["cCr"]
        c_min = size["cMin"]

        c1c, c2c, s1c, s2c = c1, c2, s1, s2
        nsd_c = nsd
        v1d_c = abs(v1d)
        e1c = abs(e1)
        e2c = abs(e2)
        if 0 < e1c < 9:
            e1c = 9.0
        if 0 < e2c < 9:
            e2c = 9.0

        frd = size["frdC"] if cracked else size["frdU"]

        if c1c > c_cr:
            c1c = c_cr
        if c2c > c_cr:
            c2c = c_cr

        def stop(text, kind, distance, value, minimum):
            result["outcome"] = "stopped"
            result["message"] = {"size": size_name(size), "title": frag["fragOhje"],
                                 "text": text}
            if details:
                result["_stop_detail"] = {
                    "C1calc": c1c, "C2calc": c2c, "S1calc": used(k1, s1c),
                    "S2calc": used(k2, s2c), "e1Calc": used(k1, e1c), "e2Calc": used(k2, e2c),
                    "stop": {"kind": kind, "distance": distance, "value": value,
                             "minimum": minimum}}
            return result

        def edge_message(which):
            return (frag["fragAnkkurien"] + "M" + general(d) + CRLF + frag["fragArvoC"]
                    + which + frag["fragKasvatettava"] + general(c_min) + " mm")

        def spacing_message(which, breaks):
            return (frag["fragAnkkurien"] + "M" + general(d) + CRLF * breaks
                    + frag["fragArvoS"] + which + frag["fragKasvatettava"] + general(s_min)
                    + " mm")

        def case7_message(which):
            return (caption7 + frag["fragArvoC"] + which + frag["fragKasvatettava"]
                    + general(10 * hef) + " mm")

        # Minimum edge distances (NaN-safe: only a value at or above the minimum passes).
        if not (c1c >= c_min):
            return stop(edge_message(" c1 "), "edge", "c1", c1c, c_min)
        if not (c2c >= c_min):
            return stop(edge_message(" c2 "), "edge", "c2", c2c, c_min)

        # Minimum spacings.
        if tapaus in (2, 3):
            if not (s1c >= s_min):
                return stop(spacing_message(" s1 ", 1), "spacing", "s1", s1c, s_min)
        elif tapaus in (4, 5):
            if not (s2c >= s_min):
                return stop(spacing_message(" s2 ", 1), "spacing", "s2", s2c, s_min)
        elif tapaus in (6, 7):
            if not (s1c >= s_min):
                return stop(spacing_message(" s1 ", 2), "spacing", "s1", s1c, s_min)
            if not (s2c >= s_min):
                return stop(spacing_message(" s2 ", 2), "spacing", "s2", s2c, s_min)

        if s1c > s_cr:
            s1c = s_cr
        if s2c > s_cr:
            s2c = s_cr

        if tapaus == 7:
            if not (c1 >= 10 * hef):
                return stop(case7_message(" c1 "), "farFromEdges", "c1", c1, 10 * hef)
            if not (c2 >= 10 * hef):
                return stop(case7_message(" c2 "), "farFromEdges", "c2", c2, 10 * hef)

        # Capacity of one anchor by the projected areas.
        ac0 = s_cr * s_cr
        ac = (c_cr + c1c + 2 * k1 * s1c) * (c_cr + c2c + 2 * k2 * s2c)
        c_small = c1c if c1c <= c2c else c2c
        psi_s = 0.7 + 0.3 * c_small / c_cr
        f_anchor = (ac / ac0) * psi_s * frd / n_anchors

        result["headings"]["capacity"] = frag["fragAnkkurien"] + frag["fragVetoLeikkaus"]
        row = {
            "size": size_name(size),
            "anchorCapacity": f_anchor,
            "shearCapacity": None,
            "eccentricCapacity": None,
            "outcome": None,
            "utilization": {"tension": shown(nsd_c / n_anchors / f_anchor), "shear": None,
                            "eccentric": None},
        }
        # The working values under the names of kiila-calc --details.
        detail = {"C1calc": c1c, "C2calc": c2c, "S1calc": used(k1, s1c),
                  "S2calc": used(k2, s2c), "e1Calc": used(k1, e1c), "e2Calc": used(k2, e2c),
                  "FRd": frd, "Ac0": ac0, "Ac": ac, "cSmall": c_small,
                  "psiS": psi_s, "FAnchor": f_anchor, "NSdPerAnchor": nsd_c / n_anchors,
                  "shear": None, "eccentric": None}
        if details:
            row["_detail"] = detail
        result["sizes"].append(row)

        def fail(how):
            row["outcome"] = how
            return None

        # Tension.
        if not (nsd_c / n_anchors <= f_anchor):
            fail("tension")
        else:
            if tapaus != 1:
                result["headings"]["shear"] = (frag["fragAnkkuriryhman"] + general(n_anchors)
                                               + frag["fragLeikkaus"])
            detail["shear"] = {}
            shear_ok, v_res, cap = check_shear(tapaus, n_anchors, k2, v1d_c, e2c, s1c, s2c,
                                               c1, c2, hef, f_anchor, detail["shear"])
            row["shearCapacity"] = cap
            row["utilization"]["shear"] = shown(v_res / f_anchor)
            detail["VRes"] = v_res
            if not shear_ok:
                fail("shear")
            elif tapaus in (1, 4, 5) or e1c == 0:
                row["outcome"] = "chosen"
            else:
                search = eccentric_search(d, k1, k2, n_per_row, s1c, s2c, e1c, f_anchor)
                detail["search"] = detail["eccentric"] = search
                n_group = search["NGroup"]
                result["headings"]["eccentric"] = (frag["fragAnkkuriryhman"]
                                                   + general(n_anchors)
                                                   + frag["fragEpakeskinen"])
                row["eccentricCapacity"] = n_group
                row["utilization"]["eccentric"] = shown(fdiv(nsd_c, n_group))
                if n_group > nsd_c:
                    row["outcome"] = "chosen"
                else:
                    fail("eccentric")

        detail["outcome"] = row["outcome"]
        # The check that governs: the one that failed, else the one of the highest utilisation
        # (the first of equal ones; no value counts as 0).
        if row["outcome"] != "chosen":
            row["governs"] = row["outcome"]
        else:
            row["governs"] = "tension"
            highest = None
            for key in ("tension", "shear", "eccentric"):
                u = row["utilization"][key]
                if u is None:
                    continue
                u = 0.0 if math.isnan(u) else u
                if highest is None or u > highest:
                    row["governs"], highest = key, u
        if row["outcome"] == "chosen":
            plate = None
            plate_text = None
            if tapaus != 1:
                t3 = 3 * d
                plate = {
                    2: (t3, t3 + s1c),
                    3: (t3, t3 + 2 * s1c),
                    4: (t3 + s2c, t3),
                    5: (t3 + 2 * s2c, t3),
                    6: (t3 + s2c, t3 + s1c),
                    7: (t3 + s2c, t3 + 2 * s1c),
                }[tapaus]
                plate_text = (frag["fragKiinnityslevy"] + general(plate[0]) + " mm x "
                              + general(plate[1]) + " mm")
                plate = list(plate)
            result["outcome"] = "chosen"
            result["chosen"] = {
                "size": size_name(size),
                "sizeNo": size_no,
                "anchorText": (general(n_anchors) + frag["fragKpl"] + " Kalvex M "
                               + general(d)),
                "plateText": plate_text,
                "plate": plate,
            }
            return result

    result["outcome"] = "advice"
    result["advice"] = ADVICE
    return result


def data_sheet_title(size_no):
    """Title that a chosen size writes into the technical data window."""
    return " Kalvex X-TR M " + general(SIZES[size_no - 1]["dNom"])
