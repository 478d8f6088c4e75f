#include "datagen/layout/SeedText.h"

#include <lzma.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace qnr::datagen {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool Decompress(const std::string& packed, std::string& text) {
    lzma_stream strm = LZMA_STREAM_INIT;
    if (lzma_stream_decoder(&strm, UINT64_MAX, LZMA_CONCATENATED) != LZMA_OK) return false;
    std::vector<std::uint8_t> buffer(1 << 16);
    strm.next_in = reinterpret_cast<const std::uint8_t*>(packed.data());
    strm.avail_in = packed.size();
    lzma_ret ret = LZMA_OK;
    text.clear();
    while (ret == LZMA_OK) {
        strm.next_out = buffer.data();
        strm.avail_out = buffer.size();
        // All input is given at once, so the stream may be finished.
        ret = lzma_code(&strm, strm.avail_in == 0 ? LZMA_FINISH : LZMA_RUN);
        text.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - strm.avail_out);
    }
    lzma_end(&strm);
    return ret == LZMA_STREAM_END;
}

}  // namespace

bool ReadSeedText(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (!EndsWith(path, ".xz")) {
        text = std::move(raw);
        return true;
    }
    if (!Decompress(raw, text)) {
        error = path + " is not valid xz data";
        return false;
    }
    return true;
}

}  // namespace qnr::datagen
