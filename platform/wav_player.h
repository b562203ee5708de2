// WAV files played in the background, in place of the window system's media player: the file is
// read through libsndfile and played through ALSA while the caller goes on.
#pragma once

#include <memory>
#include <string>

namespace platform {

class WavPlayer {
public:
    virtual ~WavPlayer() = default;
    // Starts playing the file and returns at once (a file still playing is let finish first);
    // false when the file cannot be read as sound.
    virtual bool play(const std::string& path) = 0;
};

// Plays on an ALSA device ("default", or "null" where no sound should come out).
class AlsaWavPlayer : public WavPlayer {
public:
    explicit AlsaWavPlayer(std::string device = "default");
    ~AlsaWavPlayer() override;  // waits for the file playing
    bool play(const std::string& path) override;
    // Waits for the file playing; whether all of it went to the device.
    bool finish();

private:
    struct Playback;
    std::string device_;
    std::unique_ptr<Playback> playing_;
};

}  // namespace platform
