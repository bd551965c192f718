// Background loops. Each tune is written as note tokens on a step grid and its
// last bar leads back into its first; the track wraps, so notes ringing past the
// end sound again at the start, and the loop point sits where the music runs on
// evenly, so the loop repeats without a seam.
#include "Level.h"
#include "Sounds.h"
#include "Synth.h"
#include "Wav.h"

#include <cctype>
#include <sstream>
#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

struct Chord {
    int root;  // MIDI note of the root in the bass octave
    bool minor;
};

class Song {
public:
    Song(double bpm, int bars) : bpm_(bpm), bars_(bars), track_(samplesFor(bpm, bars), true) {}

    double beat() const { return 60.0 / bpm_; }
    double bar() const { return 4 * beat(); }

    // Tokens on a grid of `perBeat` steps per beat: a note name (C5, F#4, Bb3),
    // "-" to hold the previous note, "." for a rest; "|" is ignored.
    void melody(Instrument inst, int perBeat, const std::string& tokens, double gain, int transpose = 0) {
        std::string spaced = tokens;
        for (char& c : spaced)
            if (c == '|') c = ' ';
        std::istringstream in(spaced);
        std::string tok;
        int step = 0;
        int startStep = -1;
        int pitch = 0;
        auto flush = [&](int endStep) {
            if (startStep >= 0)
                track_.note(inst, startStep * beat() / perBeat, (endStep - startStep) * beat() / perBeat * 0.92,
                            pitch + transpose, gain);
            startStep = -1;
        };
        while (in >> tok) {
            if (tok == "-") {
                ++step;
                continue;
            }
            flush(step);
            if (tok != ".") {
                pitch = parseNote(tok);
                startStep = step;
            }
            ++step;
        }
        flush(step);
        if (step != bars_ * 4 * perBeat) throw std::runtime_error("melody length mismatch: " + std::to_string(step));
    }

    // Drum hits: "x" loud, "o" soft, "." rest, on a grid of perBeat steps.
    void drums(Instrument inst, int perBeat, const std::string& barPattern, double gain) {
        std::string steps;
        for (char c : barPattern)
            if (c == 'x' || c == 'o' || c == '.') steps += c;
        for (int b = 0; b < bars_; ++b)
            for (size_t i = 0; i < steps.size(); ++i) {
                if (steps[i] == '.') continue;
                const double t = b * bar() + i * beat() / perBeat;
                track_.note(inst, t, 0.05, 60, steps[i] == 'x' ? gain : gain * 0.5);
            }
    }

    // Bass line from the chords: pattern letters per step R root, F fifth,
    // O octave, "." rest.
    void bass(Instrument inst, const std::vector<Chord>& chords, int perBeat, const std::string& pattern, double gain) {
        for (int b = 0; b < bars_; ++b) {
            const Chord& c = chords[b % chords.size()];
            for (size_t i = 0; i < pattern.size(); ++i) {
                int n = 0;
                switch (pattern[i]) {
                case 'R':
                    n = c.root;
                    break;
                case 'F':
                    n = c.root + 7;
                    break;
                case 'O':
                    n = c.root + 12;
                    break;
                default:
                    continue;
                }
                track_.note(inst, b * bar() + i * beat() / perBeat, beat() / perBeat * 0.85, n, gain);
            }
        }
    }

    // Chord tones spread over each bar: pad holds the triad, arpeggios step
    // through root, third, fifth, octave.
    void pad(const std::vector<Chord>& chords, int octaveUp, double gain) {
        for (int b = 0; b < bars_; ++b) {
            const Chord& c = chords[b % chords.size()];
            for (int iv : {0, c.minor ? 3 : 4, 7})
                track_.note(Instrument::Pad, b * bar(), bar() * 0.95, c.root + 12 * octaveUp + iv, gain);
        }
    }
    void arpeggio(Instrument inst, const std::vector<Chord>& chords, int octaveUp, int perBeat, double gain) {
        for (int b = 0; b < bars_; ++b) {
            const Chord& c = chords[b % chords.size()];
            const int tones[] = {0, c.minor ? 3 : 4, 7, 12, 7, c.minor ? 3 : 4};
            for (int i = 0; i < 4 * perBeat; ++i)
                track_.note(inst, b * bar() + i * beat() / perBeat, beat() / perBeat * 0.8,
                            c.root + 12 * octaveUp + tones[i % 6], gain);
        }
    }

    // The finished loop: turned to its loop point, at the loops' level.
    std::vector<int16_t> loop() {
        turnToLoopPoint(track_);
        return levelled(track_, LoopLevelDb);
    }

private:
    static size_t samplesFor(double bpm, int bars) {
        return static_cast<size_t>(bars * 4 * 60.0 / bpm * SampleRate + 0.5);
    }
    static int parseNote(const std::string& tok) {
        static const int base[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(tok[0])));
        if (letter < 'A' || letter > 'G') throw std::runtime_error("bad note " + tok);
        int n = base[letter - 'A'];
        size_t i = 1;
        if (i < tok.size() && tok[i] == '#')
            ++n, ++i;
        else if (i < tok.size() && tok[i] == 'b')
            --n, ++i;
        const int octave = std::stoi(tok.substr(i));
        return 12 * (octave + 1) + n;
    }

    double bpm_;
    int bars_;
    Track track_;
};

Sound appleLoop() {
    // F major, bouncy orchard tune on marimba.
    Song s(112, 8);
    const std::vector<Chord> ch = {{41, false}, {46, false}, {48, false}, {41, false},
                                   {38, true},  {46, false}, {48, false}, {41, false}};
    s.melody(Instrument::Marimba, 2,
             "A4 C5 F5 C5 A4 C5 D5 C5 | D5 - Bb4 D5 F5 - D5 Bb4 | C5 E5 G5 E5 C5 E5 G5 A5 | F5 - - C5 A4 - . . |"
             "D5 F5 A5 F5 D5 F5 A5 F5 | Bb5 - A5 G5 F5 - D5 . | E5 G5 C6 G5 E5 D5 C5 E5 | F5 - A4 - F4 - G4 -",
             0.55);
    s.bass(Instrument::Pluck, ch, 2, "R.F.O.F.", 0.7);
    s.arpeggio(Instrument::Marimba, ch, 2, 1, 0.12);
    s.drums(Instrument::Shaker, 2, "xoxoxoxo", 0.25);
    s.drums(Instrument::Kick, 1, "x.x.", 0.35);
    return Sound{"APPLE_BG", s.loop(), true};
}

Sound moleLoop() {
    // C major, playful plucked tune with an oom-pah bass.
    Song s(126, 8);
    const std::vector<Chord> ch = {{36, false}, {45, true}, {41, false}, {43, false},
                                   {36, false}, {45, true}, {43, false}, {36, false}};
    s.melody(Instrument::Pluck, 2,
             "C5 E5 G5 E5 C6 . G5 . | A4 C5 E5 C5 A5 . E5 . | F4 A4 C5 A4 F5 . C5 . | G4 B4 D5 B4 G5 F5 E5 D5 |"
             "E5 . E5 . G5 . E5 . | C6 . A5 . E5 . C5 . | D5 F5 G5 B5 D6 . B5 G5 | C6 . G5 . E5 D5 B4 .",
             0.7);
    s.melody(Instrument::Marimba, 2,
             "C5 E5 G5 E5 C6 . G5 . | A4 C5 E5 C5 A5 . E5 . | F4 A4 C5 A4 F5 . C5 . | G4 B4 D5 B4 G5 F5 E5 D5 |"
             "E5 . E5 . G5 . E5 . | C6 . A5 . E5 . C5 . | D5 F5 G5 B5 D6 . B5 G5 | C6 . G5 . E5 D5 B4 .",
             0.25, 12);
    s.bass(Instrument::Bass, ch, 2, "R.F.R.F.", 0.6);
    s.drums(Instrument::Marimba, 2, ".x.x.x.x", 0.08);
    s.drums(Instrument::Kick, 1, "x.x.", 0.3);
    s.drums(Instrument::Snare, 1, ".o.o", 0.12);
    return Sound{"MOUSE_BG", s.loop(), true};
}

Sound frogLoop() {
    // G major, calm pond song: bells over a soft pad.
    Song s(92, 8);
    const std::vector<Chord> ch = {{43, false}, {40, true}, {36, false}, {38, false},
                                   {43, false}, {40, true}, {36, false}, {38, false}};
    s.melody(Instrument::Bell, 1,
             "B4 D5 G5 D5 | E5 - B4 - | C5 E5 G5 E5 | F#5 - A5 - | G5 F#5 E5 D5 | E5 - G5 - | E5 D5 C5 A4 | D5 - C5 A4",
             0.5);
    s.pad(ch, 1, 0.16);
    s.bass(Instrument::Marimba, ch, 1, "R.F.", 0.5);
    s.arpeggio(Instrument::Pluck, ch, 2, 2, 0.12);
    s.drums(Instrument::Shaker, 2, ".o.o.o.x", 0.12);
    return Sound{"FROG_BG", s.loop(), true};
}

Sound spaceLoop() {
    // A minor, driving synth arpeggios.
    Song s(118, 8);
    const std::vector<Chord> ch = {{45, true}, {41, false}, {48, false}, {43, false},
                                   {45, true}, {41, false}, {43, false}, {45, true}};
    s.melody(Instrument::Lead, 2,
             "A4 - C5 - E5 - A5 - | G5 - F5 - E5 - C5 - | E5 - G5 - C6 - B5 - | B5 - - - D5 - G5 - |"
             "A5 - - E5 C6 - B5 A5 | F5 - A5 - C6 - A5 - | G5 - B5 - D6 - B5 G5 | A5 - - - E5 - G#4 -",
             0.45);
    s.arpeggio(Instrument::Pluck, ch, 2, 4, 0.18);
    s.pad(ch, 1, 0.14);
    s.bass(Instrument::Bass, ch, 2, "RRORRORO", 0.5);
    s.drums(Instrument::Kick, 2, "x...x...", 0.55);
    s.drums(Instrument::Snare, 2, "..x...x.", 0.3);
    s.drums(Instrument::HiHat, 4, "xoxoxoxoxoxoxoxo", 0.18);
    return Sound{"SPACE_BG", s.loop(), true};
}

Sound chaseLoop() {
    // D minor chase: busy bass ostinato, brassy lead, quick drums.
    Song s(144, 12);
    const std::vector<Chord> ch = {{38, true},  {38, true},  {46, false}, {48, false}, {38, true}, {38, true},
                                   {46, false}, {45, false}, {34, false}, {36, false}, {38, true}, {45, false}};
    s.melody(Instrument::Lead, 2,
             "D5 . D5 F5 . D5 A5 . | G5 F5 E5 D5 E5 - C5 . | D5 . D5 F5 . D5 Bb5 . | A5 G5 F5 E5 G5 - - . |"
             "A5 . A5 A5 . G5 F5 . | E5 F5 G5 A5 - . D5 . | F5 . F5 G5 . F5 D5 . | E5 - C#5 - A4 - E5 . |"
             "F5 - D5 - Bb4 - D5 F5 | G5 - E5 - C5 - E5 G5 | A5 - F5 - D5 - F5 A5 | A5 G5 F5 E5 C#5 - A4 C#5",
             0.5);
    s.melody(Instrument::Organ, 2,
             "D4 . D4 F4 . D4 A4 . | G4 F4 E4 D4 E4 - C4 . | D4 . D4 F4 . D4 Bb4 . | A4 G4 F4 E4 G4 - - . |"
             "A4 . A4 A4 . G4 F4 . | E4 F4 G4 A4 - . D4 . | F4 . F4 G4 . F4 D4 . | E4 - C#4 - A3 - E4 . |"
             "F4 - D4 - Bb3 - D4 F4 | G4 - E4 - C4 - E4 G4 | A4 - F4 - D4 - F4 A4 | A4 G4 F4 E4 C#4 - A3 C#4",
             0.12);
    s.bass(Instrument::Bass, ch, 2, "RROROROR", 0.6);
    s.drums(Instrument::Kick, 2, "x..x..x.", 0.6);
    s.drums(Instrument::Snare, 2, "..x...x.", 0.35);
    s.drums(Instrument::HiHat, 4, "xoooxoooxoooxoxo", 0.2);
    return Sound{"LAMISTER_BG", s.loop(), true};
}

}  // namespace

std::vector<Sound> makeLoops() {
    std::vector<Sound> s;
    s.push_back(appleLoop());
    s.push_back(moleLoop());
    s.push_back(frogLoop());
    s.push_back(spaceLoop());
    s.push_back(chaseLoop());
    return s;
}

}  // namespace assetgen
