#!/usr/bin/env python3
"""Makes the sound "IDW_TIME_ADDED" that Quorvella plays when a new time record is added:
a short rising two-note chime (C6 then E6), PCM, mono, 8000 samples per second, 8 bits.

Standard library only; the output is the same on every run.

    python3 tools/resgen/make_sound.py [res/sound/IDW_TIME_ADDED.wav]
"""

import math
import os
import sys
import wave

RATE = 8000
LENGTH = 0.42  # seconds
NOTES = [(1046.50, 0.00), (1318.51, 0.12)]  # (frequency in Hz, start in seconds)


def note(freq, t):
    """One struck bell-like note at time t after its start: a sine with a soft second
    partial, a quick attack and an exponential decay."""
    if t < 0:
        return 0.0
    attack = min(1.0, t / 0.004)
    decay = math.exp(-t * 11.0)
    tone = (math.sin(2 * math.pi * freq * t)
            + 0.25 * math.sin(2 * math.pi * 2 * freq * t) * math.exp(-t * 20.0))
    return attack * decay * tone


def samples():
    count = int(RATE * LENGTH)
    fade = int(RATE * 0.03)  # the last 30 ms fade to silence, so the sound ends without a click
    out = bytearray()
    for i in range(count):
        t = i / RATE
        v = 0.42 * sum(note(f, t - start) for f, start in NOTES)
        if i >= count - fade:
            v *= (count - 1 - i) / fade
        out.append(max(0, min(255, 128 + round(v * 127))))
    return bytes(out)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "sound", "IDW_TIME_ADDED.wav")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)  # 8-bit samples are unsigned, 128 is silence
        w.setframerate(RATE)
        w.writeframes(samples())


if __name__ == "__main__":
    main()
