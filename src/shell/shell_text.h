#pragma once

#include <QString>
#include <string>
#include <string_view>

// The window speaks UTF-16, the engines GBK: every text crosses here.
namespace tamberlo {

QString to_qt(std::string_view local);
std::string to_local(const QString& text);

}  // namespace tamberlo
