// The reference for the display's batched drawing: one character drawn
// straight to the window as two shapes, a black cell-sized rectangle and then
// a bold text, the way the display drew every cell before it batched them.
// Pictures drawn both ways must agree to the pixel.
#pragma once

#include "Color.h"
#include "DisplayManager.h"
#include "Frame.h"
#include "Vector.h"

#include <string>

namespace qm_test {

// Draws at once to the display manager's window, with a font of its own
// loaded from the working directory; logs the undefined colour's warning.
// -1 without a window.
int drawChPerCell(qm::Vector world_pos, char ch, qm::Color color);
// A justified row and a frame's cells, as the display lays them out, each
// character through drawChPerCell.
void drawStringPerCell(qm::Vector pos, const std::string &str, qm::Justification just,
                       qm::Color color);
void drawFramePerCell(const qm::Frame &frame, qm::Vector position, qm::Color color);

} // namespace qm_test
