#include "core/PeerUser.h"

#include <sys/socket.h>
#include <unistd.h>

bool peerIsThisUser(qintptr descriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == getuid();
}
