#pragma once

#include <QDate>
#include <QWidget>
#include <vector>

#include "directory/FormParts.h"

class CDevice;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class TPanelButton;

// What the meter add and edit forms share: the serial with its red frame, the install and
// initial verification dates, the next verification date, the pipe position and the two
// buttons, laid out about the form's centre. Enter saves, Escape cancels.
class TMeterForm : public QWidget {
public:
    // `typeRow`: the add form's meter type choice heads the rows.
    TMeterForm(QWidget* parent, bool typeRow);

    // "dd.mm.yyyy" of `verified` plus `months`, the day kept within a shorter month.
    static QString NextVerificationText(QDate verified, int months);

    QComboBox* ComboBoxDeviceType = nullptr;  // add form only
    QLineEdit* EditMaskSerialNumber;
    QWidget* ErrorSerialNumber;
    QDateEdit* DateTimePickerDataInstall;
    QWidget* ErrorDataInstall;  // a stored date the form cannot read
    QDateEdit* DateTimePickerInitialVerification;
    QWidget* ErrorInitialVerification;
    QLabel* LabelNextCalibrationDateValue;
    QLabel* LabelPosition;
    QComboBox* ComboBoxPosition;
    TPanelButton* ButtonSend;
    TPanelButton* ButtonCancel;

    static constexpr int kCalibrationYears = 4;

protected:
    // The fields into `device`: serial, both dates as "yyyy-mm-dd", 48 months and, for a heat
    // meter, the position. False, with the serial marked, when the serial is not 1..99999999.
    bool GatherValid(CDevice& device);
    void SetSerial(int serial);
    // Follows the failure message when the serial is another meter's of the kind.
    static constexpr const char* kSerialTaken =
        "\nПристрій із таким серійним номером уже збережено.";
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameCanResize();

    std::vector<CFormRow> rows_;
    CFormRow* serialRow_ = nullptr;
};
