#pragma once
// Writing a number into an edit box. The edit puts its cursor after the text
// it is given and scrolls to keep the cursor in sight, so a number wider than
// the edit would show its last digits; a number written here shows its start.

#include <string>

class QLineEdit;
class QString;

// Sets Edit's text to Text with the cursor before the first character.
void ShowNumberText(QLineEdit& Edit, const QString& Text);
void ShowNumberText(QLineEdit& Edit, const std::string& Text);
