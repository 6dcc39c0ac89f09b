#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "app/ProgramInfo.h"

class CProcessComPort;

// The one window. It creates every screen once, each filling its client area, and navigates
// by showing and hiding them. It holds the serial link between Connect and the next "Назад".
class TFormVeltara : public QWidget {
public:
    TFormVeltara();
    ~TFormVeltara() override;

    // "Назад" of every screen but the main one: closes the link and returns to the main screen.
    void ShowMainScreen();

    // Connect hands the new link over; an earlier one is closed first, so the port is free.
    void OpenComPort(const char* path, unsigned speed);
    CProcessComPort* ComPort() const { return comPort_.get(); }

    const CProgramInfo& ProgramInfo() const { return programInfo_; }
    // The screens in the order of creation: the later covers the earlier.
    const std::vector<QWidget*>& Screens() const { return screens_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void AddScreen(QWidget* screen, bool visible);

    CProgramInfo programInfo_;
    QWidget* background_;
    std::vector<QWidget*> screens_;
    std::unique_ptr<CProcessComPort> comPort_;
};

extern TFormVeltara* FormVeltara;
