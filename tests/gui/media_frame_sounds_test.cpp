// The frame's sounds: shortcuts against the installed tables, the speaker tunes by the recording
// sink's clock, the "Program-Error" for a missing row, and the handlers of the "Sound" page.
#include "dialogs/tdlgs.h"
#include "frame/form_base.h"
#include "media/audio_tone_sink.h"
#include "media/event_loop_clock.h"
#include "media/frame_sounds.h"
#include "media/sound_effect_player.h"
#include "media/sound_rules.h"
#include "media/tune_sequences.h"
#include "png_dump.h"
#include "recording_tone_sink.h"
#include "tables/table_procs.h"
#include "temp_dir.h"
#include "widgets/sgx.h"
#include "widgets/sgx_model.h"
#include "widgets/speed_button.h"
#include "window/drop_watch.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace parvex;
using parvex::test::Fake_Beeper_Clock;
using parvex::test::Played_Tone;
using parvex::test::Recording_Tone_Sink;
using parvex::test::TempDir;

namespace {

struct Recording_Wave_Player : Wave_Player {
    struct Play_Call {
        QString file;
        bool synchronous = false;
    };
    std::vector<Play_Call> played;
    bool sync = false;
    void Play(const QString& file) override { played.push_back({file, sync}); }
    void Set_Synchronous(bool on) override { sync = on; }
    bool Synchronous() const override { return sync; }
    std::vector<QString> files() const {
        std::vector<QString> f;
        for (const auto& p : played)
            f.push_back(p.file);
        return f;
    }
};

// The tones a speaker sound makes, by its number.
std::vector<std::pair<int, int>> tones_of(int number) {
    const Speaker_Sound s = Speaker_Sound_For(number);
    std::vector<Tone> seq;
    if (s.preset)
        seq = Preset_Tune(static_cast<int>(*s.preset));
    else if (s.tone)
        seq = {*s.tone};
    std::vector<std::pair<int, int>> out;
    for (const Tone& t : seq)
        if (t.frequency != Pause_Frequency)
            out.emplace_back(t.frequency, t.duration_ms);
    return out;
}

std::vector<std::pair<int, int>> heard(const std::vector<Played_Tone>& tones) {
    std::vector<std::pair<int, int>> out;
    for (const auto& t : tones)
        out.emplace_back(t.frequency, t.duration_ms);
    return out;
}

// One program start on the installed sound data (or none), with the sound's outputs recorded
// and every modal message answered at once.
struct Sound_Program {
    TempDir prog;
    TDlgs dialog;
    Fake_Beeper_Clock clock;
    Recording_Tone_Sink sink{clock};
    Recording_Wave_Player wav;
    std::vector<std::pair<QString, QString>> shown; // title, text of modal messages
    std::unique_ptr<TFormBase> form;

    explicit Sound_Program(bool installed = true, const std::string& sounds_dat = {}) {
        if (installed)
            std::filesystem::copy(std::filesystem::path(PARVEX_DATA_DIR) / "GUI",
                                  prog.path() / "GUI", std::filesystem::copy_options::recursive);
        if (!sounds_dat.empty())
            prog.write("GUI/Data/Sounds.dat", sounds_dat);
        form = std::make_unique<TFormBase>(prog.dir(), &dialog);
        dialog.setMainWindow(form.get());
        dialog.setModalHook([this](TDlgs& d) {
            shown.emplace_back(d.titleText(), d.messageText());
            d.xdlg_btn_OK->click();
        });
        sounds().Set_Tone_Sink(&sink);
        sounds().Set_Clock(&clock);
        sounds().Set_Wave_Player(&wav);
        form->show();
        QApplication::processEvents();
    }
    ~Sound_Program() {
        form->close();
        dialog.setModalHook({});
        dialog.hide();
    }
    Frame_Sounds& sounds() { return form->sounds(); }
    Table_Grid& table() { return form->fb_SG_Sound->Grid(); }
    Table_Grid& sps() { return form->fb_sg_SpS->Grid(); }
    int row_of(const std::string& code) {
        for (int r = 1; r < table().Row_Count(); ++r)
            if (table().Cell(sound_col::Code, r) == code)
                return r;
        return 0;
    }
    void clear() {
        sink.tones.clear();
        wav.played.clear();
        shown.clear();
    }
    QString file(const std::string& rel) { return QString::fromStdString(prog.dir() + rel); }
};

} // namespace

TEST(FrameSounds, InstalledTablesHaveEveryShortcutAndSpeakerSound) {
    Sound_Program p;
    ASSERT_EQ(p.table().Row_Count() - 1, 19);
    for (std::string_view code : Frame_Sound_Shortcuts) {
        const std::string c(code);
        const int row = p.row_of(c);
        ASSERT_GT(row, 0) << c;
        const bool hover =
            c == "eB" || c == "lB" || c == "eC" || c == "lC" || c == "eS" || c == "lS";
        EXPECT_EQ(p.table().Cell(sound_col::Use, row), hover ? "False" : "True") << c;
        // Every file the installed table names is there, and every speaker number is valid.
        const std::string& file = p.table().Cell(sound_col::File, row);
        if (!file.empty()) {
            EXPECT_NE(Resolve_Sound_File(p.prog.dir(), file), "") << file;
        }
        const int n = Speaker_Number(p.table().Cell(sound_col::SpS, row));
        EXPECT_TRUE(n >= 1 && n <= 18) << c;
    }
    ASSERT_EQ(p.sps().Row_Count() - 1, 18);
    for (int r = 1; r <= 18; ++r)
        EXPECT_EQ(p.sps().Cell(sps_col::Nr, r), std::to_string(r));
    EXPECT_EQ(p.sps().Cell(sps_col::Name, 5), "psEmergency");
    EXPECT_EQ(p.sps().Cell(sps_col::Name, 9), "psOfficial");
    // The start-up played "PS" and closed its message with "Dm"; nothing was missing.
    EXPECT_TRUE(p.shown.empty());
    EXPECT_EQ(p.wav.files(),
              (std::vector<QString>{p.file("GUI/Snds/start.wav"), p.file("GUI/Snds/close.wav")}));
    EXPECT_TRUE(p.form->fb_chk_Speaker->isChecked());
}

TEST(FrameSounds, EveryShortcutPlaysWhatItsRowSays) {
    Sound_Program p;
    for (int r = 1; r < p.table().Row_Count(); ++r)
        p.table().Set_Cell(sound_col::Use, r, "True");
    for (std::string_view code : Frame_Sound_Shortcuts) {
        const std::string c(code);
        const int row = p.row_of(c);
        SCOPED_TRACE(c);
        // As installed: the row's mode decides.
        p.clear();
        p.form->fb_Play_Sound(c);
        if (Is_Speaker_Mode(p.table().Cell(sound_col::Mode, row))) {
            EXPECT_EQ(heard(p.sink.tones),
                      tones_of(Speaker_Number(p.table().Cell(sound_col::SpS, row))));
            EXPECT_TRUE(p.wav.played.empty());
        } else {
            EXPECT_EQ(p.wav.files(), std::vector<QString>{QString::fromStdString(Resolve_Sound_File(
                                         p.prog.dir(), p.table().Cell(sound_col::File, row)))});
            EXPECT_TRUE(p.sink.tones.empty());
        }
        // The same row on the speaker, with a number of its own.
        const int n = row % 18 + 1;
        p.table().Set_Cell(sound_col::Mode, row, "iSp");
        p.table().Set_Cell(sound_col::SpS, row, std::to_string(n));
        p.clear();
        p.form->fb_Play_Sound(c);
        EXPECT_EQ(heard(p.sink.tones), tones_of(n));
        EXPECT_TRUE(p.wav.played.empty());
        // Switched off: nothing at all.
        p.table().Set_Cell(sound_col::Use, row, "False");
        p.clear();
        p.form->fb_Play_Sound(c);
        EXPECT_TRUE(p.sink.tones.empty());
        EXPECT_TRUE(p.wav.played.empty());
    }
    EXPECT_TRUE(p.shown.empty());
}

TEST(FrameSounds, TunesLastTheirLengthByTheSinksClock) {
    Sound_Program p;
    const std::pair<int, std::int64_t> cases[] = {{5, 1600}, {9, 3000}, {14, 10}, {18, 100},
                                                  {19, 0},   {0, 0},    {-4, 0}};
    for (auto [number, ms] : cases) {
        p.clear();
        const std::int64_t start = p.clock.now;
        p.sounds().fb_Play_Speaker(number);
        EXPECT_EQ(p.clock.now - start, ms) << number;
        EXPECT_EQ(heard(p.sink.tones), tones_of(number)) << number;
    }
}

TEST(FrameSounds, AMissingRowGivesOneErrorAndSwitchesSoundOff) {
    const std::string table = "Code|Mode|Title|SpS|Sound-File|use it|m4D\r\n"
                              "PS|iSp|Start|10||True|False\r\n"
                              "Dm|iSp|Message closed|14||True|False\r\n"
                              "de|iSp|lower case|13||True|False\r\n"
                              "CP|iSp|Page|16||False|False\r\n"
                              "CP|iSp|Page|18||True|False\r\n";
    Sound_Program p(false, table);
    // The start-up: a page change ("CP", the lower of its two rows), "PS", the message closed.
    std::vector<std::pair<int, int>> start = tones_of(18);
    for (int n : {10, 14})
        for (auto t : tones_of(n))
            start.push_back(t);
    EXPECT_EQ(heard(p.sink.tones), start);
    EXPECT_TRUE(p.shown.empty());
    p.clear();
    p.form->fb_Play_Sound("De"); // "de" is another code
    p.form->fb_Play_Sound("De");
    p.form->fb_Play_Sound("DQ");
    p.form->fb_Play_Sound("PS");
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].first, "Program-Error");
    EXPECT_EQ(p.shown[0].second, "Sound-Shortcut \"De\" not found");
    EXPECT_FALSE(p.form->fb_chk_Speaker->isChecked());
    EXPECT_TRUE(p.sink.tones.empty());
    // The switch-off is logged like any change of "use Sound".
    const std::string log = p.prog.read("Data/Logfile.txt");
    EXPECT_NE(log.find("use Sound=False"), std::string::npos);
    // Switched on again, sounds come back.
    p.form->fb_chk_Speaker->setChecked(true);
    p.form->fb_Play_Sound("PS");
    EXPECT_EQ(heard(p.sink.tones), tones_of(10));
}

TEST(FrameSounds, NoTableNoSoundBeforeTheStartUpSetsItUp) {
    TempDir prog;
    TDlgs dialog;
    TFormBase form(prog.dir(), &dialog);
    Recording_Wave_Player wav;
    form.sounds().Set_Wave_Player(&wav);
    form.fb_Play_Sound("XX"); // not shown yet: the table has no file name
    EXPECT_TRUE(form.fb_chk_Speaker->isChecked());
    EXPECT_TRUE(wav.played.empty());
}

TEST(FrameSounds, EventSoundsDuringATuneAreDropped) {
    Sound_Program p;
    p.clear();
    int step = 0;
    p.clock.during = [&](std::int64_t) {
        if (step++ == 2) {
            p.form->fb_Play_Sound("DM"); // a message opens during the tune
            p.form->fb_Play_Sound("CP");
        }
    };
    p.sounds().fb_Play_Speaker(5);
    EXPECT_EQ(heard(p.sink.tones), tones_of(5));
    EXPECT_TRUE(p.wav.played.empty());
    EXPECT_TRUE(p.shown.empty());
}

TEST(FrameSounds, ClosingTheWindowStopsATuneAtOnce) {
    Sound_Program p;
    p.clear();
    p.clock.step_ms = 100;
    const std::int64_t start = p.clock.now;
    p.clock.during = [&](std::int64_t now) {
        if (now - start == 500)
            p.form->close();
    };
    p.sounds().fb_Play_Speaker(9); // psOfficial, 3000 ms
    EXPECT_EQ(p.clock.now - start, 500);
    EXPECT_EQ(p.sink.cut_at.size(), 1u);
    EXPECT_FALSE(p.form->isVisible());
    // The closing sound asked for inside the tune was dropped with it.
    EXPECT_TRUE(p.wav.played.empty());
}

TEST(FrameSounds, TheClosingSoundPlaysSynchronously) {
    Sound_Program p;
    p.clear();
    EXPECT_FALSE(p.wav.sync);
    p.form->close();
    ASSERT_EQ(p.wav.played.size(), 1u);
    EXPECT_EQ(p.wav.played[0].file, p.file("GUI/Snds/end.wav"));
    EXPECT_TRUE(p.wav.played[0].synchronous);
}

TEST(FrameSounds, SoundTableDoubleClicks) {
    Sound_Program p;
    Table_Grid& t = p.table();
    const int ps = p.row_of("PS");
    const int cp = p.row_of("CP");
    p.clear();

    // Code and Title play the row's shortcut.
    t.Set_Current(sound_col::Title, ps);
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(p.wav.files(), std::vector<QString>{p.file("GUI/Snds/start.wav")});

    // use it toggles.
    t.Set_Current(sound_col::Use, ps);
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Use, ps), "False");
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Use, ps), "True");

    // Mode: to "Snd" only with an existing file.
    t.Set_Current(sound_col::Mode, cp); // a speaker row without a file
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Mode, cp), "iSp");
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0], (std::pair<QString, QString>{"Soundfile", "does not exist"}));
    t.Set_Cell(sound_col::File, cp, "GUI/Snds/close.wav");
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Mode, cp), "Snd");
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Mode, cp), "iSp");

    // Sound-File plays even with "use Sound" off; a missing one falls back to the speaker.
    p.form->fb_chk_Speaker->setChecked(false);
    p.clear();
    t.Set_Current(sound_col::File, ps);
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(p.wav.files(), std::vector<QString>{p.file("GUI/Snds/start.wav")});
    t.Set_Cell(sound_col::File, ps, "C:\\Sounds\\start.wav");
    p.sounds().fb_SG_SoundDblClick();
    EXPECT_EQ(t.Cell(sound_col::Mode, ps), "iSp");
    EXPECT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.wav.played.size(), 1u);

    // SpS selects the speaker table's row of that number, if there is one.
    p.sps().Set_Current_Row(2);
    t.Set_Current(sound_col::SpS, ps);
    for (auto [cell, row] : std::initializer_list<std::pair<const char*, int>>{
             {"7", 7}, {"99", 7}, {"x", 7}, {"0", 7}, {"-3", 7}, {"18", 18}}) {
        t.Set_Cell(sound_col::SpS, ps, cell);
        p.sounds().fb_SG_SoundDblClick();
        EXPECT_EQ(p.sps().Cell(sps_col::Nr, p.sps().Current_Row()), std::to_string(row)) << cell;
    }
}

TEST(FrameSounds, SpeakerTableDoubleClicks) {
    Sound_Program p;
    Table_Grid& t = p.table();
    const int de = p.row_of("DE");
    t.Set_Current(sound_col::Code, de);
    p.form->fb_chk_Speaker->setChecked(false); // a test play sounds anyway
    p.clear();
    p.sps().Set_Current(sps_col::Nr, 5);
    p.sounds().fb_sg_SpSDblClick();
    EXPECT_EQ(heard(p.sink.tones), tones_of(5));
    // The name column gives the sound table's current row that number.
    p.sps().Set_Current(sps_col::Name, 12);
    p.sounds().fb_sg_SpSDblClick();
    EXPECT_EQ(t.Cell(sound_col::SpS, de), "12");
    // A Nr. that is no number plays speaker sound 1; the free column does nothing.
    p.clear();
    p.sps().Set_Cell(sps_col::Nr, 3, "x");
    p.sps().Set_Current(sps_col::Nr, 3);
    p.sounds().fb_sg_SpSDblClick();
    EXPECT_EQ(heard(p.sink.tones), tones_of(1));
    p.clear();
    p.sps().Set_Current(sps_col::Free, 5);
    p.sounds().fb_sg_SpSDblClick();
    EXPECT_TRUE(p.sink.tones.empty());
}

TEST(FrameSounds, ChooserAndDropsTakeOnlyWaveFiles) {
    Sound_Program p;
    TempDir files;
    const auto good = files.write("mine.WAV", "RIFF");
    files.write("song.mp3", "ID3");
    files.write("a|b.wav", "RIFF");
    Table_Grid& t = p.table();
    const int dq = p.row_of("DQ");
    t.Set_Current(sound_col::Title, dq);
    p.form->fb_chk_Speaker->setChecked(false);
    p.clear();

    const QString refused[] = {QString::fromStdString(files.dir() + "song.mp3"),
                               QString::fromStdString(files.dir() + "a|b.wav"),
                               QString::fromStdString(files.dir() + "gone.wav")};
    for (const QString& f : refused) {
        p.sounds().Set_Browse_Answer([f] { return f; });
        p.sounds().fb_fne_SoundsBrowse();
        EXPECT_TRUE(p.form->fb_fne_Sounds->text().isEmpty()) << f.toStdString();
    }
    EXPECT_EQ(p.shown.size(), 3u);
    EXPECT_TRUE(p.wav.played.empty());
    EXPECT_EQ(t.Cell(sound_col::File, dq), "GUI/Snds/question.wav");

    // A cancelled chooser changes nothing.
    p.sounds().Set_Browse_Answer([] { return QString(); });
    p.sounds().fb_fne_SoundsBrowse();
    EXPECT_EQ(p.shown.size(), 3u);

    const QString name = QString::fromStdString(good.string());
    p.sounds().Set_Browse_Answer([name] { return name; });
    p.sounds().fb_fne_SoundsBrowse();
    EXPECT_EQ(p.form->fb_fne_Sounds->text(), name);
    EXPECT_EQ(t.Cell(sound_col::File, dq), good.string());
    EXPECT_EQ(p.wav.files(), std::vector<QString>{name}); // plays with "use Sound" off
}

TEST(FrameSounds, DropsAreTakenOnlyWhileTheSoundPageShows) {
    Sound_Program p;
    TempDir files;
    const auto wav = files.write("drop.wav", "RIFF");
    p.form->Show_Page(p.form->fb_pc_Sound);
    QApplication::processEvents();
    EXPECT_TRUE(p.sounds().fb_FDD->hooked());
    EXPECT_EQ(p.sounds().fb_FDD->watchControl(), p.form->fb_pc_Sound);
    const int dm = p.row_of("DM");
    p.table().Set_Current(sound_col::Title, dm);
    p.clear();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(wav.string())),
                  QUrl::fromLocalFile("/tmp/other.wav")});
    QWidget* target = p.form->fb_SG_Sound->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(p.table().Cell(sound_col::File, dm), wav.string());
    EXPECT_EQ(p.wav.files(), std::vector<QString>{QString::fromStdString(wav.string())});

    p.form->fb_PC_GUI->setCurrentWidget(p.form->fb_pc_Color);
    EXPECT_FALSE(p.sounds().fb_FDD->hooked());
    p.form->fb_PC_GUI->setCurrentWidget(p.form->fb_pc_Sound);
    EXPECT_TRUE(p.sounds().fb_FDD->hooked());
}

TEST(FrameSounds, TransferButtonSaysItIsNotThereYet) {
    Sound_Program p;
    p.clear();
    p.form->fb_Send_toGUI->click();
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].first, "Soundfiles");
    EXPECT_TRUE(p.shown[0].second.contains("Transfer not jet implemented"));
}

TEST(FrameSounds, CellColoursMarkSilentRowsAndMissingFiles) {
    Sound_Program p;
    Table_Grid& t = p.table();
    const int ps = p.row_of("PS");
    const int eb = p.row_of("eB");
    t.Set_Current(sound_col::Code, p.row_of("CP"));
    t.Set_Cell(sound_col::File, ps, "GUI/Snds/none.wav");
    TSGX& grid = *p.form->fb_SG_Sound;
    ASSERT_NE(t.Sort_Col(), sound_col::Code);
    ASSERT_NE(t.Sort_Col(), sound_col::File);
    EXPECT_EQ(grid.Run_Format_Cell(sound_col::Code, eb, Draw_None).brush, Grid_Color(7));
    EXPECT_EQ(grid.Run_Format_Cell(sound_col::Code, ps, Draw_None).brush,
              ps % 2 ? Grid_Color(2) : Grid_Color(1));
    EXPECT_EQ(grid.Run_Format_Cell(sound_col::File, ps, Draw_None).brush, Grid_Color(5));
    EXPECT_NE(grid.Run_Format_Cell(sound_col::File, eb, Draw_None).brush, Grid_Color(5));
}

TEST(FrameSounds, RealWavePlayerReturnsWithoutAnAudioDevice) {
    TempDir dir;
    const auto file = std::filesystem::path(PARVEX_DATA_DIR) / "GUI/Snds/close.wav";
    Sound_Effect_Player player;
    player.Set_Max_Wait_Ms(300);
    player.Set_Synchronous(true);
    player.Play(QString::fromStdString(file.string())); // returns: ended, failed or capped
    player.Set_Synchronous(false);
    player.Play(QString::fromStdString(file.string()));
    SUCCEED();
}

TEST(FrameSounds, SoundPagePicture) {
    Sound_Program p;
    p.form->resize(640, 480);
    p.form->Show_Page(p.form->fb_pc_Sound);
    QApplication::processEvents();
    const QString png = test::save_png(*p.form, "frame_sound_page");
    EXPECT_TRUE(QFileInfo::exists(png));
}

TEST(FrameSounds, SynthesizedTonesFadeInAndOut) {
    QAudioFormat f;
    f.setSampleRate(8000);
    f.setChannelCount(2);
    f.setSampleFormat(QAudioFormat::Int16);
    const QByteArray pcm = Synthesize_Tone(440, 100, f);
    ASSERT_EQ(pcm.size(), 800 * 2 * 2); // 100 ms of two 16-bit channels
    auto sample = [&](qsizetype frame, int channel) {
        qint16 s;
        std::memcpy(&s, pcm.constData() + (frame * 2 + channel) * 2, 2);
        return s;
    };
    EXPECT_EQ(sample(0, 0), 0);
    EXPECT_EQ(sample(799, 1), 0);
    int peak = 0;
    for (qsizetype i = 0; i < 800; ++i) {
        EXPECT_EQ(sample(i, 0), sample(i, 1));
        peak = std::max(peak, std::abs(int(sample(i, 0))));
    }
    EXPECT_GT(peak, 4000);
    EXPECT_LT(peak, 16000);
    // Float output, and nothing for what cannot be played.
    f.setSampleFormat(QAudioFormat::Float);
    EXPECT_EQ(Synthesize_Tone(440, 10, f).size(), 80 * 2 * 4);
    EXPECT_TRUE(Synthesize_Tone(440, 0, f).isEmpty());
    f.setSampleFormat(QAudioFormat::UInt8);
    EXPECT_TRUE(Synthesize_Tone(440, 10, f).isEmpty());
}

TEST(FrameSounds, TheEventLoopClockHandlesEventsAndStopsWaitingWhenInterrupted) {
    Event_Loop_Clock clock;
    bool handled = false;
    QTimer::singleShot(0, [&] {
        handled = true;
        clock.Interrupt();
    });
    const std::int64_t start = clock.Now_Ms();
    clock.Wait(60000);
    EXPECT_TRUE(handled);
    EXPECT_LT(clock.Now_Ms() - start, 60000);
    EXPECT_GE(clock.Now_Ms(), start);
}

TEST(FrameSounds, ARealDoubleClickRunsTheActionAndOpensNoEditor) {
    Sound_Program p;
    p.form->Show_Page(p.form->fb_pc_Sound);
    QApplication::processEvents();
    TSGX& grid = *p.form->fb_SG_Sound;
    const int row = p.row_of("DM");
    auto click_twice = [&](int col) {
        grid.scrollTo(grid.model()->index(SGX_Model::Model_Row(row), col));
        QApplication::processEvents();
        const QPoint at =
            grid.visualRect(grid.model()->index(SGX_Model::Model_Row(row), col)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    };
    click_twice(sound_col::Use);
    EXPECT_EQ(p.table().Cell(sound_col::Use, row), "False");
    EXPECT_FALSE(grid.Editor_Open());
    p.clear();
    p.table().Set_Cell(sound_col::Use, row, "True");
    click_twice(sound_col::Title);
    EXPECT_FALSE(grid.Editor_Open());
    EXPECT_EQ(p.wav.files(), std::vector<QString>{p.file("GUI/Snds/message.wav")});
}
