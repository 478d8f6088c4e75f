#include "panelart/Synth.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "astro/Random.h"
#include "astro/Types.h"
#include "panelart/Wav.h"

namespace qnr::panelart {

namespace {

constexpr Extended Pi = std::numbers::pi_v<Extended>;
constexpr Extended Fs = SampleRate;
constexpr Extended LoopFold = 0.05L;  // seconds of a loop's end blended into its start

using Buffer = std::vector<Extended>;

std::size_t At(Extended seconds) { return static_cast<std::size_t>(std::max<Extended>(0, seconds) * Fs); }

class Noise {
public:
    explicit Noise(std::uint32_t seed) { rng_.setSeed(seed); }
    Extended white() { return static_cast<Extended>(rng_.real()) * 2 - 1; }
    Extended uniform() { return static_cast<Extended>(rng_.real()); }

private:
    RandomGenerator rng_;
};

class LowPass {
public:
    explicit LowPass(Extended cutoff) : a_(1 - std::exp(-2 * Pi * cutoff / Fs)) {}
    Extended operator()(Extended x) { return y_ += a_ * (x - y_); }

private:
    Extended a_, y_ = 0;
};

// Band-pass with unit gain at the centre.
class BandPass {
public:
    BandPass(Extended centre, Extended q) {
        const Extended w = 2 * Pi * centre / Fs, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
        b0_ = alpha / a0;
        b2_ = -alpha / a0;
        a1_ = -2 * std::cos(w) / a0;
        a2_ = (1 - alpha) / a0;
    }
    Extended operator()(Extended x) {
        const Extended y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    Extended b0_, b2_, a1_, a2_, x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A struck body: a decaying sine whose pitch sags a little as it rings out.
void Thud(Buffer& b, Extended t0, Extended freq, Extended decay, Extended amp) {
    Extended phase = 0;
    for (std::size_t i = At(t0); i < b.size(); ++i) {
        const Extended t = (i - At(t0)) / Fs;
        const Extended env = std::exp(-t / decay);
        if (env < 1e-4L) break;
        phase += 2 * Pi * freq * (1 + 0.25L * env) / Fs;
        b[i] += amp * env * std::min<Extended>(1, t * 2000) * std::sin(phase);
    }
}

// Metal: a set of inharmonic partials, each with its own ring time.
void Ring(Buffer& b, Extended t0, const std::vector<Extended>& freqs, const std::vector<Extended>& decays,
          const std::vector<Extended>& amps) {
    for (std::size_t k = 0; k < freqs.size(); ++k)
        for (std::size_t i = At(t0); i < b.size(); ++i) {
            const Extended t = (i - At(t0)) / Fs;
            const Extended env = std::exp(-t / decays[k]);
            if (env < 1e-4L) break;
            b[i] += amps[k] * env * std::min<Extended>(1, t * 4000) * std::sin(2 * Pi * freqs[k] * t);
        }
}

// A burst of filtered noise with a sharp start and an exponential tail.
void Burst(Buffer& b, Noise& n, Extended t0, Extended centre, Extended q, Extended decay, Extended amp) {
    BandPass f(centre, q);
    for (std::size_t i = At(t0); i < b.size(); ++i) {
        const Extended t = (i - At(t0)) / Fs;
        const Extended env = std::exp(-t / decay);
        if (env < 1e-4L) break;
        b[i] += amp * env * f(n.white());
    }
}

// Brown-ish rumble: white noise through two low passes, scaled to about unit level.
Buffer Rumble(Noise& n, std::size_t count, Extended cutoff) {
    LowPass a(cutoff), c(cutoff);
    Buffer out(count);
    const Extended gain = std::sqrt(Fs / (Pi * cutoff)) * 1.2L;
    for (Extended& v : out) v = gain * c(a(n.white()));
    return out;
}

// A whine with its first few harmonics, the phase carried by the caller so
// that the pitch may glide.
Extended Whine(Extended phase) {
    return std::sin(phase) + 0.45L * std::sin(2 * phase) + 0.25L * std::sin(3 * phase) + 0.12L * std::sin(5 * phase);
}

Buffer Gardoor() {
    const Extended len = 8.0L;
    Buffer b(At(len));
    Noise n(0x6A7D0001u);
    const Buffer rumble = Rumble(n, b.size(), 110);
    BandPass rattle(1800, 3);
    Extended phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        const Extended start = std::min<Extended>(1, t / 0.5L);           // the motor comes up to speed
        const Extended hum = 50 * (0.7L + 0.3L * start);
        phase += 2 * Pi * hum / Fs;
        const Extended motor = std::sin(phase) + 0.5L * std::sin(2 * phase) + 0.3L * std::sin(3 * phase) +
                               0.15L * std::sin(4 * phase);
        const Extended roll = 0.7L + 0.3L * std::sin(2 * Pi * 0.6L * t);  // the dome's weight on its rail
        const Extended rollers = std::pow(std::abs(std::sin(Pi * 11 * t)), 8);
        b[i] = start * (0.22L * motor + 0.55L * roll * rumble[i] + 0.5L * rollers * rattle(n.white()));
    }
    // Rail joints passing under the wheels.
    for (Extended t = 0.35L; t < len - 0.3L; t += 0.42L + 0.12L * n.uniform()) {
        Thud(b, t, 70 + 10 * n.uniform(), 0.07L, 0.35L);
        Burst(b, n, t, 900, 1.5L, 0.02L, 0.5L);
    }
    return b;
}

Buffer Chaclunk() {
    Buffer b(At(1.0L));
    Noise n(0x6A7D0002u);
    Burst(b, n, 0.02L, 2500, 1.2L, 0.03L, 1.2L);  // the latch
    Thud(b, 0.16L, 85, 0.12L, 1.0L);              // the shutter home
    Thud(b, 0.16L, 190, 0.06L, 0.5L);
    Burst(b, n, 0.16L, 500, 0.9L, 0.03L, 0.8L);
    Burst(b, n, 0.30L, 1400, 2, 0.04L, 0.15L);    // a last rattle
    return b;
}

Buffer Clunkit() {
    Buffer b(At(0.9L));
    Noise n(0x6A7D0003u);
    Thud(b, 0.02L, 70, 0.14L, 1.0L);
    Thud(b, 0.02L, 150, 0.07L, 0.45L);
    Burst(b, n, 0.02L, 450, 0.8L, 0.03L, 0.7L);
    Ring(b, 0.22L, {2300, 3400}, {0.03L, 0.02L}, {0.35L, 0.2L});  // the catch clicks in
    Burst(b, n, 0.22L, 5000, 2, 0.006L, 0.3L);
    return b;
}

Buffer Crashbrn() {
    Buffer b(At(1.8L));
    Noise n(0x6A7D0004u);
    Burst(b, n, 0.02L, 900, 0.4L, 0.35L, 1.3L);
    Burst(b, n, 0.02L, 3500, 0.7L, 0.2L, 0.6L);
    Thud(b, 0.02L, 55, 0.25L, 0.9L);
    Ring(b, 0.02L, {430, 1010, 1650, 2470}, {0.5L, 0.42L, 0.35L, 0.3L}, {0.25L, 0.2L, 0.15L, 0.1L});
    // Debris settling, fewer and fainter as it goes.
    for (int k = 0; k < 18; ++k) {
        const Extended u = n.uniform();
        const Extended t = 0.2L + 1.1L * u * u;
        Burst(b, n, t, 1500 + 3000 * n.uniform(), 2, 0.01L, 0.35L * (1 - u));
    }
    return b;
}

Buffer Rolling() {
    const Extended len = 2.0L;
    Buffer b(At(len));
    Noise n(0x6A7D0005u);
    const Buffer rumble = Rumble(n, b.size(), 200);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        const Extended slow = std::max<Extended>(0, 1 - t / 1.7L);
        b[i] = 0.8L * slow * (0.6L + 0.4L * std::sin(2 * Pi * 7 * t * slow)) * rumble[i];
    }
    for (Extended t = 0.05L; t < 1.6L; t += 0.14L + 0.1L * t) Thud(b, t, 95, 0.04L, 0.3L * (1 - t / 1.7L));
    Thud(b, 1.7L, 65, 0.12L, 0.6L);  // it comes to rest
    return b;
}

Buffer Crinkle() {
    Buffer b(At(1.4L));
    Noise n(0x6A7D0006u);
    for (int k = 0; k < 70; ++k) {
        const Extended u = n.uniform();
        const Extended t = 0.02L + 1.2L * u * u;  // crowded at the start
        Burst(b, n, t, 2500 + 4500 * n.uniform(), 1.5L, 0.002L + 0.004L * n.uniform(),
              (0.3L + 0.7L * n.uniform()) * (1.1L - u));
    }
    BandPass hiss(3000, 1);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        b[i] += 0.05L * std::exp(-t / 0.5L) * hiss(n.white());
    }
    return b;
}

Buffer Drag() {
    const Extended len = 1.5L;
    Buffer b(At(len));
    Noise n(0x6A7D0007u);
    BandPass low(700, 0.8L), high(1500, 2);
    // Stick and slip: the scrape comes in irregular grabs.
    Extended grab = 0, target = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        if (i >= next) {
            target = 0.3L + 0.7L * n.uniform();
            next = i + At(0.04L + 0.06L * n.uniform());
        }
        grab += (target - grab) * 0.004L;
        const Extended env = std::min<Extended>(1, t / 0.08L) * std::max<Extended>(0, 1 - t / 1.25L);
        b[i] = env * grab * (1.4L * low(n.white()) + 0.8L * high(n.white()));
    }
    Thud(b, 1.25L, 80, 0.1L, 0.7L);
    return b;
}

Buffer Mailbox() {
    Buffer b(At(1.6L));
    Noise n(0x6A7D0008u);
    const std::vector<Extended> partials = {612, 617, 1437, 2218, 3150, 4010};
    const std::vector<Extended> decays = {0.6L, 0.6L, 0.45L, 0.3L, 0.22L, 0.15L};
    Thud(b, 0.02L, 120, 0.05L, 0.7L);
    Burst(b, n, 0.02L, 3000, 0.8L, 0.01L, 0.8L);
    Ring(b, 0.02L, partials, decays, {0.3L, 0.25L, 0.4L, 0.3L, 0.2L, 0.12L});
    // The lid bounces once.
    Thud(b, 0.14L, 120, 0.04L, 0.25L);
    Ring(b, 0.14L, partials, decays, {0.1L, 0.08L, 0.14L, 0.1L, 0.07L, 0.04L});
    return b;
}

Buffer Whaading() {
    Buffer b(At(2.0L));
    Noise n(0x6A7D0009u);
    // "Whaa": a rising buzz through a vowel-like band.
    BandPass formant(800, 1.5L), formant2(1800, 3);
    Extended phase = 0;
    for (std::size_t i = 0; i < At(0.42L); ++i) {
        const Extended t = i / Fs;
        phase += 2 * Pi * (180 + 140 * t / 0.42L) / Fs;
        Extended saw = 0;
        for (int h = 1; h <= 12; ++h) saw += std::sin(h * phase) / h;
        const Extended env = std::min<Extended>(1, t / 0.05L) * std::max<Extended>(0, 1 - t / 0.42L);
        b[i] += 1.4L * env * (formant(saw) + 0.5L * formant2(saw));
    }
    // "Ding": a small bell.
    Ring(b, 0.42L, {1320, 2648, 3560, 4950}, {0.9L, 0.5L, 0.3L, 0.2L}, {0.6L, 0.3L, 0.2L, 0.1L});
    Burst(b, n, 0.42L, 6000, 2, 0.004L, 0.2L);
    return b;
}

constexpr Extended ServoHz = 420;

// The gear chatter of the servo, a noise band pulsing at the gear rate.
Extended Gears(Noise& n, BandPass& band, Extended gearPhase) {
    return std::pow(std::abs(std::sin(gearPhase)), 4) * band(n.white());
}

Buffer Servostart() {
    const Extended len = 0.7L;
    Buffer b(At(len));
    Noise n(0x6A7D000Au);
    BandPass band(2000, 2);
    Extended phase = 0, gear = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        const Extended x = t / len;
        const Extended f = 60 + (ServoHz - 60) * (1 - (1 - x) * (1 - x));  // spins up, easing into full speed
        phase += 2 * Pi * f / Fs;
        gear += Pi * (f / 14) / Fs;
        const Extended env = 0.3L + 0.7L * std::min<Extended>(1, t / 0.2L);
        b[i] = env * (0.5L * Whine(phase) + 0.35L * Gears(n, band, gear));
    }
    return b;
}

Buffer Servocontin() {
    // Whole cycles of every component fit the second, so the loop is seamless.
    Buffer b(At(1.0L) + At(LoopFold));
    Noise n(0x6A7D000Bu);
    BandPass band(2000, 2);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        const Extended wobble = 1 + 0.05L * std::sin(2 * Pi * 4 * t);
        b[i] = wobble * (0.5L * Whine(2 * Pi * ServoHz * t) + 0.35L * Gears(n, band, Pi * 30 * t));
    }
    return b;
}

Buffer Emotor() {
    // Whole cycles in the two seconds, as above.
    Buffer b(At(2.0L) + At(LoopFold));
    Noise n(0x6A7D000Cu);
    const Buffer rumble = Rumble(n, b.size(), 160);
    BandPass brushes(3000, 1.2L);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const Extended t = i / Fs;
        const Extended w = 2 * Pi * 60 * t;
        const Extended hum = std::sin(w) + 0.6L * std::sin(2 * w) + 0.35L * std::sin(3 * w) + 0.2L * std::sin(4 * w);
        const Extended whine = std::sin(2 * Pi * 1150 * t + 0.8L * std::sin(2 * Pi * 3 * t));
        const Extended brush = (0.5L + 0.5L * std::sin(2 * Pi * 120 * t)) * brushes(n.white());
        b[i] = 0.35L * hum + 0.12L * whine + 0.3L * rumble[i] + 0.15L * brush;
    }
    return b;
}

// Blends the last LoopFold seconds into the start and cuts them off: the
// noise runs on across the seam instead of jumping.
void Fold(Buffer& b) {
    const std::size_t fold = At(LoopFold), n = b.size() - fold;
    for (std::size_t i = 0; i < fold; ++i) {
        const Extended w = static_cast<Extended>(i) / fold;
        b[i] = w * b[i] + (1 - w) * b[n + i];
    }
    b.resize(n);
}

std::vector<std::int16_t> Finish(Buffer b, bool loops) {
    if (loops) Fold(b);
    else {
        // Short ramps at both ends keep the speaker from clicking.
        const std::size_t in = std::min(b.size(), At(0.003L)), out = std::min(b.size(), At(0.03L));
        for (std::size_t i = 0; i < in; ++i) b[i] *= static_cast<Extended>(i) / in;
        for (std::size_t i = 0; i < out; ++i) b[b.size() - 1 - i] *= static_cast<Extended>(i) / out;
    }
    Extended peak = 0;
    for (Extended v : b) peak = std::max(peak, std::abs(v));
    const Extended gain = peak > 0 ? 0.7L * 32767 / peak : 0;
    std::vector<std::int16_t> out(b.size());
    for (std::size_t i = 0; i < b.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::clamp<Extended>(std::nearbyint(b[i] * gain), -32767, 32767));
    return out;
}

struct Recipe {
    SoundInfo info;
    std::function<Buffer()> make;
};

const std::vector<Recipe>& Recipes() {
    static const std::vector<Recipe> recipes = {
        {{"gardoor.wav", "the dome's shutter motor and rollers while it moves", 8.0, false}, Gardoor},
        {{"chaclunk.wav", "shutter end: a latch and a heavy clunk", 1.0, false}, Chaclunk},
        {{"clunkit.wav", "shutter end: a clunk and the catch clicking in", 0.9, false}, Clunkit},
        {{"crashbrn.wav", "shutter end: a crash with debris settling", 1.8, false}, Crashbrn},
        {{"rolling.wav", "shutter end: rolling to a stop", 2.0, false}, Rolling},
        {{"crinkle.wav", "shutter end: crackling", 1.4, false}, Crinkle},
        {{"drag.wav", "shutter end: a scrape and a thump", 1.5, false}, Drag},
        {{"mailbox.wav", "shutter end: a sheet-metal lid slamming", 1.6, false}, Mailbox},
        {{"whaading.wav", "shutter end: a rising buzz and a bell", 2.0, false}, Whaading},
        {{"servostart.wav", "slew servo spinning up", 0.7, false}, Servostart},
        {{"servocontin.wav", "slew servo running (loops)", 1.0, true}, Servocontin},
        {{"Emotor.wav", "drive motor of a programmed slew (loops)", 2.0, true}, Emotor},
    };
    return recipes;
}

}  // namespace

const std::vector<SoundInfo>& PanelSounds() {
    static const std::vector<SoundInfo> infos = [] {
        std::vector<SoundInfo> out;
        for (const Recipe& r : Recipes()) out.push_back(r.info);
        return out;
    }();
    return infos;
}

std::vector<std::int16_t> Synthesize(const std::string& file) {
    for (const Recipe& r : Recipes())
        if (r.info.file == file) return Finish(r.make(), r.info.loops);
    return {};
}

}  // namespace qnr::panelart
