#include "app/toolkit/Keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>
#include <map>

namespace {
constexpr const char* kAreaKeysName = "AreaKeys";

class CAreaKeys : public QObject {
public:
    explicit CAreaKeys(QWidget* area) : QObject(area) {
        setObjectName(kAreaKeysName);
        area->installEventFilter(this);
    }

    void Add(int key, std::function<void()> action) { actions_[key] = std::move(action); }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        const auto action =
            actions_.find(key->key() == Qt::Key_Enter ? Qt::Key_Return : key->key());
        if (action == actions_.end()) return false;
        key->accept();
        // A copy: the action may replace the keys of its area.
        const std::function<void()> run = action->second;
        run();
        return true;
    }

private:
    std::map<int, std::function<void()>> actions_;
};
}  // namespace

void OnKey(QWidget* area, int key, std::function<void()> action) {
    // Found by name: without the meta-object compiler, a search by type would take any object.
    auto* keys = dynamic_cast<CAreaKeys*>(
        area->findChild<QObject*>(kAreaKeysName, Qt::FindDirectChildrenOnly));
    if (keys == nullptr) keys = new CAreaKeys(area);
    keys->Add(key == Qt::Key_Enter ? Qt::Key_Return : key, std::move(action));
}

void FocusFirstIn(QWidget* area) {
    for (QWidget* widget = area->nextInFocusChain(); widget != area;
         widget = widget->nextInFocusChain()) {
        if (area->isAncestorOf(widget) && widget->isVisibleTo(area) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) != 0) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool IsPressKey(const QKeyEvent* event) {
    const int key = event->key();
    return !event->isAutoRepeat() &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& color, int inset) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.drawRect(rect.adjusted(inset, inset, -inset - 1, -inset - 1));
    painter.restore();
}

bool ClickOnPressKey(const QKeyEvent* event, const std::function<void()>& click) {
    if (!IsPressKey(event) || !click) return false;
    click();
    return true;
}

void PaintFocusFrame(QWidget& control, int inset) {
    if (!control.hasFocus()) return;
    QPainter painter(&control);
    DrawFocusFrame(painter, control.rect(), control.palette().color(QPalette::WindowText), inset);
}
