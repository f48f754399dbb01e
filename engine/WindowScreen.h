// The display's screen in a window of the X window system: opens the window
// once the server has said that it can show one, fits the picture to the
// window's size, and shows each frame through a cell renderer. Owned by the
// display manager.
#pragma once

#include "CellRenderer.h"
#include "CellScreen.h"
#include "PictureFit.h"

#include <SFML/Graphics.hpp>

#include <memory>

namespace qm {

class WindowScreen : public CellScreen {
public:
  // A window of picture_size pixels showing grid_size cells, drawn in the
  // font, which must outlive the screen; nullptr when the window system has
  // none to give.
  static std::unique_ptr<WindowScreen> open(sf::Vector2u picture_size, sf::Vector2u grid_size,
                                            const sf::Font *p_font);
  ~WindowScreen() override;

  int present(std::vector<ScreenCell> *p_cells) override;
  bool pollEvent(sf::Event *p_event) override;
  Vector pointerCells(int x, int y) const override;
  bool closeRequested() override;
  void fontChanged() override;
  sf::RenderWindow *getWindow() override;

private:
  WindowScreen(sf::Vector2u picture_size, sf::Vector2u grid_size, const sf::Font *p_font);
  void setUpWindow();

  sf::RenderWindow m_window;
  sf::Vector2u m_picture_size;
  sf::Vector2u m_grid_size;
  PictureFit m_fit;
  CellRenderer m_renderer;
  bool m_close_requested = false;
};

} // namespace qm
