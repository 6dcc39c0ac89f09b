#pragma once

class QWidget;

// For start-up measurements: once `screen` has first been painted, writes "shown" on the
// standard output and ends the program.
void QuitWhenShown(QWidget& screen);
