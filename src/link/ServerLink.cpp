#include "link/ServerLink.h"

namespace qarnis::link {
struct ServerLink::Session {};
ServerLink::ServerLink() = default;
ServerLink::~ServerLink() = default;
bool ServerLink::Connect(int, const std::string&, Callback) { return false; }
bool ServerLink::Send(std::string_view) { return false; }
bool ServerLink::Read(const LinkEvent*, std::string&) const { return false; }
void ServerLink::Close() {}
}  // namespace qarnis::link
