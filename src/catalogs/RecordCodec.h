#pragma once
// Each catalog record is described once, as a visit over its fields in file
// order; these two visitors turn that description into the reader and the
// writer, so the two cannot drift apart.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/BinFile.h"

namespace qnr {

class RecordDecode {
public:
    explicit RecordDecode(RecordReader& r) : r_(r) {}
    void u8(std::uint8_t& v) { v = r_.u8(); }
    void i8(std::int8_t& v) { v = static_cast<std::int8_t>(r_.u8()); }
    void ch(char& v) { v = static_cast<char>(r_.u8()); }
    void i16(std::int16_t& v) { v = r_.i16(); }
    void i32(std::int32_t& v) { v = r_.i32(); }
    void single(float& v) { v = r_.single(); }
    void dbl(double& v) { v = r_.dbl(); }
    void extended(Extended& v) { v = r_.extended(); }
    void text(std::string& v, std::size_t capacity) { v = r_.text(capacity); }
    void pad(std::size_t n) { r_.skip(n); }

private:
    RecordReader& r_;
};

class RecordEncode {
public:
    explicit RecordEncode(RecordWriter& w) : w_(w) {}
    void u8(std::uint8_t& v) { w_.u8(v); }
    void i8(std::int8_t& v) { w_.u8(static_cast<std::uint8_t>(v)); }
    void ch(char& v) { w_.u8(static_cast<std::uint8_t>(v)); }
    void i16(std::int16_t& v) { w_.i16(v); }
    void i32(std::int32_t& v) { w_.i32(v); }
    void single(float& v) { w_.single(v); }
    void dbl(double& v) { w_.dbl(v); }
    void extended(Extended& v) { w_.extended(v); }
    void text(std::string& v, std::size_t capacity) { w_.text(v, capacity); }
    void pad(std::size_t n) { w_.zeros(n); }

private:
    RecordWriter& w_;
};

// Every record of a file, in order; a short tail is ignored.
template <class Rec, class Visit>
std::vector<Rec> DecodeRecords(const Bytes& bytes, std::size_t recordSize, Visit visit) {
    std::vector<Rec> out;
    const std::size_t count = bytes.size() / recordSize;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        RecordReader r(bytes.data() + i * recordSize, recordSize);
        RecordDecode d(r);
        Rec rec;
        visit(d, rec);
        out.push_back(std::move(rec));
    }
    return out;
}

template <class Rec, class Visit>
Bytes EncodeRecords(const std::vector<Rec>& records, Visit visit) {
    RecordWriter w;
    RecordEncode e(w);
    for (Rec rec : records) visit(e, rec);
    return w.take();
}

template <class Rec, class Visit>
Rec DecodeOne(const std::uint8_t* data, std::size_t size, Visit visit) {
    RecordReader r(data, size);
    RecordDecode d(r);
    Rec rec;
    visit(d, rec);
    return rec;
}

}  // namespace qnr
