#pragma once
// The match detail window, opened modally from a recommendations row or a history row.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace qarnis::tips {

// Texts copied from the double-clicked row; kept between openings, only `result` is emptied after a display.
struct SelectedMatch {
  QString time, home, away, asian, european, asianPick, europeanPick, reasons, result;
};

class MatchWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kWidth = 563;
  static constexpr int kShortHeight = 255;
  static constexpr int kTallHeight = 605;

  // Reads `selected` now and empties its `result`; empties it again at destruction.
  MatchWindow(SelectedMatch& selected, QWidget* parent = nullptr);
  ~MatchWindow() override;

 private:
  SelectedMatch& selected_;
  QPlainTextEdit* reasons_ = nullptr;
};

}  // namespace qarnis::tips
