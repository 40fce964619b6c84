#pragma once

#include <httplib.h>

#include "sample-service/service_state.h"

namespace tamberlo::sample {

// cpp-httplib's server with the connection loop taken over: each request's head is read first,
// recorded, and either answered by hand (answers that cpp-httplib cannot write, such as a
// connection dropped before any answer or header lines given byte for byte) or handed to
// cpp-httplib's own request processing, which ends in the service's routes.
class ProxyServer final : public httplib::Server {
 public:
  explicit ProxyServer(SampleService::State& state);

 private:
  bool process_and_close_socket(socket_t sock) override;

  SampleService::State& state_;
};

}  // namespace tamberlo::sample
