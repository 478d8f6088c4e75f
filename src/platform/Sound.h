#pragma once
// Sound: whole ".wav" files with an end notice, and a PCM stream sink.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qnr::platform {

class Sound {
public:
    virtual ~Sound() = default;
    // Plays a file asynchronously; onEnd runs on the UI thread when play ends
    // (also when it could not start). Starting a new file stops the previous one.
    virtual void playFile(const std::string& path, std::function<void()> onEnd) = 0;
    virtual void stop() = 0;
    // False in silent mode (no audio device): callers skip the sound, not the work.
    virtual bool available() = 0;
};

// 8-bit mono PCM output with a completion notice per buffer. The notice may
// come from the audio thread.
class PcmSink {
public:
    virtual ~PcmSink() = default;
    virtual bool open(int sampleRate) = 0;
    virtual void write(std::vector<std::uint8_t> buffer, std::function<void()> onDone) = 0;
    virtual void close() = 0;
};

}  // namespace qnr::platform
