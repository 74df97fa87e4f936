#pragma once

#include <QtGlobal>

// True when the process at the other end of the local socket `descriptor` runs as this user.
// A socket's file mode does not keep root out, so servers of ours check the peer.
bool peerIsThisUser(qintptr descriptor);
