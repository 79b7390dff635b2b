#pragma once
#include <string>

namespace qarnis::account {

// The four slots the registration and the password windows store into before they send; both windows share
// one instance, so a slot a password request does not use keeps what the last request left in it.
struct AccountRequestFields {
  std::string account;
  std::string password;
  std::string email;
  std::string mobile;
};

// Which form of the password change request went out last: 1 e-mail and mobile, 2 e-mail only,
// 3 mobile only, 0 before the first one of the run.
enum class PasswordChangeMode { None = 0, EmailAndMobile = 1, EmailOnly = 2, MobileOnly = 3 };

// State that outlives the account windows for the whole run.
struct AccountState {
  AccountRequestFields fields;
  PasswordChangeMode passwordChangeMode = PasswordChangeMode::None;
};

}  // namespace qarnis::account
