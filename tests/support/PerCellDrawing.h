// The reference for the display's batched drawing: one character drawn
// straight to the target as two shapes, a black cell-sized rectangle and then
// a bold text, the way the display drew every cell before it batched them.
// Pictures drawn both ways must agree to the pixel.
#pragma once

#include "Color.h"
#include "DisplayManager.h"
#include "Frame.h"
#include "PictureFit.h"
#include "Vector.h"

#include <SFML/Graphics/RenderTarget.hpp>

#include <functional>
#include <string>

namespace qm_test {

// Draws at once onto the target, whose view is the fit's, with a font of its
// own loaded from the working directory; logs the undefined colour's warning.
// -1 without the font.
int drawChPerCell(sf::RenderTarget &target, const qm::PictureFit &fit, qm::Vector world_pos,
                  char ch, qm::Color color);
// The same onto the display manager's window, fitted to its size; -1 without
// a window.
int drawChPerCell(qm::Vector world_pos, char ch, qm::Color color);

// A justified row and a frame's cells, as the display lays them out, each
// character through draw_ch.
using DrawCh = std::function<void(qm::Vector, char, qm::Color)>;
void drawStringPerCell(const DrawCh &draw_ch, qm::Vector pos, const std::string &str,
                       qm::Justification just, qm::Color color);
void drawFramePerCell(const DrawCh &draw_ch, const qm::Frame &frame, qm::Vector position,
                      qm::Color color);

} // namespace qm_test
