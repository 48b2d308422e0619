#include "support/system/soundplayer.h"

#include "support/paths/regularfile.h"

#include <QFileInfo>
#include <QLibrary>

#include <utility>

namespace ksn {

SoundPlayer::SoundPlayer(QString programDir) : programDir_(std::move(programDir)) {}

// The backend's code lives in the module, so it is destroyed before anything could unload it;
// the module itself stays loaded to the end of the process (QLibrary never unloads on its own).
SoundPlayer::~SoundPlayer() = default;

QStringList SoundPlayer::moduleCandidates() const {
    // Beside the program (a build tree, a Windows folder), then lib/ksned32 of an installed prefix.
    return {programDir_ + QStringLiteral("/ksned_sound"), programDir_ + QStringLiteral("/../lib/ksned32/ksned_sound")};
}

bool SoundPlayer::available() {
    if (tried_) return backend_ != nullptr;
    tried_ = true;
    QStringList errors;
    for (const QString& candidate : moduleCandidates()) {
        QLibrary library(QFileInfo(candidate).absoluteFilePath());
        const auto create = reinterpret_cast<SoundBackendFactory>(library.resolve(kSoundFactorySymbol));
        if (!create) {
            errors << library.errorString();
            continue;
        }
        backend_.reset(create());
        if (backend_) {
            loadError_.clear();
            return true;
        }
    }
    loadError_ = errors.join(QStringLiteral("\n"));
    return false;
}

bool SoundPlayer::play(const QString& hostFile) {
    // A named pipe or a device is no sound: the module would wait on it or never reach its end. The
    // module opens the file itself, on its own loading thread, so what it is handed is looked at here.
    if (!isRegularFile(hostFile)) return false;
    return available() && backend_->play(hostFile);
}

}  // namespace ksn
