#include <gtest/gtest.h>

#include <QComboBox>
#include <QMovie>
#include <QTest>
#include <algorithm>
#include <cctype>

#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/InstanceLock.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/Picture.h"
#include "directory/FrameOrganization.h"
#include "serial/ProcessComPort.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedPort.h"
#include "support/TempWorkDir.h"

namespace {
// A working directory with config.ini as given and the program's pictures beside it.
struct CMainScreen {
    explicit CMainScreen(const std::string& config = {}) {
        if (!config.empty()) WriteFile("config.ini", config);
        std::filesystem::create_directory_symlink(VEVO_SOURCE_DIR "/images", "images");
        program = std::make_unique<CProgramObjects>();
        window = std::make_unique<TFormVeltara>();
    }
    int IndexOf(const CSimulatedPort& port) const {
        return FrameLoraMain->ComboBoxSerialPort->findText(QString::fromStdString(port.Name()));
    }
    std::string Config() const { return ReadFile("config.ini"); }

    CTempWorkDir dir;
    CScriptedDialogs dialogs;
    std::unique_ptr<CProgramObjects> program;
    std::unique_ptr<TFormVeltara> window;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), ::toupper);
    return text;
}

#define REQUIRE_PORTS(...)                                                          \
    for (const CSimulatedPort* port : {__VA_ARGS__}) {                              \
        if (!port->Available()) GTEST_SKIP() << "no right to link ports into /dev"; \
    }
}  // namespace

TEST(FrameLoraMain, TheRememberedPortIsFoundWithoutRegardToCaseAndTheSpeedWithIt) {
    CSimulatedPort first, second;
    REQUIRE_PORTS(&first, &second);
    CMainScreen screen("[SERIAL]\r\nCOM = " + Upper(second.Path()) + "\r\nBAUD = 4800\r\n");
    ASSERT_GE(screen.IndexOf(second), 0) << "discovered like any port";
    EXPECT_EQ(FrameLoraMain->ComboBoxSerialPort->currentIndex(), screen.IndexOf(second));
    EXPECT_EQ(FrameLoraMain->ComboBoxSerialPortSpeed->currentText(), "4800");
}

TEST(FrameLoraMain, DeviceServersFromTheSettingsFollowTheDiscoveredPortsAndAreRememberedWhole) {
    CMainScreen screen(
        "[SERIAL]\r\nNETWORK_PORTS = tcp:127.0.0.1:40001 , bogus,tcp:localhost:4002\r\n"
        "COM = tcp:localhost:4002\r\n");
    QComboBox& ports = *FrameLoraMain->ComboBoxSerialPort;
    ASSERT_GE(ports.count(), 2);
    EXPECT_EQ(ports.itemText(ports.count() - 2), "tcp:127.0.0.1:40001");
    EXPECT_EQ(ports.itemText(ports.count() - 1), "tcp:localhost:4002");
    EXPECT_EQ(ports.currentText(), "tcp:localhost:4002") << "a long name is read back whole";
}

TEST(FrameLoraMain, AnUnknownPortOrSpeedSelectsTheFirstOfEach) {
    CSimulatedPort port;
    REQUIRE_PORTS(&port);
    CMainScreen screen("[SERIAL]\r\nCOM = /dev/ttyVEVO\r\nBAUD = 115200\r\n");
    EXPECT_EQ(FrameLoraMain->ComboBoxSerialPort->currentIndex(), 0);
    QStringList speeds;
    for (int item = 0; item < FrameLoraMain->ComboBoxSerialPortSpeed->count(); ++item) {
        speeds << FrameLoraMain->ComboBoxSerialPortSpeed->itemText(item);
    }
    EXPECT_EQ(speeds, QStringList({"300", "600", "1200", "2400", "4800", "9600"}));
    EXPECT_EQ(FrameLoraMain->ComboBoxSerialPortSpeed->currentText(), "300");
}

TEST(FrameLoraMain, ARefreshAnimatesForASecondThenListsAnewAndSelectsTheFirstPort) {
    CSimulatedPort first, second;
    REQUIRE_PORTS(&first, &second);
    CMainScreen screen("[SERIAL]\r\nCOM = " + second.Path() + "\r\n");
    TFrameLoraMain& main = *FrameLoraMain;
    ASSERT_NE(main.ComboBoxSerialPort->currentIndex(), 0) << "the second port was remembered";
    EXPECT_TRUE(main.UpdateComPortListAnimate->isHidden());
    ASSERT_TRUE(main.UpdateComPortListAnimate->Animated()) << "./images/refresh.gif plays";
    EXPECT_EQ(main.UpdateComPortListAnimate->movie()->speed(), 200);

    main.UpdateComPortListClick();
    EXPECT_TRUE(main.UpdateComPortList->isHidden());
    EXPECT_FALSE(main.UpdateComPortListAnimate->isHidden());
    EXPECT_TRUE(main.Timer1.Enabled());
    EXPECT_EQ(main.Timer1.Interval(), 1000);

    CSimulatedPort plugged;
    REQUIRE_PORTS(&plugged);
    main.Timer1Timer();  // what the timer does a second later
    EXPECT_EQ(main.ComboBoxSerialPort->currentIndex(), 0);
    EXPECT_GE(screen.IndexOf(plugged), 0) << "a port plugged in meanwhile is listed";
    EXPECT_FALSE(main.UpdateComPortList->isHidden());
    EXPECT_TRUE(main.UpdateComPortListAnimate->isHidden());
    EXPECT_FALSE(main.Timer1.Enabled());
}

TEST(FrameLoraMain, ConnectWithoutAChoiceSaysWhatIsMissingAndDoesNothingElse) {
    CMainScreen screen;
    TFrameLoraMain& main = *FrameLoraMain;
    main.ComboBoxSerialPort->clear();  // a machine without serial ports
    main.PanelButtonConnectClick();
    main.ComboBoxSerialPortSpeed->setCurrentIndex(-1);
    main.PanelButtonConnectClick();
    main.ComboBoxSerialPort->addItem("ttyS0");
    main.ComboBoxSerialPort->setCurrentIndex(0);
    main.PanelButtonConnectClick();
    EXPECT_EQ(screen.dialogs.Texts(),
              std::vector<std::string>({"Виберіть Serial Port.",
                                        "Виберіть Serial Port та бажану швидкість роботи.",
                                        "Виберіть бажану швидкість роботи"}));
    for (const TMessageBoxRequest& box : screen.dialogs.Boxes()) {
        EXPECT_EQ(box.flags, MB_OK) << "the plain message";
    }
    EXPECT_EQ(FormVeltara->Link(), nullptr);
    EXPECT_FALSE(std::filesystem::exists("config.ini"));
}

TEST(FrameLoraMain, ConnectToAPortThatCannotBeOpenedStillStoresTheChoiceAfterCancel) {
    CSimulatedPort port;
    REQUIRE_PORTS(&port);
    CMainScreen screen("[OTHER]\r\nkept = 1\r\n");
    TFrameLoraMain& main = *FrameLoraMain;
    main.ComboBoxSerialPort->setCurrentIndex(screen.IndexOf(port));
    main.ComboBoxSerialPortSpeed->setCurrentText("1200");
    port.Unplug();  // listed, but gone by the time Connect opens it
    screen.dialogs.Answer(IDCANCEL);
    main.PanelButtonConnectClick();

    ASSERT_EQ(screen.dialogs.Boxes().size(), 1u);
    EXPECT_EQ(screen.dialogs.Boxes()[0].text, "Не удалось установить соединение");
    EXPECT_EQ(screen.dialogs.Boxes()[0].caption, "Ошибка");
    EXPECT_NE(FormVeltara->Link(), nullptr) << "the link object is held, closed";
    const CIniFile saved;  // as the next start reads it
    CIniValue com, baud, kept;
    saved.GetValue("SERIAL", "COM", com);
    saved.GetValue("SERIAL", "BAUD", baud);
    saved.GetValue("OTHER", "kept", kept);
    EXPECT_EQ(com, port.Path());
    EXPECT_EQ(baud, "1200");
    EXPECT_EQ(kept, "1");
    EXPECT_LT(screen.Config().find("COM = "), screen.Config().find("BAUD = "));
}

TEST(FrameLoraMain, BackClosesThePortSoThatItOpensAgain) {
    CSimulatedPort port;
    REQUIRE_PORTS(&port);
    CMainScreen screen;
    FrameLoraMain->ComboBoxSerialPort->setCurrentIndex(screen.IndexOf(port));
    FrameLoraMain->PanelButtonConnectClick();
    ASSERT_NE(FormVeltara->Link(), nullptr);
    EXPECT_TRUE(port.HeldOpen());
    { CProcessComPort meanwhile(port.Path().c_str(), 9600); }
    ASSERT_EQ(screen.dialogs.Boxes().size(), 1u) << "the link holds the port for itself";

    FormVeltara->ShowMainScreen();
    EXPECT_EQ(FormVeltara->Link(), nullptr);
    EXPECT_FALSE(port.HeldOpen());
    CProcessComPort again(port.Path().c_str(), 9600);
    EXPECT_TRUE(port.HeldOpen());
    EXPECT_EQ(screen.dialogs.Boxes().size(), 1u) << "the second open succeeded";
}

TEST(FrameLoraMain, ASecondConnectClosesTheFirstLinkBeforeOpeningTheNext) {
    CSimulatedPort port;
    REQUIRE_PORTS(&port);
    CMainScreen screen;
    FrameLoraMain->ComboBoxSerialPort->setCurrentIndex(screen.IndexOf(port));
    FrameLoraMain->PanelButtonConnectClick();
    FrameLoraMain->PanelButtonConnectClick();
    EXPECT_TRUE(screen.dialogs.Boxes().empty()) << "the port was free for the second link";
    EXPECT_TRUE(port.HeldOpen());
    FormVeltara->ShowMainScreen();
    EXPECT_FALSE(port.HeldOpen()) << "no first link left behind holding it";
}

TEST(FrameLoraMain, TabGoesThroughItsControlsInOrderAndSpaceOrEnterPressesAButton) {
    CMainScreen screen;
    TFormVeltara& window = *screen.window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TFrameLoraMain& main = *FrameLoraMain;
    EXPECT_EQ(window.focusWidget(), main.PanelButtonDevice) << "the keyboard starts at the top";
    const std::vector<QWidget*> order = {main.PanelButtonObject,       main.PanelButtonArchive,
                                         main.ComboBoxSerialPort,      main.UpdateComPortList,
                                         main.ComboBoxSerialPortSpeed, main.PanelButtonConnect};
    for (QWidget* next : order) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window.focusWidget(), next) << next->metaObject()->className();
    }
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(window.focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(window.focusWidget(), main.PanelButtonArchive);
    QTest::keyClick(main.PanelButtonArchive, Qt::Key_Space);
    EXPECT_TRUE(window.Screens().back()->isVisible()) << "the archive";
    EXPECT_FALSE(main.PanelButtonDevice->isEnabled())
        << "covered, the main screen is out of Tab's way";

    QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window.Screens().back()->isVisible()) << "Escape is Назад";
    EXPECT_EQ(window.focusWidget(), main.PanelButtonArchive) << "the keyboard comes back";
    QTest::keyClick(main.PanelButtonObject, Qt::Key_Return);
    EXPECT_TRUE(FrameOrganization->isVisible());
}

TEST(FormVeltara, TheWindowComesBackWhereAndAsLargeAsItWasClosed) {
    CMainScreen screen;
    screen.window->show();
    screen.window->setGeometry(30, 40, 1000, 600);
    screen.window->close();
    EXPECT_NE(screen.Config().find("[WINDOW]"), std::string::npos);
    screen.window = std::make_unique<TFormVeltara>();
    EXPECT_EQ(screen.window->geometry(), QRect(30, 40, 1000, 600));
    EXPECT_FALSE(screen.window->windowState().testFlag(Qt::WindowMaximized));

    screen.window->setWindowState(Qt::WindowMaximized);
    screen.window->close();
    screen.window = std::make_unique<TFormVeltara>();
    EXPECT_TRUE(screen.window->windowState().testFlag(Qt::WindowMaximized));

    // A place on no screen there is now leaves the window to the system.
    screen.window.reset();
    screen.program.reset();
    WriteFile("config.ini",
              "[WINDOW]\r\nLEFT = 90000\r\nTOP = 40\r\nWIDTH = 1000\r\nHEIGHT = 600\r\n");
    screen.program = std::make_unique<CProgramObjects>();
    screen.window = std::make_unique<TFormVeltara>();
    EXPECT_LT(screen.window->geometry().left(), 90000);
}

TEST(InstanceLock, OneCopyPerWorkingFolderUntilItEnds) {
    CTempWorkDir dir;
    auto first = std::make_unique<CInstanceLock>("./vevo.lock");
    EXPECT_EQ(first->State(), InstanceLockState::Held);
    EXPECT_EQ(CInstanceLock("./vevo.lock").State(), InstanceLockState::TakenByAnother);
    first.reset();
    EXPECT_EQ(CInstanceLock("./vevo.lock").State(), InstanceLockState::Held)
        << "let go with its holder, the file left behind";
    EXPECT_EQ(CInstanceLock("/no/such/folder/vevo.lock").State(), InstanceLockState::NotMade);
}
