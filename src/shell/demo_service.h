#pragma once

#include <QString>
#include <memory>

// --demo: the sample album service runs inside the program on a loopback port and stands in
// for the album service, its image hosts and the maker's site, reached as the proxy.
namespace tamberlo {

namespace sample {
class SampleService;
}

// Throws std::runtime_error when no loopback port can be bound.
std::unique_ptr<sample::SampleService> start_demo_service();

// Both the program's own requests and the embedded browser go through this proxy; call it before
// the first browser is made. An empty address means direct connections.
void use_proxy(const QString& proxy_url);

}  // namespace tamberlo
