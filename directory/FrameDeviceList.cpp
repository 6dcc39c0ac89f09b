#include "directory/FrameDeviceList.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Utils/Format.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/Keys.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "database/SQLite3Controller.h"
#include "directory/FormParts.h"
#include "directory/FrameDeviceAdd.h"
#include "directory/FrameDeviceBind.h"
#include "directory/FrameDeviceEdit.h"
#include "directory/ImportDialogs.h"
#include "directory/LinkLabel.h"
#include "directory/RecordText.h"
#include "directory/import/Importer.h"

TFrameDeviceList* FrameDeviceList = nullptr;

namespace {
enum Column {
    ColSerial,
    ColInstalled,
    ColBuilding,
    ColApartment,
    ColBind,
    ColEdit,
    ColDelete,
    ColCount
};
// In the program's font "Дата встановлення" needs 115 pixels and "Видалити" 60 on the one-line
// header; narrower, their titles are cut.
constexpr int kWidths[ColCount] = {90, 115, 100, 100, 85, 85, 60};
constexpr const char* kTitles[ColCount] = {"Серійний номер", "Дата встановлення", "Будинок",
                                           "Приміщення",     "Прив'язати",        "Редагувати",
                                           "Видалити"};
constexpr const char* kTabs[MeterKindCount] = {"Тепло", "Холодна вода", "Гаряча вода"};
constexpr const char* kGridNames[MeterKindCount] = {"StringGridHeat", "StringGridWaterCold",
                                                    "StringGridWaterHot"};
constexpr int kHeaderHeight = 16;
constexpr int kRowHeight = 32;
constexpr int kMenuWidth = 150;
constexpr QSize kButtonSize{140, 41};
constexpr const char* kBindIcon = "./images/bind-icon.png";
constexpr const char* kEditIcon = "./images/edit-icon.png";
constexpr const char* kDeleteIcon = "./images/delete-icon.png";
constexpr const char* kMeterTemplate = "./templates/import_devices.csv";
constexpr const char* kLinkTemplate = "./templates/link_devices.csv";

TPanelButton* NewMenuButton(const char* caption, QWidget* parent) {
    auto* button = new TPanelButton(caption, parent);
    button->setFixedSize(kButtonSize);
    return button;
}
}  // namespace

TFrameDeviceList::TFrameDeviceList(QWidget* parent) : QWidget(parent) {
    FrameDeviceList = this;
    setObjectName("FrameDeviceList");
    Background = NewPanel(this);
    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Background, 0, 0);

    PageControl = new QTabWidget(Background);
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        // The grid keeps its columns' width, centred in its tab.
        QWidget* tab = NewPanel(nullptr);
        auto* centre = new QHBoxLayout(tab);
        centre->setContentsMargins(0, 0, 0, 0);
        centre->addStretch(1);
        centre->addWidget(Grids[kind] = NewGrid(kind));
        centre->addStretch(1);
        PageControl->addTab(tab, kTabs[kind]);
    }
    StringGridHeat = Grids[MeterKindHeat];
    StringGridWaterCold = Grids[MeterKindWaterCold];
    StringGridWaterHot = Grids[MeterKindWaterHot];
    RightMenu = BuildRightMenu();
    auto* columns = new QHBoxLayout(Background);
    columns->setContentsMargins(5, 4, 0, 4);
    columns->addWidget(PageControl, 1);
    columns->addWidget(RightMenu);

    // The forms cover the whole screen while they show.
    FrameDeviceAdd = new TFrameDeviceAdd(this);
    FrameDeviceEdit = new TFrameDeviceEdit(this);
    FrameDeviceBind = new TFrameDeviceBind(this);
    for (QWidget* form :
         {static_cast<QWidget*>(FrameDeviceAdd), static_cast<QWidget*>(FrameDeviceEdit),
          static_cast<QWidget*>(FrameDeviceBind)}) {
        fill->addWidget(form, 0, 0);
        form->hide();
    }
    FrameDeviceAdd->OnAdded = [this] {
        ResetScreen();
        if (OnMeterAdded) OnMeterAdded();
    };
    FrameDeviceEdit->ButtonSend->OnClick = [this] { ProgramDeviceHeatEdit1ButtonSendClick(); };
    FrameDeviceBind->OnStored = [this] { ResetScreen(); };
    PanelButonAdd->OnClick = [this] { PanelButonAddClick(); };
    PanelButonImport->OnClick = [this] { PanelButonImportClick(); };
    PanelButtonLink->OnClick = [this] { PanelButtonLinkClick(); };
    LabelButtonTemplateImport->OnClick = [this] { LabelButtonTemplateClick(false); };
    LabelButtonTemplateLink->OnClick = [this] { LabelButtonTemplateClick(true); };
    OnKey(this, Qt::Key_Escape, [this] { PanelButtonBack->Click(); });
    FillGrids();
}

TFrameDeviceList::~TFrameDeviceList() {
    FrameDeviceList = nullptr;
}

QWidget* TFrameDeviceList::BuildRightMenu() {
    QWidget* menu = NewPanel(Background);
    menu->setFixedWidth(kMenuWidth);
    PanelButonAdd = NewMenuButton("Додати", menu);
    PanelButonImport = NewMenuButton("Імпорт із файлу", menu);
    LabelButtonTemplateImport = new TLinkLabel("Файл приклад", menu);
    PanelButtonLink = NewMenuButton("Прив'язка із файлу", menu);
    LabelButtonTemplateLink = new TLinkLabel("Файл приклад", menu);
    PanelButtonBack = NewMenuButton("Назад", menu);
    // "Назад" keeps to the bottom of the menu, 5 pixels above its edge.
    auto* layout = new QVBoxLayout(menu);
    layout->setContentsMargins(5, 0, 5, 5);
    layout->addWidget(PanelButonAdd);
    layout->addWidget(PanelButonImport);
    layout->addWidget(LabelButtonTemplateImport, 0, Qt::AlignHCenter);
    layout->addWidget(PanelButtonLink);
    layout->addWidget(LabelButtonTemplateLink, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(PanelButtonBack);
    return menu;
}

TStringGrid* TFrameDeviceList::NewGrid(int kind) {
    TStringGrid* grid = NewTitledGrid(nullptr, kTitles, kWidths, kRowHeight);
    grid->setObjectName(kGridNames[kind]);
    grid->SetRowHeight(0, kHeaderHeight);
    int width = 0;
    for (const int column : kWidths) width += column;
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setFixedWidth(width + grid->verticalScrollBar()->sizeHint().width() +
                        2 * grid->frameWidth());
    grid->OnDrawCell = [this, kind](QPainter& painter, int col, int row, const QRect& rect, bool) {
        StringGridDrawCell(kind, painter, col, row, rect);
    };
    grid->OnSelectCell = [this, kind](int col, int row) { StringGridSelectCell(kind, col, row); };
    grid->OnEnterRow = [this, kind](int row) { StringGridSelectCell(kind, ColEdit, row); };
    grid->OnMouseMove = [this, kind](QPoint position) { StringGridMouseMove(kind, position); };
    grid->OnMouseWheel = [this, kind](bool down) { return StringGridMouseWheel(kind, down); };
    return grid;
}

void TFrameDeviceList::ResetScreen() {
    for (TStringGrid* grid : Grids) grid->ClearSelection();
    FillGrids();
    FrameDeviceAdd->hide();
    if (QWidget* borrower = FrameDeviceAdd->parentWidget(); borrower != this) {
        borrower->removeEventFilter(this);
        FrameDeviceAdd->setParent(this);
        static_cast<QGridLayout*>(layout())->addWidget(FrameDeviceAdd, 0, 0);
        FrameDeviceAdd->hide();
    }
    FrameDeviceAdd->ResetForm();
    FrameDeviceEdit->hide();
    FrameDeviceEdit->ResetForm();
}

void TFrameDeviceList::FillGrids() {
    CReadFailure failure;
    for (int kind = 0; kind < MeterKindCount; ++kind) {
        TStringGrid* grid = Grids[kind];
        grid->SetRowCount(1);
        grid->SetColCount(ColCount);
        const auto meters = DeviceModelOf(*DbController, kind).GetDevices(&failure);
        if (meters == nullptr) continue;
        grid->SetRowCount(1 + meters->Count());
        int row = 1;
        for (const auto& meter : *meters) {
            grid->SetCell(ColSerial, row, QString::fromStdString(Format("%08i", meter->serial)));
            grid->SetCell(ColInstalled, row, FromRecordText(meter->date_install.view()));
            if (const CDataSubscriber* apartment = meter->subscriber.get()) {
                if (const CDataObject* building = apartment->object.get()) {
                    grid->SetCell(ColBuilding, row,
                                  FromRecordText(building->street.view()) + " " +
                                      FromRecordText(building->no.view()));
                }
                grid->SetCell(ColApartment, row, FromRecordText(apartment->no.view()));
            }
            grid->SetRowTag(row, meter->devid);
            ++row;
        }
        grid->Resort();
    }
    // One box for the three lists. Filled while hidden at start-up too, the screen says it
    // once shown, when it is filled again.
    if (failure.Happened() && isVisible())
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
    FrameDeviceEdit->hide();
    Background->show();
}

void TFrameDeviceList::ShowForm(QWidget* form) {
    Background->show();
    form->show();
    form->raise();
}

void TFrameDeviceList::PanelButonAddClick() {
    FrameDeviceAdd->ComboBoxDeviceType->setCurrentIndex(PageControl->currentIndex());
    ShowForm(FrameDeviceAdd);
    FrameDeviceAdd->EditMaskSerialNumber->setFocus();
}

void TFrameDeviceList::ShowAddFormOn(QWidget* screen, const QString& serial) {
    // The form is lent to the screen until the next ResetScreen takes it back.
    FrameDeviceAdd->setParent(screen);
    FrameDeviceAdd->setGeometry(screen->rect());
    screen->installEventFilter(this);
    FrameDeviceAdd->EditMaskSerialNumber->setText(serial);
    FrameDeviceAdd->show();
    FrameDeviceAdd->raise();
    FrameDeviceAdd->EditMaskSerialNumber->setFocus();
}

bool TFrameDeviceList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == FrameDeviceAdd->parentWidget())
        FrameDeviceAdd->setGeometry(FrameDeviceAdd->parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TFrameDeviceList::PanelButonImportClick() {
    if (ImportChosenFile(
            [](const std::string& path) { return CImporter(*DbController).ImportMeters(path); }))
        FillGrids();
}

void TFrameDeviceList::PanelButtonLinkClick() {
    if (ImportChosenFile(
            [](const std::string& path) { return CImporter(*DbController).ImportLinks(path); }))
        FillGrids();
}

void TFrameDeviceList::LabelButtonTemplateClick(bool link) {
    if (link) {
        SaveExampleFile("Приклад привязки пристроїв", kLinkTemplate);
    } else {
        SaveExampleFile("Приклад додання пристроїв", kMeterTemplate);
    }
}

void TFrameDeviceList::ProgramDeviceHeatEdit1ButtonSendClick() {
    if (!FrameDeviceEdit->ButtonSendClick()) FillGrids();
}

void TFrameDeviceList::StringGridSelectCell(int kind, int col, int row) {
    TStringGrid* grid = Grids[kind];
    if (row == 0 && col < ColBind) grid->SortByTitle(col);
    if (row < 1 || row >= grid->RowCount()) return;
    if (col != ColBind && col != ColEdit && col != ColDelete) return;
    const int devid = grid->RowTag(row);
    const auto meter = DeviceModelOf(*DbController, kind).GetDeviceById(devid);
    if (meter == nullptr) return;
    if (col == ColBind) {
        if (FrameDeviceBind->ShowBinding(devid, kind)) ShowForm(FrameDeviceBind);
    } else if (col == ColEdit) {
        FrameDeviceEdit->ShowMeter(*meter, kind);
        ShowForm(FrameDeviceEdit);
        FrameDeviceEdit->EditMaskSerialNumber->setFocus();
    } else {
        const std::string question =
            Format("%s %i ?", "Видалити пристрій із серійним номером", meter->serial);
        if (ShowMessageBox(question, "Видалення", MB_ICONWARNING | MB_YESNO) != IDYES) return;
        DeleteDevice(kind, devid);
    }
}

void TFrameDeviceList::DeleteDevice(int kind, int devid) {
    const DeleteDeviceResult deleted = DeviceModelOf(*DbController, kind).DeleteDevice(devid);
    if (deleted != DeleteDeviceOk) {
        std::string text = "Помилка під час видалення пристрою";
        if (deleted == DeleteDeviceBound)
            text += "\nПристрій прив'язаний до приміщення: спершу відв'яжіть його.";
        if (deleted == DeleteDeviceHasReadings) text += "\nПристрій має збережені показники.";
        ShowMessageBox(text, "", MB_ICONERROR);
        return;
    }
    ShowMessageBox("Пристрій успішно видалено", "", MB_ICONINFORMATION);
    ResetScreen();
}

void TFrameDeviceList::StringGridDrawCell(int kind, QPainter& painter, int col, int row,
                                          const QRect& rect) {
    if (row > 0 && col == ColBind) {
        DrawIconCell(painter, rect, kBindIcon, 28, row);
    } else if (row > 0 && col == ColEdit) {
        DrawIconCell(painter, rect, kEditIcon, 28, row);
    } else if (row > 0 && col == ColDelete) {
        DrawIconCell(painter, rect, kDeleteIcon, 15, row);
    } else {
        DrawStripedCell(painter, rect, Grids[kind]->Cell(col, row), row);
    }
}

void TFrameDeviceList::StringGridMouseMove(int kind, QPoint position) {
    // The hand marks the icons, the only cells a click acts on.
    TStringGrid* grid = Grids[kind];
    const int col = grid->ColAt(position.x());
    const int row = grid->RowAt(position.y());
    const bool icon = row > 0 && (col == ColBind || col == ColEdit || col == ColDelete);
    grid->viewport()->setCursor(icon ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool TFrameDeviceList::StringGridMouseWheel(int kind, bool down) {
    // One row per step, within the grid, rather than the grid's own scrolling.
    TStringGrid* grid = Grids[kind];
    const int row = grid->Row();
    if (down && row + 1 < grid->RowCount()) grid->SetRow(std::max(row + 1, grid->FixedRows()));
    if (!down && row - 1 >= grid->FixedRows()) grid->SetRow(row - 1);
    return true;
}

int TFrameDeviceList::TourStopCount() const {
    return 4;
}

QString TFrameDeviceList::ShowTourStop(int stop) {
    ResetScreen();
    FrameDeviceBind->hide();
    PageControl->setCurrentIndex(MeterKindHeat);
    // Stop 0 is the list itself, filled now that the tour's sample meters are stored.
    if (stop == 1) PanelButonAddClick();
    if (stop == 2) StringGridSelectCell(MeterKindHeat, ColEdit, 1);
    if (stop == 3) StringGridSelectCell(MeterKindHeat, ColBind, 1);
    const char* names[] = {"FrameDeviceList", "FrameDeviceAdd", "FrameDeviceEdit",
                           "FrameDeviceBind"};
    return names[stop];
}
