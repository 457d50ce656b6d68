#include "media/sound_effect_player.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace parvex {

Sound_Effect_Player::Sound_Effect_Player(QObject* parent) : QObject(parent) {}

void Sound_Effect_Player::Play(const QString& file) {
    // Without an audio output a sound never starts; the closing sound would wait its cap.
    if (!checked_output_) {
        checked_output_ = true;
        has_output_ = !QMediaDevices::defaultAudioOutput().isNull();
    }
    // Events run while the closing sound is waited for; a sound they ask for would cut it off.
    if (!has_output_ || waiting_)
        return;
    if (!effect_) {
        effect_ = new QSoundEffect(this);
        effect_->setLoopCount(1);
    }
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(file));
    effect_->play();
    if (synchronous_)
        wait_for_end();
}

bool Sound_Effect_Player::finished() const {
    const QSoundEffect::Status s = effect_->status();
    if (s == QSoundEffect::Error || s == QSoundEffect::Null)
        return true;
    return s == QSoundEffect::Ready && !effect_->isPlaying();
}

void Sound_Effect_Player::wait_for_end() {
    if (finished())
        return;
    QEventLoop loop;
    auto check = [&] {
        if (finished())
            loop.quit();
    };
    connect(effect_, &QSoundEffect::playingChanged, &loop, check);
    connect(effect_, &QSoundEffect::statusChanged, &loop, check);
    QTimer::singleShot(max_wait_ms_, &loop, &QEventLoop::quit);
    waiting_ = true;
    loop.exec();
    waiting_ = false;
}

} // namespace parvex
