#!/usr/bin/python3
"""Measures a soundtrack the way a listener with meters would.

    measure-soundtrack.py [--check] [--any-song] [--module FILE.xm] [--roles K:S:M,M..] FILE.wav

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
  - integrated loudness and true peak, from ffmpeg's ebur128 filter (peak=true);
  - the shares of 10-16 kHz and 500 Hz-2 kHz as above, and how many pairs of
    two-bar segments (--bar-seconds) differ: their band-by-quarter-bar
    patterns correlate under 0.7.
With --module (the module the WAV was rendered from), through libopenmpt's
interactive interface, which mutes instruments and plays single notes:
  - every note the patterns give a pitched instrument, played alone: how many
    keep their spectrum from 50 to 300 ms (correlation over 0.98), and the
    power their harmonics fold back into 12-22 kHz against the fundamental;
  - each pitched instrument alone through the song: the share of 50 ms frames
    in which the strongest stands 3 dB over every other in 300-4000 Hz;
  - the kick and the snare alone: the median K-weighted level of the 50 ms
    after each hit, the snare against the kick, the kick against the
    integrated loudness of the whole.
The demo's instruments are told apart by their names; for another module
--roles names the kick, the snare and the pitched instruments.

With --check (which needs --module), compares the figures with the
soundtrack's goals, prints PASS or FAIL for each and exits 1 when any fails.
--any-song measures a module that is not the demo's: its sections are
10-second blocks and the windows are clipped to its length.
"""
import argparse
import ctypes
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
    "band_10_16_min_db": -28.0,
    "band_05_2_max_db": -7.0,
    "static_share_max": 0.40,
    "static_median_max": 0.95,
    "lead_share_min": 0.40,
    "snare_vs_kick_min_db": -5.0,
    "kick_vs_loudness_min_db": -2.0,
    "different_pairs_min": 0.20,
    "folded_max_db": -60.0,
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


# ---- Figures that need the module itself: each instrument alone -----------

class Module:
    """A module in libopenmpt, with its interactive interface: instruments and
    channels muted, notes played on their own."""

    class Interactive(ctypes.Structure):
        _fields_ = [(name, ctypes.c_void_p) for name in (
            "set_current_speed", "set_current_tempo", "set_tempo_factor", "get_tempo_factor",
            "set_pitch_factor", "get_pitch_factor", "set_global_volume", "get_global_volume",
            "set_channel_volume", "get_channel_volume", "set_channel_mute_status",
            "get_channel_mute_status", "set_instrument_mute_status", "get_instrument_mute_status",
            "play_note", "stop_note")]

    def __init__(self, path):
        lib = ctypes.CDLL("libopenmpt.so.0")
        lib.openmpt_module_ext_create_from_memory.restype = ctypes.c_void_p
        lib.openmpt_module_ext_create_from_memory.argtypes = [ctypes.c_void_p, ctypes.c_size_t] + [ctypes.c_void_p] * 7
        lib.openmpt_module_ext_get_module.restype = ctypes.c_void_p
        lib.openmpt_module_ext_get_module.argtypes = [ctypes.c_void_p]
        lib.openmpt_module_ext_get_interface.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_void_p, ctypes.c_size_t]
        lib.openmpt_module_ext_destroy.argtypes = [ctypes.c_void_p]
        for name in ("get_num_instruments", "get_num_samples", "get_num_channels", "get_num_patterns"):
            getattr(lib, "openmpt_module_" + name).argtypes = [ctypes.c_void_p]
        lib.openmpt_module_get_pattern_num_rows.argtypes = [ctypes.c_void_p, ctypes.c_int32]
        lib.openmpt_module_get_pattern_row_channel_command.restype = ctypes.c_uint8
        lib.openmpt_module_get_pattern_row_channel_command.argtypes = [ctypes.c_void_p] + [ctypes.c_int32] * 3 + [ctypes.c_int]
        for name in ("instrument", "sample"):
            getattr(lib, f"openmpt_module_get_{name}_name").restype = ctypes.c_void_p
            getattr(lib, f"openmpt_module_get_{name}_name").argtypes = [ctypes.c_void_p, ctypes.c_int32]
        lib.openmpt_free_string.argtypes = [ctypes.c_void_p]
        lib.openmpt_module_read_interleaved_float_stereo.argtypes = [ctypes.c_void_p, ctypes.c_int32, ctypes.c_size_t, ctypes.c_void_p]
        lib.openmpt_module_read_interleaved_float_stereo.restype = ctypes.c_size_t
        lib.openmpt_module_set_position_seconds.argtypes = [ctypes.c_void_p, ctypes.c_double]
        lib.openmpt_module_set_position_seconds.restype = ctypes.c_double
        self.lib = lib
        with open(path, "rb") as f:
            self.data = f.read()
        self.ext = lib.openmpt_module_ext_create_from_memory(self.data, len(self.data), *[None] * 7)
        if not self.ext:
            sys.exit(f"{path}: libopenmpt cannot load it")
        self.mod = lib.openmpt_module_ext_get_module(self.ext)
        self.api = Module.Interactive()
        lib.openmpt_module_ext_get_interface(self.ext, b"interactive", ctypes.byref(self.api), ctypes.sizeof(self.api))
        cfunc = ctypes.CFUNCTYPE
        self.mute_instrument = cfunc(ctypes.c_int, ctypes.c_void_p, ctypes.c_int32, ctypes.c_int)(self.api.set_instrument_mute_status)
        self.mute_channel = cfunc(ctypes.c_int, ctypes.c_void_p, ctypes.c_int32, ctypes.c_int)(self.api.set_channel_mute_status)
        self.play = cfunc(ctypes.c_int32, ctypes.c_void_p, ctypes.c_int32, ctypes.c_int32, ctypes.c_double, ctypes.c_double)(self.api.play_note)
        self.stop = cfunc(ctypes.c_int, ctypes.c_void_p, ctypes.c_int32)(self.api.stop_note)
        # A module without instruments (MOD) plays its samples by number.
        self.has_instruments = lib.openmpt_module_get_num_instruments(self.mod) > 0
        self.instruments = (lib.openmpt_module_get_num_instruments(self.mod) if self.has_instruments
                            else lib.openmpt_module_get_num_samples(self.mod))
        self.channels = lib.openmpt_module_get_num_channels(self.mod)

    def instrument_name(self, i):
        read = self.lib.openmpt_module_get_instrument_name if self.has_instruments else self.lib.openmpt_module_get_sample_name
        pointer = read(self.mod, i)
        name = ctypes.string_at(pointer).decode("latin-1")
        self.lib.openmpt_free_string(pointer)
        return name

    def render(self, seconds):
        frames = int(seconds * RATE)
        buffer = (ctypes.c_float * (2 * frames))()
        done = 0
        while done < frames:
            n = self.lib.openmpt_module_read_interleaved_float_stereo(
                self.mod, RATE, frames - done, ctypes.byref(buffer, 8 * done))
            if n == 0:
                break
            done += n
        data = np.frombuffer(buffer, dtype=np.float32).reshape(-1, 2)[:done].astype(np.float64)
        return data[:, 0], data[:, 1]

    def stem(self, instruments, seconds):
        """The song from its start with only the given instruments (0-based) sounding."""
        for i in range(self.instruments):
            self.mute_instrument(self.ext, i, 0 if i in instruments else 1)
        self.lib.openmpt_module_set_position_seconds(self.mod, 0.0)
        return self.render(seconds)

    def notes_played(self, instrument):
        """The notes (MIDI numbers, 60 = middle C) the patterns give the instrument (0-based)."""
        notes = set()
        for p in range(self.lib.openmpt_module_get_num_patterns(self.mod)):
            for row in range(self.lib.openmpt_module_get_pattern_num_rows(self.mod, p)):
                for ch in range(self.channels):
                    note = self.lib.openmpt_module_get_pattern_row_channel_command(self.mod, p, row, ch, 0)
                    ins = self.lib.openmpt_module_get_pattern_row_channel_command(self.mod, p, row, ch, 1)
                    if ins == instrument + 1 and 1 <= note <= 120:
                        notes.add(note - 1)
        return sorted(notes)

    def lone_note(self, instrument, note, seconds):
        """One note of an instrument held alone, the song's own channels muted."""
        for i in range(self.instruments):
            self.mute_instrument(self.ext, i, 0)
        for ch in range(self.channels):
            self.mute_channel(self.ext, ch, 1)
        self.lib.openmpt_module_set_position_seconds(self.mod, 0.0)
        self.render(0.05)
        channel = self.play(self.ext, instrument, note, 1.0, 0.0)
        left, right = self.render(seconds)
        self.stop(self.ext, channel)
        self.render(0.5)
        for ch in range(self.channels):
            self.mute_channel(self.ext, ch, 0)
        return (left + right) / 2


def blackman_harris(n):
    x = np.arange(n) * 2.0 * np.pi / n
    return 0.35875 - 0.48829 * np.cos(x) + 0.14128 * np.cos(2 * x) - 0.01168 * np.cos(3 * x)


def spectrum_change(mono):
    """Correlation of the magnitude spectra (100 Hz-16 kHz) 50 ms and 300 ms into a note."""
    size = 2048
    window = np.hanning(size)
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    band = (freqs >= 100) & (freqs < 16000)
    spectra = [np.abs(np.fft.rfft(mono[int(t * RATE) - size // 2 : int(t * RATE) + size // 2] * window))[band]
               for t in (0.05, 0.30)]
    if min(s.std() for s in spectra) == 0:
        return 1.0
    return float(np.corrcoef(spectra[0], spectra[1])[0, 1])


def near_harmonics(freqs, f0):
    """Bins within 6 bins (of a 16384-point spectrum) or 0.8 % of a harmonic of f0."""
    k = np.maximum(np.round(freqs / f0), 1)
    return np.abs(freqs - k * f0) <= np.maximum(6 * RATE / 16384, 0.008 * k * f0)


def fundamental_hz(power, freqs):
    """The note's fundamental, taken from the sound (a module's samples need not
    be tuned to concert pitch): the strongest peak under 5 kHz divided by the
    whole number that puts the most power on the harmonics."""
    low = (freqs > 20) & (freqs < 5000)
    if power[low].sum() == 0:
        return None
    peak = freqs[low][np.argmax(power[low])]
    best, best_share = None, -1.0
    for h in range(1, 9):
        f0 = peak / h
        if f0 < 20:
            break
        share = power[near_harmonics(freqs, f0)].sum() / power.sum()
        if share > best_share + 0.01:
            best, best_share = f0, share
    return best


def folded_db(mono):
    """Power in 12-22 kHz that lies off the harmonics of the note, against its
    fundamental, in dB, once the onset is over (0.6-0.97 s; 0.05-0.42 s for
    a note that is dying away by 0.9 s). Harmonics over
    the Nyquist frequency fold back there first; a band-limited sample has
    nothing there but its own harmonics (and detuned copies of them within
    a fraction of a percent)."""
    size = 16384
    start = int(0.6 * RATE)
    if rms_db(mono, mono, 0.9, 0.97) < rms_db(mono, mono, 0.05, 0.42) - 30.0:
        start = int(0.05 * RATE)  # a short, decaying note: its onset is all there is
    power = np.abs(np.fft.rfft(mono[start : start + size] * blackman_harris(size))) ** 2
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    f0 = fundamental_hz(power, freqs)
    if f0 is None:
        return float("-inf")
    near = near_harmonics(freqs, f0)
    fundamental = power[(np.abs(freqs - f0) <= 6 * RATE / size)].sum()
    off = power[~near & (freqs >= 12000)].sum()
    return db(off / fundamental) if fundamental > 0 else float("-inf")


def onsets(mono, hop=0.01):
    """Times where a part's 10 ms level jumps 6 dB over the 30 ms before."""
    levels = window_levels(mono, hop)
    loud = np.percentile(levels, 95)
    before = np.minimum(np.minimum(np.roll(levels, 1), np.roll(levels, 2)), np.roll(levels, 3))
    rising = (levels > before + 6.0) & (levels > loud - 30.0)
    rising[:3] = False
    starts = np.flatnonzero(rising & ~np.roll(rising, 1))
    return starts * hop


def k_weighting(freqs):
    """Power response of the BS.1770 K filter (high shelf, then high pass) at 44.1 kHz."""
    def biquad(b, a):
        z = np.exp(-1j * 2.0 * np.pi * freqs / RATE)
        return np.abs((b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)) ** 2
    w0 = 2.0 * np.pi * 1500.0 / RATE
    A, alpha = 10.0 ** (4.0 / 40.0), np.sin(w0) / (2.0 / np.sqrt(2.0))
    c, s = np.cos(w0), 2.0 * np.sqrt(A) * alpha
    shelf = biquad([A * ((A + 1) + (A - 1) * c + s), -2 * A * ((A - 1) + (A + 1) * c), A * ((A + 1) + (A - 1) * c - s)],
                   [(A + 1) - (A - 1) * c + s, 2 * ((A - 1) - (A + 1) * c), (A + 1) - (A - 1) * c - s])
    w0 = 2.0 * np.pi * 38.0 / RATE
    c, alpha = np.cos(w0), np.sin(w0) / (2.0 * 0.5)
    high = biquad([(1 + c) / 2, -(1 + c), (1 + c) / 2], [1 + alpha, -2 * c, 1 - alpha])
    return shelf * high


def hit_loudness(left, right, times):
    """Median K-weighted level (LUFS scale) of the 50 ms from each hit, over
    the hits within 12 dB of the loudest (ghost notes and the onsets found
    in a decaying tail aside)."""
    n = int(0.05 * RATE)
    size = 4096
    weight = k_weighting(np.fft.rfftfreq(size, 1.0 / RATE))
    levels = []
    for t in times:
        a = int(t * RATE)
        total = 0.0
        for channel in (left, right):
            part = channel[a : a + n]
            if len(part) < n:
                break
            spectrum = np.abs(np.fft.rfft(part, size)) ** 2 * weight
            total += (spectrum[0] + 2 * spectrum[1:-1].sum() + spectrum[-1]) / size / n
        else:
            levels.append(-0.691 + db(total))
    if not levels:
        return float("-inf")
    levels = np.array(levels)
    return float(np.median(levels[levels >= levels.max() - 12.0]))


def lead_share(parts):
    """Share of 50 ms frames in which the strongest melodic part is at least
    3 dB over every other one in 300-4000 Hz (frames where something plays)."""
    size, hop = 2048, int(0.05 * RATE)
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    band = (freqs >= 300) & (freqs < 4000)
    window = np.hanning(size)
    energies = []
    for mono in parts:
        frames = np.lib.stride_tricks.sliding_window_view(mono, size)[::hop]
        energies.append((np.abs(np.fft.rfft(frames * window, axis=1))[:, band] ** 2).sum(axis=1))
    e = np.sort(np.array(energies), axis=0)
    strongest, second = e[-1], e[-2]
    sounding = db(strongest) > np.percentile(db(strongest), 95) - 30.0
    leads = strongest >= 2.0 * second
    return float((leads & sounding).sum() / max(sounding.sum(), 1))


def segment_difference(mid, bar_seconds, end):
    """Share of pairs of two-bar segments whose patterns correlate under 0.7:
    the level in dB (at most 60 dB under the song's loudest) of 24 bands from
    60 Hz to 16 kHz in each quarter of a bar."""
    seg = 2 * bar_seconds
    count = int(end // seg)
    size = 2048
    freqs = np.fft.rfftfreq(size, 1.0 / RATE)
    edges = np.geomspace(60, 16000, 25)
    window = np.hanning(size)
    features = []
    for s in range(count):
        grid = []
        for slot in range(8):
            a = int((s * seg + slot * seg / 8) * RATE)
            b = int((s * seg + (slot + 1) * seg / 8) * RATE)
            frames = np.lib.stride_tricks.sliding_window_view(mid[a:b], size)[::size // 2]
            power = (np.abs(np.fft.rfft(frames * window, axis=1)) ** 2).mean(axis=0)
            grid.append([db(power[(freqs >= lo) & (freqs < hi)].sum()) for lo, hi in zip(edges[:-1], edges[1:])])
        features.append(np.array(grid).ravel())
    f = np.array(features)
    f = np.maximum(f, f.max() - 60.0)
    similarity = np.corrcoef(f)
    pairs = similarity[np.triu_indices(count, 1)]
    return float((pairs < 0.7).mean()), count


def instrument_measures(module_path, roles, end, loudness):
    """The figures that need each instrument alone. `roles` maps 'kick',
    'snare' and 'melodic' to 0-based instrument numbers."""
    m = Module(module_path)
    figures = {}
    changes, folded = [], []
    for ins in roles["melodic"]:
        for note in m.notes_played(ins):
            mono = m.lone_note(ins, note, 1.0)
            changes.append(spectrum_change(mono))
            folded.append((folded_db(mono), m.instrument_name(ins), note))
    changes = np.array(changes)
    figures["static_share"] = float((changes > 0.98).mean())
    figures["static_median"] = float(np.median(changes))
    figures["notes"] = len(changes)
    figures["folded_worst"] = max(folded)
    figures["folded_over"] = sum(1 for f in folded if f[0] > -60.0)
    parts = []
    for ins in roles["melodic"]:
        left, right = m.stem({ins}, end)
        parts.append((left + right) / 2)
    figures["lead_share"] = lead_share(parts)
    hits = {}
    for role in ("kick", "snare"):
        left, right = m.stem({roles[role]}, end)
        hits[role] = hit_loudness(left, right, onsets((left + right) / 2))
    figures["snare_vs_kick"] = hits["snare"] - hits["kick"]
    figures["kick_vs_loudness"] = hits["kick"] - loudness
    return figures


def demo_roles(module_path):
    """Our module's instruments by name: the kick, the snare, and the pitched ones."""
    m = Module(module_path)
    names = [m.instrument_name(i) for i in range(m.instruments)]
    drums = ("kick", "snare", "hat", "crash")
    return {"kick": names.index("kick"), "snare": names.index("snare"),
            "melodic": [i for i, n in enumerate(names) if not any(d in n for d in drums)]}


def measure(path, any_song, module=None, roles=None, bar_seconds=2.0):
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
    (figures["band_16_22"], figures["band_2_8"], figures["band_10_16"],
     figures["band_05_2"]) = band_shares(mid[:cut], [(16000, 22050), (2000, 8000), (10000, 16000), (500, 2000)])
    figures["different_pairs"], figures["segments"] = segment_difference(mid, bar_seconds, end)
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
    if module:
        figures.update(instrument_measures(module, roles or demo_roles(module), end, figures["loudness"]))
    return figures


def report(f, any_song):
    print(f"length {f['seconds']:.1f} s, measured over 0-{f['end']:.0f} s")
    where = ", ".join(f"{t:.2f} s ({depth:.0f} dB)" for t, depth in f["holes"][:20])
    print(f"holes: {len(f['holes'])} ({f['hole_windows']} windows of 25 ms){': ' + where if where else ''}")
    print(f"L/R correlation: {f['correlation']:.3f}, side {f['side_db']:.1f} dB under mid")
    for name, a, b, corr, side, mono in f["sections"]:
        print(f"  {name:12s} {a:5.0f}-{b:3.0f} s: correlation {corr:.3f}, side {side:6.1f} dB"
              f"{'  MONO' if mono else ''}")
    print(f"band shares of the mid: 16-22 kHz {f['band_16_22']:.1f} dB, 10-16 kHz {f['band_10_16']:.1f} dB, "
          f"2-8 kHz {f['band_2_8']:.1f} dB, 500 Hz-2 kHz {f['band_05_2']:.1f} dB")
    print(f"two-bar segments: {f['different_pairs'] * 100:.0f} % of the pairs of {f['segments']} "
          "correlate under 0.7")
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
    if "notes" in f:
        print(f"held notes alone ({f['notes']}): {f['static_share'] * 100:.0f} % keep their spectrum from "
              f"50 to 300 ms (correlation over 0.98), median correlation {f['static_median']:.3f}")
        worst, name, note = f["folded_worst"]
        print(f"folded harmonics: {f['folded_over']} notes over -60 dB, worst {worst:.1f} dB "
              f"({name}, MIDI note {note})")
        print(f"strongest melodic part 3 dB over the rest in 300-4000 Hz: {f['lead_share'] * 100:.0f} % of the time")
        print(f"50 ms hits: snare {f['snare_vs_kick']:+.1f} dB against the kick, kick "
              f"{f['kick_vs_loudness']:+.1f} dB against the integrated loudness")


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
        ("10-16 kHz at least %.0f dB" % g["band_10_16_min_db"], f["band_10_16"] >= g["band_10_16_min_db"]),
        ("500 Hz-2 kHz at most %.0f dB" % g["band_05_2_max_db"], f["band_05_2"] <= g["band_05_2_max_db"]),
        ("at least %.0f %% of two-bar pairs differ" % (100 * g["different_pairs_min"]),
         f["different_pairs"] >= g["different_pairs_min"]),
        ("at most %.0f %% of held notes keep their spectrum, median correlation at most %.2f"
         % (100 * g["static_share_max"], g["static_median_max"]),
         f["static_share"] <= g["static_share_max"] and f["static_median"] <= g["static_median_max"]),
        ("no note folds harmonics over %.0f dB" % g["folded_max_db"], f["folded_worst"][0] <= g["folded_max_db"]),
        ("a melodic part leads at least %.0f %% of the time" % (100 * g["lead_share_min"]),
         f["lead_share"] >= g["lead_share_min"]),
        ("snare at least %.0f dB against the kick" % g["snare_vs_kick_min_db"],
         f["snare_vs_kick"] >= g["snare_vs_kick_min_db"]),
        ("kick at least %.0f dB against the loudness" % g["kick_vs_loudness_min_db"],
         f["kick_vs_loudness"] >= g["kick_vs_loudness_min_db"]),
    ]
    for name, ok in results:
        print(f"{'PASS' if ok else 'FAIL'}: {name}")
    return all(ok for _, ok in results)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("wav")
    parser.add_argument("--check", action="store_true", help="compare with the goals; exit 1 on a miss")
    parser.add_argument("--any-song", action="store_true", help="a module other than the demo's")
    parser.add_argument("--module", help="the module the WAV was rendered from: adds the figures per instrument")
    parser.add_argument("--roles", help="with --any-song: KICK:SNARE:MELODIC,MELODIC,... instrument numbers (from 1)")
    parser.add_argument("--bar-seconds", type=float, default=2.0, help="length of a bar (the demo's: 2 s)")
    args = parser.parse_args()
    roles = None
    if args.roles:
        kick, snare, melodic = args.roles.split(":")
        roles = {"kick": int(kick) - 1, "snare": int(snare) - 1,
                 "melodic": [int(n) - 1 for n in melodic.split(",")]}
    if args.check and args.any_song:
        parser.error("--check holds the demo's soundtrack to its goals; it does not go with --any-song")
    if args.check and not args.module:
        parser.error("--check needs --module: some goals are figures per instrument")
    figures = measure(args.wav, args.any_song, args.module, roles, args.bar_seconds)
    report(figures, args.any_song)
    if args.check:
        sys.exit(0 if check(figures) else 1)


if __name__ == "__main__":
    main()
