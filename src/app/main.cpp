#include <QApplication>

#include "app/MainWindow.h"
#include "link/ServerLink.h"
#include "live/LiveFeedThread.h"
#include "ui/MessageService.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Program-wide objects, the link first and closed; they outlive the window and go at the end.
  qarnis::link::ServerLink link;
  qarnis::live::LiveFeedThread liveFeed;
  qarnis::ui::QtMessageService messages;

  qarnis::app::WindowServices services;
  services.environment = qarnis::settings::ClientEnvironment::Defaults();
  services.environment.ApplyHostOverrides();
  services.messages = &messages;
  services.liveFeed = &liveFeed;
  services.link = &link;
  int status = 0;
  {
    qarnis::app::MainWindow window(services);
    window.show();
    status = app.exec();
  }
  link.Close();
  liveFeed.Stop();
  return status;
}
