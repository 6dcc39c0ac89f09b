#include "directory/KeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
// Watches the key presses of one edit box and drops or replaces its typed characters.
class CKeyFilterObject : public QObject {
public:
    CKeyFilterObject(QLineEdit* edit, TKeyFilter filter)
        : QObject(edit), edit_(edit), filter_(std::move(filter)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || event->type() != QEvent::KeyPress) return false;
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Backspace, arrows and shortcuts carry no printable character.
        if (typed.size() != 1 || !typed[0].isPrint()) return false;
        const std::optional<QChar> kept = filter_(typed[0], edit_->text());
        if (kept == typed[0]) return false;
        if (kept.has_value()) edit_->insert(QString(*kept));
        return true;
    }

private:
    QLineEdit* edit_;
    TKeyFilter filter_;
};
}  // namespace

void InstallKeyFilter(QLineEdit* edit, TKeyFilter filter) {
    edit->installEventFilter(new CKeyFilterObject(edit, std::move(filter)));
}

std::optional<QChar> NameKey(QChar typed, const QString&) {
    if ((typed >= u'0' && typed <= u'9') || typed == u' ' || typed == u'.' || typed == u',')
        return std::nullopt;
    return typed;
}

std::optional<QChar> DecimalKey(QChar typed, const QString& text) {
    if (typed >= u'0' && typed <= u'9') return typed;
    // A comma-decimal keyboard's separator is the point the number is read with.
    if ((typed == u'.' || typed == u',') && !text.contains(u'.')) return QChar(u'.');
    return std::nullopt;
}

std::optional<QChar> DigitKey(QChar typed, const QString&) {
    if (typed >= u'0' && typed <= u'9') return typed;
    return std::nullopt;
}

std::optional<QChar> CommaToDotKey(QChar typed, const QString&) {
    return typed == u',' ? QChar(u'.') : typed;
}
