// The program's built-in sounds, played with Qt Multimedia.
#include "platform/qt/chime_player.h"

#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>

#include "core/text.h"

namespace qv {

namespace {

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

bool AudioOutputPresent() {
    // The first question connects to the sound server, which complains on the console when
    // there is none; a missing server is an ordinary state here.
    const QtMessageHandler previous = qInstallMessageHandler(DropMessage);
    const bool present = !QMediaDevices::defaultAudioOutput().isNull();
    qInstallMessageHandler(previous);
    return present;
}

ChimePlayer::Sound::~Sound() = default;

ChimePlayer::ChimePlayer(const Resources& resources) : resources_(resources) {}
ChimePlayer::~ChimePlayer() = default;

ChimePlayer::Result ChimePlayer::Play(std::u16string_view name) {
    const std::string fileName = ToUtf8(name) + ".wav";
    if (!resources_.File(fileName)) return Result::NoSuchSound;
    if (!AudioOutputPresent()) return Result::NoAudioOutput;
    Sound* sound = Prepare(fileName);
    if (!sound) return Result::NotWritten;
    // A chime still ringing starts over, as a repeated booking would on the handheld.
    sound->effect->stop();
    sound->effect->play();
    return Result::Started;
}

ChimePlayer::Sound* ChimePlayer::Prepare(const std::string& fileName) {
    if (auto found = sounds_.find(fileName); found != sounds_.end()) return found->second.get();
    const std::string_view bytes = *resources_.File(fileName);
    // The sound effect plays files only: the bytes go once into a private temporary file,
    // removed with the player.
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/quorvella-XXXXXX.wav"));
    if (!file->open()) return nullptr;
    const auto size = static_cast<qint64>(bytes.size());
    if (file->write(bytes.data(), size) != size || !file->flush()) {
        return nullptr;
    }
    auto sound = std::make_unique<Sound>();
    sound->effect = std::make_unique<QSoundEffect>();
    sound->effect->setSource(QUrl::fromLocalFile(file->fileName()));
    sound->file = std::move(file);
    return sounds_.emplace(fileName, std::move(sound)).first->second.get();
}

}  // namespace qv
