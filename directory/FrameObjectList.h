#pragma once

#include <QWidget>
#include <functional>

class QPainter;
class TFrameObjectAdd;
class TFrameObjectEdit;
class TPanelButton;
class TStringGrid;

// The buildings list: street and house of every building in address order, with edit and
// delete icons, and "Додати"; a click on a column's title sorts by it (again: reversed), Enter
// on a row edits it. The add and edit forms lie over it.
class TFrameObjectList : public QWidget {
public:
    explicit TFrameObjectList(QWidget* parent);

    // The grid afresh, the edit form hidden and the list shown.
    void ReloadList();
    void FillGrid();
    void StringGrid1SelectCell(int col, int row);
    void PanelButonAddClick();
    void ProgramObjectEdit1ButtonSendClick();
    void ProgramObjectEdit1ButtonCancelClick();

    // A building was added: whoever lists buildings elsewhere lists it too.
    std::function<void()> OnBuildingAdded;

    QWidget* Background;
    TPanelButton* PanelButonAdd;
    TStringGrid* StringGrid1;
    TFrameObjectEdit* FrameObjectEdit;
    TFrameObjectAdd* FrameObjectAdd;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameCanResize();
    void DeleteBuilding(int bid);
    void StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void StringGrid1MouseMove(QPoint position);
};
