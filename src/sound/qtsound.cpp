// The sound module: plays files with Qt Multimedia. Loaded by SoundPlayer on the first sound.
#include "support/system/soundplayer.h"

#include <QSoundEffect>
#include <QUrl>

namespace {

class QtSound : public ksn::SoundBackend {
public:
    bool play(const QString& hostFile) override {
        effect_.stop();
        effect_.setSource(QUrl::fromLocalFile(hostFile));
        effect_.play();
        return effect_.status() != QSoundEffect::Error;
    }

private:
    QSoundEffect effect_;
};

}  // namespace

#if defined(_WIN32)
#define KSNED_SOUND_EXPORT __declspec(dllexport)
#else
#define KSNED_SOUND_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KSNED_SOUND_EXPORT ksn::SoundBackend* ksned_create_sound_backend() { return new QtSound; }
