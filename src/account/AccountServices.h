#pragma once
// What the account windows need from the main window: the server link, its keep-alive check and the
// message boxes. The main window implements it; tests give a recording fake.
#include <string>

#include "ui/MessageService.h"

namespace qarnis::account {

class AccountServices {
 public:
  virtual ~AccountServices() = default;
  // Queues the text on the server link; false when the link is closed.
  virtual bool Send(const std::string& gbkText) = 0;
  // Sends the keep-alive and updates LinkAlive; may show its own failure message.
  virtual void KeepAliveCheck() = 0;
  virtual bool LinkAlive() const = 0;
  virtual ui::MessageService& Messages() = 0;
};

}  // namespace qarnis::account
