#include "wav_player.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <thread>
#include <vector>

namespace platform {
namespace {

struct Sound {
    int channels = 0;
    unsigned rate = 0;
    std::vector<short> samples;  // interleaved, 16-bit
};

bool readSound(const std::string& path, Sound& sound) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return false;
    sound.channels = info.channels;
    sound.rate = unsigned(info.samplerate);
    sound.samples.resize(std::size_t(info.frames) * std::size_t(info.channels));
    const sf_count_t read = sf_readf_short(file, sound.samples.data(), info.frames);
    sf_close(file);
    sound.samples.resize(std::size_t(read) * std::size_t(info.channels));
    return info.channels > 0 && info.samplerate > 0;
}

bool playSound(const std::string& device, const Sound& sound) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return false;
    // Half a second of latency: words, not music; resampling allowed.
    bool whole = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(sound.channels), sound.rate, 1,
                                    500000) >= 0;
    const std::size_t frames = sound.samples.size() / std::size_t(sound.channels);
    std::size_t done = 0;
    while (whole && done < frames) {
        snd_pcm_sframes_t n = snd_pcm_writei(pcm, sound.samples.data() + done * std::size_t(sound.channels), frames - done);
        if (n < 0) n = snd_pcm_recover(pcm, int(n), 1);
        if (n < 0) whole = false;
        else done += std::size_t(n);
    }
    if (whole) snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return whole;
}

}  // namespace

struct AlsaWavPlayer::Playback {
    std::thread thread;
    bool whole = false;
};

AlsaWavPlayer::AlsaWavPlayer(std::string device) : device_(std::move(device)) {}

AlsaWavPlayer::~AlsaWavPlayer() { finish(); }

bool AlsaWavPlayer::finish() {
    if (!playing_) return false;
    if (playing_->thread.joinable()) playing_->thread.join();
    return playing_->whole;
}

bool AlsaWavPlayer::play(const std::string& path) {
    auto sound = std::make_shared<Sound>();
    if (!readSound(path, *sound)) return false;
    finish();
    playing_ = std::make_unique<Playback>();
    Playback* playback = playing_.get();
    playback->thread = std::thread([this, playback, sound] { playback->whole = playSound(device_, *sound); });
    return true;
}

}  // namespace platform
