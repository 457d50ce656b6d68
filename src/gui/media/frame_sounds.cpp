#include "media/frame_sounds.h"

#include "frame/form_base.h"
#include "media/audio_tone_sink.h"
#include "media/sound_effect_player.h"
#include "media/sound_rules.h"
#include "tables/subs.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"
#include "widgets/speed_button.h"
#include "window/drop_watch.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace parvex {

namespace {

QString to_qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString Soundfile_Title = QStringLiteral("Soundfile");
const QString Does_Not_Exist = QStringLiteral("does not exist");

} // namespace

Frame_Sounds::Frame_Sounds(TFormBase& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("fb_Sounds"));
    own_wav_ = new Sound_Effect_Player(this);
    own_wav_->setObjectName(QStringLiteral("fb_WAV"));
    fb_FDD = new TDropWatch(this);
    fb_FDD->setObjectName(QStringLiteral("fb_FDD"));

    form_.facade().setSoundPlayer([this](const std::string& code) { fb_Play_Sound(code); });
    form_.hooks().sound_drop = [this](bool on) {
        sort_tables_once();
        fb_FDD->setWatchControl(on ? form_.fb_pc_Sound : nullptr);
    };
    form_.hooks().wave_synchronous = [this](bool on) { fb_WAV().Set_Synchronous(on); };
    // A tune that plays when the window closes ends there.
    form_.installEventFilter(this);

    QLineEdit* fne = form_.fb_fne_Sounds;
    QAction* browse = fne->addAction(fne->style()->standardIcon(QStyle::SP_DirOpenIcon),
                                     QLineEdit::TrailingPosition);
    browse->setObjectName(QStringLiteral("fb_fne_Sounds_Browse"));
    browse->setToolTip(QStringLiteral("Browse for Sound-File"));
    connect(browse, &QAction::triggered, this, &Frame_Sounds::fb_fne_SoundsBrowse);
    connect(fb_FDD, &TDropWatch::filesDropped, this,
            [this](QPoint, const QStringList& files) { fb_FDDDrop(files); });
    connect(form_.fb_Send_toGUI, &SpeedButton::clicked, this, &Frame_Sounds::fb_Send_toGUIClick);

    // A double-click on these tables plays or toggles; cells are edited by typing.
    for (TSGX* grid : {form_.fb_SG_Sound, form_.fb_sg_SpS})
        grid->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(form_.fb_SG_Sound, &TSGX::cellClicked, this, [this] { fb_SG_SoundClick(); });
    connect(form_.fb_SG_Sound, &TSGX::cellDoubleClicked, this, [this] { fb_SG_SoundDblClick(); });
    connect(form_.fb_sg_SpS, &TSGX::cellDoubleClicked, this, [this] { fb_sg_SpSDblClick(); });
    form_.fb_SG_Sound->Set_Format_Cell_Handler(
        [this](TSGX& grid, int col, int row, Cell_Format& format, unsigned state) {
            fb_SG_SoundGetCellFormat(grid, col, row, format, state);
        });
}

Frame_Sounds::~Frame_Sounds() {
    beep_.Stop();
}

std::string Frame_Sounds::program_dir() const {
    return form_.program_dir();
}

void Frame_Sounds::sort_tables_once() {
    // The start-up's purge leaves both tables ordered by their first column as text, from the
    // last; the first page change after it (still in the start-up) sorts them the way they are
    // read: sounds by title, speaker sounds by number.
    if (tables_sorted_ || form_.fb_SG_Sound->Grid().Record().File_Name.empty())
        return;
    tables_sorted_ = true;
    for (TSGX* grid : {form_.fb_SG_Sound, form_.fb_sg_SpS}) {
        Table_Grid& g = grid->Grid();
        Initial_Sort(g);
        // The table's widths were made for a smaller font: a column keeps its width unless
        // its text (the sorted column's header with its arrow) needs more.
        Apply_Widths(g);
        for (int c = 0; c < g.Col_Count(); ++c) {
            int widest = g.Col_Width(c) - Auto_Size_Margin;
            for (int r = 0; r < g.Row_Count(); ++r)
                widest = std::max(widest, g.text_width(g.Cell(c, r)));
            if (c == g.Sort_Col() && g.header_width)
                widest = std::max(widest, g.header_width(c));
            g.Set_Col_Width(c, widest + Auto_Size_Margin);
        }
    }
}

Wave_Player& Frame_Sounds::fb_WAV() {
    return test_wav_ ? *test_wav_ : *own_wav_;
}

void Frame_Sounds::Set_Tone_Sink(Tone_Sink* sink) {
    test_sink_ = sink;
    beep_.Set_Sink(tone_sink());
}

void Frame_Sounds::Set_Clock(Beeper_Clock* clock) {
    beep_.Set_Clock(clock ? *clock : static_cast<Beeper_Clock&>(clock_));
}

void Frame_Sounds::Set_Wave_Player(Wave_Player* player) {
    const bool synchronous = fb_WAV().Synchronous();
    test_wav_ = player;
    fb_WAV().Set_Synchronous(synchronous);
}

Tone_Sink& Frame_Sounds::tone_sink() {
    if (test_sink_)
        return *test_sink_;
    if (!device_sink_)
        device_sink_ = Make_Tone_Sink();
    return *device_sink_;
}

bool Frame_Sounds::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::Close)
        beep_.Stop();
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Playing

void Frame_Sounds::fb_Play_Sound(const std::string& code) {
    Table_Grid& table = form_.fb_SG_Sound->Grid();
    // Before the start-up has set the table up, and with "use Sound" off, all is quiet.
    if (table.Record().File_Name.empty() || !form_.fb_chk_Speaker->isChecked())
        return;
    // Events handled during a tune's pauses ask for sounds too; the tune goes on alone.
    if (beep_.Playing())
        return;
    const Sound_Choice choice = Choose_Sound(table, code, program_dir());
    switch (choice.kind) {
    case Sound_Choice::Kind::No_Row:
        // Off first: the error's own sound, and every later event, stays silent, so a missing
        // row costs one message.
        form_.fb_chk_Speaker->setChecked(false);
        form_.facade().M_Error(QStringLiteral("Program-Error"),
                               QStringLiteral("Sound-Shortcut \"") + to_qt(code) +
                                   QStringLiteral("\" not found"));
        return;
    case Sound_Choice::Kind::Switched_Off:
    case Sound_Choice::Kind::No_File:
        return;
    case Sound_Choice::Kind::Speaker:
        fb_Play_Speaker(choice.speaker);
        return;
    case Sound_Choice::Kind::Wave:
        fb_Play_Wave(to_qt(choice.file));
        return;
    }
}

void Frame_Sounds::fb_Play_Speaker(int number) {
    const Speaker_Sound sound = Speaker_Sound_For(number);
    if (sound.plays_nothing())
        return;
    beep_.Set_Sink(tone_sink());
    if (sound.preset)
        beep_.PlayPreset(*sound.preset);
    else
        beep_.PlayTone(sound.tone->frequency, sound.tone->duration_ms);
}

void Frame_Sounds::fb_Play_Wave(const QString& file) {
    fb_WAV().Play(file);
}

// ---------------------------------------------------------------------------------------------
// "Sound" page

void Frame_Sounds::take_file(const QString& file) {
    const std::string name = file.toStdString();
    switch (Check_Wave_File(name)) {
    case Wave_Check::Ok:
        form_.fb_fne_Sounds->setText(file);
        fb_fne_SoundsChange();
        return;
    case Wave_Check::Missing:
        form_.facade().S_Error(Soundfile_Title, Does_Not_Exist);
        return;
    case Wave_Check::Not_Wave:
        form_.facade().S_Error(Soundfile_Title, QStringLiteral("^C:only WAV-Files can be used"));
        return;
    case Wave_Check::Bad_Name:
        form_.facade().S_Error(Soundfile_Title,
                               QStringLiteral("^C:a Sound-File name must not contain \"|\""));
        return;
    }
}

void Frame_Sounds::fb_fne_SoundsChange() {
    const QString file = form_.fb_fne_Sounds->text();
    Table_Grid& table = form_.fb_SG_Sound->Grid();
    if (Check_Wave_File(file.toStdString()) == Wave_Check::Ok && In_Data_Row(table))
        table.Set_Cell(sound_col::File, table.Current_Row(), file.toStdString());
    // A test play: it sounds whether or not "use Sound" is on.
    fb_Play_Wave(file);
}

void Frame_Sounds::fb_fne_SoundsBrowse() {
    QString file;
    if (browse_answer_) {
        file = browse_answer_();
    } else {
        QFileDialog dialog(&form_, form_.fb_fne_Sounds->property("dialogTitle").toString(),
                           form_.fb_fne_Sounds->property("initialDir").toString(),
                           QStringLiteral("WAV (*.wav *.WAV)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDefaultSuffix(QStringLiteral("wav"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            file = dialog.selectedFiles().front();
    }
    if (!file.isEmpty())
        take_file(file);
}

void Frame_Sounds::fb_FDDDrop(const QStringList& files) {
    if (!files.isEmpty())
        take_file(files.front());
}

void Frame_Sounds::fb_Send_toGUIClick() {
    form_.facade().Reset_Btn_Status(form_.fb_Send_toGUI);
    form_.facade().M_Mess(QStringLiteral("Soundfiles"),
                          QStringLiteral("^C:Transfer not jet implemented"));
}

void Frame_Sounds::fb_SG_SoundClick() {
    Note_Current_Row(form_.fb_SG_Sound->Grid());
}

void Frame_Sounds::fb_SG_SoundDblClick() {
    Table_Grid& t = form_.fb_SG_Sound->Grid();
    if (!In_Data_Row(t))
        return;
    const int row = t.Current_Row();
    auto file_missing = [&] {
        return Resolve_Sound_File(program_dir(), t.Cell(sound_col::File, row)).empty();
    };
    auto fall_back_to_speaker = [&] {
        t.Set_Cell(sound_col::Mode, row, std::string(Speaker_Mode));
        form_.facade().S_Error(Soundfile_Title, Does_Not_Exist);
    };
    switch (t.Current_Col()) {
    case sound_col::Code:
    case sound_col::Title:
        fb_Play_Sound(t.Cell(sound_col::Code, row));
        break;
    case sound_col::Mode:
        Toggle_Cell(t, Speaker_Mode, Wave_Mode);
        if (t.Cell(sound_col::Mode, row) == Wave_Mode && file_missing())
            fall_back_to_speaker();
        break;
    case sound_col::SpS: {
        // The speaker table is ordered by its purge, not by number: the row of that Nr. is
        // the one meant. A number the table does not hold leaves its selection where it is.
        const int n = Str_To_Int_Def(t.Cell(sound_col::SpS, row), 0);
        Table_Grid& sps = form_.fb_sg_SpS->Grid();
        if (n != 0)
            Find_Row(sps, sps_col::Nr, std::to_string(n));
        break;
    }
    case sound_col::File: {
        const std::string file = Resolve_Sound_File(program_dir(), t.Cell(sound_col::File, row));
        if (!file.empty())
            fb_Play_Wave(to_qt(file)); // a test play, whatever "use it" and "use Sound" say
        else
            fall_back_to_speaker();
        break;
    }
    case sound_col::Use:
        Toggle_Cell(t, "True", "False");
        break;
    default:
        break;
    }
}

void Frame_Sounds::fb_sg_SpSDblClick() {
    Table_Grid& sounds = form_.fb_SG_Sound->Grid();
    if (!In_Data_Row(sounds))
        return;
    Table_Grid& sps = form_.fb_sg_SpS->Grid();
    const int n = Speaker_Number(sps.Cell(sps_col::Nr, sps.Current_Row()));
    switch (sps.Current_Col()) {
    case sps_col::Nr:
        fb_Play_Speaker(n); // a test play, whatever "use Sound" says
        break;
    case sps_col::Name:
        sounds.Set_Cell(sound_col::SpS, sounds.Current_Row(), std::to_string(n));
        break;
    default:
        break;
    }
}

void Frame_Sounds::fb_SG_SoundGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format,
                                            unsigned state) {
    Table_Grid& t = grid.Grid();
    Format_Cell(t, col, row, format, state);
    if (state == Draw_Fixed || row < 1)
        return;
    if (t.Cell(sound_col::Use, row) == "False")
        Set_Cell_Color(t, col, row, Grid_Color(7), format);
    const std::string& file = t.Cell(sound_col::File, row);
    if (col == sound_col::File && !file.empty() && Resolve_Sound_File(program_dir(), file).empty())
        Set_Cell_Color(t, col, row, Grid_Color(5), format);
}

} // namespace parvex
