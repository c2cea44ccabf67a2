#pragma once
// The look every control shares: one application font and the fixed control
// heights that the window's pixel geometry is laid out with.

class QApplication;
class QWidget;

inline constexpr int kComboHeight = 21;  // drop-down lists, editable or not
inline constexpr int kEditHeight = 21;   // single-line edits
inline constexpr int kLabelHeight = 13;  // one line of 8-point text
inline constexpr int kButtonHeight = 25;
inline constexpr int kCheckHeight = 17;  // check boxes and radio buttons

// DejaVu Sans, 8 points, for the whole application.
void ApplyApplicationStyle(QApplication& app);

// Fixes a combo box, edit, label or check box to its kind's height (keeping x, y, width).
void FixHeight(QWidget* control, int height);
