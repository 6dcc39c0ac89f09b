#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "app/ScreenTour.h"
#include "directory/import/MeterKinds.h"

class QPainter;
class QTabWidget;
class TFrameDeviceAdd;
class TFrameDeviceBind;
class TFrameDeviceEdit;
class TLinkLabel;
class TPanelButton;
class TStringGrid;

// The stored meters in three tabs, one per kind, with bind, edit and delete per row, and a
// right-hand menu: add, the two imports with their example files, and "Назад" (wired by the
// window; Escape too). A click on a column's title sorts by it (again: reversed); Enter on a
// row edits it. The add, edit and bind forms lie over it.
class TFrameDeviceList : public QWidget, public CTourStops {
public:
    explicit TFrameDeviceList(QWidget* parent);
    ~TFrameDeviceList() override;

    // Selections cleared, the grids afresh, every form hidden and reset, the add form back.
    void ResetScreen();
    void FillGrids();
    void PanelButonAddClick();
    void PanelButonImportClick();
    void PanelButtonLinkClick();
    // `link`: the link file's example rather than the meter file's.
    void LabelButtonTemplateClick(bool link);
    void ProgramDeviceHeatEdit1ButtonSendClick();
    void StringGridSelectCell(int kind, int col, int row);
    // The add form over `screen` (the polling screen) with `serial` typed in.
    void ShowAddFormOn(QWidget* screen, const QString& serial);

    // A meter was stored by the add form, wherever it was lent.
    std::function<void()> OnMeterAdded;

    // CTourStops: the list, and each form.
    int TourStopCount() const override;
    QString ShowTourStop(int stop) override;

    QWidget* Background;
    QTabWidget* PageControl;
    std::array<TStringGrid*, MeterKindCount> Grids;
    TStringGrid* StringGridHeat;
    TStringGrid* StringGridWaterCold;
    TStringGrid* StringGridWaterHot;
    QWidget* RightMenu;
    TPanelButton* PanelButonAdd;
    TPanelButton* PanelButonImport;
    TLinkLabel* LabelButtonTemplateImport;
    TPanelButton* PanelButtonLink;
    TLinkLabel* LabelButtonTemplateLink;
    TPanelButton* PanelButtonBack;
    TFrameDeviceAdd* FrameDeviceAdd;
    TFrameDeviceEdit* FrameDeviceEdit;
    TFrameDeviceBind* FrameDeviceBind;

protected:
    // Keeps the add form lent to another screen as large as that screen.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildRightMenu();
    TStringGrid* NewGrid(int kind);
    void DeleteDevice(int kind, int devid);
    void StringGridDrawCell(int kind, QPainter& painter, int col, int row, const QRect& rect);
    void StringGridMouseMove(int kind, QPoint position);
    bool StringGridMouseWheel(int kind, bool down);
    void ShowForm(QWidget* form);
};

extern TFrameDeviceList* FrameDeviceList;
