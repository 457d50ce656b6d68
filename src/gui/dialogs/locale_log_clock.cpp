#include "dialogs/locale_log_clock.h"

#include <QDateTime>
#include <QLocale>

namespace parvex {

namespace {

QDateTime to_qt(const Local_Date_Time& d) {
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
}

} // namespace

Log_Clock Locale_Log_Clock() {
    Log_Clock clock;
    clock.now = [] {
        QDateTime now = QDateTime::currentDateTime();
        return Local_Date_Time{now.date().year(), now.date().month(),  now.date().day(),
                               now.time().hour(), now.time().minute(), now.time().second()};
    };
    clock.short_date = [](const Local_Date_Time& d) {
        return QLocale::system().toString(to_qt(d).date(), QLocale::ShortFormat).toStdString();
    };
    clock.long_time = [](const Local_Date_Time& d) {
        // The long format ends in the time zone's name; a log line reads better without it.
        QString format = QLocale::system().timeFormat(QLocale::LongFormat);
        format.remove(QLatin1Char('t'));
        return QLocale::system().toString(to_qt(d).time(), format.trimmed()).toStdString();
    };
    return clock;
}

} // namespace parvex
