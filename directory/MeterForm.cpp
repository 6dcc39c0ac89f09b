#include "directory/MeterForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

#include "Utils/Format.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/models/Device.h"
#include "directory/import/ImportLines.h"

namespace {
constexpr int kButtonGap = 12;
constexpr int kSerialMin = 1;
constexpr int kSerialMax = 99999999;

QDateEdit* NewDatePicker() {
    auto* picker = new QDateEdit(QDate::currentDate());
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("dd.MM.yyyy");
    return picker;
}

QByteArray StoredDate(const QDateEdit* picker) {
    return picker->date().toString("yyyy-MM-dd").toLatin1();
}
}  // namespace

TMeterForm::TMeterForm(QWidget* parent, bool typeRow) : QWidget(parent) {
    setAutoFillBackground(true);
    if (typeRow) {
        ComboBoxDeviceType = new TComboBox;
        ComboBoxDeviceType->addItems({"Тепло", "Холодная вода", "Горячая вода"});
        rows_.push_back(NewFormRow("Тип пристрою:", ComboBoxDeviceType, this));
    }
    EditMaskSerialNumber = new QLineEdit;
    // Eight optional digits; the blanks show as "_".
    EditMaskSerialNumber->setInputMask("00000000;_");
    SelectAllOnFocus(EditMaskSerialNumber);
    rows_.push_back(NewFormRow("Серійний номер:", EditMaskSerialNumber, this));
    const std::size_t serial = rows_.size() - 1;
    ErrorSerialNumber = rows_.back().mark;
    rows_.push_back(
        NewFormRow("Дата встановлення:", DateTimePickerDataInstall = NewDatePicker(), this));
    ErrorDataInstall = rows_.back().mark;
    rows_.push_back(NewFormRow(
        "Дата первинної перевірки:", DateTimePickerInitialVerification = NewDatePicker(), this));
    ErrorInitialVerification = rows_.back().mark;
    LabelNextCalibrationDateValue = new QLabel;
    rows_.push_back(NewFormRow("Дата наступної перевірки:", LabelNextCalibrationDateValue, this));
    ComboBoxPosition = new TComboBox;
    ComboBoxPosition->addItems({"Подаючий", "Зворотній"});
    rows_.push_back(NewFormRow("Позиція на трубопроводі:", ComboBoxPosition, this));
    LabelPosition = rows_.back().label;
    serialRow_ = &rows_[serial];
    ButtonSend = NewFormButton("Зберегти", this);
    ButtonCancel = NewFormButton("Скасувати", this);

    InstallFormKeys(this, ButtonSend, ButtonCancel);
}

QString TMeterForm::NextVerificationText(QDate verified, int months) {
    // QDate::addMonths keeps the day within the target month: 31 January + 1 month is 28/29 Feb.
    return verified.addMonths(months).toString("dd.MM.yyyy");
}

bool TMeterForm::GatherValid(CDevice& device) {
    const long long serial = LeadingInteger(EditMaskSerialNumber->text().toStdString());
    device.date_install = StoredDate(DateTimePickerDataInstall).constData();
    device.date_initial_verification = StoredDate(DateTimePickerInitialVerification).constData();
    device.calibration_interval = kCalibrationYears * 12;
    if (auto* heat = dynamic_cast<CDeviceHeat*>(&device))
        heat->position = ComboBoxPosition->currentIndex() == 1 ? 1 : 0;
    const bool valid = serial >= kSerialMin && serial <= kSerialMax;
    SetMarked(*serialRow_, !valid);
    if (valid) device.serial = static_cast<int>(serial);
    return valid;
}

void TMeterForm::SetSerial(int serial) {
    EditMaskSerialNumber->setText(QString::fromStdString(Format("%08i", serial)));
}

void TMeterForm::resizeEvent(QResizeEvent*) {
    FrameCanResize();
}

void TMeterForm::FrameCanResize() {
    PlaceFormColumn(rows_, ButtonSend, ButtonCancel, width() / 2, kButtonGap);
}
