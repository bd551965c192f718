#include "Sounds.h"

#include "Level.h"
#include "Synth.h"
#include "Wav.h"

#include <cmath>
#include <functional>

namespace assetgen {

namespace {

constexpr double Tau = 2 * M_PI;

// Renders fn(t, noise) for the given duration into a fresh track.
Track render(double seconds, const std::function<double(double t, Noise& n)>& fn, uint32_t seed = 7) {
    Track tr(seconds);
    Noise noise(seed);
    for (size_t i = 0; i < tr.size(); ++i)
        tr.data()[i] = static_cast<float>(fn(static_cast<double>(i) / SampleRate, noise));
    return tr;
}

// A sine sweep whose frequency moves exponentially from f0 to f1 over len.
struct Sweep {
    double f0, f1, len, phase = 0;
    double next(double t) {
        const double k = std::min(1.0, t / len);
        phase += f0 * std::pow(f1 / f0, k) / SampleRate;
        return phase;
    }
};

struct OnePole {
    double a, y = 0;
    double lowpass(double x) { return y += a * (x - y); }
};

// A game effect at the common effect level.
Sound effect(const char* name, const Track& tr) { return Sound{name, levelled(tr, EffectLevelDb), false}; }

// An interface or key sound: heard, but well under the game's effects.
Sound quiet(const char* name, const Track& tr) { return Sound{name, levelled(tr, QuietLevelDb), false}; }

Sound click() {
    return quiet("BTN_CLICK", render(0.06, [](double t, Noise& n) {
                     return std::exp(-t * 90) * (std::sin(Tau * 1800 * t) * 0.6 + n.next() * 0.35) +
                            std::exp(-t * 60) * std::sin(Tau * 420 * t) * 0.5;
                 }));
}

Sound glide() {
    Sweep s{520, 1250, 0.16};
    return quiet("GLIDE", render(0.2, [&](double t, Noise&) {
                     const double env = std::sin(M_PI * std::min(1.0, t / 0.2));
                     const double p = s.next(t);
                     return env * (std::sin(Tau * p) + 0.25 * std::sin(2 * Tau * p));
                 }));
}

Sound enter() {
    return quiet("ANIBTN_ENTER", render(0.09, [](double t, Noise&) {
                     return std::exp(-t * 45) * std::min(1.0, t * 2000) *
                            (std::sin(Tau * 1320 * t) + 0.3 * std::sin(Tau * 2640 * t));
                 }));
}

Sound typeKey() {
    OnePole lp{0.5};
    return quiet("TYPE", render(0.045, [&](double t, Noise& n) {
                     const double nz = n.next();
                     const double hp = nz - lp.lowpass(nz);
                     return std::exp(-t * 160) * hp * 0.8 + std::exp(-t * 90) * std::sin(Tau * 260 * t) * 0.5;
                 }));
}

Sound appleIn() {
    Track tr(0.55);
    Sweep s{700, 180, 0.09};
    for (size_t i = 0; i < tr.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        tr.data()[i] = static_cast<float>(std::exp(-t * 28) * std::sin(Tau * s.next(t)));
    }
    tr.note(Instrument::Bell, 0.06, 0.2, 84, 0.35);
    tr.note(Instrument::Bell, 0.13, 0.2, 91, 0.25);
    return effect("APPLE_IN", tr);
}

Sound boing(const char* name, double f0, double f1, double len, double vibrato) {
    Sweep s{f0, f1, len * 0.7};
    return effect(name, render(len, [&](double t, Noise&) {
                      const double env = std::min(1.0, t * 300) * std::exp(-t * 3.5 / len);
                      const double p = s.next(t) + vibrato * std::sin(Tau * 18 * t) / Tau;
                      return env * (std::sin(Tau * p) + 0.3 * std::sin(2 * Tau * p));
                  }));
}

Sound bonk() {
    Track tr = render(0.3, [](double t, Noise& n) {
        return std::exp(-t * 30) * std::sin(Tau * (90 * t + 120 * (1 - std::exp(-t * 40)) / 40)) +
               std::exp(-t * 80) * n.next() * 0.5;
    });
    tr.note(Instrument::Marimba, 0.0, 0.1, 76, 0.5);
    tr.note(Instrument::Bell, 0.05, 0.1, 96, 0.2);
    return effect("MOUSE_CLICK", tr);
}

Sound scurry() {
    Track tr(0.7);
    const double notes[] = {84, 81, 79, 76, 74, 72, 69, 67};
    for (int i = 0; i < 8; ++i) tr.note(Instrument::Pluck, i * 0.06, 0.05, notes[i], 0.6);
    Noise n(11);
    OnePole lp{0.12};
    for (size_t i = 0; i < tr.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        tr.data()[i] += static_cast<float>(std::sin(M_PI * std::min(1.0, t / 0.7)) * lp.lowpass(n.next()) * 0.8);
    }
    return effect("MOUSE_AWAY", tr);
}

Sound splash() {
    Track tr(0.7);
    Noise n(21);
    OnePole lp{0.25};
    for (size_t i = 0; i < tr.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double env = std::min(1.0, t * 80) * std::exp(-t * 6);
        tr.data()[i] = static_cast<float>(env * lp.lowpass(n.next()));
    }
    // Bubbles after the splash.
    const double bubbles[][2] = {{0.18, 79}, {0.26, 84}, {0.33, 81}, {0.42, 88}};
    for (const auto& b : bubbles) {
        Sweep s{midiToHz(b[1]) * 0.7, midiToHz(b[1]) * 1.4, 0.05};
        const size_t s0 = static_cast<size_t>(b[0] * SampleRate);
        for (size_t i = 0; i < static_cast<size_t>(0.06 * SampleRate); ++i) {
            const double t = static_cast<double>(i) / SampleRate;
            tr.add(s0 + i, static_cast<float>(0.25 * std::exp(-t * 50) * std::sin(Tau * s.next(t))));
        }
    }
    return effect("FROG_BACK", tr);
}

Sound laser() {
    Sweep s{1900, 260, 0.16};
    return effect("SPACE_SHOOT", render(0.18, [&](double t, Noise&) {
                      const double p = s.next(t);
                      const double sq = std::sin(Tau * p) + std::sin(3 * Tau * p) / 3;
                      return std::exp(-t * 14) * std::min(1.0, t * 1500) * sq;
                  }));
}

Sound blast() {
    OnePole lp{0.08}, lp2{0.05};
    return effect("SPACE_BLAST", render(
                                     1.1,
                                     [&](double t, Noise& n) {
                                         const double env = std::min(1.0, t * 200) * std::exp(-t * 3.8);
                                         const double rumble =
                                             std::sin(Tau * (40 * t + 60 * (1 - std::exp(-t * 8)) / 8)) *
                                             std::exp(-t * 5);
                                         return env * lp2.lowpass(lp.lowpass(n.next()) * 4) * 1.2 + rumble * 0.6;
                                     },
                                     33));
}

Sound planeOut() {
    Sweep s{900, 160, 0.55};
    return effect("SPACE_PLANEOUT", render(0.6, [&](double t, Noise&) {
                      const double p = s.next(t);
                      return std::sin(M_PI * t / 0.6) * (std::sin(Tau * p) * 0.7 + 0.3 * std::sin(Tau * 1.01 * p * 2));
                  }));
}

Sound wordOut() {
    // Noise whose filter opens as the word flies past.
    OnePole lp{0.05};
    return effect("SPACE_WORDOUT", render(
                                       0.45,
                                       [&](double t, Noise& n) {
                                           lp.a = 0.03 + 0.25 * (t / 0.45);
                                           return std::sin(M_PI * t / 0.45) * lp.lowpass(n.next()) * 3;
                                       },
                                       41));
}

Sound upgrade() {
    Track tr(0.9);
    const double notes[] = {72, 76, 79, 84, 88};
    for (int i = 0; i < 5; ++i) {
        tr.note(Instrument::Bell, i * 0.07, 0.1, notes[i], 0.5);
        tr.note(Instrument::Lead, i * 0.07, 0.06, notes[i] - 12, 0.15);
    }
    return effect("UPGRADE", tr);
}

Sound siren() {
    // Two-tone police siren, rising in at the start.
    double phase = 0;
    return effect(
        "PT_POLICE_ENTRY", render(1.6, [&](double t, Noise&) {
            const double hi = std::fmod(t, 0.8) < 0.4;
            const double f = (hi ? 960.0 : 760.0) * std::min(1.0, 0.75 + t * 2.5);
            phase += f / SampleRate;
            const double env = std::min(1.0, t * 20) * std::min(1.0, (1.6 - t) * 8);
            return env * (std::sin(Tau * phase) + 0.35 * std::sin(3 * Tau * phase) + 0.15 * std::sin(5 * Tau * phase));
        }));
}

Sound sneak() {
    Track tr(1.2);
    const double notes[][2] = {{0.0, 45}, {0.15, 46}, {0.30, 47}, {0.45, 48}, {0.75, 52}, {0.9, 51}};
    for (const auto& n : notes) {
        tr.note(Instrument::Pluck, n[0], 0.12, n[1] + 12, 0.8);
        tr.note(Instrument::Bass, n[0], 0.1, n[1], 0.4);
    }
    tr.note(Instrument::Snare, 0.6, 0.05, 60, 0.2);
    return effect("PT_THIEF_ENTRY", tr);
}

Sound screech() {
    OnePole lp{0.3};
    double phase = 0;
    return effect("PT_THIEF_BRAKE", render(
                                        0.75,
                                        [&](double t, Noise& n) {
                                            const double f = 2300 + 300 * std::sin(Tau * 13 * t) + 200 * n.next();
                                            phase += f / SampleRate;
                                            const double env = std::min(1.0, t * 60) * std::min(1.0, (0.75 - t) * 6);
                                            return env * (0.6 * std::sin(Tau * phase) + 0.4 * lp.lowpass(n.next()));
                                        },
                                        51));
}

Sound rev() {
    double phase = 0;
    OnePole lp{0.2};
    return effect("PT_THIEF_TURN", render(
                                       0.7,
                                       [&](double t, Noise& n) {
                                           const double f = 70 + 110 * std::sin(M_PI * std::min(1.0, t / 0.6));
                                           phase += f / SampleRate;
                                           const double saw = 2 * (phase - std::floor(phase)) - 1;
                                           const double env = std::min(1.0, t * 30) * std::min(1.0, (0.7 - t) * 8);
                                           return env * lp.lowpass(saw + 0.3 * n.next());
                                       },
                                       61));
}

Sound catchFanfare() {
    Track tr(1.5);
    // Whistle: a trilled high tone.
    double phase = 0;
    Noise n(71);
    for (size_t i = 0; i < static_cast<size_t>(0.45 * SampleRate); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double f = 2600 + 180 * std::sin(Tau * 28 * t);
        phase += f / SampleRate;
        const double env = std::min(1.0, t * 50) * std::min(1.0, (0.45 - t) * 20);
        tr.data()[i] += static_cast<float>(env * (std::sin(Tau * phase) * 0.5 + n.next() * 0.08));
    }
    const double fan[][3] = {{0.5, 0.1, 67}, {0.62, 0.1, 72}, {0.74, 0.1, 76}, {0.86, 0.5, 79}};
    for (const auto& f : fan) {
        tr.note(Instrument::Lead, f[0], f[1], f[2], 0.5);
        tr.note(Instrument::Bell, f[0], f[1], f[2] + 12, 0.3);
    }
    tr.note(Instrument::Bass, 0.86, 0.5, 43, 0.5);
    return effect("PT_POLICE_CATCH", tr);
}

Sound taunt() {
    Track tr(1.3);
    const double notes[][3] = {{0.0, 0.18, 76}, {0.2, 0.12, 73}, {0.34, 0.18, 78}, {0.54, 0.15, 76}, {0.72, 0.45, 81}};
    for (const auto& n : notes) {
        tr.note(Instrument::Marimba, n[0], n[1], n[2], 0.7);
        tr.note(Instrument::Pluck, n[0], n[1], n[2] - 12, 0.4);
    }
    tr.note(Instrument::Kick, 0.72, 0.1, 36, 0.5);
    return effect("PT_THIEF_AWAY", tr);
}

}  // namespace

std::vector<Sound> makeEffects() {
    std::vector<Sound> s;
    s.push_back(click());
    s.push_back(glide());
    s.push_back(enter());
    s.push_back(typeKey());
    s.push_back(appleIn());
    s.push_back(boing("MOUSE_OUT", 220, 620, 0.28, 0.0));
    s.push_back(bonk());
    s.push_back(scurry());
    s.push_back(boing("FROG_JUMP", 260, 900, 0.32, 6.0));
    s.push_back(splash());
    s.push_back(laser());
    s.push_back(blast());
    s.push_back(planeOut());
    s.push_back(wordOut());
    s.push_back(upgrade());
    s.push_back(siren());
    s.push_back(sneak());
    s.push_back(screech());
    s.push_back(rev());
    s.push_back(catchFanfare());
    s.push_back(taunt());
    return s;
}

}  // namespace assetgen
