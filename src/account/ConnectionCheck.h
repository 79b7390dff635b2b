#pragma once
#include "account/AccountServices.h"

class QWidget;

namespace qarnis::account {

// Runs the keep-alive check, gives the link a moment to notice a dead peer while the window keeps
// repainting, and shows the account windows' message when the link is not alive. True when it is; false
// without a message when the window was closed meanwhile.
bool CheckConnection(AccountServices& services, QWidget* window);

// Lets the window thread run its events for `ms` milliseconds instead of freezing it.
void PauseResponsive(int ms);

}  // namespace qarnis::account
