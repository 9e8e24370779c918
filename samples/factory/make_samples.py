#!/usr/bin/env python3
"""Writes the sample factory files of this folder: a HEX file, code images made from
it, the ten program modules, and the three provisioning data files.

Run from anywhere:  python3 samples/factory/make_samples.py
The files are small and made only to show (and test) the formats; they are not
firmware and not real calibration data."""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
CRLF = "\r\n"
WINDOW = 7168
SECTOR = 64


def save(name, lines):
    with open(os.path.join(HERE, name), "w", newline="") as f:
        f.write("".join(line + CRLF for line in lines))


# --- Intel HEX -------------------------------------------------------------------

def hex_record(rtype, address, data):
    body = [len(data), (address >> 8) & 0xFF, address & 0xFF, rtype] + list(data)
    checksum = (-sum(body)) & 0xFF
    return ":" + "".join("%02X" % b for b in body + [checksum])


def hex_file(address, data):
    lines = [hex_record(4, 0, [0, 0])]  # extended linear address 0, as most tools write
    for i in range(0, len(data), 16):
        lines.append(hex_record(0, address + i, data[i:i + 16]))
    lines.append(hex_record(1, 0, []))
    return lines


def code_bytes(seed, count):
    """Bytes that look like a small 8051 module: a jump over a table, then code."""
    rnd = random.Random(seed)
    out = [0x02, 0x1C, 0x10]  # LJMP 7184
    while len(out) < count:
        out.append(rnd.choice([0x74, 0xF5, 0xE5, 0x90, 0xE0, 0xF0, 0xA3, 0x12, 0x22, 0x80,
                               0x60, 0x70, 0xB4, 0x24, 0x33, 0xC3, 0x94, 0x40, 0x50, 0x78]))
        out.append(rnd.randrange(256))
    out = out[:count]
    out[-1] = 0x22  # RET
    return out


# --- .COD code images ----------------------------------------------------------------

def field(n):
    return (" " if n >= 0 else "") + str(n) + " "


def cod_lines(data, first_address=WINDOW, from_flash=False):
    sectors = (len(data) + SECTOR - 1) // SECTOR
    padded = list(data) + [0] * (sectors * SECTOR - len(data))
    text = ", Number of 64 byte Sectors" if from_flash else ",Number of 64 byte Sectors"
    lines = [field(sectors).ljust(14) + text]
    for i, b in enumerate(padded):
        lines.append(field(first_address + i).ljust(14) + field(b))
    return lines


MODULES = [  # file, 24C512 address, bytes in the module
    ("CommandMode.COD", 19072, 150),
    ("IspSerialLoader.COD", 16384, 100),
    ("HiLoEditor.COD", 17216, 60),
    ("CalibrationEditor.COD", 17472, 90),
    ("EditTachoSensitivity.COD", 17728, 48),
    ("DampingEditor.COD", 17984, 128),
    ("TimeAlarmsEditor.COD", 18240, 170),
    ("ShoBackgroundAlarms.COD", 18752, 75),
    ("Lumisk_UoM_Editor.COD", 19584, 64),
    ("KeelOffsetEditor.COD", 20096, 110),
]


# --- CALCURVS.DAT ---------------------------------------------------------------------

def encode_point(ohms, value):
    counts = round(ohms * 1023 / (ohms + 180))
    return [counts >> 8, counts & 0xFF, (value >> 8) & 0xFF, value & 0xFF]


def curve_points(kind):
    points = []
    for j in range(32):
        t = j / 31
        if kind == "temperature":   # 287 ohm at 40 C .. 22 ohm at 120 C, tenths of a degree
            ohms = 287.4 * (22.4 / 287.4) ** t
            value = round(400 + 800 * t)
        elif kind == "pressure":    # 10 ohm at 0 bar .. 184 ohm at 5 bar, tenths of a bar
            ohms = 10 + 174 * t
            value = round(50 * t)
        else:                       # 240 ohm empty .. 33 ohm full, tenths of a percent
            ohms = 240 - 207 * t
            value = round(1000 * t)
        points.append((round(ohms, 1), value))
    return points


CURVES = [
    ("Curve 1: engine temperature, 287-22 ohm sender", "temperature"),
    ("Curve 2: oil pressure, 10-184 ohm sender", "pressure"),
    ("Curve 3: fuel level, 240-33 ohm sender", "fuel"),
]


def calcurvs_lines():
    lines = ["%d,Number of calibration curves" % len(CURVES)]
    for k, (title, kind) in enumerate(CURVES, start=1):
        start = 12288 + 128 * (k - 1)
        lines += [title,
                  "Point, Address, Ohms, Value x 10, Counts high, Counts low, Value high, Value low",
                  "*"]
        for j, (ohms, value) in enumerate(curve_points(kind), start=1):
            data = encode_point(ohms, value)
            ohms_text = ("%g" % ohms)
            lines.append("%d, %d, %s, %d, %d, %d, %d, %d" % ((j, start + 4 * (j - 1), ohms_text, value) + tuple(data)))
    return lines


# --- NVMNMEAG.DAT ------------------------------------------------------------------------

TALKERS = ("AG AP CC CD CM CR CS CV CT CX DE DF EC EP ER GP HC HE HN II IN LA LC MP OM OS RA SD "
           "SN SS TI TR VD VM VW WI YC YD YF YL YP YR YT YV YX ZA ZC ZQ ZV").split()

SENTENCES = ("AAM ALM APA APB ASD BEC BOD BWC BWR BWW DBK DBS DBT DCN DPT DRU DSC DSE DSI DSR DTM "
             "FSI GBS GDA GGA GLA GLC GLL GNS GOA GRS GSA GST GSV GTD GXA HCC HCD HDG HDM HDT HSC "
             "HVD HVM IMA LCD MDA MHU MMB MSK MSS MTW MWD MWV OLN OSD ROO RMA RMB RMC ROT RPM RSA "
             "RSD RTE SFI SNU STC STN STR SYS TEC TEP TGA TIF TLL TRF TRP TRS TTM VBW VDC VDR VHW "
             "VLW VPE VPW VTA VTG VTI VWE VWR VWT WCV WDC WDR WFM WNC WNR WPL XDR XTE XTR YWP YWS "
             "ZAA ZCD ZDA ZDL ZEV ZFI ZFO ZLZ ZPI ZTA ZTE ZTG ZTI ZWP ZZU").split()


def nmea_lines():
    assert len(TALKERS) == 49 and len(SENTENCES) == 120
    lines = ["Corvane NMEA identifier tables",
             "Talker identifiers: entries 1-128, two characters each",
             "Sentence identifiers: entries 1-128, three characters each",
             "Each entry: number, identifier",
             "*"]
    talkers = TALKERS + ["--"] * (128 - len(TALKERS))
    sentences = SENTENCES + ["---"] * (128 - len(SENTENCES))
    lines += ["%d,%s" % (a, t) for a, t in enumerate(talkers, start=1)]
    lines += ["%d,%s" % (b, s) for b, s in enumerate(sentences, start=1)]
    lines.append("-1")
    return lines


# --- DECPTSA.DAT ---------------------------------------------------------------------------

def decpts_lines():
    lines = ["Corvane decimal points",
             "One entry per data source code 1-64",
             "Each entry: data source code, number of decimals shown",
             "*",
             "*"]
    for e in range(1, 65):
        lines.append("%d,%d" % (e, (0, 1, 1, 2)[e % 4]))
    lines.append("-1")
    return lines


def main():
    sample = code_bytes(1, 100)
    save("SAMPLE.HEX", hex_file(WINDOW, sample))
    save("SAMPLE.COD", cod_lines(sample))
    for number, (name, _address, size) in enumerate(MODULES, start=1):
        save(name, cod_lines(code_bytes(100 + number, size)))
    save("CALCURVS.DAT", calcurvs_lines())
    save("NVMNMEAG.DAT", nmea_lines())
    save("DECPTSA.DAT", decpts_lines())


if __name__ == "__main__":
    main()
