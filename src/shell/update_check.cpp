#include "shell/update_check.h"

#include "catalogue/service_hosts.h"
#include "http/internet_request.h"
#include "text/encoding.h"
#include "text/text.h"

namespace tamberlo {

std::string update_page_address() {
  return "http://" + service_hosts().maker_host + "/download/softzuixinv/index.html";
}

std::string fetch_update_page() {
  RequestDescription request;
  request.url = update_page_address();
  request.method = 0;
  return body_as_text(internet_request(request));
}

UpdateVerdict judge_update_page(const std::string& page, const std::string& current_version,
                                const std::string& product_identifier) {
  UpdateVerdict verdict;
  verdict.newest = text_between(page, "#" + product_identifier + "@@", "#" + product_identifier);
  if (verdict.newest == current_version) {
    verdict.outcome = UpdateOutcome::up_to_date;
    return verdict;
  }
  // Only the whole numbers count: 2.1 is no news to a 2.0 program.
  const double difference = static_cast<double>(leading_integer(verdict.newest)) -
                            static_cast<double>(leading_integer(current_version));
  verdict.outcome = difference > 0.0000001 ? UpdateOutcome::newer : UpdateOutcome::unchanged;
  return verdict;
}

}  // namespace tamberlo
