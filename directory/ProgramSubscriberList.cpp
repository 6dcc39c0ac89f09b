#include "directory/ProgramSubscriberList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>

#include "app/ProgramObjects.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "directory/ApartmentRemoval.h"
#include "directory/ApartmentTexts.h"
#include "directory/BuildingChoices.h"
#include "directory/FormParts.h"
#include "directory/ImportDialogs.h"
#include "directory/LinkLabel.h"
#include "directory/ProgramSubscriberAdd.h"
#include "directory/ProgramSubscriberEdit.h"
#include "directory/RecordText.h"
#include "directory/import/Importer.h"

namespace {
enum Column {
    ColTick,
    ColAddress,
    ColNo,
    ColName,
    ColTotalArea,
    ColHeatedArea,
    ColEdit,
    ColDelete,
    ColCount
};
// The number's title and a full name need more room than 60 and 100 pixels in the program's
// font: narrower, "приміщення" and a patronymic are cut.
const std::vector<int> kWidths = {30, 150, 70, 150, 60, 80, 85, 60};
constexpr const char* kTitles[ColCount] = {"",           "Адреса",         "Номер приміщення",
                                           "ПІБ",        "Загальна площа", "Опалювана площа",
                                           "Редагувати", "Видалити"};
constexpr int kRowHeight = 28;
constexpr int kHeaderHeight = 40;
constexpr int kGridBottomGap = 20;
constexpr int kGridSideGap = 5;
constexpr int kButtonTop = 5;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 10;
constexpr int kFilterWidth = 100;
constexpr int kMinimumChoiceWidth = 150;
constexpr const char* kEditIcon = "./images/edit-icon.png";
constexpr const char* kDeleteIcon = "./images/delete-icon.png";

TPanelButton* NewHeaderButton(const QString& caption, int width, QWidget* parent) {
    TPanelButton* button = NewFormButton(caption, parent);
    button->resize(width, kButtonHeight);
    return button;
}
}  // namespace

TProgramSubscriberList::TProgramSubscriberList(QWidget* parent) : QWidget(parent) {
    setObjectName("ProgramSubscriberList");
    Background = NewPanel(this);
    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Background, 0, 0);
    BuildHeader();
    PanelBody = NewPanel(Background);
    StringGrid1 = NewTitledGrid(PanelBody, kTitles, kWidths, kRowHeight);
    // The address and the name take what the window gives beyond the other columns.
    StringGrid1->FitColumns(kWidths,
                            {ColTick, ColNo, ColTotalArea, ColHeatedArea, ColEdit, ColDelete});
    StringGrid1->OnEnterRow = [this](int row) { StringGrid1SelectCell(ColEdit, row); };
    StringGrid1->OnDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect, bool) {
        StringGrid1DrawCell(painter, col, row, rect);
    };
    StringGrid1->OnSelectCell = [this](int col, int row) { StringGrid1SelectCell(col, row); };
    StringGrid1->OnMouseMove = [this](QPoint position) { StringGrid1MouseMove(position); };

    ProgramSubscriberEdit = new TProgramSubscriberEdit(Background);
    ProgramSubscriberAdd = new TProgramSubscriberAdd(Background);
    LayFormsOver(Background, {ProgramSubscriberEdit, ProgramSubscriberAdd});
    ProgramSubscriberEdit->ButtonSend->OnClick = [this] {
        ProgramSubscriberEdit1ButtonSendClick();
    };
    ProgramSubscriberEdit->OnSaved = [this] { RefreshList(false); };
    ProgramSubscriberEdit->OnCancelled = [this] { ShowList(); };
    ProgramSubscriberAdd->OnAdded = [this] { RefreshList(false); };
    ProgramSubscriberAdd->OnCancelled = [this] { RefreshList(true); };
}

void TProgramSubscriberList::BuildHeader() {
    PanelHeader = NewPanel(Background);
    LabelAddress = new QLabel("Адреса:", PanelHeader);
    LabelAddress->adjustSize();
    ComboBoxObjectList = new TComboBox(PanelHeader);
    ComboBoxObjectList->resize(kMinimumChoiceWidth, kButtonHeight);
    EditFilter = new QLineEdit(PanelHeader);
    EditFilter->setPlaceholderText("Пошук");
    EditFilter->setToolTip("Номер, особовий рахунок або прізвище");
    EditFilter->resize(kFilterWidth, kButtonHeight);
    PanelButtonAdd = NewHeaderButton("Додати", 70, PanelHeader);
    PanelButtonImport = NewHeaderButton("Імпорт із файлу", 105, PanelHeader);
    PanelButtonRemoveSelected = NewHeaderButton("Видалити вибране", 115, PanelHeader);
    PanelButtonRemoveSelected->hide();
    LabelButtonTemplate = new TLinkLabel("Файл приклад", PanelHeader);

    QObject::connect(ComboBoxObjectList, &QComboBox::activated, this,
                     [this] { ComboBoxObjectListChange(); });
    QObject::connect(EditFilter, &QLineEdit::textChanged, this, [this] { FillList(false); });
    PanelButtonAdd->OnClick = [this] { PanelButtonAddClick(); };
    PanelButtonRemoveSelected->OnClick = [this] { PanelButtonRemoveSelectedClick(); };
    PanelButtonImport->OnClick = [this] { PanelButtonImportClick(); };
    LabelButtonTemplate->OnClick = [this] { LabelButtonTemplateClick(); };
}

void TProgramSubscriberList::RefreshList(bool reload) {
    if (reload) {
        // The search goes with the building's choice: the list comes back whole.
        const QSignalBlocker quiet(EditFilter);
        EditFilter->clear();
    }
    StringGrid1->ClearSelection();
    StringGrid1->show();
    StringGrid1->SetRowCount(1);
    ShowList();
    Background->show();
    ProgramSubscriberEdit->ResetForm();
    PanelButtonRemoveSelected->hide();
    FillList(reload);
}

void TProgramSubscriberList::FillList(bool reload) {
    StringGrid1->SetRowCount(1);
    CReadFailure failure;
    if (reload) {
        ComboBoxObjectList->clear();
        buildingIds_.clear();
        AddBuildingChoices(*ComboBoxObjectList, buildingIds_, &failure);
        ComboBoxObjectList->setCurrentIndex(-1);
    }
    const int chosen = ComboBoxObjectList->currentIndex();
    FillGrid(chosen < 0 ? DbController->SubscriberModel.GetSubscribers(&failure)
                        : DbController->SubscriberModel.GetSubscribersByObject(
                              buildingIds_[static_cast<std::size_t>(chosen)], &failure));
    if (failure.Happened() && isVisible())
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
}

void TProgramSubscriberList::PanelButtonImportClick() {
    const int chosen = ComboBoxObjectList->currentIndex();
    if (chosen < 0) {
        ShowMessageBox("Об'єкт для додавання не вибраний", "Помилка", MB_ICONERROR);
        return;
    }
    const int bid = buildingIds_[static_cast<std::size_t>(chosen)];
    if (ImportChosenFile([bid](const std::string& path) {
            return CImporter(*DbController).ImportApartments(path, bid);
        }))
        FillList(false);
}

void TProgramSubscriberList::LabelButtonTemplateClick() {
    SaveExampleFile("Приклад додання приміщень", "./templates/import_subscribers.csv");
}

void TProgramSubscriberList::ComboBoxObjectListChange() {
    StringGrid1->SetRowCount(1);
    FillList(false);
}

void TProgramSubscriberList::FillGrid(std::unique_ptr<CArrayDataSubscriber> subscribers) {
    if (subscribers == nullptr) return;
    ticked_.clear();
    // Every fill starts with nothing ticked, so there is nothing to remove.
    PanelButtonRemoveSelected->hide();
    const QString filter = EditFilter->text();
    std::vector<const CDataSubscriber*> shown;
    for (const auto& subscriber : *subscribers) {
        if (MatchesFilter(*subscriber, filter)) shown.push_back(subscriber.get());
    }
    StringGrid1->setUpdatesEnabled(false);
    StringGrid1->SetRowCount(1 + static_cast<int>(shown.size()));
    int row = 1;
    for (const CDataSubscriber* subscriber : shown) {
        StringGrid1->SetCell(ColAddress, row, AddressOf(*subscriber));
        StringGrid1->SetCell(ColNo, row, FromRecordText(subscriber->no.view()));
        StringGrid1->SetCell(ColName, row, FullNameOf(*subscriber));
        StringGrid1->SetCell(ColTotalArea, row, AreaText(subscriber->total_floor_area));
        StringGrid1->SetCell(ColHeatedArea, row, AreaText(subscriber->heated_floor_area));
        StringGrid1->SetRowTag(row, subscriber->aid);
        ++row;
    }
    StringGrid1->Resort();
    StringGrid1->setUpdatesEnabled(true);
}

void TProgramSubscriberList::PanelButtonAddClick() {
    HideList();
    ProgramSubscriberAdd->ResetForm();
    ProgramSubscriberAdd->show();
    ProgramSubscriberAdd->raise();
    ProgramSubscriberAdd->ComboBoxHouse->setFocus();
}

void TProgramSubscriberList::StringGrid1SelectCell(int col, int row) {
    if (!StringGrid1->isVisible()) return;
    if (row == 0) {
        if (col != ColTick && col != ColEdit && col != ColDelete) StringGrid1->SortByTitle(col);
        return;
    }
    if (row >= StringGrid1->RowCount()) return;
    const int aid = StringGrid1->RowTag(row);
    if (col == ColTick) {
        if (!ticked_.erase(aid)) ticked_.insert(aid);
        StringGrid1->viewport()->update();
        PanelButtonRemoveSelected->setVisible(!ticked_.empty());
        return;
    }
    if (col != ColEdit && col != ColDelete) return;
    const auto subscriber = DbController->SubscriberModel.GetSubscriberById(aid);
    if (subscriber == nullptr) return;
    if (col == ColDelete) {
        if (RemoveApartment(*subscriber)) RefreshList(false);
        return;
    }
    ProgramSubscriberEdit->ShowApartment(*subscriber);
    HideList();
    ProgramSubscriberEdit->show();
    ProgramSubscriberEdit->raise();
    ProgramSubscriberEdit->ComboBoxHouse->setFocus();
}

void TProgramSubscriberList::PanelButtonRemoveSelectedClick() {
    // In the rows' order, as they show.
    std::vector<int> ticked;
    for (int row = 1; row < StringGrid1->RowCount(); ++row) {
        if (Ticked(row)) ticked.push_back(StringGrid1->RowTag(row));
    }
    if (RemoveApartments(ticked)) RefreshList(false);
}

void TProgramSubscriberList::ProgramSubscriberEdit1ButtonSendClick() {
    if (ProgramSubscriberEdit->ButtonSendClick()) return;
    FillList(false);
    StringGrid1->show();
}

bool TProgramSubscriberList::Ticked(int row) const {
    return row >= 1 && row < StringGrid1->RowCount() && ticked_.contains(StringGrid1->RowTag(row));
}

void TProgramSubscriberList::ShowList() {
    PanelHeader->show();
    PanelBody->show();
}

void TProgramSubscriberList::HideList() {
    PanelHeader->hide();
    PanelBody->hide();
}

void TProgramSubscriberList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FrameCanResize();
}

void TProgramSubscriberList::FrameCanResize() {
    // At least the columns' own widths, centred; wider, the grid takes the list's width.
    int gridWidth = 0;
    for (const int column : kWidths) gridWidth += column + 3;
    gridWidth = std::max(gridWidth, width() - 2 * kGridSideGap);
    const int left = std::max(0, (width() - gridWidth) / 2);
    const int right = left + gridWidth;
    PanelHeader->setGeometry(0, 0, width(), kHeaderHeight);
    PanelBody->setGeometry(0, kHeaderHeight, width(), height() - kHeaderHeight);
    StringGrid1->setGeometry(left, 0, gridWidth, PanelBody->height() - kGridBottomGap);

    LabelAddress->move(left, 9);
    int edge = right;
    for (TPanelButton* button : {PanelButtonImport, PanelButtonAdd, PanelButtonRemoveSelected}) {
        edge -= button->width();
        button->move(edge, kButtonTop);
        edge -= kButtonGap;
    }
    // The building's choice grows into what the buttons and the search leave.
    const int choiceLeft = left + LabelAddress->width() + 5;
    const int choiceWidth = edge - kFilterWidth - kButtonGap - choiceLeft;
    ComboBoxObjectList->setGeometry(choiceLeft, kButtonTop,
                                    std::max(kMinimumChoiceWidth, choiceWidth), kButtonHeight);
    EditFilter->move(ComboBoxObjectList->geometry().right() + 1 + kButtonGap, kButtonTop);
    LabelButtonTemplate->adjustSize();
    const int importCentre = PanelButtonImport->geometry().center().x();
    LabelButtonTemplate->move(importCentre - LabelButtonTemplate->width() / 2,
                              kButtonTop + kButtonHeight + 1);
}

void TProgramSubscriberList::StringGrid1DrawCell(QPainter& painter, int col, int row,
                                                 const QRect& rect) {
    if (row == 0) {
        DrawStripedCell(painter, rect, StringGrid1->Cell(col, row), row);
    } else if (col == ColTick) {
        painter.fillRect(rect, RowColor(row));
        QStyleOptionButton box;
        const int size = StringGrid1->style()->pixelMetric(QStyle::PM_IndicatorWidth);
        box.rect = QRect(rect.center() - QPoint(size / 2, size / 2), QSize(size, size));
        box.state = QStyle::State_Enabled | (Ticked(row) ? QStyle::State_On : QStyle::State_Off);
        StringGrid1->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter,
                                            StringGrid1);
    } else if (col == ColEdit) {
        DrawIconCell(painter, rect, kEditIcon, 28, row);
    } else if (col == ColDelete) {
        DrawIconCell(painter, rect, kDeleteIcon, 15, row);
    } else {
        DrawStripedCell(painter, rect, StringGrid1->Cell(col, row), row);
    }
}

void TProgramSubscriberList::StringGrid1MouseMove(QPoint position) {
    // The hand marks the tick boxes and icons, the only cells a click acts on.
    const int col = StringGrid1->ColAt(position.x());
    const int row = StringGrid1->RowAt(position.y());
    const bool clickable = row > 0 && (col == ColTick || col == ColEdit || col == ColDelete);
    StringGrid1->viewport()->setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
