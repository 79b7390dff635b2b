#pragma once
#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace qarnis::notify {

// "Qarnis公告": shows one server notice in the read-only "超级编辑框1". Lives until the user closes it
// (deletes itself then).
class ServerNoticeWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ServerNoticeWindow(const std::string& gbkText, QWidget* parent = nullptr);

  void SetText(const std::string& gbkText);
  QString Text() const;

 private:
  QPlainTextEdit* editor_;
};

}  // namespace qarnis::notify
