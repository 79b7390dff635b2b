#include "app/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>

#include <QEventLoop>
#include <atomic>
#include <thread>

#include "account/AccountWindows.h"
#include "account/LoginController.h"
#include "account/PasswordWindow.h"
#include "account/RegisterWindow.h"
#include "app/HeaderBanner.h"
#include "app/LiveRowGate.h"
#include "app/ReplyHandOff.h"
#include "app/WindowReplies.h"
#include "link/Messages.h"
#include "link/ServerLink.h"
#include "live/FetchLoop.h"
#include "live/LiveFeedThread.h"
#include "live/LiveListModel.h"
#include "notify/Announcer.h"
#include "notify/PopupWindow.h"
#include "notify/QtSoundPlayer.h"
#include "notify/ServerNoticeWindow.h"
#include "notify/UpdateWindow.h"
#include "tips/TipsController.h"
#include "ui/GbkQt.h"
#include "ui/MessageService.h"
#include "ui/Skin.h"

namespace qarnis::app {
namespace {

constexpr const char* kClientVersion = "1.005";
constexpr int kKeepAliveMs = 60000;
const QString kConnectFailed = QStringLiteral("连接服务器失败，请更换服务器进行尝试。");
const QString kConnectSucceeded = QStringLiteral("服务器连接成功。");

template <class W>
W* Place(W* widget, const char* name, int x, int y, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(x, y, width, height);
  return widget;
}

// A label whose size follows its text, placed by its top-left corner.
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->adjustSize();
  label->move(x, y);
  return label;
}

QGroupBox* PlaceGroup(QWidget* parent, const char* name, const QString& title, int x, int y, int w, int h) {
  return Place(new QGroupBox(title, parent), name, x, y, w, h);
}

QPixmap LogoPicture() {
  QPixmap pixmap(70, 70);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(24, 96, 168));
  p.setPen(Qt::NoPen);
  p.drawEllipse(3, 3, 64, 64);
  p.setBrush(Qt::white);
  p.drawEllipse(17, 17, 36, 36);
  p.setBrush(QColor(24, 96, 168));
  const QPointF pentagon[5] = {{35, 24}, {45, 31}, {41, 43}, {29, 43}, {25, 31}};
  p.drawPolygon(pentagon, 5);
  return pixmap;
}

QPixmap HeaderPicture() {
  QPixmap pixmap(718, 88);
  QPainter p(&pixmap);
  QLinearGradient sky(0, 0, 718, 88);
  sky.setColorAt(0, QColor(18, 52, 96));
  sky.setColorAt(1, QColor(30, 110, 70));
  p.fillRect(pixmap.rect(), sky);
  p.setPen(QPen(QColor(255, 255, 255, 60), 2));
  p.drawEllipse(QPoint(359, 44), 30, 30);
  p.drawLine(359, 0, 359, 88);
  return pixmap;
}

}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), settings_(services_.environment.settingsFile) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Qarnis"));
  resize(1018, 850);
  BuildMenu();
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("MainWindowClient"));
  setCentralWidget(central);
  BuildHeader(central);
  tabs_ = Place(new QTabWidget(central), "选择夹1", 1, 96, 1010, 704);
  auto* tipsPage = new QWidget;
  auto* livePage = new QWidget;
  tabs_->addTab(tipsPage, QStringLiteral("  今日推介  "));
  tabs_->addTab(livePage, QStringLiteral("  即时比分  "));
  BuildTipsPage(tipsPage);
  BuildLivePage(livePage);
  CreateControllers();

  // Creation steps, in their order.
  ui::ApplySkin(this);
  move(0, 0);
  if (!settings_.FileExists()) {
    settings_.WriteKey("KQSYTS", settings::kOn);
    settings_.WriteKey("YXJTC", settings::kOn);
  }
  settings_.WriteKey("NowBanBen", kClientVersion);
  setWindowTitle(QStringLiteral("Qarnis-足球决策版1.005"));
  currentServerHost_ = services_.environment.serverHosts[0];
  if (ConnectLink()) {
    connectButton_->setEnabled(false);
    keepAliveTimer_->start(kKeepAliveMs);
  } else {
    connectButton_->setEnabled(true);
    Messages().Show(this, kConnectFailed);
  }
  ApplySettingsAtStart();
  tips_->ApplyHistoryGridLayout(51);
  reconnectMark_ = 0;
  if (services_.startLiveFeed) StartLiveFeed();
}

MainWindow::~MainWindow() {
  // Ending: the live feed is held, queued replies are released, then the link goes and the thread stops.
  if (services_.liveFeed != nullptr) services_.liveFeed->Pause();
  handOff_->Cancel();
  if (services_.link != nullptr) services_.link->Close();
  if (services_.liveFeed != nullptr) services_.liveFeed->Stop();
}

void MainWindow::CreateControllers() {
  if (services_.sound == nullptr) {
    ownSound_ = std::make_unique<notify::QtSoundPlayer>();
    services_.sound = ownSound_.get();
  }
  handOff_ = std::make_unique<ReplyHandOff>(this);
  replies_ = std::make_unique<WindowReplies>(*this);
  announcer_ = new notify::Announcer(this, popupSwitch_, soundSwitch_, *services_.sound);

  tips::TipsWidgets widgets;
  widgets.recommendations = recommendationsList_;
  widgets.notices = noticesList_;
  widgets.historyGrid = historyGrid_;
  widgets.total = statTotal_;
  widgets.recent = statRecent_;
  widgets.win = statWin_;
  widgets.halfWin = statHalfWin_;
  widgets.push = statPush_;
  widgets.loss = statLoss_;
  widgets.halfLoss = statHalfLoss_;
  widgets.rateCaption = statRateCaption_;
  widgets.rate = statRate_;
  tips::TipsHooks hooks;
  hooks.pauseLiveFeed = [this] { PauseLiveFeed(); };
  hooks.resumeLiveFeed = [this] { ResumeLiveFeed(); };
  hooks.announceNews = [this](const QString& word) { announcer_->AnnounceNews(word); };
  hooks.accountName = [this] { return ui::FromQ(accountEdit_->text()); };
  hooks.historyFile = services_.environment.historyFile;
  hooks.noticesFile = services_.environment.noticesFile;
  tips_ = new tips::TipsController(widgets, hooks, this);
  tips_->setParent(this);

  account::LoginHooks loginHooks;
  loginHooks.openUpdateWindow = [this](const std::string& link) {
    notify::UpdateWindow window(link, this);
    window.exec();
  };
  loginHooks.showFullHistory = [this](const std::string& fullHistory) {
    tips_->historyHolder.clear();
    tips_->historyHolder = fullHistory;
    tips_->FillFullHistory();
  };
  loginHooks.setBannerText = [this](const QString& text) { SetBannerText(text); };
  login_ = new account::LoginController({accountEdit_, passwordEdit_, loginButton_, rememberBox_}, settings_,
                                        *this, std::move(loginHooks), this);
  accounts_ =
      new account::AccountWindows(this, {accountEdit_, passwordEdit_, rememberBox_}, settings_, *this, this);
  connect(registerButton_, &QPushButton::clicked, accounts_, &account::AccountWindows::OpenRegisterWindow);
  connect(passwordButton_, &QPushButton::clicked, accounts_, &account::AccountWindows::OpenPasswordWindow);

  connect(connectButton_, &QPushButton::clicked, this, &MainWindow::OnConnectClicked);
  connect(serverChoice_, &QComboBox::activated, this, &MainWindow::OnServerChosen);
  connect(keepAliveTimer_, &QTimer::timeout, this, &MainWindow::KeepAliveCheck);

  liveModel_ = new live::LiveListModel(this);
  live::SetUpLiveList(liveList_, liveModel_);
  live::ConnectHeaderSort(liveList_, liveModel_);
}

bool MainWindow::ConnectLink() {
  if (services_.link == nullptr || connecting_) return false;
  connecting_ = true;
  handOff_->Reopen();
  link::ServerLink* link = services_.link;
  ReplyHandOff* handOff = handOff_.get();
  WindowReplies* replies = replies_.get();
  auto callback = [link, handOff, replies](const link::LinkEvent& event) {
    std::string text;
    if (!link->Read(&event, text)) return;  // the closing event: nothing to show until the next keep-alive
    handOff->Run([replies, text = std::move(text)] { link::DispatchReply(text, *replies); });
  };
  // The attempt may take up to the connect time-out; the window keeps painting meanwhile.
  std::atomic<bool> done{false};
  bool connected = false;
  QEventLoop loop;
  std::thread attempt([&] {
    connected = link->Connect(services_.environment.tipsPort, currentServerHost_, callback);
    done = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
  attempt.join();
  connecting_ = false;
  return connected;
}

bool MainWindow::Send(const std::string& gbkText) {
  return services_.link != nullptr && services_.link->Send(gbkText);
}

void MainWindow::KeepAliveCheck() {
  if (Send(link::KeepAliveRequest())) {
    linkAlive_ = 1;
    connectButton_->setEnabled(false);
    return;
  }
  linkAlive_ = 0;
  connectButton_->setEnabled(true);
  accountEdit_->setEnabled(true);
  passwordEdit_->setEnabled(true);
  keepAliveTimer_->stop();
  Messages().Show(this, kConnectFailed);
}

void MainWindow::OnConnectClicked() {
  reconnectMark_ = 1;
  if (ConnectLink()) {
    connectButton_->setEnabled(false);
    loginButton_->setEnabled(true);
    keepAliveTimer_->start(kKeepAliveMs);
    Messages().Show(this, kConnectSucceeded);
  } else {
    connectButton_->setEnabled(true);
    keepAliveTimer_->stop();
    Messages().Show(this, kConnectFailed);
  }
}

void MainWindow::OnServerChosen(int index) {
  if (index >= 0 && index < static_cast<int>(services_.environment.serverHosts.size()))
    currentServerHost_ = services_.environment.serverHosts[static_cast<std::size_t>(index)];
}

void MainWindow::PauseLiveFeed() {
  if (services_.liveFeed != nullptr) services_.liveFeed->Pause();
}

void MainWindow::ResumeLiveFeed() {
  if (liveGate_) liveGate_->ApplyHeld();
  if (services_.liveFeed != nullptr) services_.liveFeed->Resume();
}

void MainWindow::StartLiveFeed() {
  if (services_.liveFeed == nullptr) return;
  live::FetchSettings fetch;
  fetch.host = services_.environment.liveHost;
  auto handOver = live::MakeLiveHandOver(liveModel_, *services_.liveFeed);
  services_.liveFeed->Start(
      [fetch, handOver](live::LiveFeedThread& thread) { live::RunFetchLoop(thread, fetch, handOver); });
}

void MainWindow::BuildMenu() {
  menuBar()->addMenu(QStringLiteral("关于我们"));
  menuBar()->addMenu(QStringLiteral("软件介绍"));
}

void MainWindow::BuildHeader(QWidget* central) {
  auto* disclaimer = PlaceGroup(central, "分组框_声明", QStringLiteral("声明"), 0, 2, 280, 87);
  auto* logo = Place(new QLabel(disclaimer), "图片框1", 3, 12, 70, 70);
  logo->setPixmap(LogoPicture());
  PlaceLabel(disclaimer, "标签1", QStringLiteral("声明：本软件资讯仅供体育爱好者"), 94, 15);
  PlaceLabel(disclaimer, "标签2", QStringLiteral("浏览、购买中国足彩参考之用。任何"), 81, 33);
  PlaceLabel(disclaimer, "标签3", QStringLiteral("人不得用于非法用途，否则责任自负。"), 76, 51);

  bannerSource_ = new BannerSource(central);
  bannerSource_->move(126, 68);
  auto* header = Place(new QLabel(central), "图片框2", 291, 0, 718, 88);
  header->setPixmap(HeaderPicture());
  bannerDisplay_ = new BannerDisplay(central);
  bannerDisplay_->move(296, 4);
  bannerDisplay_->raise();
  bannerSource_->raise();

  keepAliveTimer_ = new QTimer(this);
  keepAliveTimer_->setObjectName(QStringLiteral("时钟_向服务器报道"));
}

void MainWindow::BuildTipsPage(QWidget* page) {
  auto* noticesGroup = PlaceGroup(page, "分组框1", QStringLiteral("公告"), 1, 21, 567, 102);
  noticesList_ = Place(new QTreeWidget(noticesGroup), "超级列表框4", 3, 15, 561, 83);

  auto* settingsGroup = PlaceGroup(page, "分组框_相关设置", QStringLiteral("相关设置"), 570, 21, 130, 102);
  connectButton_ =
      Place(new QPushButton(QStringLiteral("连接"), settingsGroup), "按钮_连接服务器", 84, 18, 40, 24);
  connectButton_->setEnabled(false);
  serverChoice_ = Place(new QComboBox(settingsGroup), "组合框_服务器选择", 7, 20, 71, 20);
  serverChoice_->addItems({QStringLiteral("服务器①"), QStringLiteral("服务器②"), QStringLiteral("服务器③")});
  popupSwitch_ =
      Place(new QCheckBox(QStringLiteral("右下角弹窗"), settingsGroup), "选择框_右下角弹窗", 19, 53, 80, 13);
  soundSwitch_ = Place(new QCheckBox(QStringLiteral("开启声音提醒"), settingsGroup), "选择框_开启声音提示",
                       19, 78, 95, 13);
  connect(popupSwitch_, &QCheckBox::clicked, this,
          [this](bool ticked) { settings_.WriteKey("YXJTC", ticked ? settings::kOn : settings::kOff); });
  connect(soundSwitch_, &QCheckBox::clicked, this,
          [this](bool ticked) { settings_.WriteKey("KQSYTS", ticked ? settings::kOn : settings::kOff); });

  auto* loginGroup = PlaceGroup(page, "分组框_账号申请登录", QStringLiteral("账号登录"), 701, 21, 306, 102);
  auto* accountLabel = PlaceLabel(loginGroup, "标签_帐号", QStringLiteral("帐号："), 4, 25);
  accountEdit_ = Place(new QLineEdit(loginGroup), "编辑框_账号", 36, 18, 136, 23);
  auto* passwordLabel = PlaceLabel(loginGroup, "标签_帐号1", QStringLiteral("密码："), 4, 57);
  passwordEdit_ = Place(new QLineEdit(loginGroup), "编辑框_密码", 36, 53, 136, 23);
  accountLabel->raise();
  passwordLabel->raise();
  rememberBox_ =
      Place(new QCheckBox(QStringLiteral("记住帐号"), loginGroup), "选择框_记住帐号", 174, 25, 68, 13);
  connect(rememberBox_, &QCheckBox::clicked, this, &MainWindow::OnRememberAccountClicked);
  loginButton_ = Place(new QPushButton(QStringLiteral("登录"), loginGroup), "按钮_登录", 176, 50, 60, 25);
  const QString linkStyle = QStringLiteral(
      "QPushButton { border: none; background: transparent; color: #1a5fb4;"
      " text-decoration: underline; }");
  registerButton_ =
      Place(new QPushButton(QStringLiteral("注册帐号"), loginGroup), "超级按钮_注册帐号", 245, 13, 56, 15);
  passwordButton_ =
      Place(new QPushButton(QStringLiteral("修改密码"), loginGroup), "超级按钮_修改密码", 245, 36, 56, 15);
  for (QPushButton* b : {registerButton_, passwordButton_}) {
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(linkStyle);
  }
  auto* weibo = Place(new QLabel(loginGroup), "超级链接框1", 172, 84, 54, 13);
  weibo->setText(QStringLiteral("<a href=\"https://qarnis.example.com/weibo\">微博地址</a>"));
  auto* blog = Place(new QLabel(loginGroup), "超级链接框2", 228, 84, 54, 13);
  blog->setText(QStringLiteral("<a href=\"https://qarnis.example.com/blog\">博客地址</a>"));
  for (QLabel* l : {weibo, blog}) l->setOpenExternalLinks(true);

  auto* latestGroup = PlaceGroup(page, "分组框2", QString(), 1, 125, 1008, 196);
  PlaceLabel(page, "标签5", QStringLiteral("最新推介"), 480, 125);
  recommendationsList_ = Place(new QTreeWidget(latestGroup), "超级列表框3", 3, 14, 1002, 178);

  auto* historyGroup = PlaceGroup(page, "分组框_全部比赛场次2", QString(), 1, 325, 1008, 355);
  historyGrid_ = Place(new QTableView(historyGroup), "高级表格_球赛历史", 5, 15, 999, 336);

  // The statistics share the caption line of the history group; 标签7 and 标签_赢 take the same place.
  statRecent_ = PlaceLabel(page, "标签7", QStringLiteral("最近50场历史记录"), 454, 325);
  statTotal_ = PlaceLabel(page, "标签6", QString(), 347, 325);
  statWin_ = PlaceLabel(page, "标签_赢", QString(), 455, 325);
  statHalfWin_ = PlaceLabel(page, "标签_赢半", QString(), 505, 325);
  statPush_ = PlaceLabel(page, "标签_走", QString(), 560, 325);
  statLoss_ = PlaceLabel(page, "标签_输", QString(), 605, 325);
  statHalfLoss_ = PlaceLabel(page, "标签_输半", QString(), 650, 325);
  statRateCaption_ = PlaceLabel(page, "标签_命中率", QStringLiteral("命中率："), 695, 325);
  statRate_ = PlaceLabel(page, "标签_命中率的率", QString(), 739, 325);
  for (QLabel* l : {statTotal_, statWin_, statHalfWin_, statPush_, statLoss_, statHalfLoss_, statRateCaption_,
                    statRate_}) {
    l->setMinimumWidth(40);
    l->hide();
  }

  auto* legal = Place(new QLineEdit(page), "编辑框2", 2, 680, 1006, 19);
  legal->setText(QStringLiteral(
      "本软件资讯仅供足球爱好者交流参考，不提供任何投注服务；请遵守所在地法律法规，理性看待比赛结果。"));
  legal->setEnabled(false);
}

void MainWindow::BuildLivePage(QWidget* page) {
  auto* group = PlaceGroup(page, "分组框_全部比赛场次", QStringLiteral("全部比赛场次"), 1, 22, 1008, 668);
  PlaceLabel(page, "标签4", QStringLiteral("全部比赛场次"), 470, 22);
  liveList_ = Place(new QTableView(group), "超级列表框1", 5, 15, 999, 651);
  bannerText_ = Place(new QLineEdit(group), "编辑框1", 447, 42, 80, 20);
  bannerText_->hide();
  connect(bannerText_, &QLineEdit::textChanged, this, [this](const QString& text) {
    bannerSource_->WriteText(text);
    bannerDisplay_->Show(bannerSource_->Image());
  });
}

void MainWindow::SetBannerText(const QString& text) {
  bannerSource_->Clear();
  bannerText_->setText(text);
}

void MainWindow::ApplySettingsAtStart() {
  if (settings_.ReadFlag("ZDTXZM")) {
    accountEdit_->setText(ui::ToQ(settings_.ReadKey("DQZH")));
    passwordEdit_->setText(ui::ToQ(settings_.ReadKey("DQMM")));
    rememberBox_->setChecked(true);
  }
  popupSwitch_->setChecked(settings_.ReadFlag("YXJTC"));
  soundSwitch_->setChecked(settings_.ReadFlag("KQSYTS"));
}

void MainWindow::OnRememberAccountClicked(bool ticked) {
  if (ticked) {
    settings_.WriteKey("DQZH", ui::FromQ(accountEdit_->text()));
    settings_.WriteKey("DQMM", ui::FromQ(passwordEdit_->text()));
    settings_.WriteKey("ZDTXZM", settings::kOn);
  } else {
    settings_.WriteKey("ZDTXZM", settings::kOff);
  }
}

}  // namespace qarnis::app
