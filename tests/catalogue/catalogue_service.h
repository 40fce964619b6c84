#pragma once

#include <string_view>

#include "sample-service/sample_service.h"

// The sample album service as the HTTP proxy of the engines under test (test_catalogue_service
// starts it with catalogue_fixture() for the whole program).
namespace tamberlo::catalogue_test {

// Owner "abc": 春游 (open, 12 photos), 家人 合影 (password "1234", 3), 同学聚会 (login, 2).
// Owner "solo": one open album.
sample::Fixture catalogue_fixture();

// Routes the requests through the service, switches its faults off and empties its received
// requests and the process cookies (the browser's, in the program). For SetUp.
void reset_service();

// What the user does in the embedded browser: these requests share the process cookies.
void unlock_album(std::string_view account, std::string_view album_id, std::string_view password);
void log_in();

}  // namespace tamberlo::catalogue_test
