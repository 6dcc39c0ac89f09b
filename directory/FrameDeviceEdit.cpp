#include "directory/FrameDeviceEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>

#include "Utils/CalendarDate.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/SQLite3Controller.h"
#include "database/models/Device.h"
#include "directory/RecordText.h"
#include "directory/import/ImportLines.h"
#include "directory/import/MeterKinds.h"

namespace {
// A stored date the pickers can show: fewer than four characters stand for today; otherwise
// "yyyy-mm-dd", or "dd.mm.yyyy" as files imported before dates were checked may hold.
std::optional<QDate> PickableDate(std::string_view text) {
    if (text.size() < 4) return QDate::currentDate();
    const std::optional<CCalendarDate> date = ReadCalendarDate(text);
    if (!date) return std::nullopt;
    return QDate(date->year, date->month, date->day);
}
}  // namespace

TFrameDeviceEdit::TFrameDeviceEdit(QWidget* parent) : TMeterForm(parent, false) {
    setObjectName("FrameDeviceEdit");
    LabelDeviceID = new QLabel(this);
    LabelAid = new QLabel(this);
    LabelDeviceID->hide();
    LabelAid->hide();
    QObject::connect(DateTimePickerDataInstall, &QDateEdit::dateChanged, this,
                     [this] { DateChosen(0); });
    QObject::connect(DateTimePickerInitialVerification, &QDateEdit::dateChanged, this, [this] {
        DateChosen(1);
        DateTimePickerInitialVerificationChange();
    });
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
}

void TFrameDeviceEdit::ResetForm() {
    ErrorSerialNumber->hide();
    DateTimePickerDataInstall->setDate(QDate::currentDate());
    for (std::size_t which = 0; which < unreadable_.size(); ++which) DateChosen(which);
    LabelDeviceID->clear();
    LabelAid->clear();
}

void TFrameDeviceEdit::ShowStoredDate(std::size_t which, std::string_view text) {
    QDateEdit* picker = Pickers()[which];
    const std::optional<QDate> date = PickableDate(text);
    {
        // Shown, not picked: the stored interval, not the form's four years, gives the next
        // date, and an unreadable date stays marked.
        const QSignalBlocker quiet(picker);
        picker->setDate(date.value_or(QDate::currentDate()));
    }
    if (date) return;
    // Never replaced by the picker's stand-in on a save: only a date picked replaces it.
    unreadable_[which] = std::string(text);
    Marks()[which]->show();
    picker->setToolTip("Збережена дата \"" + FromRecordText(text) +
                       "\" не читається; її буде збережено як є, доки не вибрано іншу");
}

void TFrameDeviceEdit::DateChosen(std::size_t which) {
    unreadable_[which].reset();
    Marks()[which]->hide();
    Pickers()[which]->setToolTip({});
}

std::array<QDateEdit*, 2> TFrameDeviceEdit::Pickers() const {
    return {DateTimePickerDataInstall, DateTimePickerInitialVerification};
}

std::array<QWidget*, 2> TFrameDeviceEdit::Marks() const {
    return {ErrorDataInstall, ErrorInitialVerification};
}

void TFrameDeviceEdit::ShowMeter(const CDevice& device, int kind) {
    kind_ = kind;
    ResetForm();
    LabelDeviceID->setNum(device.devid);
    LabelAid->setNum(device.aid);
    SetSerial(device.serial);
    ShowStoredDate(0, device.date_install.view());
    ShowStoredDate(1, device.date_initial_verification.view());
    LabelNextCalibrationDateValue->setText(
        unreadable_[1] ? QString()
                       : NextVerificationText(DateTimePickerInitialVerification->date(),
                                              device.calibration_interval));
    if (const auto* heat = dynamic_cast<const CDeviceHeat*>(&device))
        ComboBoxPosition->setCurrentIndex(heat->position == 1 ? 1 : 0);
}

void TFrameDeviceEdit::DateTimePickerInitialVerificationChange() {
    LabelNextCalibrationDateValue->setText(
        NextVerificationText(DateTimePickerInitialVerification->date(), kCalibrationYears * 12));
}

bool TFrameDeviceEdit::ButtonSendClick() {
    const std::unique_ptr<CDevice> device = NewDeviceOf(kind_);
    device->aid = static_cast<int>(LeadingInteger(LabelAid->text().toStdString()));
    device->devid = static_cast<int>(LeadingInteger(LabelDeviceID->text().toStdString()));
    if (!GatherValid(*device)) return true;
    if (unreadable_[0]) device->date_install = *unreadable_[0];
    if (unreadable_[1]) device->date_initial_verification = *unreadable_[1];
    CDeviceBaseModel& model = DeviceModelOf(*DbController, kind_);
    if (model.UpdateDevice(*device)) {
        ShowMessageBox("Пристрій успішно оновлено", "", MB_ICONINFORMATION);
        ResetForm();
        hide();
    } else {
        const auto holder = model.GetDeviceBySerial(static_cast<unsigned>(device->serial));
        const bool taken = holder != nullptr && holder->devid != device->devid;
        ShowMessageBox(
            std::string("Помилка під час оновлення пристрою") + (taken ? kSerialTaken : ""), "",
            MB_ICONERROR);
    }
    return false;
}

void TFrameDeviceEdit::ButtonCancelClick() {
    hide();
}
