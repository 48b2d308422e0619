// Plays a sound file without waiting, through a module loaded the first time a sound is played.
//
// Sound needs Qt Multimedia and the system's audio libraries; linked into the program they would
// be loaded and bound at every start, for a command most sessions never use. They live in the
// module "ksned_sound" instead, looked for beside the program and in its installed library folder.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace ksn {

// What the module provides: one object that plays one file at a time.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // Stops what is playing and starts the file; false when it cannot be played.
    virtual bool play(const QString& hostFile) = 0;
};

// The module's one exported function, extern "C": a new backend, owned by the caller.
using SoundBackendFactory = SoundBackend* (*)();
inline constexpr const char* kSoundFactorySymbol = "ksned_create_sound_backend";

class SoundPlayer {
public:
    // programDir: the folder of the running program.
    explicit SoundPlayer(QString programDir);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // False when the file cannot be played or the module cannot be loaded; the caller beeps.
    bool play(const QString& hostFile);
    // Loads the module now (once); true when it is there.
    bool available();
    // Where the module is looked for, in order (file names without the platform's suffix).
    QStringList moduleCandidates() const;
    // Why the module did not load, for a diagnostic; empty when it did or was not tried.
    QString loadError() const { return loadError_; }

private:
    QString programDir_;
    bool tried_ = false;
    QString loadError_;
    std::unique_ptr<SoundBackend> backend_;
};

}  // namespace ksn
