#pragma once
// Test-only: a picture of a whole window, for looking at the layout.

#include <QString>

class QWidget;

// Grabs the widget with all its children and writes it as a PNG to Path.
// Returns false when the picture is empty or cannot be written.
bool SaveWindowScreenshot(QWidget& Window, const QString& Path);
