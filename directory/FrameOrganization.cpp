#include "directory/FrameOrganization.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/toolkit/Keys.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "directory/FrameObjectAdd.h"
#include "directory/FrameObjectEdit.h"
#include "directory/FrameObjectList.h"
#include "directory/ProgramSubscriberAdd.h"
#include "directory/ProgramSubscriberEdit.h"
#include "directory/ProgramSubscriberList.h"

TFrameOrganization* FrameOrganization = nullptr;

namespace {
constexpr int kMenuWidth = 150;
constexpr QSize kButtonSize{140, 41};
constexpr int kBackGap = 5;

TPanelButton* NewMenuButton(const char* caption, QWidget* parent) {
    auto* button = new TPanelButton(caption, parent);
    button->setFixedSize(kButtonSize);
    return button;
}
}  // namespace

TFrameOrganization::TFrameOrganization(QWidget* parent) : QWidget(parent) {
    FrameOrganization = this;
    setObjectName("FrameOrganization");
    Background = NewPanel(this);
    auto* fill = new QGridLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Background, 0, 0);
    MainBlock = NewPanel(Background);
    RightMenu = BuildRightMenu();
    auto* columns = new QHBoxLayout(Background);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(MainBlock, 1);
    columns->addWidget(RightMenu);

    // Both lists fill the left-hand area; one at a time shows.
    auto* block = new QGridLayout(MainBlock);
    block->setContentsMargins(0, 0, 0, 0);
    ProgramSubscriberList = new TProgramSubscriberList(MainBlock);
    FrameObjectList = new TFrameObjectList(MainBlock);
    block->addWidget(ProgramSubscriberList, 0, 0);
    block->addWidget(FrameObjectList, 0, 0);
    // A building added is one to choose for apartments at once.
    FrameObjectList->OnBuildingAdded = [this] { ProgramSubscriberList->RefreshList(true); };

    PanelButonObject->OnClick = [this] { ButtonObjectClick(); };
    PanelButtonSubscriber->OnClick = [this] { ButtonSubscriberClick(); };
    OnKey(this, Qt::Key_Escape, [this] { PanelButtonBack->Click(); });
    ResetDirectory();
}

TFrameOrganization::~TFrameOrganization() {
    FrameOrganization = nullptr;
}

QWidget* TFrameOrganization::BuildRightMenu() {
    QWidget* menu = NewPanel(Background);
    menu->setFixedWidth(kMenuWidth);
    PanelButonObject = NewMenuButton("Об'єкт", menu);
    PanelButtonSubscriber = NewMenuButton("Абонент", menu);
    PanelButtonBack = NewMenuButton("Назад", menu);
    // "Назад" keeps to the bottom of the menu, 5 pixels above its edge.
    auto* layout = new QVBoxLayout(menu);
    layout->setContentsMargins(5, 5, 5, kBackGap);
    layout->addWidget(PanelButonObject);
    layout->addWidget(PanelButtonSubscriber);
    layout->addStretch(1);
    layout->addWidget(PanelButtonBack);
    return menu;
}

void TFrameOrganization::ButtonObjectClick() {
    ProgramSubscriberList->hide();
    ProgramSubscriberList->ProgramSubscriberAdd->hide();
    ProgramSubscriberList->ProgramSubscriberEdit->hide();
    FrameObjectList->FrameObjectAdd->hide();
    FrameObjectList->FrameObjectEdit->hide();
    FrameObjectList->show();
}

void TFrameOrganization::ButtonSubscriberClick() {
    FrameObjectList->hide();
    FrameObjectList->FrameObjectAdd->hide();
    FrameObjectList->FrameObjectEdit->hide();
    FrameObjectList->ReloadList();
    ProgramSubscriberList->ProgramSubscriberAdd->hide();
    ProgramSubscriberList->ProgramSubscriberEdit->hide();
    ProgramSubscriberList->show();
    ProgramSubscriberList->RefreshList(true);
}

void TFrameOrganization::ResetDirectory() {
    ProgramSubscriberList->ProgramSubscriberAdd->ResetForm();
    ProgramSubscriberList->ProgramSubscriberEdit->ResetForm();
    ProgramSubscriberList->RefreshList(true);
    FrameObjectList->FrameObjectAdd->ResetForm();
    FrameObjectList->FrameObjectEdit->ResetForm();
    FrameObjectList->ReloadList();
    ProgramSubscriberList->hide();
    ProgramSubscriberList->ProgramSubscriberAdd->hide();
    ProgramSubscriberList->ProgramSubscriberEdit->hide();
    FrameObjectList->hide();
    FrameObjectList->FrameObjectAdd->hide();
    FrameObjectList->FrameObjectEdit->hide();
}

int TFrameOrganization::TourStopCount() const {
    return 6;
}

QString TFrameOrganization::ShowTourStop(int stop) {
    ResetDirectory();
    if (stop < 3) {
        ButtonObjectClick();
        if (stop == 1) FrameObjectList->PanelButonAddClick();
        if (stop == 2) FrameObjectList->StringGrid1SelectCell(2, 1);
        const char* names[] = {"FrameObjectList", "FrameObjectAdd", "FrameObjectEdit"};
        return names[stop];
    }
    ButtonSubscriberClick();
    // A ticked row, so that "Видалити вибране" is pictured too.
    if (stop == 3) ProgramSubscriberList->StringGrid1SelectCell(0, 1);
    if (stop == 4) ProgramSubscriberList->PanelButtonAddClick();
    if (stop == 5) ProgramSubscriberList->StringGrid1SelectCell(6, 1);
    const char* names[] = {"ProgramSubscriberList", "ProgramSubscriberAdd",
                           "ProgramSubscriberEdit"};
    return names[stop - 3];
}
