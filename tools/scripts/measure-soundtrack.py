#!/usr/bin/python3
"""Measures a soundtrack the way a listener with meters would.

    measure-soundtrack.py [--check] [--any-song] FILE.wav

FILE is a 44.1 kHz 16-bit stereo WAV. Prints, over its first 150 seconds:
  - holes: 25 ms windows of the mid signal more than 20 dB under the median
    of the 2 s around them (a run of such windows counts as one hole);
  - the L/R correlation and the side level under the mid, overall and per
    section, and whether a section is mono (side more than 40 dB under mid);
  - the shares of 16-22 kHz and 2-8 kHz in the averaged 8192-point Hann
    power spectra of the mid signal, in dB of the total;
  - the RMS of 8-second windows from 60 to 150 s: loudest, quietest, contrast;
    for the demo's soundtrack also the break, the rebuild bar by bar and the
    drop, and how far the pad alone swings while its first chord holds
    (50 ms windows, 0.7-1.9 s): detuned voices that beat make it swing;
  - integrated loudness and true peak, from ffmpeg's ebur128 filter (peak=true).

With --check, compares the figures with the soundtrack's goals, prints PASS or
FAIL for each and exits 1 when any fails. --any-song measures a module that is
not the demo's: its sections are 10-second blocks and the windows are clipped
to its length.
"""
import argparse
import re
import subprocess
import sys
import wave

import numpy as np

RATE = 44100
END = 150.0  # the outro and the fade start here

# The demo's sections (seconds), as the arrangement places them.
DEMO_SECTIONS = [
    ("pad alone", 0, 8),
    ("intro", 8, 40),
    ("build", 40, 60),
    ("drop", 60, 92),
    ("break", 92, 100),
    ("rebuild", 100, 108),
    ("second drop", 108, 150),
    ("outro", 150, 160),
]

# A side signal this far under the mid is inaudible: the stretch is mono
# (its correlation rounds to 1.000).
MONO_SIDE_DB = -40.0

GOALS = {
    "holes_max": 0,
    "correlation": (0.55, 0.88),
    "band_16_22_max_db": -35.0,
    "band_2_8_min_db": -15.0,
    "contrast_min_db": 4.0,
    "loudness_lufs": (-18.0, -12.0),
    "true_peak_max_dbfs": -1.0,
    "pad_swing_max_db": 3.0,
}


def read_wav(path):
    try:
        with wave.open(path, "rb") as w:
            if w.getframerate() != RATE or w.getsampwidth() != 2 or w.getnchannels() != 2:
                sys.exit(f"{path}: not 44.1 kHz 16-bit stereo")
            raw = w.readframes(w.getnframes())
    except (OSError, EOFError, wave.Error) as error:
        sys.exit(f"{path}: {error}")
    data = np.frombuffer(raw, dtype="<i2").reshape(-1, 2).astype(np.float64) / 32768.0
    return data[:, 0], data[:, 1]


def db(power):
    return 10.0 * np.log10(np.maximum(power, 1e-20))


def window_levels(signal, seconds):
    """Mean-square level in dB of consecutive windows of `seconds`."""
    edges = np.round(np.arange(0, len(signal) / RATE / seconds + 1) * seconds * RATE).astype(int)
    edges = edges[edges <= len(signal)]
    squares = np.concatenate(([0.0], np.cumsum(signal * signal)))
    sums = squares[edges[1:]] - squares[edges[:-1]]
    return db(sums / np.diff(edges))


def holes(mid, end):
    """Runs of 25 ms windows more than 20 dB under the median of the 2 s around them."""
    levels = window_levels(mid[: int(end * RATE)], 0.025)
    half = 40  # 1 s of 25 ms windows on each side
    padded = np.pad(levels, half, mode="edge")
    view = np.lib.stride_tricks.sliding_window_view(padded, 2 * half + 1)
    medians = np.median(view, axis=1)
    deep = (levels < medians - 20.0) & (medians > -80.0)
    starts = np.flatnonzero(deep & ~np.concatenate(([False], deep[:-1])))
    return [(s * 0.025, levels[s] - medians[s]) for s in starts], int(deep.sum())


def stereo(left, right):
    mid, side = (left + right) / 2, (left - right) / 2
    denominator = np.sqrt(np.dot(left, left) * np.dot(right, right))
    correlation = np.dot(left, right) / denominator if denominator > 0 else 1.0
    side_db = db(np.dot(side, side)) - db(np.dot(mid, mid))
    return correlation, side_db, side_db < MONO_SIDE_DB


def band_shares(mid, bands):
    size, hop = 8192, 4096
    frames = np.lib.stride_tricks.sliding_window_view(mid, size)[::hop]
    window = np.hanning(size)
    power = np.zeros(size // 2 + 1)
    for start in range(0, len(frames), 256):  # in chunks, to bound the memory
        power += (np.abs(np.fft.rfft(frames[start : start + 256] * window, axis=1)) ** 2).sum(axis=0)
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    total = power.sum()
    return [db(power[(freqs >= lo) & (freqs < hi)].sum() / total) for lo, hi in bands]


def rms_db(left, right, start, end):
    a, b = int(start * RATE), int(end * RATE)
    both = np.concatenate((left[a:b], right[a:b]))
    return db(np.mean(both * both)) if len(both) else float("-inf")


def contrast(left, right, start, end):
    """Loudest and quietest 8 s windows (1 s apart) between start and end."""
    levels = [(rms_db(left, right, t, t + 8), t) for t in np.arange(start, end - 8 + 0.5, 1.0)]
    return max(levels), min(levels)


def ebur128(path, start, duration):
    """Integrated loudness (LUFS) and true peak (dBFS) of a stretch, by ffmpeg."""
    run = subprocess.run(
        ["ffmpeg", "-nostats", "-hide_banner", "-ss", str(start), "-t", str(duration), "-i", path,
         "-af", "ebur128=peak=true", "-f", "null", "-"],
        capture_output=True, text=True, check=True)
    summary = run.stderr[run.stderr.rfind("Summary:"):]
    loudness = float(re.search(r"I:\s+(-?[\d.]+|-inf) LUFS", summary).group(1))
    peak = float(re.search(r"Peak:\s+(-?[\d.]+|-inf) dBFS", summary).group(1))
    return loudness, peak


def measure(path, any_song):
    left, right = read_wav(path)
    seconds = len(left) / RATE
    end = min(END, seconds)
    cut = int(end * RATE)
    mid = (left + right) / 2
    figures = {"seconds": seconds, "end": end}
    figures["holes"], figures["hole_windows"] = holes(mid, end)
    figures["correlation"], figures["side_db"], _ = stereo(left[:cut], right[:cut])
    if any_song:
        sections = [(f"{t:.0f}-{min(t + 10, seconds):.0f} s", t, min(t + 10, seconds))
                    for t in range(0, int(seconds), 10) if seconds - t >= 2]
    else:
        sections = DEMO_SECTIONS
    figures["sections"] = [
        (name, a, b) + stereo(left[int(a * RATE) : int(b * RATE)], right[int(a * RATE) : int(b * RATE)])
        for name, a, b in sections if b <= seconds]
    figures["band_16_22"], figures["band_2_8"] = band_shares(mid[:cut], [(16000, 22050), (2000, 8000)])
    start = 60.0 if seconds >= 68 + 60 else 0.0
    figures["loudest"], figures["quietest"] = contrast(left, right, start, end)
    figures["contrast_span"] = (start, end)
    if not any_song:
        figures["parts"] = [(name, rms_db(left, right, a, b)) for name, a, b in
                            [("drop 60-92", 60, 92), ("break 92-100", 92, 100),
                             ("rebuild 100-108", 100, 108), ("second drop 108-116", 108, 116)]]
        figures["rebuild_bars"] = [rms_db(left, right, t, t + 2) for t in range(100, 108, 2)]
        swing = window_levels(mid[int(0.7 * RATE) : int(1.9 * RATE)], 0.05)
        figures["pad_swing"] = swing.max() - swing.min()
        figures["break_lu"] = ebur128(path, 92, 8)[0]
        figures["rest_lu"] = ebur128(path, 60, 32)[0]
    figures["loudness"], figures["true_peak"] = ebur128(path, 0, end)
    return figures


def report(f, any_song):
    print(f"length {f['seconds']:.1f} s, measured over 0-{f['end']:.0f} s")
    where = ", ".join(f"{t:.2f} s ({depth:.0f} dB)" for t, depth in f["holes"][:20])
    print(f"holes: {len(f['holes'])} ({f['hole_windows']} windows of 25 ms){': ' + where if where else ''}")
    print(f"L/R correlation: {f['correlation']:.3f}, side {f['side_db']:.1f} dB under mid")
    for name, a, b, corr, side, mono in f["sections"]:
        print(f"  {name:12s} {a:5.0f}-{b:3.0f} s: correlation {corr:.3f}, side {side:6.1f} dB"
              f"{'  MONO' if mono else ''}")
    print(f"band shares of the mid: 16-22 kHz {f['band_16_22']:.1f} dB, 2-8 kHz {f['band_2_8']:.1f} dB")
    (loud, loud_t), (quiet, quiet_t) = f["loudest"], f["quietest"]
    a, b = f["contrast_span"]
    print(f"8 s windows {a:.0f}-{b:.0f} s: loudest {loud:.1f} dB at {loud_t:.0f} s, "
          f"quietest {quiet:.1f} dB at {quiet_t:.0f} s, contrast {loud - quiet:.1f} dB")
    if not any_song:
        print("  " + ", ".join(f"{name} {level:.1f} dB" for name, level in f["parts"]))
        print("  rebuild bar by bar: " + " ".join(f"{v:.1f}" for v in f["rebuild_bars"]) + " dB")
        print(f"  break {f['break_lu']:.1f} LUFS against {f['rest_lu']:.1f} LUFS in the drop 60-92 s")
        print(f"pad alone, first chord held (0.7-1.9 s): 50 ms levels swing {f['pad_swing']:.1f} dB")
    print(f"loudness {f['loudness']:.1f} LUFS integrated, true peak {f['true_peak']:.1f} dBFS")


def check(f):
    g = GOALS
    parts = dict(f["parts"])
    rebuild = f["rebuild_bars"]
    results = [
        ("no holes", len(f["holes"]) <= g["holes_max"]),
        ("correlation %.2f-%.2f" % g["correlation"], g["correlation"][0] <= f["correlation"] <= g["correlation"][1]),
        ("no section mono", not any(s[5] for s in f["sections"])),
        ("16-22 kHz at most %.0f dB" % g["band_16_22_max_db"], f["band_16_22"] <= g["band_16_22_max_db"]),
        ("2-8 kHz at least %.0f dB" % g["band_2_8_min_db"], f["band_2_8"] >= g["band_2_8_min_db"]),
        ("8 s contrast at least %.0f dB" % g["contrast_min_db"],
         f["loudest"][0] - f["quietest"][0] >= g["contrast_min_db"]),
        ("break quieter than the drops", parts["break 92-100"] < min(parts["drop 60-92"], parts["second drop 108-116"])),
        ("rebuild rises into the drop",
         parts["break 92-100"] < parts["rebuild 100-108"] < parts["second drop 108-116"] and rebuild[-1] > rebuild[0]),
        ("loudness %.0f..%.0f LUFS" % g["loudness_lufs"], g["loudness_lufs"][0] <= f["loudness"] <= g["loudness_lufs"][1]),
        ("true peak at most %.0f dBFS" % g["true_peak_max_dbfs"], f["true_peak"] <= g["true_peak_max_dbfs"]),
        ("pad swings at most %.0f dB" % g["pad_swing_max_db"], f["pad_swing"] <= g["pad_swing_max_db"]),
    ]
    for name, ok in results:
        print(f"{'PASS' if ok else 'FAIL'}: {name}")
    return all(ok for _, ok in results)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("wav")
    parser.add_argument("--check", action="store_true", help="compare with the goals; exit 1 on a miss")
    parser.add_argument("--any-song", action="store_true", help="a module other than the demo's")
    args = parser.parse_args()
    if args.check and args.any_song:
        parser.error("--check holds the demo's soundtrack to its goals; it does not go with --any-song")
    figures = measure(args.wav, args.any_song)
    report(figures, args.any_song)
    if args.check:
        sys.exit(0 if check(figures) else 1)


if __name__ == "__main__":
    main()
