// A game object pinned to the screen: a label and a number at one of nine
// places of the view, kept up to date by view events. Made with new by game
// code and owned by the world like every object.
#pragma once

#include "Color.h"
#include "Object.h"

#include <string>

namespace qm {

enum ViewObjectLocation : int {
  UNDEFINED = -1,
  TOP_LEFT = 0,
  TOP_CENTER,
  TOP_RIGHT,
  CENTER_LEFT,
  CENTER_CENTER,
  CENTER_RIGHT,
  BOTTOM_LEFT,
  BOTTOM_CENTER,
  BOTTOM_RIGHT,
};

class ViewObject : public Object {
public:
  // The view must be set already: the position comes from its size.
  ViewObject();

  int draw() override;
  // 1 when a view event changed the number.
  int eventHandler(const Event *p_e) override;

  void setLocation(ViewObjectLocation new_location);
  ViewObjectLocation getLocation() const;
  void setValue(int new_value);
  int getValue() const;
  // Moves the object, since the top and bottom rows depend on the border.
  void setBorder(bool new_border);
  bool getBorder() const;
  void setColor(Color new_color);
  Color getColor() const;
  void setViewString(std::string new_view_string);
  std::string getViewString() const;
  void setDrawValue(bool new_draw_value);
  bool getDrawValue() const;

private:
  std::string view_string;
  int m_value;
  bool m_draw_value;
  bool m_border;
  Color m_color;
  ViewObjectLocation m_location;
};

} // namespace qm
