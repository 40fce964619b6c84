#pragma once

#include <QString>

// The folder chooser of the save location. It has no owner window and holds nothing: the main
// window stays usable while it is open, and the caller goes on once it closes.
namespace tamberlo {

class StopSignal;

// The chosen folder without a trailing separator (the root keeps its own), or the empty text
// when the chooser is cancelled or `stop` rises while it is open.
QString choose_folder(const QString& title, const QString& initial_folder,
                      StopSignal* stop = nullptr);

// Native separators, no trailing separator except for the root itself.
QString without_trailing_separator(QString folder);

}  // namespace tamberlo
