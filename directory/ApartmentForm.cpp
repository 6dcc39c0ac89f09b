#include "directory/ApartmentForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <charconv>

#include "Utils/Decimal.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/models/DataSubscriber.h"
#include "directory/ApartmentTexts.h"
#include "directory/BuildingChoices.h"
#include "directory/KeyFilter.h"
#include "directory/RecordText.h"

namespace {
constexpr int kApartmentLimit = 5;
constexpr int kAddAccountLimit = 9;
// The edit form's account is held back only by the record field: 14 characters and the end.
constexpr int kEditAccountLimit = decltype(CDataSubscriber::licno)::Capacity;
constexpr int kNameLimit = 15;
constexpr int kResidentsLimit = 1;
constexpr const char* kLiving = "житлове";
constexpr const char* kNonLiving = "нежитлове";
constexpr const char* kYes = "Да";
constexpr const char* kNo = "Нет";
enum Row {
    RowHouse,
    RowApartment,
    RowAccount,
    RowSurname,
    RowName,
    RowFirstName,
    RowTotalArea,
    RowHeatedArea,
    RowResidents,
    RowTypeRoom,
    RowMzk,
    RowCount
};
// The rows whose text is stored as it is typed, each required.
constexpr int kTextRows[] = {RowApartment, RowAccount, RowSurname, RowName, RowFirstName};

QLineEdit* NewEdit(int limit = 32767) {
    auto* edit = new QLineEdit;
    edit->setMaxLength(limit);
    return edit;
}

QComboBox* NewChoice(const QStringList& items) {
    auto* choice = new TComboBox;
    choice->addItems(items);
    choice->setCurrentIndex(-1);
    return choice;
}

// A count as atoi reads it: the digits it starts with, 0 when it starts with none.
int ParseCount(const QString& text) {
    const std::string digits = text.toStdString();
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}
}  // namespace

TApartmentForm::TApartmentForm(QWidget* parent, Kind kind, const QString& sendCaption)
    : QWidget(parent) {
    setAutoFillBackground(true);
    const bool adding = kind == Kind::Add;
    ComboBoxHouse = new TComboBox;
    EditApartment = NewEdit(kApartmentLimit);
    EditPersonalAccount = NewEdit(adding ? kAddAccountLimit : kEditAccountLimit);
    EditSurname = NewEdit(kNameLimit);
    EditName = NewEdit(kNameLimit);
    EditFirstName = NewEdit(kNameLimit);
    EditTotalFloorArea = NewEdit();
    EditTotalFloorHeatArea = NewEdit();
    EditNumRegPeopl = NewEdit(kResidentsLimit);
    ComboBoxTypeRoom = NewChoice({kLiving, kNonLiving});
    ComboBoxMZK = NewChoice(adding ? QStringList{kYes, kNo} : QStringList{kNo, kYes});

    const std::pair<const char*, QWidget*> fields[RowCount] = {
        {"Будинок:", ComboBoxHouse},
        {"Номер квартири:", EditApartment},
        {"Особовий рахунок:", EditPersonalAccount},
        {"Прізвище:", EditSurname},
        {"Ім'я:", EditName},
        {"По-батькові:", EditFirstName},
        {"Загальна площа приміщення:", EditTotalFloorArea},
        {"Опалювана площа приміщення:", EditTotalFloorHeatArea},
        {"Кількість прописаних мешканців:", EditNumRegPeopl},
        {"Тип приміщення:", ComboBoxTypeRoom},
        {"Користувач МЗК:", ComboBoxMZK},
    };
    for (int row = 0; row < RowCount; ++row) {
        rows_[row] = NewFormRow(fields[row].first, fields[row].second, this);
    }
    ErrorStreet = rows_[RowHouse].mark;
    ErrorApartment = rows_[RowApartment].mark;
    ErrorPersonalAccount = rows_[RowAccount].mark;
    ErrorSurname = rows_[RowSurname].mark;
    ErrorName = rows_[RowName].mark;
    ErrorFirstName = rows_[RowFirstName].mark;
    ButtonSend = NewFormButton(sendCaption, this);
    ButtonCancel = NewFormButton("Відмінити", this);
    for (int row : kTextRows) WatchStorable(rows_[row]);

    if (adding) {
        for (QLineEdit* edit : {EditSurname, EditName, EditFirstName})
            InstallKeyFilter(edit, NameKey);
        InstallKeyFilter(EditTotalFloorArea, DecimalKey);
        InstallKeyFilter(EditTotalFloorHeatArea, DecimalKey);
        InstallKeyFilter(EditNumRegPeopl, DigitKey);
    } else {
        for (QLineEdit* edit : {EditTotalFloorArea, EditTotalFloorHeatArea, EditNumRegPeopl})
            InstallKeyFilter(edit, CommaToDotKey);
    }

    InstallFormKeys(this, ButtonSend, ButtonCancel);
}

void TApartmentForm::ClearFields() {
    for (const CFormRow& row : rows_) {
        SetMarked(row, false);
        if (auto* edit = qobject_cast<QLineEdit*>(row.field)) edit->clear();
    }
    ComboBoxHouse->clear();
    buildingIds_.clear();
    ComboBoxTypeRoom->setCurrentIndex(-1);
    ComboBoxMZK->setCurrentIndex(-1);
}

void TApartmentForm::FillBuildings() {
    ComboBoxHouse->clear();
    buildingIds_.clear();
    CReadFailure failure;
    if (!AddBuildingChoices(*ComboBoxHouse, buildingIds_, &failure))
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
    ComboBoxHouse->setCurrentIndex(-1);
}

void TApartmentForm::ChooseBuilding(int bid) {
    for (std::size_t item = 0; item < buildingIds_.size(); ++item) {
        if (buildingIds_[item] == bid) ComboBoxHouse->setCurrentIndex(static_cast<int>(item));
    }
}

bool TApartmentForm::GatherValid(CDataSubscriber& subscriber) {
    const int house = ComboBoxHouse->currentIndex();
    subscriber.bid = house >= 0 ? buildingIds_[static_cast<std::size_t>(house)] : 0;
    subscriber.no = ToRecordText(EditApartment->text());
    subscriber.licno = ToRecordText(EditPersonalAccount->text());
    subscriber.sname = ToRecordText(EditSurname->text());
    subscriber.name = ToRecordText(EditName->text());
    subscriber.fname = ToRecordText(EditFirstName->text());
    // A pasted area keeps the comma the key filters turn into a point.
    subscriber.total_floor_area = ParseDecimalOrComma(EditTotalFloorArea->text().toStdString());
    subscriber.heated_floor_area =
        ParseDecimalOrComma(EditTotalFloorHeatArea->text().toStdString());
    subscriber.num_reg_peopl = ParseCount(EditNumRegPeopl->text());
    subscriber.type_room = ComboBoxTypeRoom->currentText() == kLiving ? 0 : 1;
    subscriber.mzk = ComboBoxMZK->currentText() == kNo ? 0 : 1;

    SetMarked(rows_[RowHouse], house < 0);
    for (int row : kTextRows) {
        const bool empty = static_cast<QLineEdit*>(rows_[row].field)->text().isEmpty();
        SetMarked(rows_[row], !HoldsStorableText(rows_[row]) || empty);
    }
    for (int row = 0; row <= RowFirstName; ++row) {
        if (IsMarked(rows_[row])) return false;
    }
    return true;
}

void TApartmentForm::ShowFields(const CDataSubscriber& subscriber) {
    EditApartment->setText(FromRecordText(subscriber.no.view()));
    EditPersonalAccount->setText(FromRecordText(subscriber.licno.view()));
    EditSurname->setText(FromRecordText(subscriber.sname.view()));
    EditName->setText(FromRecordText(subscriber.name.view()));
    EditFirstName->setText(FromRecordText(subscriber.fname.view()));
    FillBuildings();
    ChooseBuilding(subscriber.bid);
    EditTotalFloorArea->setText(AreaText(subscriber.total_floor_area));
    EditTotalFloorHeatArea->setText(AreaText(subscriber.heated_floor_area));
    EditNumRegPeopl->setText(QString::number(subscriber.num_reg_peopl));
    ComboBoxTypeRoom->setCurrentIndex(subscriber.type_room <= 1 ? subscriber.type_room : -1);
    ComboBoxMZK->setCurrentIndex(ComboBoxMZK->findText(subscriber.mzk == 1 ? kYes : kNo));
}

void TApartmentForm::resizeEvent(QResizeEvent*) {
    FrameCanResize();
}

void TApartmentForm::FrameCanResize() {
    PlaceFormColumn(rows_, ButtonSend, ButtonCancel, width() / 2, 0);
}
