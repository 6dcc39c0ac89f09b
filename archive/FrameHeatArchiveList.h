#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/ScreenTour.h"
#include "archive/ArchiveGrid.h"
#include "archive/ExportPlace.h"

class QComboBox;
class QDateEdit;
class QPainter;
class QTabWidget;
class TImage;
class TPanelButton;
class TStringGrid;

// The archive: for the building chosen in the filter and a range of whole days, the latest
// reading and the largest values of every meter, on a tab per meter kind; the picture in the
// footer exports the tab that shows to a spreadsheet. The window wires "Назад".
class TFrameHeatArchiveList : public QWidget, public CTourStops {
public:
    explicit TFrameHeatArchiveList(QWidget* parent);
    ~TFrameHeatArchiveList() override;

    // Title rows only, the first day of this month as the first date, every building in the
    // filter and none chosen.
    void ResetArchive();
    // The three grids afresh for the chosen building and dates; with no building chosen it
    // does nothing.
    void RefreshArchive();
    void ComboBoxObjectListChange();
    void DateTimePickerBeginChange();
    void DateTimePickerEndChange();
    // Starts an export of the showing tab's copy on a thread of its own.
    void ImageExportExcelClick();

    // What a click exports: a copy of the showing grid, the filter's text and the file's place.
    struct CExportRequest {
        CArchiveGrid grid;
        std::string buildingLabel;
        CExportPlace place;
    };
    CExportRequest ExportRequest() const;
    // Where exports go and what opens them; tests point them elsewhere.
    void SetExportPlace(std::string folder, std::string opener);

    // CTourStops: each tab with the first building's readings.
    int TourStopCount() const override;
    QString ShowTourStop(int stop) override;

    QWidget* Background;
    QWidget* RightMenu;
    TPanelButton* PanelButtonBack;
    QWidget* Body;
    QWidget* Header;
    QComboBox* ComboBoxObjectList;
    QDateEdit* DateTimePickerBegin;
    QDateEdit* DateTimePickerEnd;
    QWidget* Content;
    QTabWidget* PageControl1;
    TStringGrid* StringGridHeat;
    TStringGrid* StringGridWaterCold;
    TStringGrid* StringGridWaterHot;
    QWidget* Footer;
    TImage* ImageExportExcel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildRightMenu();
    QWidget* BuildHeader();
    QWidget* BuildFooter();
    TStringGrid* BuildGrid(ArchiveKind kind);
    void BodyCanResize();
    void StringGridDrawCell(TStringGrid& grid, QPainter& painter, int col, int row,
                            const QRect& rect);
    TStringGrid* ShownGrid() const;

    std::vector<int> buildingIds_;  // the bid of filter item k
    std::string exportFolder_;
    std::string opener_ = "xdg-open";
};

extern TFrameHeatArchiveList* FrameHeatArchiveList;
