// Every table window in these tests that hosts makes the program's own host.
#include "app/hostedserver.h"

namespace {
const bool installed = (euchre::HostedServer::install(), true);
} // namespace
