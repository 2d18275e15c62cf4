// zorhost --link: after its scripts have set the module up, zorhost serves
// the byte link to an outside host program until it is interrupted, the
// first client leaves (--once) or a time is up (--exit-after). Time is real
// then: the 100 ms timer ticks by the clock and a DELAY wait sleeps while the
// link goes on being served.
#pragma once

#include <optional>

#include "Session.h"
#include "services/LinkEndpoint.h"

namespace zorhost {

struct LinkOptions {
    services::LinkEndpoint endpoint;
    bool once = false;
    std::optional<double> exitAfterSeconds;
};

// Serves the link; returns the exit status (0 when it ended as asked, 2 when
// the endpoint could not be opened, with the reason on stderr).
int ServeLink(Session& session, const LinkOptions& options);

}  // namespace zorhost
