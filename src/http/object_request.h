#pragma once

#include "http/request_description.h"

namespace tamberlo {

// One self-contained request with all sixteen parameters: the caller's cookie text is sent as
// the Cookie header and the answer's cookies are always merged back into it; no cookie outlives
// the call otherwise. Empty bytes and status 0 when nothing answered.
Bytes object_request(RequestDescription& request);

}  // namespace tamberlo
