#pragma once

#include <functional>

class QKeyEvent;
class QPainter;
class QRect;
class QColor;
class QWidget;

// A key that an area answers when no control in it took the key: the focused control goes
// first, and an open drop-down list or calendar (a window of its own) before everything, so
// Escape closes an open list before it cancels a form, and Enter picks an item rather than
// saving. Keys without modifiers only (the keypad's Enter counts as Enter).
void OnKey(QWidget* area, int key, std::function<void()> action);

// Gives the keyboard to the first control of `area` that Tab reaches.
void FocusFirstIn(QWidget* area);

// What presses a control that acts as a button: Space, Return or Enter, not held down.
bool IsPressKey(const QKeyEvent* event);
// The frame that shows a control has the keyboard: dotted, `inset` pixels inside its edge.
void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& color, int inset = 3);

// For a picture or a label that acts as a button: `click` runs when `event` presses it (true),
// and the frame is drawn over it, in its text's colour, while it has the keyboard.
bool ClickOnPressKey(const QKeyEvent* event, const std::function<void()>& click);
void PaintFocusFrame(QWidget& control, int inset = 3);
