#pragma once

// The "ｴﾗｰ" box of a command handler that failed.

#include <QString>

#include "app/message_sink.h"
#include "model/error_numbers.h"

namespace planimo {

// Shows handler + "():ｴﾗｰ番号 " + number + ... through `sink`; a cancelled
// chooser (32755) shows nothing. True when a box was shown.
bool ShowErrorBox(MessageSink& sink, const QString& handler, const ErrorReport& report);

}  // namespace planimo
