#pragma once
// Little-endian fixed records: the one reader and writer of every binary file.
//
// Texts are text[n]: a length byte, the characters, then filler up to n
// (n + 1 bytes in all). Reals are IEEE single, double, or the 10-byte 80-bit
// extended, which goes through a portable codec, never through memcpy of a
// `long double`.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/Types.h"

namespace qnr {

using Bytes = std::vector<std::uint8_t>;
using Extended10 = std::array<std::uint8_t, 10>;

// The 80-bit extended format: 64-bit significand with explicit integer bit,
// 15-bit biased exponent, sign.
Extended10 EncodeExtended(Extended value);
Extended DecodeExtended(const Extended10& bytes);

class RecordWriter {
public:
    void u8(std::uint8_t v);
    void i16(std::int16_t v);
    void u16(std::uint16_t v);
    void i32(std::int32_t v);
    void u32(std::uint32_t v);
    void single(float v);
    void dbl(double v);
    void extended(Extended v);
    // text[capacity]: a longer text is cut to the capacity.
    void text(const std::string& s, std::size_t capacity);
    void raw(const std::uint8_t* data, std::size_t size);
    void zeros(std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

// Reads from a byte buffer. A read past the end sets failed() and yields
// zeros; callers check once after a whole record.
class RecordReader {
public:
    RecordReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit RecordReader(const Bytes& bytes) : RecordReader(bytes.data(), bytes.size()) {}

    std::uint8_t u8();
    std::int16_t i16();
    std::uint16_t u16();
    std::int32_t i32();
    std::uint32_t u32();
    float single();
    double dbl();
    Extended extended();
    // text[capacity]: a length byte beyond the capacity is cut to it.
    std::string text(std::size_t capacity);
    void skip(std::size_t count);

    bool failed() const { return failed_; }
    bool atEnd() const { return pos_ >= size_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }

private:
    const std::uint8_t* take(std::size_t n);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace qnr
