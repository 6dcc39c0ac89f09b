#include "directory/FormParts.h"

#include <QLabel>

#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"

namespace {
constexpr QSize kButtonSize{140, 24};
constexpr QSize kFieldSize{200, 21};
constexpr int kGap = 5;
}  // namespace

TPanelButton* NewFormButton(const QString& caption, QWidget* parent) {
    auto* button = new TPanelButton(caption, parent);
    button->resize(kButtonSize);
    button->SetColor(Qt::black);
    button->SetHoverColor(QColor(0x64, 0x64, 0x64));
    button->SetFontColor(Qt::white);
    return button;
}

CFormRow NewFormRow(const QString& caption, QWidget* field, QWidget* parent) {
    CFormRow row{new QLabel(caption, parent), field, NewPanel(parent, Qt::red)};
    field->setParent(parent);
    field->resize(kFieldSize);
    row.label->adjustSize();
    row.mark->resize(kFieldSize + QSize(2, 2));
    row.mark->stackUnder(field);
    row.mark->hide();
    return row;
}

void PlaceFormRow(const CFormRow& row, int centre, int top) {
    row.field->move(centre + kGap, top);
    row.mark->move(centre + kGap - 1, top - 1);
    const int labelTop = top + (row.field->height() - row.label->height()) / 2;
    row.label->move(centre - kGap - row.label->width(), labelTop);
}

void SetMarked(const CFormRow& row, bool marked) {
    row.mark->setVisible(marked);
}

bool IsMarked(const CFormRow& row) {
    return !row.mark->isHidden();
}
