#include "shell/shell_text.h"

#include "text/encoding.h"

namespace tamberlo {

QString to_qt(std::string_view local) { return QString::fromStdString(local_to_utf8(local)); }

std::string to_local(const QString& text) { return utf8_to_local(text.toStdString()); }

}  // namespace tamberlo
