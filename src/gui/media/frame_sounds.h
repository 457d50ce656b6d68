#pragma once
// The frame's sounds: the sound shortcuts of its events (a wave file or a speaker sound per
// row of "Sounds.dat"), the speaker-tune player fb_Beep, the wave player fb_WAV, the file-drop
// target fb_FDD, and the handlers of the "Sound" page that edits both sound tables.

#include "media/event_loop_clock.h"
#include "media/tbt_beeper.h"
#include "media/tone_sink.h"
#include "tables/table_format.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace parvex {

class Sound_Effect_Player;
class TDropWatch;
class TFormBase;
class TSGX;
class Wave_Player;

class Frame_Sounds : public QObject {
    Q_OBJECT
public:
    // Plugs itself into the frame: the façade's sound entry point, the drop and close hooks,
    // and the controls of the "Sound" page.
    explicit Frame_Sounds(TFormBase& form);
    ~Frame_Sounds() override;

    // The sound of a shortcut, as its row in the sound table says.
    void fb_Play_Sound(const std::string& code);
    // Speaker sound 1 .. 18; returns when it has ended. Other numbers play nothing.
    void fb_Play_Speaker(int number);
    // Starts the wave file (waits for its end while the player is synchronous).
    void fb_Play_Wave(const QString& file);

    // ---- "Sound" page ----
    void fb_fne_SoundsChange();
    void fb_fne_SoundsBrowse();
    void fb_FDDDrop(const QStringList& files);
    void fb_Send_toGUIClick();
    void fb_SG_SoundClick();
    void fb_SG_SoundDblClick();
    void fb_sg_SpSDblClick();
    void fb_SG_SoundGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format,
                                  unsigned state);

    TBTBeeper& fb_Beep() { return beep_; }
    Wave_Player& fb_WAV();
    TDropWatch* fb_FDD = nullptr;

    // Test hooks: where tones go and what times them, what plays wave files, and what the
    // file chooser answers ("" is a cancelled chooser). Pass nullptr / {} for the program's own.
    void Set_Tone_Sink(Tone_Sink* sink);
    void Set_Clock(Beeper_Clock* clock);
    void Set_Wave_Player(Wave_Player* player);
    void Set_Browse_Answer(std::function<QString()> answer) { browse_answer_ = std::move(answer); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Takes a chosen or dropped file into the file-name edit, or says why it cannot be one.
    void take_file(const QString& file);
    Tone_Sink& tone_sink();
    void sort_tables_once();
    std::string program_dir() const;

    TFormBase& form_;
    Event_Loop_Clock clock_;
    Silent_Tone_Sink silent_;
    std::unique_ptr<Tone_Sink> device_sink_; // made on the first tone: it opens the audio system
    Tone_Sink* test_sink_ = nullptr;
    TBTBeeper beep_{silent_, clock_};
    Sound_Effect_Player* own_wav_ = nullptr;
    Wave_Player* test_wav_ = nullptr;
    std::function<QString()> browse_answer_;
    bool tables_sorted_ = false;
};

} // namespace parvex
