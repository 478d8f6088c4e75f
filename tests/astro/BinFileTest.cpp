#include "astro/BinFile.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

namespace qnr {
namespace {

struct GoldenExtended {
    const char* what;
    Extended value;
    Extended10 bytes;  // little-endian: significand bytes 0-7, sign and exponent 8-9
};

// Bytes of the x87 80-bit format, worked out by hand from its definition.
const GoldenExtended kGolden[] = {
    {"zero", 0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"one", 1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {"minus one", -1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xBF}},
    // pi = 1.1001001000011111101101010100010001000010110100011000010001101001100... x 2^1
    {"pi", 3.14159265358979323846264338327950288L, {0x35, 0xC2, 0x68, 0x21, 0xA2, 0xDA, 0x0F, 0xC9, 0x00, 0x40}},
    {"smallest denormal", std::ldexp(1.0L, -16445), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"denormal", std::ldexp(3.0L, -16400), {0, 0, 0, 0, 0, 0x60, 0, 0, 0, 0}},
    {"tiny (smallest normal)", std::ldexp(1.0L, -16382), {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}},
    {"large (largest finite)", LDBL_MAX, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}},
    {"ten", 10.0L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40}},
};

TEST(ExtendedCodec, EncodesAndDecodesGoldenBytes) {
    if (LDBL_MANT_DIG != 64) GTEST_SKIP() << "golden values need an 80-bit long double";
    for (const auto& g : kGolden) {
        EXPECT_EQ(EncodeExtended(g.value), g.bytes) << g.what;
        EXPECT_EQ(DecodeExtended(g.bytes), g.value) << g.what;
    }
}

TEST(ExtendedCodec, MatchesTheNativeLayoutOnX86) {
    if (LDBL_MANT_DIG != 64) GTEST_SKIP();
    for (Extended v : {1e-300L, -2.5e300L, 0.1L, 123456789.123456789L, 1e4000L, -7e-4000L}) {
        unsigned char native[sizeof(Extended)] = {};
        std::memcpy(native, &v, sizeof v);
        Extended10 e = EncodeExtended(v);
        EXPECT_EQ(0, std::memcmp(native, e.data(), 10)) << static_cast<double>(v);
        EXPECT_EQ(DecodeExtended(e), v);
    }
}

TEST(ExtendedCodec, SpecialValues) {
    EXPECT_TRUE(std::isinf(DecodeExtended(EncodeExtended(HUGE_VALL))));
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nanl("")))));
    EXPECT_TRUE(std::signbit(DecodeExtended(EncodeExtended(-0.0L))));
}

TEST(RecordWriter, WritesLittleEndianFieldsAndTexts) {
    RecordWriter w;
    w.u8(0xAB);
    w.i16(-2);
    w.i32(0x01020304);
    w.single(1.0f);
    w.dbl(-2.0);
    w.text("AB", 4);
    const Bytes expect = {0xAB, 0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x80, 0x3F,
                          0, 0, 0, 0, 0, 0, 0, 0xC0, 2, 'A', 'B', 0, 0};
    EXPECT_EQ(w.bytes(), expect);
}

TEST(RecordWriter, CutsTextsToTheirCapacity) {
    RecordWriter w;
    w.text("ABCDEF", 3);
    EXPECT_EQ(w.bytes(), (Bytes{3, 'A', 'B', 'C'}));
}

TEST(RecordReader, ReadsBackWhatTheWriterWrote) {
    RecordWriter w;
    w.u8(7);
    w.u16(65535);
    w.i32(-123456);
    w.u32(4000000000u);
    w.single(406.4f);
    w.dbl(2451545.0);
    w.extended(-1.3480103462225791L);
    w.text("KPNO 0.9m (36\") Telescope", 40);
    RecordReader r(w.bytes());
    EXPECT_EQ(r.u8(), 7);
    EXPECT_EQ(r.u16(), 65535);
    EXPECT_EQ(r.i32(), -123456);
    EXPECT_EQ(r.u32(), 4000000000u);
    EXPECT_EQ(r.single(), 406.4f);
    EXPECT_EQ(r.dbl(), 2451545.0);
    EXPECT_EQ(r.extended(), -1.3480103462225791L);
    EXPECT_EQ(r.text(40), "KPNO 0.9m (36\") Telescope");
    EXPECT_FALSE(r.failed());
    EXPECT_TRUE(r.atEnd());
}

TEST(RecordReader, ShortBufferFailsAndYieldsZeros) {
    const Bytes b = {1, 2, 3};
    RecordReader r(b);
    EXPECT_EQ(r.u16(), 0x0201);
    EXPECT_EQ(r.i32(), 0);
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.u8(), 0);  // stays failed
}

TEST(RecordReader, LengthByteBeyondCapacityIsCut) {
    const Bytes b = {200, 'a', 'b', 'c'};
    RecordReader r(b);
    EXPECT_EQ(r.text(3), "abc");
    EXPECT_FALSE(r.failed());
}

}  // namespace
}  // namespace qnr
