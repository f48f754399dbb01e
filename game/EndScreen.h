// What the game-over and win screens share: how long one run through their
// animation lasts, the countdown that ends it, and the clearing that leaves
// only the screens that lead back to the start.
#pragma once

namespace qm {
class Object;
}

// Frames times slowdown of the object's sprite: the drawing passes of one run
// through its animation; 0 without a sprite.
int animationLength(const qm::Object &screen);

// One step event of an end screen: when its time is up it marks itself for
// deletion and puts up a new start screen.
void countDown(qm::Object *p_screen, int &time_to_live);

// Marks every object in the world for deletion except the start screens and
// any end screen other than p_screen.
void clearAllButStartScreens(const qm::Object *p_screen);
