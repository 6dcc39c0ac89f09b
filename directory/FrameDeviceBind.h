#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "directory/FormParts.h"

class CDevice;
class QComboBox;
class QLabel;
class TPanelButton;

// The form that binds a meter to an apartment, moves it to another or unbinds it. Item 0 of
// both lists is "Відв'язати".
class TFrameDeviceBind : public QWidget {
public:
    explicit TFrameDeviceBind(QWidget* parent);
    ~TFrameDeviceBind() override;

    // False when the meter cannot be fetched; the form is then left as it was.
    bool ShowBinding(int devid, int kind);
    void ComboBoxBuildChange();
    void ButtonSendClick();
    void ButtonCancelClick();

    // After the binding was stored or failed: the meter list shows the state it left.
    std::function<void()> OnStored;

    QLabel* LabelSerialNumber2;
    QComboBox* ComboBoxBuild;
    QComboBox* ComboBoxPremises;
    QWidget* ErrorPremises;
    TPanelButton* ButtonSend;
    TPanelButton* ButtonCancel;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillApartments(int bid);
    void FrameCanResize();

    std::unique_ptr<CDevice> device_;
    int kind_ = 0;
    std::vector<int> buildingIds_;   // the bid of item i
    std::vector<int> apartmentIds_;  // the aid of item i
    std::vector<CFormRow> rows_;
};
