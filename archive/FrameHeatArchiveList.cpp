#include "archive/FrameHeatArchiveList.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <algorithm>
#include <charconv>

#include "Utils/Format.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/Keys.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/Picture.h"
#include "app/toolkit/StringGrid.h"
#include "app/toolkit/TextOrder.h"
#include "archive/ArchiveReport.h"
#include "archive/DesktopOpener.h"
#include "archive/ExportFolder.h"
#include "archive/ThreadHeatArchiveListExportExcel.h"
#include "database/ReadFailure.h"

TFrameHeatArchiveList* FrameHeatArchiveList = nullptr;

namespace {
constexpr int kMenuWidth = 150;
constexpr QSize kButtonSize{140, 41};
constexpr int kHeaderHeight = 41;
constexpr int kFooterHeight = 46;
constexpr int kPictureSize = 41;
constexpr int kTitleRowHeight = 32;
constexpr int kRowHeight = 28;
// Wide enough for the titles in two lines and for a reading's date and time in one.
const int kHeatWidths[] = {70, 75, 105, 60, 60, 55, 55, 55, 55, 55, 55, 105, 70, 75, 75};
const int kWaterWidths[] = {70, 75, 115, 70, 75, 60, 70, 70, 115, 70, 75};
constexpr ArchiveKind kKinds[] = {ArchiveKind::Heat, ArchiveKind::WaterCold, ArchiveKind::WaterHot};
// A consumption whose counter went backwards.
constexpr QRgb kMarkedText = 0xC00000;
constexpr int kMinimumChoiceWidth = 145;
constexpr int kDateWidth = 105;
// The building chosen last, by its id.
constexpr const char* kChoiceSection = "ARCHIVE";
constexpr const char* kChoiceKey = "BUILDING";

std::size_t IndexOf(ArchiveKind kind) {
    return static_cast<std::size_t>(kind);
}

QString Shown(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QDate FirstOfMonth(QDate day) {
    return QDate(day.year(), day.month(), 1);
}

std::string DayOf(const QDateEdit* picker) {
    const QDate day = picker->date();
    return DayText(static_cast<unsigned>(day.year()), static_cast<unsigned>(day.month()),
                   static_cast<unsigned>(day.day()));
}

// The spreadsheet icon: a green sheet with a white cross over its cells; with the consumption
// columns, a white sum sign instead.
QPixmap SpreadsheetPicture(bool consumption) {
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1D, 0x6F, 0x42));
    painter.drawRoundedRect(QRectF(2, 2, 37, 37), 5, 5);
    painter.setPen(QPen(QColor(0x9F, 0xD5, 0xB4), 1));
    for (int line = 13; line < 36; line += 8) painter.drawLine(6, line, 35, line);
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (consumption) {
        const QPointF sum[] = {{28, 11}, {13, 11}, {21, 20.5}, {13, 30}, {28, 30}};
        painter.drawPolyline(sum, 5);
    } else {
        painter.drawLine(13, 12, 28, 29);
        painter.drawLine(28, 12, 13, 29);
    }
    return picture;
}

// The wrapper's failures, from the export's own thread: the box waits on the interface. A file
// that no program showed can still be found: its folder opens from the box.
ExcelMessageHandler ExcelMessages(const CExportPlace& place) {
    return [folder = place.folder, opener = place.opener](const std::string& text,
                                                          ExcelMessageKind kind) {
        if (kind == ExcelMessageKind::Unshown) {
            if (ShowMessageBox(text, "Ошибка", MB_OKOPENFOLDER) == IDOPENFOLDER)
                OpenInDesktop(opener, folder);
            return;
        }
        ShowMessageBox(text, "Ошибка",
                       kind == ExcelMessageKind::Error ? MB_ICONERROR | MB_TASKMODAL : MB_OK);
    };
}

int RememberedBuilding() {
    CIniValue text;
    IniFile->GetValue(kChoiceSection, kChoiceKey, text);
    int bid = 0;
    std::from_chars(text.data(), text.data() + text.size(), bid);
    return bid;
}

void Fill(TStringGrid& grid, const CArchiveGrid& rows) {
    grid.SetRowCount(rows.rowCount);
    for (int row = 1; row < rows.rowCount; ++row) {
        grid.SetRowHeight(row, kRowHeight);
        for (int col = 0; col < rows.colCount; ++col)
            grid.SetCell(col, row, Shown(rows.Cell(col, row)));
    }
    grid.SetColCount(rows.colCount);
}

}  // namespace

TFrameHeatArchiveList::TFrameHeatArchiveList(QWidget* parent)
    : QWidget(parent), exportFolder_(ExportFolder()) {
    FrameHeatArchiveList = this;
    setObjectName("FrameHeatArchiveList");
    Background = NewPanel(this);
    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Background, 0, 0);

    Body = NewPanel(Background);
    Header = BuildHeader();
    Content = NewPanel(Body);
    PageControl1 = new QTabWidget(Content);
    StringGridHeat = BuildGrid(ArchiveKind::Heat);
    StringGridWaterCold = BuildGrid(ArchiveKind::WaterCold);
    StringGridWaterHot = BuildGrid(ArchiveKind::WaterHot);
    PageControl1->addTab(StringGridHeat, "Тепло");
    PageControl1->addTab(StringGridWaterCold, "Холодна вода");
    PageControl1->addTab(StringGridWaterHot, "Гаряча вода");
    auto* content = new QGridLayout(Content);
    content->setContentsMargins(5, 0, 0, 0);
    content->addWidget(PageControl1, 0, 0);
    Footer = BuildFooter();
    auto* rows = new QVBoxLayout(Body);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(Header);
    rows->addWidget(Content, 1);
    rows->addWidget(Footer);

    RightMenu = BuildRightMenu();
    auto* columns = new QHBoxLayout(Background);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(Body, 1);
    columns->addWidget(RightMenu);

    QObject::connect(ComboBoxObjectList, &QComboBox::currentIndexChanged, this,
                     [this] { ComboBoxObjectListChange(); });
    QObject::connect(DateTimePickerBegin, &QDateEdit::dateChanged, this,
                     [this] { DateTimePickerBeginChange(); });
    QObject::connect(DateTimePickerEnd, &QDateEdit::dateChanged, this,
                     [this] { DateTimePickerEndChange(); });
    QObject::connect(CheckBoxWithoutReadings, &QCheckBox::toggled, this,
                     [this] { CheckBoxWithoutReadingsClick(); });
    ImageExportExcel->OnClick = [this] { ImageExportExcelClick(); };
    ImageExportConsumption->OnClick = [this] { ImageExportConsumptionClick(); };
    OnKey(this, Qt::Key_Escape, [this] { PanelButtonBack->Click(); });

    const QDate today = QDate::currentDate();
    const QSignalBlocker beginQuiet(DateTimePickerBegin);
    const QSignalBlocker endQuiet(DateTimePickerEnd);
    DateTimePickerBegin->setDate(today.addMonths(-1));
    DateTimePickerEnd->setDate(today);
    ResetArchive();
}

TFrameHeatArchiveList::~TFrameHeatArchiveList() {
    FrameHeatArchiveList = nullptr;
}

QWidget* TFrameHeatArchiveList::BuildRightMenu() {
    QWidget* menu = NewPanel(Background);
    menu->setFixedWidth(kMenuWidth);
    PanelButtonBack = new TPanelButton("Назад", menu);
    PanelButtonBack->setFixedSize(kButtonSize);
    // "Назад" stays 5 pixels above the menu's bottom whatever its height.
    auto* layout = new QVBoxLayout(menu);
    layout->setContentsMargins(5, 0, 5, 5);
    layout->addStretch(1);
    layout->addWidget(PanelButtonBack);
    return menu;
}

QWidget* TFrameHeatArchiveList::BuildHeader() {
    QWidget* header = NewPanel(Body);
    header->setFixedHeight(kHeaderHeight);
    ComboBoxObjectList = new TComboBox(header);
    ComboBoxObjectList->setMinimumWidth(kMinimumChoiceWidth);
    DateTimePickerBegin = new QDateEdit(header);
    DateTimePickerEnd = new QDateEdit(header);
    for (QDateEdit* picker : {DateTimePickerBegin, DateTimePickerEnd}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat("dd.MM.yyyy");
        picker->setFixedWidth(kDateWidth);
    }
    CheckBoxWithoutReadings = new QCheckBox("Лічильники без показань", header);
    // The building's choice grows with the window; the dates and the tick box keep their size.
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(8, 16, 8, 3);
    row->addWidget(new QLabel("Будинок:"));
    row->addWidget(ComboBoxObjectList, 1);
    row->addSpacing(16);
    row->addWidget(new QLabel("з"));
    row->addWidget(DateTimePickerBegin);
    row->addSpacing(6);
    row->addWidget(new QLabel("по"));
    row->addWidget(DateTimePickerEnd);
    row->addSpacing(16);
    row->addWidget(CheckBoxWithoutReadings);
    return header;
}

QWidget* TFrameHeatArchiveList::BuildFooter() {
    QWidget* footer = NewPanel(Body);
    footer->setFixedHeight(kFooterHeight);
    ImageExportExcel = new TImage(footer);
    ImageExportExcel->setPixmap(SpreadsheetPicture(false));
    ImageExportExcel->setCursor(Qt::PointingHandCursor);
    ImageExportExcel->SetKeyboardClicks();
    ImageExportExcel->setToolTip("Excel");
    ImageExportConsumption = new TImage(footer);
    ImageExportConsumption->setPixmap(SpreadsheetPicture(true));
    ImageExportConsumption->setCursor(Qt::PointingHandCursor);
    ImageExportConsumption->SetKeyboardClicks();
    ImageExportConsumption->setToolTip("Excel зі спожитим і підсумком");
    return footer;
}

TStringGrid* TFrameHeatArchiveList::BuildGrid(ArchiveKind kind) {
    const CArchiveGrid titles = TitleGrid(kind, true);
    reports_[IndexOf(kind)] = titles;
    auto* grid = new TStringGrid(nullptr);
    grid->setObjectName(Shown(titles.name));
    grid->SetColCount(titles.colCount);
    grid->SetRowCount(1);
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetRowHeight(0, kTitleRowHeight);
    for (int col = 0; col < titles.colCount; ++col) {
        grid->SetCell(col, 0, Shown(titles.Cell(col, 0)));
        grid->SetColWidth(col, kind == ArchiveKind::Heat ? kHeatWidths[col] : kWaterWidths[col]);
    }
    grid->OnDrawCell = [this, kind](QPainter& painter, int col, int row, const QRect& rect, bool) {
        StringGridDrawCell(kind, painter, col, row, rect);
    };
    grid->OnSelectCell = [this, kind](int col, int row) { StringGridSelectCell(kind, col, row); };
    return grid;
}

TStringGrid* TFrameHeatArchiveList::GridOf(ArchiveKind kind) const {
    switch (kind) {
        case ArchiveKind::WaterCold:
            return StringGridWaterCold;
        case ArchiveKind::WaterHot:
            return StringGridWaterHot;
        case ArchiveKind::Heat:
            break;
    }
    return StringGridHeat;
}

void TFrameHeatArchiveList::StringGridDrawCell(ArchiveKind kind, QPainter& painter, int col,
                                               int row, const QRect& rect) {
    const CArchiveGrid& report = reports_[IndexOf(kind)];
    const QString text = GridOf(kind)->Cell(col, row);
    if (row >= report.rowCount ||
        report.rows[static_cast<std::size_t>(row)] == ArchiveRow::Titles) {
        DrawStripedCell(painter, rect, text, row);
        return;
    }
    const bool totals = report.rows[static_cast<std::size_t>(row)] == ArchiveRow::Totals;
    if (totals) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.setFont(bold);
    }
    const bool marked = col < report.colCount && IsMarkedBackwards(report.Cell(col, row));
    DrawGridCell(painter, rect, text, RowColor(row), marked ? QColor(kMarkedText) : Qt::black);
}

void TFrameHeatArchiveList::ResetArchive() {
    for (const ArchiveKind kind : kKinds) {
        TStringGrid* grid = GridOf(kind);
        grid->ClearSelection();
        grid->SetRowCount(1);
        reports_[IndexOf(kind)] = TitleGrid(kind, true);
        sorts_[IndexOf(kind)] = {};
        grid->SetSortMark(-1, false);
    }
    {
        // Set by the screen itself: not a change of the user's, so nothing is refreshed.
        const QSignalBlocker quiet(DateTimePickerBegin);
        DateTimePickerBegin->setDate(FirstOfMonth(QDate::currentDate()));
    }
    {
        const QSignalBlocker quiet(ComboBoxObjectList);
        ComboBoxObjectList->clear();
        buildingIds_.clear();
        // In address order, as the directory lists them.
        std::vector<std::pair<QString, int>> buildings;
        CReadFailure failure;
        if (const auto stored = DbController->ObjectModel.GetObjects(&failure)) {
            for (const auto& building : *stored)
                buildings.emplace_back(Shown(BuildingLabel(*building)), building->bid);
        } else if (isVisible()) {
            // Filled while hidden at start-up too: said once shown, when it is filled again.
            ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
        }
        std::stable_sort(buildings.begin(), buildings.end(), [](const auto& a, const auto& b) {
            return CompareTexts(a.first, b.first) < 0;
        });
        for (const auto& [label, bid] : buildings) {
            ComboBoxObjectList->addItem(label);
            buildingIds_.push_back(bid);
        }
        // The building chosen last is chosen again, if it is still there.
        const auto remembered =
            std::find(buildingIds_.begin(), buildingIds_.end(), RememberedBuilding());
        ComboBoxObjectList->setCurrentIndex(
            remembered == buildingIds_.end() ? -1
                                             : static_cast<int>(remembered - buildingIds_.begin()));
    }
    BodyCanResize();
    RefreshArchive();
}

void TFrameHeatArchiveList::RefreshArchive() {
    const int index = ComboBoxObjectList->currentIndex();
    if (index < 0 || index >= static_cast<int>(buildingIds_.size())) return;
    CArchiveRequest request;
    request.bid = buildingIds_[static_cast<std::size_t>(index)];
    request.firstDay = DayOf(DateTimePickerBegin);
    request.lastDay = DayOf(DateTimePickerEnd);
    request.consumption = true;
    request.withoutReadings = CheckBoxWithoutReadings->isChecked();
    std::optional<CReadFailure> failure;
    for (const ArchiveKind kind : kKinds) {
        request.kind = kind;
        CArchiveReport report = ArchiveReport(*DbController, request);
        if (report.failure && !failure) failure = std::move(report.failure);
        CArchiveGrid& grid = reports_[IndexOf(kind)];
        grid = std::move(report.grid);
        const CSortOrder& sort = sorts_[IndexOf(kind)];
        if (sort.col >= 0) SortArchiveGrid(grid, sort.col, sort.descending);
        Fill(*GridOf(kind), grid);
    }
    // One box for the three reports: they fail together, for the same reason.
    if (failure) ShowMessageBox(CannotReadMessage(*failure), "Помилка", MB_ICONERROR);
}

void TFrameHeatArchiveList::ComboBoxObjectListChange() {
    const int index = ComboBoxObjectList->currentIndex();
    if (index >= 0 && index < static_cast<int>(buildingIds_.size()))
        IniFile->SetValue(kChoiceSection, kChoiceKey,
                          Format("%i", buildingIds_[static_cast<std::size_t>(index)]).c_str());
    RefreshArchive();
}

void TFrameHeatArchiveList::DateTimePickerBeginChange() {
    RefreshArchive();
}

void TFrameHeatArchiveList::DateTimePickerEndChange() {
    RefreshArchive();
}

void TFrameHeatArchiveList::CheckBoxWithoutReadingsClick() {
    RefreshArchive();
}

void TFrameHeatArchiveList::StringGridSelectCell(ArchiveKind kind, int col, int row) {
    if (row != 0) return;
    CSortOrder& sort = sorts_[IndexOf(kind)];
    sort.descending = sort.col == col && !sort.descending;
    sort.col = col;
    CArchiveGrid& grid = reports_[IndexOf(kind)];
    SortArchiveGrid(grid, sort.col, sort.descending);
    Fill(*GridOf(kind), grid);
    GridOf(kind)->SetSortMark(sort.col, sort.descending);
}

ArchiveKind TFrameHeatArchiveList::ShownKind() const {
    switch (PageControl1->currentIndex()) {
        case 1:
            return ArchiveKind::WaterCold;
        case 2:
            return ArchiveKind::WaterHot;
        default:
            return ArchiveKind::Heat;
    }
}

TFrameHeatArchiveList::CExportRequest TFrameHeatArchiveList::ExportRequest(bool consumption) const {
    const CArchiveGrid& shown = reports_[IndexOf(ShownKind())];
    CExportRequest request;
    request.grid = consumption ? shown : WithoutConsumption(shown);
    request.buildingLabel = ComboBoxObjectList->currentText().toStdString();
    request.place.folder = exportFolder_;
    std::string title = ReportTitle(request.grid.name);
    if (consumption) title += ", спожито";
    request.place.fileName = ReportFileName(title, request.buildingLabel,
                                            DayOf(DateTimePickerBegin), DayOf(DateTimePickerEnd));
    request.place.opener = opener_;
    return request;
}

void TFrameHeatArchiveList::SetExportPlace(std::string folder, std::string opener) {
    exportFolder_ = std::move(folder);
    opener_ = std::move(opener);
}

void TFrameHeatArchiveList::StartExport(bool consumption) {
    // The copy is taken here, on the interface's thread: the grid may be refilled meanwhile.
    CExportRequest request = ExportRequest(consumption);
    ExcelMessageHandler messages = ExcelMessages(request.place);
    // Busy, not waiting: the screen stays usable while the file is written.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    TThread::StartFreeThread<ThreadHeatArchiveListExportExcel>(
        std::move(request.grid), std::move(request.buildingLabel), std::move(request.place),
        std::move(messages), [] { QApplication::restoreOverrideCursor(); });
}

void TFrameHeatArchiveList::ImageExportExcelClick() {
    StartExport(false);
}

void TFrameHeatArchiveList::ImageExportConsumptionClick() {
    StartExport(true);
}

void TFrameHeatArchiveList::BodyCanResize() {
    ImageExportExcel->setGeometry(5, 0, kPictureSize, kPictureSize);
    ImageExportConsumption->setGeometry(10 + kPictureSize, 0, kPictureSize, kPictureSize);
}

void TFrameHeatArchiveList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BodyCanResize();
}

int TFrameHeatArchiveList::TourStopCount() const {
    return 3;
}

QString TFrameHeatArchiveList::ShowTourStop(int stop) {
    ResetArchive();
    // The meters that did not report show too, below the others.
    CheckBoxWithoutReadings->setChecked(true);
    ComboBoxObjectList->setCurrentIndex(0);
    PageControl1->setCurrentIndex(stop);
    const char* names[] = {"FrameHeatArchiveList-heat", "FrameHeatArchiveList-water_cold",
                           "FrameHeatArchiveList-water_hot"};
    return names[stop];
}
