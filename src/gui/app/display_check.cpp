#include "app/display_check.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <string_view>
#include <unistd.h>

namespace parvex {

namespace {

const char* const Works_Without = "parvex-list lists Pascal sources without one";

bool Set(const Env_Lookup& env, std::string_view name) {
    const auto value = env(name);
    return value && !value->empty();
}

QStringList& Held_Messages() {
    static QStringList held;
    return held;
}

QtMessageHandler& Previous_Handler() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

void Hold_Or_End(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        Held_Messages() << qFormatLogMessage(type, context, text);
        return;
    }
    // Qt's start failed: the platform plugin found no display it could open.
    QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        display = qgetenv("WAYLAND_DISPLAY");
    if (!display.isEmpty())
        std::fprintf(stderr, "parvex: the window needs a display and cannot open \"%s\"; %s\n",
                     display.constData(), Works_Without);
    else
        std::fprintf(stderr,
                     "parvex: the window needs a display and Qt's platform \"%s\" found none; %s\n",
                     qgetenv("QT_QPA_PLATFORM").constData(), Works_Without);
    std::fflush(stderr);
    ::_exit(2); // nothing has been written yet; no destructor of a half-made application runs
}

} // namespace

std::string No_Display_Line(int argc, char** argv, const Env_Lookup& env) {
    if (Set(env, "QT_QPA_PLATFORM") || Set(env, "DISPLAY") || Set(env, "WAYLAND_DISPLAY"))
        return {};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-platform")
            return {};
    }
    return std::string("parvex: the window needs a display, and neither DISPLAY nor "
                       "WAYLAND_DISPLAY is set; ") +
           Works_Without + "\n";
}

void Watch_Display_Start() {
    Held_Messages().clear();
    Previous_Handler() = qInstallMessageHandler(Hold_Or_End);
}

void End_Display_Watch() {
    qInstallMessageHandler(Previous_Handler());
    for (const QString& line : Held_Messages())
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    Held_Messages().clear();
}

} // namespace parvex
