#pragma once

#include <QWidget>
#include <memory>
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
// types, with a tick, edit and delete per row. The add and edit forms lie over it.
class TProgramSubscriberList : public QWidget {
public:
    explicit TProgramSubscriberList(QWidget* parent);

    // `reload` also rebuilds the building choice, which then has none chosen.
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

    bool Ticked(int row) const {
        const auto index = static_cast<std::size_t>(row - 1);
        return row >= 1 && index < ticks_.size() && ticks_[index];
    }

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
    std::vector<int> aids_;         // the aid of grid row i + 1
    std::vector<bool> ticks_;       // the tick of grid row i + 1
};
