#include <gtest/gtest.h>

#include <QComboBox>
#include <QMovie>
#include <algorithm>
#include <cctype>

#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/Picture.h"
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
