#pragma once

class QApplication;

// The program's look: one style sheet for every window, carried inside the program.
namespace tamberlo {

void apply_window_style(QApplication& application);

}  // namespace tamberlo
