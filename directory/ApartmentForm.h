#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "directory/FormParts.h"

class CDataSubscriber;
class QComboBox;
class QLabel;
class QLineEdit;
class TPanelButton;

// What the apartment add and edit forms share: the building choice and ten inputs, the six
// checks with their red frames, the record gathered from them, and the layout about the form's
// centre. The add form filters typed keys more strictly than the edit form. Enter presses the
// first button, Escape the second.
class TApartmentForm : public QWidget {
public:
    enum class Kind { Add, Edit };
    TApartmentForm(QWidget* parent, Kind kind, const QString& sendCaption);

    QComboBox* ComboBoxHouse;
    QLineEdit* EditApartment;
    QLineEdit* EditPersonalAccount;
    QLineEdit* EditSurname;
    QLineEdit* EditName;
    QLineEdit* EditFirstName;
    QLineEdit* EditTotalFloorArea;
    QLineEdit* EditTotalFloorHeatArea;
    QLineEdit* EditNumRegPeopl;
    QComboBox* ComboBoxTypeRoom;
    QComboBox* ComboBoxMZK;
    QWidget* ErrorStreet;
    QWidget* ErrorApartment;
    QWidget* ErrorPersonalAccount;
    QWidget* ErrorSurname;
    QWidget* ErrorName;
    QWidget* ErrorFirstName;
    TPanelButton* ButtonSend;
    TPanelButton* ButtonCancel;

protected:
    // No marks, no texts, no choices, no buildings to choose from.
    void ClearFields();
    // The building choice afresh from every stored building, none chosen.
    void FillBuildings();
    void ChooseBuilding(int bid);
    // Everything but `aid` into `subscriber`, the six required fields checked and marked at
    // once. True when all passed.
    bool GatherValid(CDataSubscriber& subscriber);
    void ShowFields(const CDataSubscriber& subscriber);
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameCanResize();

    std::array<CFormRow, 11> rows_;
    std::vector<int> buildingIds_;  // the bid of building item i
};
