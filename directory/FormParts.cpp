#include "directory/FormParts.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "app/toolkit/Keys.h"
#include "app/toolkit/Panel.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "directory/RecordText.h"

namespace {
constexpr QSize kButtonSize{140, 24};
constexpr QSize kFieldSize{200, 21};
constexpr int kGap = 5;
constexpr int kFirstRowTop = 8;
constexpr int kRowPitch = 28;
constexpr int kButtonPitch = 30;

class CSelectAllOnFocus : public QObject {
public:
    explicit CSelectAllOnFocus(QLineEdit* edit) : QObject(edit), edit_(edit) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // After the field's own handling: a click or a Tab places the cursor first.
        if (watched == edit_ && event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, edit_, &QLineEdit::selectAll);
        return false;
    }

private:
    QLineEdit* edit_;
};
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

bool HoldsStorableText(const CFormRow& row) {
    auto* edit = static_cast<QLineEdit*>(row.field);
    const QStringList unstorable = Unstorable(edit->text());
    edit->setToolTip(unstorable.isEmpty()
                         ? QString()
                         : "Цих символів не можна зберегти: " + unstorable.join(' '));
    return unstorable.isEmpty();
}

void WatchStorable(const CFormRow& row) {
    QObject::connect(static_cast<QLineEdit*>(row.field), &QLineEdit::textChanged, row.field,
                     [row] { SetMarked(row, !HoldsStorableText(row)); });
}

void SelectAllOnFocus(QLineEdit* edit) {
    edit->installEventFilter(new CSelectAllOnFocus(edit));
}

void InstallFormKeys(QWidget* form, TPanelButton* send, TPanelButton* cancel) {
    OnKey(form, Qt::Key_Return, [send] { send->Click(); });
    OnKey(form, Qt::Key_Escape, [cancel] { cancel->Click(); });
}

void PlaceFormColumn(std::span<const CFormRow> rows, TPanelButton* send, TPanelButton* cancel,
                     int centre, int gap) {
    int top = kFirstRowTop;
    for (const CFormRow& row : rows) {
        PlaceFormRow(row, centre, top);
        top += kRowPitch;
    }
    top += gap;
    send->move(centre - send->width() / 2, top);
    cancel->move(centre - cancel->width() / 2, top + kButtonPitch);
}

TStringGrid* NewTitledGrid(QWidget* parent, std::span<const char* const> titles,
                           std::span<const int> widths, int rowHeight) {
    auto* grid = new TStringGrid(parent);
    grid->SetColCount(static_cast<int>(titles.size()));
    grid->SetRowCount(1);
    grid->SetDefaultRowHeight(rowHeight);
    for (int col = 0; col < grid->ColCount(); ++col) {
        grid->SetColWidth(col, widths[col]);
        grid->SetCell(col, 0, titles[col]);
    }
    return grid;
}

void LayFormsOver(QWidget* body, std::initializer_list<QWidget*> forms) {
    auto* layout = new QGridLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* form : forms) {
        layout->addWidget(form, 0, 0);
        form->hide();
    }
}
