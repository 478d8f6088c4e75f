// The panel-art generator: the WAV and BMP encoders byte by byte, and the
// sounds and glyphs it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "astro/BinFile.h"
#include "panelart/Bmp.h"
#include "panelart/Glyphs.h"
#include "panelart/Synth.h"
#include "panelart/Wav.h"
#include "ui/panel/SegmentShapes.h"

using namespace qnr;
using namespace qnr::panelart;

namespace {

std::string Tag(RecordReader& r) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>(r.u8());
    return s;
}

struct WavHeader {
    std::string riff, wave, fmt, data;
    std::uint32_t riffSize = 0, fmtSize = 0, rate = 0, byteRate = 0, dataSize = 0;
    std::uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0;
};

WavHeader ReadWavHeader(RecordReader& r) {
    WavHeader h;
    h.riff = Tag(r);
    h.riffSize = r.u32();
    h.wave = Tag(r);
    h.fmt = Tag(r);
    h.fmtSize = r.u32();
    h.format = r.u16();
    h.channels = r.u16();
    h.rate = r.u32();
    h.byteRate = r.u32();
    h.blockAlign = r.u16();
    h.bits = r.u16();
    h.data = Tag(r);
    h.dataSize = r.u32();
    return h;
}

}  // namespace

// The canonical 44-byte PCM header, then the samples little-endian.
TEST(Wav, HeaderAndSamples) {
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768};
    const Bytes file = EncodeWav(samples, 11025);
    ASSERT_EQ(file.size(), 44u + 10u);
    RecordReader r(file);
    const WavHeader h = ReadWavHeader(r);
    EXPECT_EQ(h.riff, "RIFF");
    EXPECT_EQ(h.riffSize, file.size() - 8);
    EXPECT_EQ(h.wave, "WAVE");
    EXPECT_EQ(h.fmt, "fmt ");
    EXPECT_EQ(h.fmtSize, 16u);
    EXPECT_EQ(h.format, 1u);
    EXPECT_EQ(h.channels, 1u);
    EXPECT_EQ(h.rate, 11025u);
    EXPECT_EQ(h.byteRate, 22050u);
    EXPECT_EQ(h.blockAlign, 2u);
    EXPECT_EQ(h.bits, 16u);
    EXPECT_EQ(h.data, "data");
    EXPECT_EQ(h.dataSize, 10u);
    EXPECT_EQ(r.position(), 44u);
    for (std::int16_t s : samples) EXPECT_EQ(r.i16(), s);
    EXPECT_FALSE(r.failed());
    EXPECT_TRUE(r.atEnd());
    // Byte order spelled out for one sample: -32768 is 00 80.
    EXPECT_EQ(file[44 + 8], 0x00);
    EXPECT_EQ(file[44 + 9], 0x80);
}

TEST(Wav, EmptyIsStillAFile) {
    const Bytes file = EncodeWav({});
    RecordReader r(file);
    const WavHeader h = ReadWavHeader(r);
    EXPECT_EQ(file.size(), 44u);
    EXPECT_EQ(h.riffSize, 36u);
    EXPECT_EQ(h.dataSize, 0u);
}

// Every sound the windows play is made (the dome's start and end sounds, the
// slew servo, the drive motor), and nothing else under another spelling.
TEST(Sounds, EveryNameThePanelsPlay) {
    const std::set<std::string> wanted = {"gardoor.wav", "chaclunk.wav", "clunkit.wav", "crashbrn.wav",
                                          "rolling.wav", "crinkle.wav",  "drag.wav",    "mailbox.wav",
                                          "whaading.wav", "servostart.wav", "servocontin.wav", "Emotor.wav"};
    std::set<std::string> made;
    for (const SoundInfo& s : PanelSounds()) made.insert(s.file);
    EXPECT_EQ(made, wanted);
    EXPECT_TRUE(Synthesize("nosuch.wav").empty());
}

// Length as listed, loud enough to hear, never clipped; the same bytes every time.
TEST(Sounds, LengthLevelAndDeterminism) {
    for (const SoundInfo& s : PanelSounds()) {
        SCOPED_TRACE(s.file);
        const std::vector<std::int16_t> a = Synthesize(s.file);
        EXPECT_EQ(a.size(), static_cast<std::size_t>(std::nearbyint(s.seconds * SampleRate)));
        int peak = 0;
        for (std::int16_t v : a) peak = std::max(peak, std::abs(static_cast<int>(v)));
        // Normalised to 70 % of full scale; off by at most the rounding.
        EXPECT_NEAR(peak, 0.7 * 32767, 1.0);
        EXPECT_EQ(EncodeWav(Synthesize(s.file)), EncodeWav(a));
    }
}

// The dome keeps its sound going until the shutter is nearly home (7.3 s of
// the 7.5 s movement), so the door sound must outlast that.
TEST(Sounds, DoorSoundOutlastsTheMovement) {
    const auto it = std::find_if(PanelSounds().begin(), PanelSounds().end(),
                                 [](const SoundInfo& s) { return s.file == "gardoor.wav"; });
    ASSERT_NE(it, PanelSounds().end());
    EXPECT_GT(it->seconds, 7.5);
}

// One-shot sounds start and end at rest (no click); loops run across the seam
// as smoothly as anywhere inside them.
TEST(Sounds, EndsAndSeams) {
    for (const SoundInfo& s : PanelSounds()) {
        SCOPED_TRACE(s.file);
        const std::vector<std::int16_t> a = Synthesize(s.file);
        ASSERT_GT(a.size(), 2u);
        if (!s.loops) {
            EXPECT_LE(std::abs(a.front()), 16);
            EXPECT_LE(std::abs(a.back()), 16);
            continue;
        }
        int widest = 0;
        for (std::size_t i = 1; i < a.size(); ++i) widest = std::max(widest, std::abs(a[i] - a[i - 1]));
        EXPECT_LE(std::abs(a.front() - a.back()), widest);
    }
}

// A 3 x 2 picture: 54-byte header, rows padded to 4 bytes, bottom row first, BGR.
TEST(Bmp, HeaderRowsAndPadding) {
    const std::vector<Rgb> px = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const Bytes file = EncodeBmp24(3, 2, px);
    ASSERT_EQ(file.size(), 54u + 2 * 12u);
    RecordReader r(file);
    EXPECT_EQ(r.u8(), 'B');
    EXPECT_EQ(r.u8(), 'M');
    EXPECT_EQ(r.u32(), file.size());
    r.skip(4);
    EXPECT_EQ(r.u32(), 54u);
    EXPECT_EQ(r.u32(), 40u);
    EXPECT_EQ(r.i32(), 3);
    EXPECT_EQ(r.i32(), 2);
    EXPECT_EQ(r.u16(), 1u);
    EXPECT_EQ(r.u16(), 24u);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_EQ(r.u32(), 24u);
    r.skip(16);
    // Bottom row: (1,2,3) (4,5,6) (7,8,9), then three bytes of padding.
    const std::vector<int> bottom = {3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    for (int b : bottom) EXPECT_EQ(r.u8(), b);
    const std::vector<int> top = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    for (int b : top) EXPECT_EQ(r.u8(), b);
}

// The glyphs: one size for all; lit segments where the digit has them.
TEST(Glyphs, LitWhereTheSegmentsAre) {
    namespace seg = ui::segments;
    auto litIn = [](char c, int x0, int y0, int x1, int y1) {
        const std::vector<Rgb> px = RenderGlyph(c);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (px[static_cast<std::size_t>(y * seg::GlyphWidth + x)].r > 200) ++n;
        return n;
    };
    const int W = seg::GlyphWidth, H = seg::GlyphHeight;
    for (char c : seg::Characters) {
        SCOPED_TRACE(std::string(1, c));
        EXPECT_EQ(RenderGlyph(c).size(), static_cast<std::size_t>(W * H));
        EXPECT_EQ(GlyphPicture(c).size(), 54u + static_cast<std::size_t>((W * 3 + 3) / 4 * 4 * H));
    }
    EXPECT_EQ(litIn(' ', 0, 0, W, H), 0);
    EXPECT_EQ(litIn('1', 0, 0, W / 2, H), 0);  // "1" is the two right-hand segments
    EXPECT_GT(litIn('1', W / 2, 0, W, H), 0);
    EXPECT_EQ(litIn('-', 0, 0, W, H / 3), 0);  // the middle bar only
    EXPECT_GT(litIn('-', 0, H / 3, W, 2 * H / 3), 0);
    EXPECT_EQ(litIn('.', 0, 0, W, H / 2), 0);  // a dot near the bottom
    EXPECT_GT(litIn('.', 0, H / 2, W, H), 0);
    EXPECT_GT(litIn(':', 0, 0, W, H / 2), 0);  // two dots, one in each half
    EXPECT_GT(litIn(':', 0, H / 2, W, H), 0);
    // The unlit segments are faintly there on a blank cell; the background is black.
    const std::vector<Rgb> blank = RenderGlyph(' ');
    EXPECT_TRUE(std::any_of(blank.begin(), blank.end(), [](Rgb p) { return p.r > 20 && p.r < 60; }));
    EXPECT_EQ(blank.front(), (Rgb{0, 0, 0}));
    EXPECT_EQ(RenderGlyph('5'), RenderGlyph('5'));
}
