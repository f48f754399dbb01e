// What the game-over and win screens share: how long one run through their
// animation lasts, and the countdown that ends it by clearing the world and
// bringing the start screen back.
#pragma once

namespace qm {
class Object;
}

// Frames times slowdown of the object's sprite: the drawing passes of one run
// through its animation (steps), at most the largest int; 0 without a sprite.
int animationLength(const qm::Object &screen);

// One step event of an end screen: when its time is up it clears the world,
// itself included, and brings back a start screen unless one is waiting.
void countDown(int &time_to_live);

// Marks every object in the world for deletion except the start screens.
void clearAllButStartScreens();
