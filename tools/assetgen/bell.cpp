// SPDX-License-Identifier: GPL-3.0-or-later
#include "bell.h"

#include "random.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace quorlin::assetgen {

namespace {

constexpr int SampleRate = 44100;
constexpr double Length = 8.5;    // seconds in the file
constexpr double FadeStart = 5.6; // the taper that brings the tail to rest begins here...
constexpr double FadeEnd = 8.1;   // ...and reaches zero here; the rest is digital silence
constexpr double Fundamental = 216.0;
constexpr double PeakLevel = 0.70795; // -3 dBFS

// One vibration mode of the bowl. A real bowl is never perfectly round, so each mode is split
// into two close frequencies whose difference is heard as slow beating.
struct Mode
{
    double ratio;     // frequency relative to the fundamental
    double amplitude; // after the soft mallet has damped the upper modes
    double decay;     // time constant in seconds; higher modes die away sooner
    double beat;      // split between the two halves of the mode, in Hz
    double twin;      // relative amplitude of the second half
};

constexpr std::array<Mode, 6> Modes{{
    {1.000, 1.000, 2.10, 0.62, 0.75},
    {2.772, 0.520, 1.55, 1.35, 0.70},
    {5.180, 0.240, 1.05, 2.10, 0.65},
    {8.160, 0.110, 0.70, 3.20, 0.60},
    {11.70, 0.050, 0.48, 4.10, 0.55},
    {15.80, 0.022, 0.32, 5.30, 0.50},
}};

void putLe16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray bellWav()
{
    const int frames = int(Length * SampleRate);
    std::vector<double> signal(frames, 0.0);
    Random rng(0x5b0e1u);

    std::array<double, Modes.size() * 2> phases{};
    for (double &p : phases)
        p = rng.uniform() * 2.0 * M_PI;

    // The felt mallet: a short, dull thump of low-passed noise under the ringing.
    double thumpState = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / SampleRate;
        if (t >= FadeEnd)
            break;
        // A soft mallet stays on the rim for a few milliseconds, so the tone swells in.
        const double attack = t < 0.012 ? 0.5 - 0.5 * std::cos(M_PI * t / 0.012) : 1.0;
        double v = 0.0;
        for (size_t m = 0; m < Modes.size(); ++m) {
            const Mode &mode = Modes[m];
            const double f = Fundamental * mode.ratio;
            const double env = mode.amplitude * std::exp(-t / mode.decay);
            v += env * (std::sin(2.0 * M_PI * f * t + phases[2 * m]) +
                        mode.twin * std::sin(2.0 * M_PI * (f + mode.beat) * t + phases[2 * m + 1]));
        }
        v *= attack;
        if (t < 0.06) {
            thumpState += 0.06 * (rng.symmetric() - thumpState);
            const double ramp = t < 0.004 ? 0.5 - 0.5 * std::cos(M_PI * t / 0.004) : 1.0;
            v += 2.0 * ramp * thumpState * std::exp(-t / 0.010);
        }
        if (t > FadeStart) {
            const double x = (t - FadeStart) / (FadeEnd - FadeStart);
            v *= 0.5 + 0.5 * std::cos(M_PI * x);
        }
        signal[i] = v;
    }

    double peak = 0.0;
    for (double v : signal)
        peak = std::max(peak, std::abs(v));
    const double gain = PeakLevel * 32767.0 / peak;

    QByteArray pcm;
    pcm.reserve(frames * 2);
    for (double v : signal)
        putLe16(pcm, quint16(qint16(std::lround(v * gain))));

    QByteArray wav;
    wav.append("RIFF");
    putLe32(wav, quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    putLe32(wav, 16);
    putLe16(wav, 1); // PCM
    putLe16(wav, 1); // mono
    putLe32(wav, SampleRate);
    putLe32(wav, SampleRate * 2);
    putLe16(wav, 2);
    putLe16(wav, 16);
    wav.append("data");
    putLe32(wav, quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

} // namespace quorlin::assetgen
