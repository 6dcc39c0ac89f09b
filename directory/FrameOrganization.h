#pragma once

#include <QWidget>

#include "app/ScreenTour.h"

class CScreenHost;
class TFrameObjectList;
class TPanelButton;
class TProgramSubscriberList;

// The directory: a right-hand menu of buildings ("Об'єкт") and apartments ("Абонент") with
// "Назад", and on the left the one sub-screen chosen. The window wires "Назад".
class TFrameOrganization : public QWidget, public CTourStops {
public:
    explicit TFrameOrganization(QWidget* parent);
    ~TFrameOrganization() override;

    void ButtonObjectClick();
    void ButtonSubscriberClick();
    // Every form cleared, both lists afresh and the left-hand area empty.
    void ResetDirectory();

    // CTourStops: the buildings list and its forms, the apartments list and its forms.
    int TourStopCount() const override;
    QString ShowTourStop(int stop) override;

    QWidget* Background;
    QWidget* MainBlock;
    QWidget* RightMenu;
    TPanelButton* PanelButonObject;
    TPanelButton* PanelButtonSubscriber;
    TPanelButton* PanelButtonBack;
    TProgramSubscriberList* ProgramSubscriberList;
    TFrameObjectList* FrameObjectList;

private:
    QWidget* BuildRightMenu();
};

extern TFrameOrganization* FrameOrganization;
