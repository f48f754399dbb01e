// The display's screen in a window of the X window system: opens the window
// once the server has said that it can show one, fits the picture to the
// window's size whenever it changes, switches to the full screen and back at
// F11, gives it an icon, and shows each frame through a cell renderer. Owned
// by the display manager.
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
  void fitTo(sf::Vector2u window_size);
  void switchMode();
  void setIcon();

  sf::RenderWindow m_window;
  const sf::Font *m_p_font;
  sf::Vector2u m_picture_size;
  sf::Vector2u m_grid_size;
  PictureFit m_fit;
  CellRenderer m_renderer;
  bool m_close_requested = false;
  // Made from the font; set again on every new window.
  sf::Image m_icon;
  // Between the window and the full screen: the window's size before, and
  // F11 pressed in this window, to switch once it is released.
  bool m_fullscreen = false;
  sf::Vector2u m_windowed_size;
  bool m_f11_down = false;
  bool m_switch_pending = false;
};

} // namespace qm
