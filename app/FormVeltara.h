#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/ProgramInfo.h"
#include "app/ScreenHost.h"

class CProcessComPort;
class TFrameDeviceList;
class TFrameHeatArchiveList;
class TFrameLoraDevicePolling;
class TFrameLoraMain;
class TFrameOrganization;
class TFrameUpdate;

// The one window. It creates every screen once, each filling its client area, and navigates
// by showing and hiding them, as their host, giving the keyboard to the screen it shows. It
// holds the serial link between Connect and the next "Назад", and remembers its size, place
// and maximised state in config.ini.
class TFormVeltara : public QWidget, public CScreenHost {
public:
    TFormVeltara();
    ~TFormVeltara() override;

    // CScreenHost. ShowMainScreen is also "Назад" of every screen but the main one.
    void OpenLink(const char* name, unsigned speed) override;
    CProcessComPort* Link() const override { return link_.get(); }
    void ShowPollingScreen() override;
    void ShowDeviceListScreen() override;
    void ShowDeviceAddForm(const QString& number) override;
    void ShowDirectoryScreen() override;
    void ShowArchiveScreen() override;
    void ShowMainScreen() override;

    const CProgramInfo& ProgramInfo() const { return programInfo_; }
    // The screens in the order of creation: the later covers the earlier.
    const std::vector<QWidget*>& Screens() const { return screens_; }

protected:
    void showEvent(QShowEvent* event) override;
    // A poll is stopped and the port let go at once, and the window's place remembered.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void RestorePlace();
    void SavePlace();
    // Before a screen covers the main one: the control that had the keyboard gets it back.
    void LeaveMainScreen();
    void AddScreen(QWidget* screen, bool visible);
    // The start-up version check; true when an update was started.
    bool CheckForUpdate();

    CProgramInfo programInfo_;
    QWidget* background_;
    TFrameUpdate* update_;
    TFrameLoraMain* main_;
    TFrameLoraDevicePolling* polling_;
    TFrameDeviceList* deviceList_;
    TFrameOrganization* directory_;
    TFrameHeatArchiveList* archive_;
    std::vector<QWidget*> screens_;
    std::unique_ptr<CProcessComPort> link_;
    QPointer<QWidget> mainFocus_;
};

extern TFormVeltara* FormVeltara;
