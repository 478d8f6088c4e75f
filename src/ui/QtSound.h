#pragma once
// Whole ".wav" files through QSoundEffect and the 8-bit PCM stream through
// QAudioSink. Without an audio output both run silent: the work goes on and
// the end notices still come.
#include <QAudioFormat>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <map>
#include <memory>

#include "platform/Sound.h"

class QAudioSink;
class QIODevice;
class QSoundEffect;

namespace qnr::ui {

class QtSound final : public platform::Sound {
public:
    QtSound();
    ~QtSound() override;

    // A file that cannot be played ends at once. A sound that is stopped, or
    // cut off by the next file, drops its notice: the caller stopped it and
    // must not be told to start it again.
    void playFile(const std::string& path, std::function<void()> onEnd) override;
    void stop() override;
    bool available() override;

private:
    void finish(unsigned generation);

    QObject context_;
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* current_ = nullptr;
    std::function<void()> onEnd_;
    unsigned generation_ = 0;
};

class QtPcmSink final : public platform::PcmSink {
public:
    QtPcmSink();
    ~QtPcmSink() override;

    bool open(int sampleRate) override;
    // Each buffer's notice comes once the device has played it; without a
    // device once its playing time has passed, so a caller that refills on
    // the notice keeps real-time pace either way.
    void write(std::vector<std::uint8_t> buffer, std::function<void()> onDone) override;
    void close() override;

    bool silent() const { return silent_; }

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        std::size_t written = 0;
        std::uint64_t endOffset = 0;  // stream position after the buffer
        std::function<void()> onDone;
    };
    void pump();

    QObject context_;
    QTimer pumpTimer_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* device_ = nullptr;
    QAudioFormat format_;
    std::deque<Pending> pending_;
    std::uint64_t queuedBytes_ = 0;
    std::uint64_t silentPlayed_ = 0;  // what a silent device has "played"
    QElapsedTimer silentClock_;
    int sampleRate_ = 0;
    bool open_ = false;
    bool silent_ = true;
};

}  // namespace qnr::ui
