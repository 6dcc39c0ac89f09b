#pragma once

#include <QWidget>

#include "app/toolkit/Timer.h"

class QComboBox;
class QGroupBox;
class QLabel;
class CScreenHost;
class TImage;
class TPanelButton;

// The main screen: the directory buttons on the left, the logo in the middle, and on the right
// the choice of serial port and speed with Connect. Port and speed are remembered in config.ini.
class TFrameLoraMain : public QWidget {
public:
    TFrameLoraMain(QWidget* parent, CScreenHost& host);
    ~TFrameLoraMain() override;

    void RefreshPortList();
    // Gives the three columns a third of the width each and centres their contents.
    void LayoutButtons();

    void UpdateComPortListClick();
    void Timer1Timer();
    void PanelButtonConnectClick();

    QWidget* Background;
    QWidget* Left;
    QLabel* LabelDirectory;
    TPanelButton* PanelButtonDevice;
    TPanelButton* PanelButtonObject;
    TPanelButton* PanelButtonArchive;
    QWidget* Center;
    TImage* ImageOrvaneLogo;
    QWidget* Right;
    QGroupBox* GroupBoxConnected;
    QComboBox* ComboBoxSerialPort;
    TImage* UpdateComPortList;
    TImage* UpdateComPortListAnimate;
    QComboBox* ComboBoxSerialPortSpeed;
    TPanelButton* PanelButtonConnect;
    TTimer Timer1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SelectRemembered(QComboBox* list, const char* key, bool byDevicePath);
    void PlaceColumns();
    void FrameCanResize();

    CScreenHost& host_;
    int leftWidth_ = 0;
    int rightWidth_ = 0;
    // The refresh picture had the keyboard when clicked: it gets it back once shown again.
    bool refreshFocused_ = false;
};

extern TFrameLoraMain* FrameLoraMain;
