#include "app/FrameLoraMain.h"

#include <strings.h>

#include <QGroupBox>
#include <QLabel>
#include <utility>

#include "Utils/Format.h"
#include "app/ProgramObjects.h"
#include "app/ScreenHost.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/Picture.h"
#include "serial/PortDiscovery.h"

TFrameLoraMain* FrameLoraMain = nullptr;

namespace {
constexpr const char* kRefreshPicture = "./images/refresh.gif";
constexpr const char* kLogoPicture = ":/images/logo.png";
constexpr int kRefreshSpeedPercent = 200;
constexpr const char* kSpeeds[] = {"300", "600", "1200", "2400", "4800", "9600"};
constexpr QSize kDesignSize{753, 411};
constexpr QSize kButtonSize{150, 41};
constexpr QSize kLogoSize{179, 185};
constexpr QSize kGroupBoxSize{180, 129};
constexpr int kButtonGap = 8;
constexpr int kLabelHeight = 22;

int CentredLeft(int outer, int inner) {
    return (outer - inner) / 2;
}
}  // namespace

TFrameLoraMain::TFrameLoraMain(QWidget* parent, CScreenHost& host) : QWidget(parent), host_(host) {
    FrameLoraMain = this;
    setObjectName("FrameLoraMain");
    resize(kDesignSize);
    Background = NewPanel(this);
    Left = NewPanel(Background);
    Center = NewPanel(Background);
    Right = NewPanel(Background);

    LabelDirectory = new QLabel("Довідник", Left);
    QFont heading = LabelDirectory->font();
    heading.setBold(true);
    heading.setPixelSize(13);
    LabelDirectory->setFont(heading);
    LabelDirectory->setAlignment(Qt::AlignCenter);
    PanelButtonDevice = new TPanelButton("Пристрої", Left);
    PanelButtonObject = new TPanelButton("Об'єкт", Left);
    PanelButtonArchive = new TPanelButton("Показники", Left);
    for (TPanelButton* button : {PanelButtonDevice, PanelButtonObject, PanelButtonArchive}) {
        button->resize(kButtonSize);
    }

    ImageOrvaneLogo = new TImage(Center);
    ImageOrvaneLogo->resize(kLogoSize);
    ImageOrvaneLogo->LoadPicture(kLogoPicture);

    GroupBoxConnected = new QGroupBox("З'єднання", Right);
    GroupBoxConnected->resize(kGroupBoxSize);
    ComboBoxSerialPort = new TComboBox(GroupBoxConnected);
    ComboBoxSerialPort->setGeometry(10, 30, 80, 22);
    UpdateComPortList = new TImage(GroupBoxConnected);
    UpdateComPortList->setGeometry(94, 32, 18, 18);
    UpdateComPortList->setCursor(Qt::PointingHandCursor);
    UpdateComPortList->SetKeyboardClicks();
    UpdateComPortList->OnClick = [this] { UpdateComPortListClick(); };
    UpdateComPortListAnimate = new TImage(GroupBoxConnected);
    UpdateComPortListAnimate->setGeometry(UpdateComPortList->geometry());
    ComboBoxSerialPortSpeed = new TComboBox(GroupBoxConnected);
    ComboBoxSerialPortSpeed->setGeometry(116, 30, 54, 22);
    for (const char* speed : kSpeeds) ComboBoxSerialPortSpeed->addItem(speed);
    PanelButtonConnect = new TPanelButton("Встановити зв'язок", GroupBoxConnected);
    PanelButtonConnect->setGeometry(15, 72, kButtonSize.width(), kButtonSize.height());
    PanelButtonConnect->SetColor(QColor(0x64, 0x64, 0x64));
    PanelButtonConnect->SetHoverColor(QColor(0x50, 0x50, 0x50));
    PanelButtonConnect->SetFontColor(Qt::white);
    PanelButtonConnect->OnClick = [this] { PanelButtonConnectClick(); };
    PanelButtonDevice->OnClick = [this] { host_.ShowDeviceListScreen(); };
    PanelButtonObject->OnClick = [this] { host_.ShowDirectoryScreen(); };
    PanelButtonArchive->OnClick = [this] { host_.ShowArchiveScreen(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };

    RefreshPortList();
    // A missing or damaged picture leaves a sign the operator can still click.
    if (!UpdateComPortList->LoadPicture(kRefreshPicture)) UpdateComPortList->setText("↻");
    UpdateComPortListAnimate->LoadAnimation(kRefreshPicture, kRefreshSpeedPercent);
    UpdateComPortListAnimate->hide();

    SelectRemembered(ComboBoxSerialPort, "COM", true);
    SelectRemembered(ComboBoxSerialPortSpeed, "BAUD", false);
    LayoutButtons();
}

TFrameLoraMain::~TFrameLoraMain() {
    FrameLoraMain = nullptr;
}

void TFrameLoraMain::RefreshPortList() {
    ComboBoxSerialPort->clear();
    for (const std::string& name : ListSerialPorts()) {
        ComboBoxSerialPort->addItem(QString::fromStdString(name));
    }
    // Serial device servers cannot be discovered; config.ini names them.
    for (const std::string& name : ListNetworkPorts(*IniFile)) {
        ComboBoxSerialPort->addItem(QString::fromStdString(name));
    }
    ComboBoxSerialPort->setCurrentIndex(ComboBoxSerialPort->count() > 0 ? 0 : -1);
}

void TFrameLoraMain::SelectRemembered(QComboBox* list, const char* key, bool byDevicePath) {
    CIniValue remembered;
    IniFile->GetValue("SERIAL", key, remembered);
    for (int item = 0; item < list->count(); ++item) {
        const std::string text = list->itemText(item).toStdString();
        const std::string candidate = byDevicePath ? DevicePathOf(text) : text;
        if (strcasecmp(candidate.c_str(), remembered.c_str()) == 0) {
            list->setCurrentIndex(item);
            return;
        }
    }
}

void TFrameLoraMain::LayoutButtons() {
    leftWidth_ = width() / 3;
    rightWidth_ = width() / 3;
    PlaceColumns();
}

void TFrameLoraMain::resizeEvent(QResizeEvent*) {
    Background->setGeometry(rect());
    PlaceColumns();
}

void TFrameLoraMain::PlaceColumns() {
    // Left and right keep their widths; the middle takes what is left, like a client area.
    const int height = Background->height();
    Left->setGeometry(0, 0, leftWidth_, height);
    Right->setGeometry(Background->width() - rightWidth_, 0, rightWidth_, height);
    Center->setGeometry(leftWidth_, 0, Background->width() - leftWidth_ - rightWidth_, height);

    // The three columns share one top line, so that the logo stands in the middle.
    const int top = std::max(kButtonGap, (height - kLogoSize.height()) / 2);
    LabelDirectory->setGeometry(0, top, Left->width(), kLabelHeight);
    int buttonTop = top + kLabelHeight + kButtonGap;
    for (TPanelButton* button : {PanelButtonDevice, PanelButtonObject, PanelButtonArchive}) {
        button->move(CentredLeft(Left->width(), button->width()), buttonTop);
        buttonTop += button->height() + kButtonGap;
    }
    GroupBoxConnected->move(CentredLeft(Right->width(), GroupBoxConnected->width()), top);
    FrameCanResize();
}

void TFrameLoraMain::FrameCanResize() {
    const int top = std::max(kButtonGap, (Center->height() - kLogoSize.height()) / 2);
    ImageOrvaneLogo->move(CentredLeft(Center->width(), ImageOrvaneLogo->width()), top);
}

void TFrameLoraMain::UpdateComPortListClick() {
    refreshFocused_ = UpdateComPortList->hasFocus();
    UpdateComPortList->hide();
    UpdateComPortListAnimate->show();
    Timer1.SetEnabled(true);
}

void TFrameLoraMain::Timer1Timer() {
    RefreshPortList();
    UpdateComPortListAnimate->hide();
    UpdateComPortList->show();
    if (std::exchange(refreshFocused_, false)) UpdateComPortList->setFocus();
    Timer1.SetEnabled(false);
}

void TFrameLoraMain::PanelButtonConnectClick() {
    const bool portChosen = ComboBoxSerialPort->currentIndex() >= 0;
    const bool speedChosen = ComboBoxSerialPortSpeed->currentIndex() >= 0;
    if (!portChosen && !speedChosen) {
        ShowMessage("Виберіть Serial Port та бажану швидкість роботи.");
        return;
    }
    if (!portChosen) {
        ShowMessage("Виберіть Serial Port.");
        return;
    }
    if (!speedChosen) {
        ShowMessage("Виберіть бажану швидкість роботи");
        return;
    }
    const std::string path = DevicePathOf(ComboBoxSerialPort->currentText().toStdString());
    const unsigned speed = ComboBoxSerialPortSpeed->currentText().toUInt();
    // Whatever the operator answers to a failed open, the choice is kept.
    host_.OpenLink(path.c_str(), speed);
    IniFile->SetValue("SERIAL", "COM", path.c_str());
    IniFile->SetValue("SERIAL", "BAUD", Format("%i", static_cast<int>(speed)).c_str());
    host_.ShowPollingScreen();
}
