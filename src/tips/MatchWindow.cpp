#include "tips/MatchWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <array>

#include "tips/TipsPictures.h"
#include "ui/Skin.h"

namespace qarnis::tips {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, QRect geometry, const QString& text = QString(),
                  Qt::Alignment alignment = Qt::AlignCenter) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setAlignment(alignment);
  return label;
}

QLabel* MakePicture(QWidget* parent, const QString& name, QRect geometry, const QPixmap& picture) {
  QLabel* box = MakeLabel(parent, name, geometry);
  box->setPixmap(picture);
  box->setScaledContents(true);
  box->hide();
  return box;
}

QLabel* MakeLine(QWidget* parent, const QString& name, QRect geometry) {
  QLabel* line = MakeLabel(parent, name, geometry);
  line->setAutoFillBackground(true);
  line->setStyleSheet(QStringLiteral("background: #9fb3c8;"));
  return line;
}

// The three texts of a line "a|b|c"; "||" (no line) leaves the labels empty.
void ShowLine(const QString& line, const std::array<QLabel*, 3>& labels) {
  if (line == QStringLiteral("||")) return;
  const QStringList parts = line.split(QLatin1Char('|'));
  for (int i = 0; i < 3; ++i)
    labels[static_cast<std::size_t>(i)]->setText(i < parts.size() ? parts[i] : QString());
}

void ShowPick(const QString& pick, const std::array<QString, 3>& codes, const std::array<QLabel*, 3>& boxes) {
  for (std::size_t i = 0; i < 3; ++i) boxes[i]->setVisible(pick == codes[i]);
}

}  // namespace

MatchWindow::MatchWindow(SelectedMatch& selected, QWidget* parent) : QDialog(parent), selected_(selected) {
  ui::ApplySkin(this);
  setWindowTitle(QStringLiteral("Qarnis比赛信息"));
  setFixedSize(kWidth, selected_.reasons == QStringLiteral("无") ? kShortHeight : kTallHeight);

  const QFont teamFont = ui::UiFont(16, true);
  QLabel* home = MakeLabel(this, QStringLiteral("标签_球队1"), {1, 23, 260, 24});
  MakeLabel(this, QStringLiteral("标签6"), {263, 23, 32, 24}, QStringLiteral("VS"));
  QLabel* away = MakeLabel(this, QStringLiteral("标签_球队2"), {297, 23, 260, 24});
  home->setFont(teamFont);
  away->setFont(teamFont);
  MakeLabel(this, QStringLiteral("标签7"), {176, 65, 96, 24}, QStringLiteral("比赛时间："),
            Qt::AlignRight | Qt::AlignVCenter);
  QLabel* time = MakeLabel(this, QStringLiteral("标签_比赛时间"), {281, 65, 215, 24}, QString(),
                           Qt::AlignLeft | Qt::AlignVCenter);
  MakeLabel(this, QStringLiteral("标签1"), {88, 108, 83, 24}, QStringLiteral("竞彩亚盘"));
  MakeLabel(this, QStringLiteral("标签3"), {88, 149, 83, 24}, QStringLiteral("竞彩建议"));

  // The highlights go in first so that the option texts are drawn over them.
  const QPixmap& highlight = HighlightPicture();
  const std::array<QLabel*, 3> asianBoxes = {
      MakePicture(this, QStringLiteral("图片框1"), {180, 112, 80, 30}, highlight),
      MakePicture(this, QStringLiteral("图片框2"), {270, 112, 80, 30}, highlight),
      MakePicture(this, QStringLiteral("图片框3"), {361, 112, 80, 30}, highlight)};
  const std::array<QLabel*, 3> europeanBoxes = {
      MakePicture(this, QStringLiteral("图片框4"), {180, 151, 80, 30}, highlight),
      MakePicture(this, QStringLiteral("图片框5"), {270, 151, 80, 30}, highlight),
      MakePicture(this, QStringLiteral("图片框6"), {361, 151, 80, 30}, highlight)};
  const std::array<QLabel*, 3> asianTexts = {
      MakeLabel(this, QStringLiteral("透明标签1"), {176, 108, 80, 30}),
      MakeLabel(this, QStringLiteral("透明标签2"), {266, 108, 80, 30}),
      MakeLabel(this, QStringLiteral("透明标签3"), {357, 108, 80, 30})};
  const std::array<QLabel*, 3> europeanTexts = {
      MakeLabel(this, QStringLiteral("透明标签4"), {176, 147, 80, 30}),
      MakeLabel(this, QStringLiteral("透明标签5"), {266, 147, 80, 30}),
      MakeLabel(this, QStringLiteral("透明标签6"), {357, 147, 80, 30})};
  for (QLabel* label : asianTexts) label->setAttribute(Qt::WA_TranslucentBackground);
  for (QLabel* label : europeanTexts) label->setAttribute(Qt::WA_TranslucentBackground);

  MakeLine(this, QStringLiteral("标签2"), {168, 145, 280, 3});
  MakeLine(this, QStringLiteral("标签4"), {263, 104, 3, 88});
  MakeLine(this, QStringLiteral("标签5"), {354, 104, 3, 88});

  const std::array<ResultWord, 5> words = {ResultWord::kWin, ResultWord::kHalfWin, ResultWord::kPush,
                                           ResultWord::kLoss, ResultWord::kHalfLoss};
  const std::array<QString, 5> wordTexts = {QStringLiteral("赢"), QStringLiteral("赢半"),
                                            QStringLiteral("走"), QStringLiteral("输"),
                                            QStringLiteral("输半")};
  for (std::size_t i = 0; i < words.size(); ++i) {
    QLabel* box = MakePicture(this, QStringLiteral("输赢图片框%1").arg(i + 1), {488, 128, 36, 36},
                              ResultPicture(words[i]));
    box->setVisible(selected_.result == wordTexts[i]);
  }

  auto* group = new QGroupBox(QStringLiteral("核心理由"), this);
  group->setObjectName(QStringLiteral("分组框1"));
  group->setGeometry(1, 235, 556, 341);
  reasons_ = new QPlainTextEdit(group);
  reasons_->setObjectName(QStringLiteral("超级编辑框1"));
  reasons_->setGeometry(3, 16, 549, 320);
  reasons_->setReadOnly(true);

  home->setText(selected_.home);
  away->setText(selected_.away);
  time->setText(selected_.time);
  ShowLine(selected_.asian, asianTexts);
  ShowLine(selected_.european, europeanTexts);
  ShowPick(selected_.asianPick, {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")},
           asianBoxes);
  ShowPick(selected_.europeanPick, {QStringLiteral("21"), QStringLiteral("22"), QStringLiteral("23")},
           europeanBoxes);
  reasons_->setPlainText(selected_.reasons);
  // A window opened next from the recommendations list must show no result.
  selected_.result.clear();
}

MatchWindow::~MatchWindow() {
  reasons_->clear();
  selected_.result.clear();
}

}  // namespace qarnis::tips
