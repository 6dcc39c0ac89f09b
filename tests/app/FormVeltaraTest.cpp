#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "app/FormVeltara.h"
#include "polling/FrameLoraDevicePolling.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/Picture.h"
#include "directory/FrameDeviceList.h"
#include "directory/FrameOrganization.h"
#include "serial/ProcessComPort.h"
#include "support/ScriptedDialogs.h"
#include "support/TempWorkDir.h"
#include "update/FrameUpdate.h"

namespace {
constexpr const char* kMissingPort = "/dev/vevo-no-such-port";

struct CShell {
    CTempWorkDir dir;
    CProgramObjects program;
    CScriptedDialogs dialogs;
};
}  // namespace

TEST(FormVeltara, OpensAtLeastAtTheMinimumSizeWithTheVersionInItsCaption) {
    CShell shell;
    TFormVeltara window;
    EXPECT_EQ(window.windowTitle(), "Vevo v.0.05");
    EXPECT_EQ(FormVeltara, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_GE(window.frameGeometry().width(), 900) << "although the client area is 800 x 450";
    EXPECT_GE(window.frameGeometry().height(), 500);
    window.resize(300, 200);
    EXPECT_GE(window.frameGeometry().width(), 900);
    EXPECT_GE(window.frameGeometry().height(), 500);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(shell.dialogs.Boxes().empty()) << "a start without ports or settings says nothing";
}

TEST(FormVeltara, TheMainScreenFillsTheWindowAndIsLaidOutInThirdsWhenShown) {
    CShell shell;
    TFormVeltara window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // A later screen covers the earlier ones: the order of creation is what counts.
    const std::vector<QWidget*>& screens = window.Screens();
    const auto place = [&screens](QWidget* screen) {
        return std::find(screens.begin(), screens.end(), screen) - screens.begin();
    };
    EXPECT_EQ(screens.front(), FrameUpdate) << "the update screen lies lowest";
    EXPECT_LT(place(FrameUpdate), place(FrameLoraMain));
    EXPECT_LT(place(FrameLoraMain), place(FrameLoraDevicePolling));
    EXPECT_LT(place(FrameLoraDevicePolling), place(FrameDeviceList));
    EXPECT_LT(place(FrameDeviceList), place(FrameOrganization));
    EXPECT_LT(place(FrameOrganization), static_cast<std::ptrdiff_t>(screens.size()));
    EXPECT_FALSE(FrameUpdate->isVisible()) << "the check found no gateway and hid it";
    EXPECT_TRUE(FrameLoraMain->isVisible());
    EXPECT_FALSE(FrameLoraDevicePolling->isVisible());
    EXPECT_FALSE(FrameOrganization->isVisible());
    EXPECT_EQ(FrameLoraMain->size(), window.size());
    EXPECT_EQ(FrameLoraMain->Left->width(), window.width() / 3);
    EXPECT_EQ(FrameLoraMain->Right->width(), window.width() / 3);
    const QRect logo = FrameLoraMain->ImageOrvaneLogo->geometry();
    EXPECT_LE(std::abs(logo.center().x() - FrameLoraMain->Center->width() / 2), 1);

    window.resize(1200, 600);
    QApplication::processEvents();
    const QRect moved = FrameLoraMain->ImageOrvaneLogo->geometry();
    EXPECT_LE(std::abs(moved.center().x() - FrameLoraMain->Center->width() / 2), 1)
        << "the logo stays centred when the window grows";
}

TEST(FormVeltara, BackWithoutALinkOnlySwitchesScreensAndKeepsThem) {
    CShell shell;
    TFormVeltara window;
    window.show();
    TFrameLoraMain* main = FrameLoraMain;
    window.ShowMainScreen();
    EXPECT_EQ(FrameLoraMain, main) << "navigation creates nothing";
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(window.Link(), nullptr);
    EXPECT_TRUE(shell.dialogs.Boxes().empty());
}

TEST(FormVeltara, APortThatCannotBeOpenedAsksRetryOrCancelUnderОшибка) {
    CShell shell;
    TFormVeltara window;
    shell.dialogs.Answer(IDRETRY);
    shell.dialogs.Answer(IDCANCEL);
    window.OpenLink(kMissingPort, 9600);
    ASSERT_EQ(shell.dialogs.Boxes().size(), 2u) << "Retry tries again; Cancel gives up";
    for (const TMessageBoxRequest& box : shell.dialogs.Boxes()) {
        EXPECT_EQ(box.caption, "Ошибка");
        EXPECT_EQ(box.text, "Не удалось установить соединение");
        EXPECT_EQ(box.flags, MB_ICONERROR | MB_RETRYCANCEL);
    }
    EXPECT_NE(window.Link(), nullptr) << "the link object exists, closed";
}

TEST(FormVeltara, ALinkErrorOnAWorkerThreadIsAskedOnTheUserInterfaceThread) {
    CShell shell;
    TFormVeltara window;
    shell.dialogs.Answer(IDCANCEL);
    std::atomic<bool> done = false;
    std::thread worker([&] {
        CProcessComPort port(kMissingPort, 9600);
        done = true;
    });
    // The worker waits for the answer, which only this thread's event loop can give.
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 10000));
    worker.join();
    ASSERT_EQ(shell.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(shell.dialogs.Boxes()[0].caption, "Ошибка");
}

TEST(FormVeltara, ClosingTheWindowTakesTheScreensWithIt) {
    CShell shell;
    {
        TFormVeltara window;
        EXPECT_NE(FrameLoraMain, nullptr);
    }
    EXPECT_EQ(FrameLoraMain, nullptr);
    EXPECT_EQ(FormVeltara, nullptr);
}
