#include "directory/FrameDeviceEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/SQLite3Controller.h"
#include "database/models/Device.h"
#include "directory/import/ImportLines.h"
#include "directory/import/MeterKinds.h"

namespace {
// A stored date: fewer than four characters stand for today; a text that is no "yyyy-mm-dd"
// date also shows today rather than an invalid date the picker would refuse.
QDate StoredDate(std::string_view text) {
    if (text.size() < 4) return QDate::currentDate();
    const QDate date =
        QDate::fromString(QString::fromLatin1(text.data(), text.size()), "yyyy-MM-dd");
    return date.isValid() ? date : QDate::currentDate();
}
}  // namespace

TFrameDeviceEdit::TFrameDeviceEdit(QWidget* parent) : TMeterForm(parent, false) {
    setObjectName("FrameDeviceEdit");
    LabelDeviceID = new QLabel(this);
    LabelAid = new QLabel(this);
    LabelDeviceID->hide();
    LabelAid->hide();
    QObject::connect(DateTimePickerInitialVerification, &QDateEdit::dateChanged, this,
                     [this] { DateTimePickerInitialVerificationChange(); });
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
}

void TFrameDeviceEdit::ResetForm() {
    ErrorSerialNumber->hide();
    DateTimePickerDataInstall->setDate(QDate::currentDate());
    LabelDeviceID->clear();
    LabelAid->clear();
}

void TFrameDeviceEdit::ShowMeter(const CDevice& device, int kind) {
    kind_ = kind;
    ResetForm();
    LabelDeviceID->setNum(device.devid);
    LabelAid->setNum(device.aid);
    SetSerial(device.serial);
    DateTimePickerDataInstall->setDate(StoredDate(device.date_install.view()));
    const QDate verified = StoredDate(device.date_initial_verification.view());
    {
        // The stored interval, not the form's four years, gives the date shown on opening.
        const QSignalBlocker quiet(DateTimePickerInitialVerification);
        DateTimePickerInitialVerification->setDate(verified);
    }
    LabelNextCalibrationDateValue->setText(
        NextVerificationText(verified, device.calibration_interval));
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
    if (DeviceModelOf(*DbController, kind_).UpdateDevice(*device)) {
        ShowMessageBox("Пристрій успішно оновлено", "", MB_ICONINFORMATION);
        ResetForm();
        hide();
    } else {
        ShowMessageBox("Помилка під час оновлення пристрою", "", MB_ICONERROR);
    }
    return false;
}

void TFrameDeviceEdit::ButtonCancelClick() {
    hide();
}
