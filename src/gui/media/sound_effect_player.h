#pragma once
// The wave player of the program, on QSoundEffect. Without an audio output it plays nothing;
// a synchronous play waits for the end of the sound, a failure to load it, or its cap.

#include "media/wave_player.h"

#include <QObject>

class QSoundEffect;

namespace parvex {

class Sound_Effect_Player final : public QObject, public Wave_Player {
    Q_OBJECT
public:
    explicit Sound_Effect_Player(QObject* parent = nullptr);
    void Play(const QString& file) override;
    void Set_Synchronous(bool on) override { synchronous_ = on; }
    bool Synchronous() const override { return synchronous_; }
    // Test hook: a shorter cap than Max_Synchronous_Ms.
    void Set_Max_Wait_Ms(int ms) { max_wait_ms_ = ms; }

private:
    bool finished() const;
    void wait_for_end();

    QSoundEffect* effect_ = nullptr; // made on the first play: it opens the audio system
    bool synchronous_ = false;
    bool checked_output_ = false;
    bool has_output_ = false;
    bool waiting_ = false;
    int max_wait_ms_ = Max_Synchronous_Ms;
};

} // namespace parvex
