#pragma once

#include <QString>
#include <initializer_list>
#include <span>

class QLabel;
class QLineEdit;
class QWidget;
class TPanelButton;
class TStringGrid;

// The pieces the directory's forms and lists are made of.

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

// A text row whose record cannot hold every character (é, ł: no Windows-1251 form, nor a close
// one): marked while the text holds one, with a tooltip on the field naming them, rather than
// stored as "?".
void WatchStorable(const CFormRow& row);
// Whether the row's text can be stored as it is; the field's tooltip names what cannot.
bool HoldsStorableText(const CFormRow& row);

// The field selects all of its text whenever it gets the focus, so that what is typed replaces
// it: a masked serial's "00000000" otherwise keeps the cursor at its end.
void SelectAllOnFocus(QLineEdit* edit);

// Enter clicks `send` and Escape `cancel` while the focus is inside `form`, unless a control
// takes the key first: an open drop-down list closes, or takes its item, and the form stays.
void InstallFormKeys(QWidget* form, TPanelButton* send, TPanelButton* cancel);
// The rows from the form's top, one under the other, then `gap` lower the two buttons, one
// under the other, all about `centre`.
void PlaceFormColumn(std::span<const CFormRow> rows, TPanelButton* send, TPanelButton* cancel,
                     int centre, int gap);

// A list's grid with only its title row: a column per title, of the given widths, and data
// rows of `rowHeight`.
TStringGrid* NewTitledGrid(QWidget* parent, std::span<const char* const> titles,
                           std::span<const int> widths, int rowHeight);

// Each form covers the whole of `body` while it shows; all start hidden.
void LayFormsOver(QWidget* body, std::initializer_list<QWidget*> forms);
