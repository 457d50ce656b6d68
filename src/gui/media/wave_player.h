#pragma once
// Plays a wave file by name: in the background (a new sound replaces one still playing), or,
// once switched to synchronous play for the closing sound, to its end.

#include <QString>

namespace parvex {

class Wave_Player {
public:
    // A synchronous play never waits longer than this, however long the file is.
    static constexpr int Max_Synchronous_Ms = 5000;

    virtual ~Wave_Player() = default;
    virtual void Play(const QString& file) = 0;
    virtual void Set_Synchronous(bool on) = 0;
    virtual bool Synchronous() const = 0;
};

} // namespace parvex
