#include "ViewObject.h"

#include "DisplayManager.h"
#include "EventView.h"
#include "LogManager.h"
#include "WorldManager.h"
#include "utility.h"

#include <cstdio>
#include <utility>

namespace qm {

ViewObject::ViewObject()
    : m_value(0), m_draw_value(true), m_border(true), m_color(WHITE), m_location(TOP_CENTER) {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
  setLocation(TOP_CENTER);
}

int ViewObject::draw() {
  // The value is shown whatever the draw-value flag says.
  const std::string value_str = toString(m_value);
  const std::string text =
      m_border ? " " + view_string + " " + value_str + " " : view_string + " " + value_str;
  const Vector pos = viewToWorld(getPosition());
  const DisplayManager &display_manager = DisplayManager::getInstance();
  display_manager.drawString(pos, text, CENTER_JUSTIFIED, m_color);
  if (m_border) {
    const int length = static_cast<int>(text.size());
    const std::string line = "+" + std::string(text.size(), '-') + "+";
    display_manager.drawString(Vector(pos.getX(), pos.getY() - 1), line, CENTER_JUSTIFIED, m_color);
    display_manager.drawString(Vector(pos.getX(), pos.getY() + 1), line, CENTER_JUSTIFIED, m_color);
    // Each bar stands under a corner of the lines, just outside the text.
    const float half = static_cast<float>(length / 2);
    display_manager.drawCh(Vector(pos.getX() - half - 1, pos.getY()), '|', m_color);
    display_manager.drawCh(Vector(pos.getX() - half + static_cast<float>(length), pos.getY()), '|',
                           m_color);
  }
  return 0;
}

int ViewObject::eventHandler(const Event *p_e) {
  if (p_e->getType() != VIEW_EVENT) {
    return 0;
  }
  // The type string alone does not prove the class: anyone may set it.
  const EventView *p_view_event = dynamic_cast<const EventView *>(p_e);
  if (!p_view_event || p_view_event->getTag() != view_string) {
    return 0;
  }
  if (p_view_event->getDelta()) {
    setValue(m_value + p_view_event->getValue());
  } else {
    setValue(p_view_event->getValue());
  }
  return 1;
}

void ViewObject::setLocation(ViewObjectLocation new_location) {
  if (new_location == UNDEFINED) {
    printf("%s %p\n", getType().c_str(), static_cast<void *>(this));
    LogManager::getInstance().writeLog("WARNING! Undefined ViewObject location given\n");
    return;
  }
  if (new_location < TOP_LEFT || new_location > BOTTOM_RIGHT) {
    const LogManager &log_manager = LogManager::getInstance();
    log_manager.writeLog("WARNING! No ViewObject location given\n");
    log_manager.writeLog("%s %p\n", getType().c_str(), static_cast<void *>(this));
    return;
  }
  const Box view = WorldManager::getInstance().getView();
  const float horizontal = view.getHorizontal();
  const float vertical = view.getVertical();

  // Columns at a sixth, a half and five sixths of the view.
  const int column = new_location % 3;
  const float x = horizontal * static_cast<float>(2 * column + 1) / 6;

  // Without a border the top and bottom rows move out into the rows the
  // frame would have taken.
  float y = vertical / 2;
  if (new_location <= TOP_RIGHT) {
    y = m_border ? 1 : 0;
  } else if (new_location >= BOTTOM_LEFT) {
    y = m_border ? vertical - 2 : vertical - 1;
  }
  setPosition(Vector(x, y));
  m_location = new_location;
}

ViewObjectLocation ViewObject::getLocation() const {
  return m_location;
}

void ViewObject::setValue(int new_value) {
  m_value = new_value;
}

int ViewObject::getValue() const {
  return m_value;
}

void ViewObject::setBorder(bool new_border) {
  if (new_border == m_border) {
    return;
  }
  m_border = new_border;
  setLocation(getLocation());
}

bool ViewObject::getBorder() const {
  return m_border;
}

void ViewObject::setColor(Color new_color) {
  m_color = new_color;
}

Color ViewObject::getColor() const {
  return m_color;
}

void ViewObject::setViewString(std::string new_view_string) {
  view_string = std::move(new_view_string);
}

std::string ViewObject::getViewString() const {
  return view_string;
}

void ViewObject::setDrawValue(bool new_draw_value) {
  m_draw_value = new_draw_value;
}

bool ViewObject::getDrawValue() const {
  return m_draw_value;
}

} // namespace qm
