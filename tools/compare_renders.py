#!/usr/bin/env python3
"""Compares the sound of two builds of the plug-in, program by program.

Renders the built-in demo phrase through every program with both modules (as 32-bit float WAV,
through the command-line host) and reports, per program and channel, max |new - old| over the
first two seconds relative to max |old|. Programs that oscillate on their own drift apart however
small the change, so for them the report compares the RMS level of the whole ten seconds instead.

    tools/compare_renders.py OLD.so NEW.so [--host build/zorvane] [--tempo 97]

Exits with 1 when a program exceeds the bounds: 1e-5 relative, or 1 dB for the oscillating ones.
"""

import argparse
import math
import os
import struct
import subprocess
import sys
import tempfile

RELATIVE_BOUND = 1e-5
LEVEL_BOUND_DB = 1.0
SECONDS_COMPARED = 2.0
SECONDS_RENDERED = 10.0


def read_float_wav(path):
    """The sample rate and the channels of a 32-bit float WAV file, as lists."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path}: not a WAV file")
    at = 12
    channels = rate = None
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = data[at + 8:at + 8 + size]
        if chunk == b"fmt ":
            fmt, channels, rate = struct.unpack_from("<HHI", body)
            bits = struct.unpack_from("<H", body, 14)[0]
            if bits != 32 or fmt not in (3, 0xFFFE):
                raise ValueError(f"{path}: not 32-bit float")
        elif chunk == b"data":
            samples = struct.unpack(f"<{size // 4}f", body[:size // 4 * 4])
            return rate, [list(samples[c::channels]) for c in range(channels)]
        at += 8 + size + (size & 1)
    raise ValueError(f"{path}: no data")


def render(host, module, program, tempo, path):
    subprocess.run([host, "--plugin", module, "render", "--demo", path, "--program", str(program), "--float",
                    "--tempo", str(tempo), "--tail", str(SECONDS_RENDERED), "--quiet"], check=True)
    return read_float_wav(path)


def rms(samples):
    return math.sqrt(sum(x * x for x in samples) / max(len(samples), 1))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--host", default=os.path.join(os.path.dirname(__file__), "..", "build", "zorvane"))
    parser.add_argument("--tempo", type=float, default=97.0)
    parser.add_argument("--oscillating", default="31,32",
                        help="programs compared by level only (comma-separated numbers)")
    args = parser.parse_args()
    oscillating = {int(p) for p in args.oscillating.split(",") if p}

    names = subprocess.run([args.host, "--plugin", args.old, "programs"], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for line in names:
            program, name = line.split("\t", 1)
            rate, old = render(args.host, args.old, program, args.tempo, os.path.join(folder, "old.wav"))
            _, new = render(args.host, args.new, program, args.tempo, os.path.join(folder, "new.wav"))
            compared = int(rate * SECONDS_COMPARED)
            words = []
            bad = False
            for channel, (a, b) in enumerate(zip(old, new)):
                if int(program) in oscillating:
                    level = 20.0 * math.log10(max(rms(b), 1e-30) / max(rms(a), 1e-30))
                    bad = bad or abs(level) > LEVEL_BOUND_DB
                    words.append(f"ch{channel} level {level:+.3f} dB")
                    continue
                peak = max((abs(x) for x in a[:compared]), default=0.0)
                difference = max((abs(x - y) for x, y in zip(a[:compared], b[:compared])), default=0.0)
                relative = difference / peak if peak > 0.0 else difference
                bad = bad or relative > RELATIVE_BOUND or len(a) != len(b)
                words.append(f"ch{channel} {relative:.2e}")
            failed += bad
            print(f"{program:>2} {name:<24} {'  '.join(words)}{'  OVER' if bad else ''}")
    print(f"{failed} program(s) over the bounds")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
