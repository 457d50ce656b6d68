// The main window as the X server sees it: the opacity of an idle window falls and comes back,
// and the window manager's close button works while a message is shown.
#include "dialogs/tdlgs.h"
#include "temp_dir.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>

using namespace parvex;
using parvex::test::TempDir;

namespace {

// A connection of the test's own, so what it reads is what the server holds, not what Qt keeps.
struct X_Server {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~X_Server() { xcb_disconnect(c); }
    xcb_atom_t atom(const char* name) const {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
        std::free(r);
        return a;
    }
    // The window's _NET_WM_WINDOW_OPACITY (0xffffffff when it has none: opaque).
    uint32_t opacity(xcb_window_t w) const {
        xcb_get_property_reply_t* r = xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, atom("_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        uint32_t value = 0xffffffffu;
        if (r && xcb_get_property_value_length(r) == 4)
            std::memcpy(&value, xcb_get_property_value(r), 4);
        std::free(r);
        return value;
    }
    // What the window manager sends when its close button is pressed.
    void close_button(xcb_window_t w) const {
        xcb_client_message_event_t e{};
        e.response_type = XCB_CLIENT_MESSAGE;
        e.format = 32;
        e.window = w;
        e.type = atom("WM_PROTOCOLS");
        e.data.data32[0] = atom("WM_DELETE_WINDOW");
        e.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
        xcb_flush(c);
    }
};

// Runs the program's event loop (as the program does: it blocks when idle) until `done` holds
// or `ms` have passed; `done` is looked at every 20 ms.
bool wait_for(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QElapsedTimer t;
    t.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || t.elapsed() >= ms)
            loop.quit();
    });
    poll.start(20);
    if (!done())
        loop.exec();
    return done();
}

struct Program {
    TDlgs dialog;
    TForm1 form;
    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        dialog.setAttribute(Qt::WA_QuitOnClose, false);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    ~Program() { form.close(); }
};

} // namespace

TEST(WindowSystem, AnIdleWindowFadesToItsLevelAndComesBackOnActivity) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    X_Server x;
    ASSERT_TRUE(x.c && !xcb_connection_has_error(x.c));
    const auto win = static_cast<xcb_window_t>(f.winId());
    // The mouse rests over the window, as a user's does while reading.
    xcb_warp_pointer(x.c, XCB_NONE, win, 0, 0, 0, 0, 200, 200);
    xcb_flush(x.c);
    f.fb_cnt_T01->setValue(1);   // seconds to wait
    f.fb_cnt_T02->setValue(128); // the level to reach
    f.fb_cnt_T03->setValue(5);   // milliseconds per step
    f.fb_chk_14->setChecked(true);
    ASSERT_TRUE(wait_for([&] { return f.idle_fader().level() == 128; }, 10000));
    // The server holds what the window says, also while nothing else happens.
    EXPECT_TRUE(wait_for([&] { return x.opacity(win) < 0x81000000u; }, 1000))
        << "the X server still shows opacity " << x.opacity(win);
    EXPECT_NEAR(x.opacity(win) / double(0xffffffffu), 128 / 255.0, 0.01);
    EXPECT_NEAR(f.windowOpacity(), 128 / 255.0, 0.01);

    // A mouse movement over the window brings it back at once.
    QTest::mouseMove(&f, QPoint(100, 100));
    EXPECT_TRUE(wait_for([&] { return x.opacity(win) == 0xffffffffu; }, 1000))
        << "the X server shows opacity " << x.opacity(win);
    EXPECT_EQ(f.idle_fader().level(), 255);

    // Left alone again, it fades again: the mouse stays where it is, nothing is painted.
    ASSERT_TRUE(wait_for([&] { return f.idle_fader().level() == 128; }, 10000));
    EXPECT_TRUE(wait_for([&] { return x.opacity(win) < 0x81000000u; }, 1000))
        << "the X server still shows opacity " << x.opacity(win);
}

TEST(WindowSystem, TheCloseButtonWhileAMessageIsShownClosesAfterTheMessage) {
    TempDir prog;
    Program p(prog);
    TForm1& f = p.form;
    X_Server x;
    const auto win = static_cast<xcb_window_t>(f.winId());
    p.dialog.setCountDownInterval(150);
    bool ended = false, open_after_request = false, requested = false;
    // All of it happens inside the message's own event loop, as for a user.
    QTimer::singleShot(0, &f, [&] {
        f.facade().M_Mess(QStringLiteral("Note"), QStringLiteral("^C:a message"));
        ended = true;
    });
    QTimer::singleShot(200, &f, [&] {
        requested = p.dialog.isVisible();
        x.close_button(win);
    });
    QTimer::singleShot(400, &f,
                       [&] { open_after_request = f.isVisible() && p.dialog.isVisible(); });
    ASSERT_TRUE(wait_for([&] { return ended; }, 5000));
    EXPECT_TRUE(requested);          // the request came while the message was shown
    EXPECT_TRUE(open_after_request); // the message runs to its end first
    EXPECT_TRUE(wait_for([&] { return !f.isVisible(); }, 3000)) << "the close request was lost";
}
