#pragma once
// The panel's sound effects, synthesised from fixed recipes and fixed seeds:
// the same bytes on every build.
#include <cstdint>
#include <string>
#include <vector>

namespace qnr::panelart {

struct SoundInfo {
    std::string file;  // name in the program folder
    std::string what;  // for the data tree's notes
    double seconds = 0;
    bool loops = false;  // played over and over: its end runs on into its start
};

// Every sound, in the order the generator writes them.
const std::vector<SoundInfo>& PanelSounds();

// 16-bit mono samples at SampleRate; empty for a name not in PanelSounds().
std::vector<std::int16_t> Synthesize(const std::string& file);

}  // namespace qnr::panelart
