#include "app/toolkit/number_edit.h"

#include <QLineEdit>
#include <QString>

void ShowNumberText(QLineEdit& Edit, const QString& Text) {
  Edit.setText(Text);
  Edit.setCursorPosition(0);
}

void ShowNumberText(QLineEdit& Edit, const std::string& Text) { ShowNumberText(Edit, QString::fromStdString(Text)); }
