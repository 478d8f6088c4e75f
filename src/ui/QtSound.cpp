#include "ui/QtSound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "ui/Latin1.h"

namespace qnr::ui {

QtSound::QtSound() = default;

QtSound::~QtSound() {
    onEnd_ = nullptr;
    current_ = nullptr;
}

bool QtSound::available() { return !QMediaDevices::audioOutputs().isEmpty(); }

void QtSound::playFile(const std::string& path, std::function<void()> onEnd) {
    stop();
    onEnd_ = std::move(onEnd);
    const unsigned generation = generation_;
    auto endSoon = [this, generation] {
        QMetaObject::invokeMethod(&context_, [this, generation] { finish(generation); }, Qt::QueuedConnection);
    };
    if (!available()) {
        endSoon();
        return;
    }

    auto& slot = effects_[path];
    if (slot && slot->status() == QSoundEffect::Error) slot.reset();  // the file may be there by now
    if (!slot) {
        slot = std::make_unique<QSoundEffect>();
        QSoundEffect* effect = slot.get();
        QObject::connect(effect, &QSoundEffect::playingChanged, &context_, [this, effect] {
            if (effect == current_ && !effect->isPlaying()) finish(generation_);
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, &context_, [this, effect] {
            if (effect == current_ && effect->status() == QSoundEffect::Error) finish(generation_);
        });
        effect->setSource(QUrl::fromLocalFile(ToQString(path)));
    }
    current_ = slot.get();
    current_->play();
}

void QtSound::stop() {
    ++generation_;
    onEnd_ = nullptr;
    // Cleared before stopping: stopping emits playingChanged, which must not
    // count as the end of play.
    QSoundEffect* playing = current_;
    current_ = nullptr;
    if (playing) playing->stop();
}

void QtSound::finish(unsigned generation) {
    if (generation != generation_) return;
    ++generation_;
    current_ = nullptr;
    auto onEnd = std::move(onEnd_);
    onEnd_ = nullptr;
    if (onEnd) onEnd();
}

QtPcmSink::QtPcmSink() {
    pumpTimer_.setInterval(10);
    QObject::connect(&pumpTimer_, &QTimer::timeout, &context_, [this] { pump(); });
}

QtPcmSink::~QtPcmSink() { close(); }

bool QtPcmSink::open(int sampleRate) {
    close();
    if (sampleRate <= 0) return false;
    sampleRate_ = sampleRate;
    format_ = QAudioFormat();
    format_.setSampleRate(sampleRate);
    format_.setChannelCount(1);
    format_.setSampleFormat(QAudioFormat::UInt8);

    silent_ = true;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (!output.isNull() && output.isFormatSupported(format_)) {
        sink_ = std::make_unique<QAudioSink>(output, format_);
        device_ = sink_->start();
        if (device_) silent_ = false;
        else sink_.reset();
    }
    open_ = true;
    queuedBytes_ = 0;
    silentPlayed_ = 0;
    silentClock_.start();
    pumpTimer_.start();
    return true;
}

void QtPcmSink::write(std::vector<std::uint8_t> buffer, std::function<void()> onDone) {
    if (!open_) return;
    Pending p;
    queuedBytes_ += buffer.size();
    p.bytes = std::move(buffer);
    p.endOffset = queuedBytes_;
    p.onDone = std::move(onDone);
    if (pending_.empty()) silentClock_.restart();  // a silent device idles while it has nothing to play
    pending_.push_back(std::move(p));
    pump();
}

void QtPcmSink::pump() {
    if (!open_) return;
    std::uint64_t played = 0;
    if (silent_) {
        const auto ms = static_cast<std::uint64_t>(silentClock_.restart());
        silentPlayed_ = std::min(queuedBytes_, silentPlayed_ + ms * static_cast<std::uint64_t>(sampleRate_) / 1000);
        played = silentPlayed_;
    } else {
        for (Pending& p : pending_) {
            while (p.written < p.bytes.size()) {
                const qint64 room = sink_->bytesFree();
                if (room <= 0) break;
                const auto chunk = std::min<std::size_t>(static_cast<std::size_t>(room), p.bytes.size() - p.written);
                const qint64 n = device_->write(reinterpret_cast<const char*>(p.bytes.data() + p.written),
                                                static_cast<qint64>(chunk));
                if (n <= 0) break;
                p.written += static_cast<std::size_t>(n);
            }
            if (p.written < p.bytes.size()) break;
        }
        played = static_cast<std::uint64_t>(sink_->processedUSecs()) * static_cast<std::uint64_t>(sampleRate_) /
                 1000000u;
    }
    // A notice may write the next buffer, so take each finished one off first.
    while (!pending_.empty() && pending_.front().endOffset <= played &&
           (silent_ || pending_.front().written == pending_.front().bytes.size())) {
        auto onDone = std::move(pending_.front().onDone);
        pending_.pop_front();
        if (onDone) onDone();
        if (!open_) return;
    }
}

void QtPcmSink::close() {
    pumpTimer_.stop();
    pending_.clear();
    if (sink_) sink_->stop();
    sink_.reset();
    device_ = nullptr;
    open_ = false;
}

}  // namespace qnr::ui
