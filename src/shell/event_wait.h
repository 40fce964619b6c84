#pragma once

#include <cstdint>

// Every pause of the program goes through here. On the window thread the wait keeps handling
// events, so buttons pressed meanwhile run their handlers inside it; on a worker thread it simply
// sleeps. Either way it ends early when the window closes.
namespace tamberlo {

class StopSignal;

bool on_window_thread();

// How long a wait of count units lasts, in milliseconds (never below 0).
std::int64_t wait_duration_ms(int count, int unit);

// unit: 0 milliseconds, 1 seconds, 2 minutes, 3 hours; any other value is itself the number of
// milliseconds in one unit. False when `stop` was raised before the time was up.
bool wait_processing_events(int count, int unit = 0, StopSignal* stop = nullptr);

}  // namespace tamberlo
