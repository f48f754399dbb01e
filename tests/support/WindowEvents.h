// Real window-system input for tests under Xvfb: events sent to the
// display's window through the X server, as a player's keyboard, mouse or
// window manager would, so that they come back out of the window's event queue.
//
// Each call waits until the X server has passed the event on; the window sees
// it at its next pollEvent. Each returns false when the X server cannot be
// reached (no DISPLAY), so a test can ASSERT_TRUE on it.
#pragma once

#include <SFML/Window/Window.hpp>

namespace qm_test {

// The window manager's close request (the title bar's close button).
bool sendCloseRequest(const sf::Window &window);

// The pointer moved to the pixel (x, y) of the window. Sent to the window
// itself rather than by moving the real pointer, which would report to
// whichever window lies on top there (tests may run side by side).
bool sendPointerMove(const sf::Window &window, int x, int y);

// A press or release of the key with the given X keysym (XK_p is 0x70, i.e.
// the lower-case letter), stamped with time_ms. A held key repeats as
// release/press pairs that share their time stamp, which is how the window
// tells repeats from real presses.
bool sendKey(const sf::Window &window, unsigned long keysym, bool pressed, unsigned long time_ms);

} // namespace qm_test
