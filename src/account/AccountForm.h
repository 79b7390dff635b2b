#pragma once
// Building blocks shared by the registration and password windows: placed labels and GBK-limited edits.
#include <QLabel>
#include <QRect>

#include "ui/GbkLimitedEdit.h"

namespace qarnis::account {

inline QLabel* AddLabel(QWidget* window, const QString& name, const QString& text, QRect place) {
  auto* label = new QLabel(text, window);
  label->setObjectName(name);
  label->setGeometry(place);
  return label;
}

inline ui::GbkLimitedEdit* AddEdit(QWidget* window, const QString& name, QRect place, int byteLimit) {
  auto* edit = new ui::GbkLimitedEdit(window);
  edit->setObjectName(name);
  edit->setGeometry(place);
  edit->SetByteLimit(byteLimit);
  return edit;
}

}  // namespace qarnis::account
