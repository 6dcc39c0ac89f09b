#include "directory/FrameObjectList.h"

#include <QGridLayout>
#include <QLineEdit>

#include "Utils/Format.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "directory/BuildingChoices.h"
#include "directory/FormParts.h"
#include "directory/FrameObjectAdd.h"
#include "directory/FrameObjectEdit.h"
#include "directory/RecordText.h"

namespace {
enum Column { ColStreet, ColHouse, ColEdit, ColDelete, ColCount };
// "Видалити" needs 60 pixels in the program's font; at 50 its title is cut.
constexpr int kWidths[ColCount] = {250, 100, 85, 60};
constexpr const char* kTitles[ColCount] = {"Вулиця", "№ будинку", "Редагувати", "Видалити"};
constexpr int kRowHeight = 16;
constexpr int kGridTop = 60;
constexpr int kGridBottomGap = 30;
constexpr int kButtonTop = 28;
constexpr const char* kEditIcon = "./images/edit-icon.png";
constexpr const char* kDeleteIcon = "./images/delete-icon.png";

void FillInto(QWidget* parent, QWidget* child) {
    auto* layout = new QGridLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(child, 0, 0);
}
}  // namespace

TFrameObjectList::TFrameObjectList(QWidget* parent) : QWidget(parent) {
    setObjectName("FrameObjectList");
    Background = NewPanel(this);
    FillInto(this, Background);
    PanelButonAdd = NewFormButton("Додати", Background);
    PanelButonAdd->resize(100, 26);
    PanelButonAdd->OnClick = [this] { PanelButonAddClick(); };

    StringGrid1 = NewTitledGrid(Background, kTitles, kWidths, kRowHeight);
    StringGrid1->OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect, bool) {
        StringGrid1DrawCell(painter, col, row, rect);
    };
    StringGrid1->OnSelectCell = [this](int col, int row) { StringGrid1SelectCell(col, row); };
    StringGrid1->OnEnterRow = [this](int row) { StringGrid1SelectCell(ColEdit, row); };
    StringGrid1->OnMouseMove = [this](QPoint position) { StringGrid1MouseMove(position); };

    FrameObjectEdit = new TFrameObjectEdit(Background);
    FrameObjectAdd = new TFrameObjectAdd(Background);
    LayFormsOver(Background, {FrameObjectEdit, FrameObjectAdd});
    FrameObjectEdit->ButtonSend->OnClick = [this] { ProgramObjectEdit1ButtonSendClick(); };
    FrameObjectEdit->ButtonCancel->OnClick = [this] { ProgramObjectEdit1ButtonCancelClick(); };
    FrameObjectAdd->OnAdded = [this] {
        ReloadList();
        if (OnBuildingAdded) OnBuildingAdded();
    };
    FrameObjectAdd->OnCancelled = [this] { ReloadList(); };
    ReloadList();
}

void TFrameObjectList::ReloadList() {
    StringGrid1->ClearSelection();
    StringGrid1->SetRowCount(1);
    FillGrid();
    FrameObjectEdit->hide();
    Background->show();
}

void TFrameObjectList::FillGrid() {
    StringGrid1->SetRowCount(1);
    StringGrid1->SetColCount(ColCount);
    CReadFailure failure;
    const auto buildings = BuildingChoices(&failure);
    if (!buildings) {
        // Filled while hidden at start-up too: said once shown, when it is filled again.
        if (isVisible()) ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
        return;
    }
    StringGrid1->SetRowCount(1 + static_cast<int>(buildings->size()));
    int row = 1;
    for (const CBuildingChoice& building : *buildings) {
        StringGrid1->SetCell(ColStreet, row, building.street);
        StringGrid1->SetCell(ColHouse, row, building.house);
        StringGrid1->SetRowTag(row, building.bid);
        ++row;
    }
    // In address order, unless the operator chose a column.
    StringGrid1->Resort();
}

void TFrameObjectList::StringGrid1SelectCell(int col, int row) {
    if (row == 0 && (col == ColStreet || col == ColHouse)) StringGrid1->SortByTitle(col);
    if (row < 1 || row >= StringGrid1->RowCount()) return;
    if (col != ColEdit && col != ColDelete) return;
    const int bid = StringGrid1->RowTag(row);
    if (col == ColDelete) {
        DeleteBuilding(bid);
        return;
    }
    const auto building = DbController->ObjectModel.GetObjectById(bid);
    if (building == nullptr) return;
    FrameObjectEdit->ShowBuilding(*building);
    Background->show();
    FrameObjectEdit->show();
    FrameObjectEdit->raise();
    FrameObjectEdit->EditStreet->setFocus();
}

void TFrameObjectList::DeleteBuilding(int bid) {
    const auto building = DbController->ObjectModel.GetObjectById(bid);
    if (building == nullptr) return;
    const std::string question = Format("%s %s, %s ?", "Видалити об'єкт із адресою",
                                        FromRecordText(building->street.view()).toUtf8().data(),
                                        FromRecordText(building->no.view()).toUtf8().data());
    if (ShowMessageBox(question, "Видалення", MB_ICONWARNING | MB_YESNO) != IDYES) return;
    if (!DbController->ObjectModel.DeleteObject(bid)) {
        ShowMessageBox("Помилка під час видалення об'єкта.", "", MB_ICONERROR);
        return;
    }
    ShowMessageBox("Об'єкт успішно вилучено.", "", MB_ICONINFORMATION);
    ReloadList();
}

void TFrameObjectList::PanelButonAddClick() {
    FrameObjectAdd->show();
    FrameObjectAdd->raise();
    FrameObjectAdd->EditStreet->setFocus();
}

void TFrameObjectList::ProgramObjectEdit1ButtonSendClick() {
    // Whatever the answer and the outcome, a save past the checks ends with the list afresh.
    if (!FrameObjectEdit->ButtonSendClick()) ReloadList();
}

void TFrameObjectList::ProgramObjectEdit1ButtonCancelClick() {
    FrameObjectEdit->ButtonCancelClick();
    ReloadList();
}

void TFrameObjectList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FrameCanResize();
}

void TFrameObjectList::FrameCanResize() {
    int gridWidth = 0;
    for (int col = 0; col < StringGrid1->ColCount(); ++col)
        gridWidth += StringGrid1->ColWidth(col) + 3;
    const int left = (width() - gridWidth) / 2;
    StringGrid1->setGeometry(left, kGridTop, gridWidth, height() - kGridTop - kGridBottomGap);
    PanelButonAdd->move(left + gridWidth - PanelButonAdd->width(), kButtonTop);
}

void TFrameObjectList::StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    if (row > 0 && col == ColEdit) {
        DrawIconCell(painter, rect, kEditIcon, 30, row);
    } else if (row > 0 && col == ColDelete) {
        DrawIconCell(painter, rect, kDeleteIcon, 15, row);
    } else {
        DrawStripedCell(painter, rect, StringGrid1->Cell(col, row), row);
    }
}

void TFrameObjectList::StringGrid1MouseMove(QPoint position) {
    // The hand marks the icons, the only cells a click acts on.
    const int col = StringGrid1->ColAt(position.x());
    const int row = StringGrid1->RowAt(position.y());
    const bool icon = row > 0 && (col == ColEdit || col == ColDelete);
    StringGrid1->viewport()->setCursor(icon ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
