#pragma once

#include <QWidget>
#include <array>

#include "directory/FormParts.h"

class CDataObject;
class QLabel;
class QLineEdit;
class TPanelButton;

// What the building add and edit forms share: street, house and index with their red frames,
// the two buttons, and the layout about the form's centre. Enter presses the first button,
// Escape the second.
class TBuildingForm : public QWidget {
public:
    // `tops`: the three fields', then the two buttons' tops.
    TBuildingForm(QWidget* parent, const QString& sendCaption, const std::array<int, 5>& tops);

    // No marks, empty fields.
    void ResetForm();

    QLabel* LabelStreet;
    QLineEdit* EditStreet;
    QWidget* ErrorStreet;
    QLabel* LabelHouse;
    QLineEdit* EditHouse;
    QWidget* ErrorHouse;
    QLabel* LabelIndex;
    QLineEdit* EditIndex;
    QWidget* ErrorIndex;
    TPanelButton* ButtonSend;
    TPanelButton* ButtonCancel;

protected:
    // The texts into `object`, every faulty field marked at once. True when all passed.
    bool GatherValid(CDataObject& object);
    void ShowFields(const CDataObject& object);
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameCanResize();

    std::array<CFormRow, 3> rows_;
    std::array<int, 5> tops_;
};
