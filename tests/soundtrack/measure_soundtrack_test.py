#!/usr/bin/python3
"""The measuring script's figures on signals whose answer is known: they must
tell a folding tone from a band-limited one, a static note from a moving one,
a lead from a tie, a repeated pattern from changing ones, and put a 1 kHz
tone where BS.1770 says it is."""
import runpy
import sys
import types
import unittest

import numpy as np

measure = types.SimpleNamespace(**runpy.run_path(sys.argv.pop(1)))
RATE = measure.RATE
t = np.arange(int(1.0 * RATE)) / RATE


def harmonics(f0, top_hz, fade=None):
    """A saw's harmonics up to top_hz (those over 22.05 kHz fold back), the
    ones over the fundamental fading (time constant 0.1 s) when `fade` is set."""
    out = np.zeros_like(t)
    for k in range(1, int(top_hz / f0) + 1):
        gain = np.exp(-t / 0.1) if fade and k > 1 else 1.0
        out += gain * np.sin(2 * np.pi * k * f0 * t) / k
    return 0.1 * out


class Figures(unittest.TestCase):
    def test_folded_harmonics(self):
        for top, folds in ((17000, False), (60000, True)):
            with self.subTest(top=top):
                level = measure.folded_db(harmonics(1318.5, top))
                self.assertEqual(level > -60.0, folds, level)

    def test_spectrum_change(self):
        self.assertGreater(measure.spectrum_change(harmonics(440.0, 17000)), 0.98)
        self.assertLess(measure.spectrum_change(harmonics(440.0, 17000, fade=True)), 0.95)

    def test_lead_share(self):
        tone = np.sin(2 * np.pi * 1000.0 * t[: RATE // 2])
        for gain, share in ((2.0, 1.0), (1.0, 0.0)):
            with self.subTest(gain=gain):
                self.assertAlmostEqual(measure.lead_share([gain * tone, tone, 0.1 * tone]), share)

    def test_hit_loudness_of_a_1khz_tone_at_minus_20_dbfs(self):
        tone = 0.1 * np.sin(2 * np.pi * 1000.0 * t)
        self.assertAlmostEqual(measure.hit_loudness(tone, tone, [0.1, 0.5]), -20.0, delta=0.2)

    def test_segment_difference(self):
        rng = np.random.default_rng(1)
        bar = rng.standard_normal(2 * RATE) * np.repeat([1.0, 0.1, 0.5, 0.1], RATE // 2)
        self.assertEqual(measure.segment_difference(np.tile(bar, 12), 1.0, 24.0)[0], 0.0)
        changing = np.concatenate([np.convolve(rng.standard_normal(2 * RATE), np.ones(1 + 7 * (i % 3)), "same")
                                   * np.roll(np.repeat([1.0, 0.05, 0.4, 0.05], RATE // 2), i * RATE // 2)
                                   for i in range(12)])
        self.assertGreater(measure.segment_difference(changing, 1.0, 24.0)[0], 0.2)


if __name__ == "__main__":
    unittest.main()
