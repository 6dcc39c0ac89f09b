#pragma once

#include <QWidget>
#include <memory>
#include <set>
#include <vector>

#include "database/Collections.h"

class CDataSubscriber;
class QComboBox;
class QLabel;
class QLineEdit;
class QPainter;
class TLinkLabel;
class TPanelButton;
class TProgramSubscriberAdd;
class TProgramSubscriberEdit;
class TStringGrid;

// The apartments of every building or of the one chosen, narrowed by a filter as the operator
// types, with a tick, edit and delete per row; a click on a column's title sorts by it (again:
// reversed), Enter on a row edits it. The add and edit forms lie over it.
class TProgramSubscriberList : public QWidget {
public:
    explicit TProgramSubscriberList(QWidget* parent);

    // `reload` also rebuilds the building choice, which then has none chosen, and clears the
    // search.
    void RefreshList(bool reload);
    void FillList(bool reload);
    void ComboBoxObjectListChange();
    void PanelButtonAddClick();
    void PanelButtonRemoveSelectedClick();
    // Into the building chosen under "Адреса:"; without one, nothing is read.
    void PanelButtonImportClick();
    void LabelButtonTemplateClick();
    void StringGrid1SelectCell(int col, int row);
    void ProgramSubscriberEdit1ButtonSendClick();
    // The header and body together.
    void ShowList();
    void HideList();

    bool Ticked(int row) const;

    QWidget* Background;
    QWidget* PanelHeader;
    QLabel* LabelAddress;
    QComboBox* ComboBoxObjectList;
    QLineEdit* EditFilter;
    TPanelButton* PanelButtonAdd;
    TPanelButton* PanelButtonImport;
    TPanelButton* PanelButtonRemoveSelected;
    TLinkLabel* LabelButtonTemplate;
    QWidget* PanelBody;
    TStringGrid* StringGrid1;
    TProgramSubscriberEdit* ProgramSubscriberEdit;
    TProgramSubscriberAdd* ProgramSubscriberAdd;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildHeader();
    void FillGrid(std::unique_ptr<CArrayDataSubscriber> subscribers);
    void FrameCanResize();
    void StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void StringGrid1MouseMove(QPoint position);

    std::vector<int> buildingIds_;  // the bid of building item i
    std::set<int> ticked_;          // the aids of the ticked rows; a row's tag is its aid
};
