// A numbered sequence of frames of one size and colour, found by its label.
// Made and owned by the resource manager; never copied.
#pragma once

#include "Color.h"
#include "Frame.h"
#include "Vector.h"

#include <memory>
#include <string>

namespace qm {

// The most frame slots a sprite can have. Slots are allocated whole when the
// sprite is made, and the count may come from a damaged sprite file: asking
// for billions of them would exhaust memory (or seem to succeed and fail
// later), so larger counts are refused as unallocatable. Hand-drawn sprites
// stay far below it.
inline constexpr int MAX_SPRITE_FRAMES = 10000;

class Sprite {
public:
  // A negative count or one above MAX_SPRITE_FRAMES gives a sprite without
  // slots, which refuses every frame.
  explicit Sprite(int max_frames);
  ~Sprite();
  // Objects point at a sprite that the resource manager owns; a copy would
  // be a second owner of the same frames.
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;

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
