// The program's built-in sounds, played without waiting for their end.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/resources.h"

class QSoundEffect;
class QTemporaryFile;

namespace qv {

class ChimePlayer {
  public:
    enum class Result { Started, NoSuchSound, NoAudioOutput, NotWritten };

    // Plays the sounds among the built-in files of `resources`.
    explicit ChimePlayer(const Resources& resources);
    ~ChimePlayer();
    ChimePlayer(const ChimePlayer&) = delete;
    ChimePlayer& operator=(const ChimePlayer&) = delete;

    // Starts the built-in sound of this name ("IDW_TIME_ADDED") and returns at once. Where
    // there is no audio output, or the sound cannot be prepared, nothing plays and nothing is
    // said: the sound is a courtesy, never an error.
    Result Play(std::u16string_view name);

  private:
    struct Sound {
        std::unique_ptr<QTemporaryFile> file;  // the sound's bytes, written once
        std::unique_ptr<QSoundEffect> effect;
        ~Sound();
    };
    Sound* Prepare(const std::string& name);

    const Resources& resources_;
    std::map<std::string, std::unique_ptr<Sound>> sounds_;
};

// Whether the machine has an audio output now. Asking is quiet: the sound system's complaints
// about a missing server are not printed.
bool AudioOutputPresent();

}  // namespace qv
