#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "app/ScreenTour.h"
#include "archive/ArchiveGrid.h"
#include "archive/ExportPlace.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPainter;
class QTabWidget;
class TImage;
class TPanelButton;
class TStringGrid;

// The archive: for the building chosen in the filter and a range of whole days, the latest
// reading, the largest values and the consumption of every meter, on a tab per meter kind,
// with a totals row; the tick box adds the building's meters that did not report, and a click
// on a column's title sorts by it (again: reversed). The pictures in the footer export the tab
// that shows to a spreadsheet: the first in the report's own layout, the second with the
// consumption columns and the totals, under a busy cursor. The building chosen last is chosen
// again (config.ini). The window wires "Назад"; Escape is "Назад" too.
class TFrameHeatArchiveList : public QWidget, public CTourStops {
public:
    explicit TFrameHeatArchiveList(QWidget* parent);
    ~TFrameHeatArchiveList() override;

    // Title rows only, the first day of this month as the first date, every building in the
    // filter in address order, the one chosen last chosen again (none without one), no column
    // sorted.
    void ResetArchive();
    // The three grids afresh for the chosen building and dates, each sorted as it was; with no
    // building chosen it does nothing. A report that cannot be read is said in a message box
    // and leaves its grid with the title row.
    void RefreshArchive();
    void ComboBoxObjectListChange();
    void DateTimePickerBeginChange();
    void DateTimePickerEndChange();
    void CheckBoxWithoutReadingsClick();
    // A click on a grid's title row sorts by that column.
    void StringGridSelectCell(ArchiveKind kind, int col, int row);
    // Start an export of the showing tab's copy on a thread of its own.
    void ImageExportExcelClick();
    void ImageExportConsumptionClick();

    // What a click exports: a copy of the showing grid in the layout asked for, the filter's
    // text and the file's place.
    struct CExportRequest {
        CArchiveGrid grid;
        std::string buildingLabel;
        CExportPlace place;
    };
    CExportRequest ExportRequest(bool consumption = false) const;
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
    QCheckBox* CheckBoxWithoutReadings;
    QWidget* Content;
    QTabWidget* PageControl1;
    TStringGrid* StringGridHeat;
    TStringGrid* StringGridWaterCold;
    TStringGrid* StringGridWaterHot;
    QWidget* Footer;
    TImage* ImageExportExcel;
    TImage* ImageExportConsumption;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildRightMenu();
    QWidget* BuildHeader();
    QWidget* BuildFooter();
    TStringGrid* BuildGrid(ArchiveKind kind);
    void BodyCanResize();
    void StringGridDrawCell(ArchiveKind kind, QPainter& painter, int col, int row,
                            const QRect& rect);
    TStringGrid* GridOf(ArchiveKind kind) const;
    ArchiveKind ShownKind() const;
    void StartExport(bool consumption);

    // Which column a grid is sorted by (-1: none, as the report came) and which way.
    struct CSortOrder {
        int col = -1;
        bool descending = false;
    };
    // What each grid shows, with what its rows are, index for index with the tabs.
    std::array<CArchiveGrid, 3> reports_;
    std::array<CSortOrder, 3> sorts_;
    std::vector<int> buildingIds_;  // the bid of filter item k
    std::string exportFolder_;
    std::string opener_ = kDesktopOpener;
};

extern TFrameHeatArchiveList* FrameHeatArchiveList;
