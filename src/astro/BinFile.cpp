#include "astro/BinFile.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace qnr {

Extended10 EncodeExtended(Extended value) {
    Extended10 out{};
    bool negative = std::signbit(value);
    std::uint16_t exponent = 0;
    std::uint64_t significand = 0;
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        significand = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        significand = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        Extended m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
        int biased = e - 1 + 16383;                     // value = 1.f x 2^(e-1)
        int shift = 63;
        if (biased <= 0) {  // denormal: exponent field 0 stands for 2^-16382
            shift = 63 + biased - 1;
            biased = 0;
        }
        if (shift >= 0) {
            // ldexp is exact; the rounding to an integer only matters where
            // long double carries more than 64 significant bits.
            Extended scaled = std::nearbyint(std::ldexp(m, shift + 1));
            if (scaled >= std::ldexp(Extended(1), 64)) {  // rounded up to the next binade
                scaled = std::ldexp(Extended(1), 63);
                ++biased;
            }
            significand = static_cast<std::uint64_t>(scaled);
        }
        if (biased >= 0x7FFF) {  // beyond the format: infinity
            biased = 0x7FFF;
            significand = 0x8000000000000000ull;
        }
        exponent = static_cast<std::uint16_t>(biased);
    }
    for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    std::uint16_t top = static_cast<std::uint16_t>(exponent | (negative ? 0x8000 : 0));
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

Extended DecodeExtended(const Extended10& b) {
    std::uint64_t significand = 0;
    for (int i = 0; i < 8; ++i) significand |= static_cast<std::uint64_t>(b[i]) << (8 * i);
    std::uint16_t top = static_cast<std::uint16_t>(b[8] | (b[9] << 8));
    bool negative = (top & 0x8000) != 0;
    int exponent = top & 0x7FFF;
    Extended v;
    if (exponent == 0x7FFF) {
        v = (significand << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        v = std::ldexp(static_cast<Extended>(significand), e);
    }
    return negative ? -v : v;
}

void RecordWriter::u8(std::uint8_t v) { bytes_.push_back(v); }
void RecordWriter::u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
}
void RecordWriter::i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
void RecordWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
}
void RecordWriter::i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
void RecordWriter::single(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
void RecordWriter::dbl(double v) {
    auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(bits >> (8 * i)));
}
void RecordWriter::extended(Extended v) {
    auto e = EncodeExtended(v);
    raw(e.data(), e.size());
}
void RecordWriter::text(const std::string& s, std::size_t capacity) {
    std::size_t n = std::min(s.size(), std::min<std::size_t>(capacity, 255));
    u8(static_cast<std::uint8_t>(n));
    raw(reinterpret_cast<const std::uint8_t*>(s.data()), n);
    zeros(capacity - n);
}
void RecordWriter::raw(const std::uint8_t* data, std::size_t size) {
    bytes_.insert(bytes_.end(), data, data + size);
}
void RecordWriter::zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

const std::uint8_t* RecordReader::take(std::size_t n) {
    if (failed_ || n > remaining()) {
        failed_ = true;
        pos_ = size_;
        return nullptr;
    }
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::uint8_t RecordReader::u8() {
    const auto* p = take(1);
    return p ? p[0] : 0;
}
std::uint16_t RecordReader::u16() {
    const auto* p = take(2);
    return p ? static_cast<std::uint16_t>(p[0] | (p[1] << 8)) : 0;
}
std::int16_t RecordReader::i16() { return static_cast<std::int16_t>(u16()); }
std::uint32_t RecordReader::u32() {
    const auto* p = take(4);
    if (!p) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}
std::int32_t RecordReader::i32() { return static_cast<std::int32_t>(u32()); }
float RecordReader::single() { return std::bit_cast<float>(u32()); }
double RecordReader::dbl() {
    const auto* p = take(8);
    if (!p) return 0;
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return std::bit_cast<double>(v);
}
Extended RecordReader::extended() {
    const auto* p = take(10);
    if (!p) return 0;
    Extended10 e;
    std::memcpy(e.data(), p, 10);
    return DecodeExtended(e);
}
std::string RecordReader::text(std::size_t capacity) {
    const auto* p = take(capacity + 1);
    if (!p) return {};
    std::size_t n = std::min<std::size_t>(p[0], capacity);
    return std::string(reinterpret_cast<const char*>(p + 1), n);
}
void RecordReader::skip(std::size_t count) { take(count); }

}  // namespace qnr
