// The display's screen in a window of the X window system: opens the window
// once the server has said that it can show one, fits the picture to the
// window's size whenever it changes, switches to the full screen and back at
// F11, gives it an icon, and shows each frame through a cell renderer: laid
// out by it and composed on the processor, or drawn by it through OpenGL
// where the window's pixels cannot be put directly. Owned by the display
// manager.
#pragma once

#include "CellRenderer.h"
#include "CellScreen.h"
#include "FrameCompositor.h"
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
  bool compose(std::vector<ScreenCell> *p_cells);
  void switchMode();
  void setIcon();

  sf::RenderWindow m_window;
  const sf::Font *m_p_font;
  sf::Vector2u m_picture_size;
  sf::Vector2u m_grid_size;
  PictureFit m_fit;
  CellRenderer m_renderer;
  // Attached anew to every window and size; m_composing while it composes,
  // m_show_whole until it has put its whole picture on the window.
  FrameCompositor m_compositor;
  bool m_composing = false;
  bool m_show_whole = false;
  // The window shows what OpenGL drew last, not the compositor.
  bool m_drawn_by_gl = false;
  std::vector<CompositeCell> m_composite;
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
