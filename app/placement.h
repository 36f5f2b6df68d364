// Where the window goes and how big its client area is: pure arithmetic,
// kept apart from the toolkit so it can be tested on any screen size.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>

namespace morvane {

// Centred on the full screen. Integer division truncates toward zero and
// nothing is clamped, so a screen smaller than the window leaves it partly
// off the screen: (-80, -10) for 800 x 500 on 640 x 480.
constexpr QPoint centred_place(QSize screen, QSize window) {
  return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

// The client size that makes the whole window, frame included, `whole`.
constexpr QSize client_size_within(QSize whole, QMargins frame) {
  return {whole.width() - frame.left() - frame.right(),
          whole.height() - frame.top() - frame.bottom()};
}

}  // namespace morvane
