// A numbered sequence of frames of one size and colour, found by its label.
// Made and owned by the resource manager; never copied.
#pragma once

#include "Color.h"
#include "Frame.h"
#include "Vector.h"

#include <memory>
#include <string>

namespace qm {

class Sprite {
public:
  explicit Sprite(int max_frames);
  ~Sprite();

  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setColor(Color new_color);
  Color getColor() const;
  int getFrameCount() const;
  void setLabel(std::string new_label);
  std::string getLabel() const;
  void setSlowdown(int new_sprite_slowdown);
  int getSlowdown() const;

  // -1 when every slot is taken (or there are no slots at all).
  int addFrame(Frame new_frame);
  // A copy; an empty frame for a number without a frame.
  Frame getFrame(int frame_number) const;
  // -1 (and a log line) for a number outside the slots.
  int draw(int frame_number, Vector position) const;

private:
  Sprite(const Sprite &);
  void operator=(const Sprite &);

  int m_width;
  int m_height;
  int m_max_frame_count;
  int m_frame_count;
  Color m_color;
  int m_slowdown;
  std::unique_ptr<Frame[]> m_frame;
  std::string m_label;
};

} // namespace qm
