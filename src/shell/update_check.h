#pragma once

#include <string>

// The help page's update check: the maker's update page carries the newest version between
// "#" + product identifier + "@@" and "#" + product identifier.
namespace tamberlo {

enum class UpdateOutcome {
  up_to_date,  // the same version text
  newer,       // a larger whole version number
  unchanged,   // anything else: the result label keeps what it showed
};

struct UpdateVerdict {
  std::string newest;  // GBK, empty when the page could not be read
  UpdateOutcome outcome = UpdateOutcome::unchanged;
};

std::string update_page_address();
// Fetched with the browser's manner of request; the body read as text without conversion.
std::string fetch_update_page();
UpdateVerdict judge_update_page(const std::string& page, const std::string& current_version,
                                const std::string& product_identifier);

}  // namespace tamberlo
