#pragma once

#include <QString>

class QLabel;
class QWidget;
class TPanelButton;

// The pieces the directory's forms are made of.

// A form's flat black button with white text; grey while the pointer is over it.
TPanelButton* NewFormButton(const QString& caption, QWidget* parent);

// One labelled field with its error mark: a red panel lying behind the field, one pixel larger
// on every side, so that while it is shown the field has a red frame.
struct CFormRow {
    QLabel* label;
    QWidget* field;
    QWidget* mark;
};
CFormRow NewFormRow(const QString& caption, QWidget* field, QWidget* parent);
// Label right-aligned to `centre` - 5, field from `centre` + 5, mark one pixel up and left.
void PlaceFormRow(const CFormRow& row, int centre, int top);
void SetMarked(const CFormRow& row, bool marked);
bool IsMarked(const CFormRow& row);
