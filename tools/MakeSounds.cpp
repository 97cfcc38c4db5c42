// make-sounds: writes the game's eleven sounds as canonical 44-byte-header WAVE files of 8-bit
// mono PCM at 22100 Hz. Everything is synthesised here, deterministically: the same build makes
// the same files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
constexpr int Rate = 22100;
constexpr double Pi = 3.14159265358979323846;

using Buffer = std::vector<double>;

double noteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A small deterministic noise source (xorshift), the same on every machine.
struct Noise {
    std::uint32_t state = 0x12345678u;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }
};

enum class Wave { Square, Pulse25, Triangle, Saw, Sine };

// The step correction of a band-limited edge (polyBLEP) at phase t, for a phase step dt per
// sample: without it the square and saw waves fold their overtones back as harsh whistles.
double edgeCorrection(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double pulse(double p, double duty, double dt) {
    double v = p < duty ? 1.0 : -1.0;
    v += edgeCorrection(p, dt);
    const double fall = p - duty;
    v -= edgeCorrection(fall < 0 ? fall + 1.0 : fall, dt);
    return v;
}

// One sample of the wave at `phase` (in cycles), advancing `dt` cycles per sample.
double oscillator(Wave w, double phase, double dt) {
    const double p = phase - std::floor(phase);
    switch (w) {
    case Wave::Square:
        return pulse(p, 0.5, dt);
    case Wave::Pulse25:
        return pulse(p, 0.25, dt);
    case Wave::Triangle:
        return 4.0 * std::fabs(p - 0.5) - 1.0;
    case Wave::Saw:
        return 2.0 * p - 1.0 - edgeCorrection(p, dt);
    case Wave::Sine:
        return std::sin(2.0 * Pi * p);
    }
    return 0.0;
}

// Attack-decay-sustain-release envelope over a note of `length` seconds (release after it).
double envelope(double t, double length, double attack, double decay, double sustain, double release) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    if (t < attack + decay) return 1.0 - (1.0 - sustain) * (t - attack) / decay;
    if (t < length) return sustain;
    if (t < length + release) return sustain * (1.0 - (t - length) / release);
    return 0;
}

struct Voice {
    Wave wave;
    double attack, decay, sustain, release;
    double volume;
};

// Adds a note into `out` at `start` seconds. With `wrap` the tail past the end continues at the
// start, so a loop joins without a click.
void addNote(Buffer& out, double start, double length, int midi, const Voice& v, bool wrap,
             double slide = 0.0) {
    const double hz = noteHz(midi);
    const int first = int(start * Rate);
    const int count = int((length + v.release) * Rate);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / Rate;
        const double f = hz * std::pow(2.0, slide * t / 12.0);
        phase += f / Rate;
        int k = first + i;
        if (k >= int(out.size())) {
            if (!wrap) break;
            k %= int(out.size());
        }
        out[std::size_t(k)] += v.volume * envelope(t, length, v.attack, v.decay, v.sustain, v.release) *
                               oscillator(v.wave, phase, f / Rate);
    }
}

void addKick(Buffer& out, double start, double volume, bool wrap) {
    const int first = int(start * Rate);
    double phase = 0.0;
    for (int i = 0; i < int(0.18 * Rate); ++i) {
        const double t = double(i) / Rate;
        phase += (45.0 + 110.0 * std::exp(-t * 30.0)) / Rate;
        int k = first + i;
        if (k >= int(out.size())) {
            if (!wrap) break;
            k %= int(out.size());
        }
        out[std::size_t(k)] += volume * std::exp(-t * 14.0) * std::sin(2 * Pi * phase);
    }
}

void addNoiseHit(Buffer& out, double start, double length, double decayRate, double volume, bool bright,
                 Noise& noise, bool wrap) {
    const int first = int(start * Rate);
    double previous = 0.0;
    for (int i = 0; i < int(length * Rate); ++i) {
        const double t = double(i) / Rate;
        const double n = noise.next();
        const double s = bright ? n - previous : n; // a first difference makes it hiss higher
        previous = n;
        int k = first + i;
        if (k >= int(out.size())) {
            if (!wrap) break;
            k %= int(out.size());
        }
        out[std::size_t(k)] += volume * std::exp(-t * decayRate) * s;
    }
}

// Scales to the wanted peak (of full scale) and writes 8-bit unsigned samples.
std::vector<std::uint8_t> toPcm(const Buffer& in, double peak) {
    double max = 1e-9;
    for (double s : in)
        max = std::max(max, std::fabs(s));
    std::vector<std::uint8_t> out(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const double v = in[i] / max * peak * 127.0;
        out[i] = std::uint8_t(std::clamp(int(std::lround(128.0 + v)), 1, 255));
    }
    return out;
}

void writeWave(const std::filesystem::path& path, const std::vector<std::uint8_t>& samples) {
    const auto le32 = [](std::ofstream& f, std::uint32_t v) {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        f.write(b, 4);
    };
    const auto le16 = [](std::ofstream& f, std::uint16_t v) {
        const char b[2] = {char(v), char(v >> 8)};
        f.write(b, 2);
    };
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write("RIFF", 4);
    le32(f, 36 + std::uint32_t(samples.size()));
    f.write("WAVEfmt ", 8);
    le32(f, 16);
    le16(f, 1);    // PCM
    le16(f, 1);    // mono
    le32(f, Rate); // samples per second
    le32(f, Rate); // bytes per second
    le16(f, 1);    // block align
    le16(f, 8);    // bits per sample
    f.write("data", 4);
    le32(f, std::uint32_t(samples.size()));
    f.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size()));
    if (!f) {
        std::fprintf(stderr, "make-sounds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// --- the music ---------------------------------------------------------------------------------

// Eight bars of melody over Am F C G | Am F G E (scale degrees as MIDI notes, 0 = rest), in
// eighth notes; the second half answers the first an octave-shifted motif higher.
const int Melody[64] = {
    69, 0,  72, 76, 74, 72, 71, 72, 69, 0,  65, 69, 72, 0,  69, 67, 64, 0,  67, 72, 71, 72,
    74, 76, 74, 0,  71, 67, 74, 72, 71, 67, 69, 72, 76, 81, 79, 76, 74, 76, 77, 0,  76, 74,
    72, 0,  69, 72, 74, 0,  71, 74, 79, 77, 76, 74, 76, 0,  80, 76, 71, 0,  68, 71,
};
const int ChordRoots[8] = {45, 41, 48, 43, 45, 41, 43, 40}; // A F C G A F G E (bass octave)
const int ChordThirds[8] = {3, 4, 4, 4, 3, 4, 4, 4};        // minor or major third above the root

Buffer makeMusic(double bpm, int transpose, bool tense) {
    const double beat = 60.0 / bpm;
    const int bars = 16;
    Buffer out(std::size_t(std::lround(bars * 4 * beat * Rate)), 0.0);
    Noise noise;
    const Voice lead{tense ? Wave::Pulse25 : Wave::Square, 0.005, 0.08, 0.55, 0.06, 0.30};
    const Voice bass{Wave::Triangle, 0.004, 0.05, 0.8, 0.03, 0.55};
    const Voice pad{Wave::Saw, 0.03, 0.2, 0.35, 0.15, 0.06};
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = bar % 8;
        const double barStart = bar * 4 * beat;
        const int root = ChordRoots[chord] + transpose;
        // Bass: driving eighths, octave jump on the off-beats.
        for (int e = 0; e < 8; ++e)
            addNote(out, barStart + e * beat / 2, beat / 2 * 0.8, root + (e % 2 ? 12 : 0), bass, true);
        // A soft chord under the first and third beats.
        for (int b : {0, 2})
            for (int interval : {12, 12 + ChordThirds[chord], 19})
                addNote(out, barStart + b * beat, beat * 1.6, root + interval, pad, true);
        // The melody enters on the second pass through the chords, so the loop breathes.
        if (bar >= 4 || tense) {
            for (int e = 0; e < 8; ++e) {
                const int note = Melody[(bar % 8) * 8 + e];
                if (note) addNote(out, barStart + e * beat / 2, beat / 2 * 0.9, note + transpose, lead, true);
            }
        }
        // Drums: kick on 1 and 3 (and the "and" of 4 when tense), snare on 2 and 4, hats on eighths.
        for (int b = 0; b < 4; ++b) {
            if (b % 2 == 0)
                addKick(out, barStart + b * beat, 0.9, true);
            else
                addNoiseHit(out, barStart + b * beat, 0.16, 22.0, 0.45, false, noise, true);
        }
        if (tense) addKick(out, barStart + 3.5 * beat, 0.7, true);
        for (int e = 0; e < (tense ? 16 : 8); ++e) {
            const double step = tense ? beat / 4 : beat / 2;
            addNoiseHit(out, barStart + e * step, 0.04, 90.0, e % 2 ? 0.10 : 0.16, true, noise, true);
        }
    }
    return out;
}

// --- the effects -------------------------------------------------------------------------------

Buffer blank(double seconds) {
    return Buffer(std::size_t(seconds * Rate), 0.0);
}

Buffer makeCountdown() {
    Buffer b = blank(0.2);
    addNote(b, 0, 0.1, 81, {Wave::Square, 0.002, 0.03, 0.6, 0.05, 1.0}, false);
    return b;
}

Buffer makeStart() {
    Buffer b = blank(0.5);
    const Voice v{Wave::Square, 0.002, 0.05, 0.7, 0.15, 1.0};
    addNote(b, 0.0, 0.06, 88, v, false);
    addNote(b, 0.05, 0.25, 93, v, false);
    addNote(b, 0.05, 0.25, 100, {Wave::Triangle, 0.002, 0.05, 0.6, 0.15, 0.5}, false);
    return b;
}

Buffer makeClick() {
    Buffer b = blank(0.035);
    Noise noise;
    addNoiseHit(b, 0, 0.03, 180.0, 0.6, true, noise, false);
    addNote(b, 0, 0.01, 96, {Wave::Sine, 0.0005, 0.01, 0.2, 0.015, 0.8}, false);
    return b;
}

Buffer makeEnter() {
    Buffer b = blank(0.45);
    const Voice v{Wave::Triangle, 0.003, 0.1, 0.5, 0.2, 1.0};
    addNote(b, 0.0, 0.08, 88, v, false);
    addNote(b, 0.08, 0.15, 95, v, false);
    return b;
}

Buffer makeClear() {
    Buffer b = blank(1.7);
    const Voice lead{Wave::Square, 0.003, 0.05, 0.7, 0.1, 0.8};
    const Voice low{Wave::Triangle, 0.003, 0.05, 0.8, 0.3, 0.8};
    const int run[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i)
        addNote(b, i * 0.1, 0.09, run[i], lead, false);
    for (int n : {84, 88, 91})
        addNote(b, 0.45, 0.8, n, lead, false);
    addNote(b, 0.45, 0.8, 48, low, false);
    addNote(b, 0.0, 0.4, 60, low, false);
    return b;
}

Buffer makeHurry() {
    Buffer b = blank(1.0);
    const Voice v{Wave::Square, 0.002, 0.02, 0.8, 0.02, 1.0};
    for (int i = 0; i < 8; ++i)
        addNote(b, i * 0.12, 0.1, i % 2 ? 76 : 81, v, false);
    return b;
}

Buffer makeMiss() {
    Buffer b = blank(1.1);
    Noise noise;
    addNote(b, 0, 0.5, 70, {Wave::Saw, 0.002, 0.1, 0.8, 0.3, 0.8}, false, -30.0);
    addNoiseHit(b, 0, 1.0, 4.0, 0.9, false, noise, false);
    addKick(b, 0, 1.0, false);
    return b;
}

Buffer makeNewRecord() {
    Buffer b = blank(1.6);
    const Voice v{Wave::Pulse25, 0.002, 0.04, 0.6, 0.08, 0.8};
    const int run[] = {72, 74, 76, 79, 81, 84, 86, 88};
    for (int i = 0; i < 8; ++i)
        addNote(b, i * 0.07, 0.07, run[i], v, false);
    for (int i = 0; i < 6; ++i)
        addNote(b, 0.6 + i * 0.09, 0.05, 96 + (i % 2) * 3, {Wave::Sine, 0.001, 0.05, 0.3, 0.2, 0.5}, false);
    addNote(b, 0.56, 0.6, 84, {Wave::Triangle, 0.003, 0.1, 0.7, 0.3, 0.7}, false);
    return b;
}

Buffer makeGameOver() {
    Buffer b = blank(2.8);
    const Voice v{Wave::Triangle, 0.01, 0.1, 0.7, 0.3, 1.0};
    const int phrase[] = {69, 67, 64, 62, 57};
    const double lengths[] = {0.3, 0.3, 0.3, 0.4, 1.0};
    double t = 0;
    for (int i = 0; i < 5; ++i) {
        addNote(b, t, lengths[i] * 0.9, phrase[i], v, false);
        addNote(b, t, lengths[i] * 0.9, phrase[i] - 12, {Wave::Square, 0.01, 0.1, 0.5, 0.3, 0.25}, false);
        t += lengths[i];
    }
    return b;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sounds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    constexpr double MusicPeak = 0.6;   // music sits under the effects
    constexpr double EffectPeak = 0.92; // effects stand out; never at the clipping limit
    writeWave(folder / "bgm.wav", toPcm(makeMusic(128.0, 0, false), MusicPeak));
    writeWave(folder / "bgm_fast.wav", toPcm(makeMusic(168.0, 2, true), MusicPeak));
    writeWave(folder / "countdown.wav", toPcm(makeCountdown(), EffectPeak));
    writeWave(folder / "start.wav", toPcm(makeStart(), EffectPeak));
    writeWave(folder / "click.wav", toPcm(makeClick(), 0.7));
    writeWave(folder / "enter.wav", toPcm(makeEnter(), EffectPeak));
    writeWave(folder / "clear.wav", toPcm(makeClear(), EffectPeak));
    writeWave(folder / "hurry.wav", toPcm(makeHurry(), 0.8));
    writeWave(folder / "miss.wav", toPcm(makeMiss(), EffectPeak));
    writeWave(folder / "newrecord.wav", toPcm(makeNewRecord(), EffectPeak));
    writeWave(folder / "gameover.wav", toPcm(makeGameOver(), EffectPeak));
    return 0;
}
