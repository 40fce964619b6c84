#pragma once

#include <string_view>

#include "http/request_description.h"

namespace tamberlo {

// One request in the browser's manner: without a caller cookie text it sends and stores cookies
// through process_cookie_store(), as the embedded browser does. Uses parameters 1-7 and 9-11 of
// the description plus its gate. Empty bytes on failure.
Bytes internet_request(RequestDescription& request);

// The host part, lower-cased, with or without its port.
Text url_host(std::string_view url, bool keep_port);
// The port named in the address, else 443 for https and 80 otherwise.
int url_port(std::string_view url);
// The path with query and fragment, beginning with "/".
Text url_path(std::string_view url);

}  // namespace tamberlo
