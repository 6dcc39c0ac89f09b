#include "directory/BuildingForm.h"

#include <QLabel>
#include <QLineEdit>

#include "app/toolkit/PanelButton.h"
#include "database/models/DataObject.h"
#include "directory/RecordText.h"

namespace {
// A record field's terminator takes one byte, so the street keeps 99 characters and the house
// 9; the index field has room to spare for its 15.
constexpr int kStreetLimit = decltype(CDataObject::street)::Capacity;
constexpr int kHouseLimit = decltype(CDataObject::no)::Capacity;
constexpr int kIndexLimit = 15;
constexpr std::size_t kStreetMinimum = 3;
constexpr std::size_t kHouseMinimum = 1;
constexpr std::size_t kIndexMinimum = 3;

QLineEdit* NewEdit(int limit) {
    auto* edit = new QLineEdit;
    edit->setMaxLength(limit);
    return edit;
}
}  // namespace

TBuildingForm::TBuildingForm(QWidget* parent, const QString& sendCaption,
                             const std::array<int, 5>& tops)
    : QWidget(parent), tops_(tops) {
    setAutoFillBackground(true);
    rows_[0] = NewFormRow("Вулиця:", EditStreet = NewEdit(kStreetLimit), this);
    rows_[1] = NewFormRow("Будинок:", EditHouse = NewEdit(kHouseLimit), this);
    rows_[2] = NewFormRow("Індекс:", EditIndex = NewEdit(kIndexLimit), this);
    LabelStreet = rows_[0].label, ErrorStreet = rows_[0].mark;
    LabelHouse = rows_[1].label, ErrorHouse = rows_[1].mark;
    LabelIndex = rows_[2].label, ErrorIndex = rows_[2].mark;
    ButtonSend = NewFormButton(sendCaption, this);
    ButtonCancel = NewFormButton("Відмінити", this);
    for (const CFormRow& row : rows_) WatchStorable(row);

    InstallFormKeys(this, ButtonSend, ButtonCancel);
}

void TBuildingForm::ResetForm() {
    for (const CFormRow& row : rows_) {
        SetMarked(row, false);
        static_cast<QLineEdit*>(row.field)->clear();
    }
}

bool TBuildingForm::GatherValid(CDataObject& object) {
    object.street = ToRecordText(EditStreet->text());
    object.no = ToRecordText(EditHouse->text());
    object.index_ = ToRecordText(EditIndex->text());
    SetMarked(rows_[0], !HoldsStorableText(rows_[0]) || object.street.size() < kStreetMinimum);
    SetMarked(rows_[1], !HoldsStorableText(rows_[1]) || object.no.size() < kHouseMinimum);
    SetMarked(rows_[2], !HoldsStorableText(rows_[2]) || object.index_.size() < kIndexMinimum);
    return !IsMarked(rows_[0]) && !IsMarked(rows_[1]) && !IsMarked(rows_[2]);
}

void TBuildingForm::ShowFields(const CDataObject& object) {
    EditStreet->setText(FromRecordText(object.street.view()));
    EditHouse->setText(FromRecordText(object.no.view()));
    EditIndex->setText(FromRecordText(object.index_.view()));
}

void TBuildingForm::resizeEvent(QResizeEvent*) {
    FrameCanResize();
}

void TBuildingForm::FrameCanResize() {
    const int centre = width() / 2;
    for (std::size_t i = 0; i < rows_.size(); ++i) PlaceFormRow(rows_[i], centre, tops_[i]);
    ButtonSend->move(centre - ButtonSend->width() / 2, tops_[3]);
    ButtonCancel->move(centre - ButtonSend->width() / 2, tops_[4]);
}
