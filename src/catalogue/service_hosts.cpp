#include "catalogue/service_hosts.h"

#include <atomic>
#include <forward_list>
#include <mutex>

namespace tamberlo {
namespace {

// Front ends set the hosts once at start (tests point them at the sample service). Callers hold
// the reference they were handed, so every set of hosts stays alive for the whole run: a
// replacement never pulls a text away under a reader.
struct HostsRegistry {
  std::mutex mutex;
  std::forward_list<ServiceHosts> every_set{ServiceHosts{}};
  std::atomic<const ServiceHosts*> current{&every_set.front()};
};

HostsRegistry& registry() {
  static HostsRegistry instance;
  return instance;
}

}  // namespace

const ServiceHosts& service_hosts() { return *registry().current.load(); }

void set_service_hosts(const ServiceHosts& hosts) {
  HostsRegistry& hosts_registry = registry();
  std::lock_guard lock(hosts_registry.mutex);
  hosts_registry.every_set.push_front(hosts);
  hosts_registry.current.store(&hosts_registry.every_set.front());
}

}  // namespace tamberlo
