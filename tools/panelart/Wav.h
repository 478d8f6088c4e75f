#pragma once
// RIFF WAVE files of 16-bit mono PCM: the format every panel sound ships in.
#include <cstdint>
#include <vector>

#include "astro/BinFile.h"

namespace qnr::panelart {

constexpr int SampleRate = 22050;

// The whole file: RIFF header, "fmt " chunk (PCM, 1 channel, 16 bits), "data"
// chunk with the samples little-endian.
Bytes EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate = SampleRate);

}  // namespace qnr::panelart
