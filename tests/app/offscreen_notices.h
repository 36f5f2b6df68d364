// The offscreen platform cannot raise a window or pass size hints; the window
// asks for both, and the notices would bury real failures.
#pragma once

#include <QtGlobal>

namespace morvane::test {

inline QtMessageHandler previous_message_handler = nullptr;

inline void drop_offscreen_notices(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  previous_message_handler(type, context, message);
}

inline void install_offscreen_notice_filter() {
  previous_message_handler = qInstallMessageHandler(drop_offscreen_notices);
}

}  // namespace morvane::test
