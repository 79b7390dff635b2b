#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>

#include "account/AccountServices.h"
#include "settings/ClientEnvironment.h"
#include "settings/SettingsStore.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTreeWidget;

namespace qarnis::ui {
class MessageService;
}
namespace qarnis::notify {
class Announcer;
class SoundPlayer;
}  // namespace qarnis::notify
namespace qarnis::live {
class LiveFeedThread;
class LiveListModel;
}  // namespace qarnis::live
namespace qarnis::link {
class ServerLink;
}
namespace qarnis::tips {
class TipsController;
}
namespace qarnis::account {
class AccountWindows;
class LoginController;
}  // namespace qarnis::account

namespace qarnis::app {

class BannerDisplay;
class BannerSource;
class LiveRowGate;
class ReplyHandOff;
class WindowReplies;

// What the main window is given: the environment (files, hosts) and the services tests replace.
struct WindowServices {
  settings::ClientEnvironment environment;
  ui::MessageService* messages = nullptr;
  notify::SoundPlayer* sound = nullptr;
  live::LiveFeedThread* liveFeed = nullptr;
  link::ServerLink* link = nullptr;
  bool startLiveFeed = true;
};

class MainWindow : public QMainWindow, public account::AccountServices {
  Q_OBJECT
 public:
  explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Sends "cs"; on failure re-enables the connection controls, stops the keep-alive and says so.
  void KeepAliveCheck() override;
  bool Send(const std::string& gbkText) override;
  bool LinkAlive() const override { return linkAlive_ != 0; }
  ui::MessageService& Messages() override { return *services_.messages; }

  // The connect button's handler, also callable directly.
  void OnConnectClicked();
  void OnServerChosen(int index);
  const std::string& CurrentServerHost() const { return currentServerHost_; }

  void PauseLiveFeed();
  void ResumeLiveFeed();

  tips::TipsController& Tips() { return *tips_; }
  account::LoginController& Login() { return *login_; }
  account::AccountWindows& Accounts() { return *accounts_; }
  notify::Announcer& Announcements() { return *announcer_; }
  live::LiveListModel& LiveList() { return *liveModel_; }
  const std::string& LastLoginReply() const { return lastLoginReply_; }
  void SetLastLoginReply(const std::string& text) { lastLoginReply_ = text; }

  settings::SettingsStore& Settings() { return settings_; }
  const settings::ClientEnvironment& Environment() const { return services_.environment; }

  // Redraws the banner from the text of 编辑框1; the login sets a new text after clearing the source.
  void SetBannerText(const QString& text);
  BannerDisplay* Banner() const { return bannerDisplay_; }

  int ReconnectMark() const { return reconnectMark_; }

 private:
  void BuildMenu();
  void BuildHeader(QWidget* central);
  void BuildTipsPage(QWidget* page);
  void BuildLivePage(QWidget* page);
  void CreateControllers();
  void ApplySettingsAtStart();
  void OnRememberAccountClicked(bool ticked);
  // Connects to CurrentServerHost without freezing the window: the attempt runs beside a local event loop.
  bool ConnectLink();
  void OnLinkEvent(const std::string& text);
  void StartLiveFeed();

  WindowServices services_;
  settings::SettingsStore settings_;
  std::unique_ptr<notify::SoundPlayer> ownSound_;
  int reconnectMark_ = 0;
  int linkAlive_ = 0;
  std::string currentServerHost_;
  std::string lastLoginReply_;
  bool connecting_ = false;

  std::unique_ptr<ReplyHandOff> handOff_;
  std::unique_ptr<WindowReplies> replies_;
  tips::TipsController* tips_ = nullptr;
  account::LoginController* login_ = nullptr;
  account::AccountWindows* accounts_ = nullptr;
  notify::Announcer* announcer_ = nullptr;
  live::LiveListModel* liveModel_ = nullptr;
  std::shared_ptr<LiveRowGate> liveGate_;

  // Header
  BannerSource* bannerSource_ = nullptr;
  BannerDisplay* bannerDisplay_ = nullptr;
  QTimer* keepAliveTimer_ = nullptr;  // 时钟_向服务器报道
  QTabWidget* tabs_ = nullptr;

  // Page "今日推介"
  QTreeWidget* noticesList_ = nullptr;          // 超级列表框4
  QPushButton* connectButton_ = nullptr;        // 按钮_连接服务器
  QComboBox* serverChoice_ = nullptr;           // 组合框_服务器选择
  QCheckBox* popupSwitch_ = nullptr;            // 选择框_右下角弹窗
  QCheckBox* soundSwitch_ = nullptr;            // 选择框_开启声音提示
  QLineEdit* accountEdit_ = nullptr;            // 编辑框_账号
  QLineEdit* passwordEdit_ = nullptr;           // 编辑框_密码
  QCheckBox* rememberBox_ = nullptr;            // 选择框_记住帐号
  QPushButton* loginButton_ = nullptr;          // 按钮_登录
  QPushButton* registerButton_ = nullptr;       // 超级按钮_注册帐号
  QPushButton* passwordButton_ = nullptr;       // 超级按钮_修改密码
  QTreeWidget* recommendationsList_ = nullptr;  // 超级列表框3
  QTableView* historyGrid_ = nullptr;           // 高级表格_球赛历史
  QLabel* statTotal_ = nullptr;                 // 标签6
  QLabel* statRecent_ = nullptr;                // 标签7
  QLabel* statWin_ = nullptr;
  QLabel* statHalfWin_ = nullptr;
  QLabel* statPush_ = nullptr;
  QLabel* statLoss_ = nullptr;
  QLabel* statHalfLoss_ = nullptr;
  QLabel* statRateCaption_ = nullptr;
  QLabel* statRate_ = nullptr;

  // Page "即时比分"
  QTableView* liveList_ = nullptr;   // 超级列表框1
  QLineEdit* bannerText_ = nullptr;  // 编辑框1
};

}  // namespace qarnis::app
