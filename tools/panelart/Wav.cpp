#include "panelart/Wav.h"

namespace qnr::panelart {

namespace {
void Tag(RecordWriter& w, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) w.u8(static_cast<std::uint8_t>(tag[i]));
}
}  // namespace

Bytes EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate) {
    constexpr std::uint16_t Channels = 1, Bits = 16, BlockAlign = Channels * Bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * BlockAlign);
    RecordWriter w;
    Tag(w, "RIFF");
    w.u32(36 + dataBytes);  // everything after this field
    Tag(w, "WAVE");
    Tag(w, "fmt ");
    w.u32(16);
    w.u16(1);  // PCM
    w.u16(Channels);
    w.u32(static_cast<std::uint32_t>(sampleRate));
    w.u32(static_cast<std::uint32_t>(sampleRate) * BlockAlign);
    w.u16(BlockAlign);
    w.u16(Bits);
    Tag(w, "data");
    w.u32(dataBytes);
    for (std::int16_t s : samples) w.i16(s);
    return w.take();
}

}  // namespace qnr::panelart
