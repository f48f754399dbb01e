// The game's one way to play an effect: sounds are looked up by label on
// every use, and a game whose sound failed to load plays on without it.
#pragma once

#include <string>

// Plays the sound with the label once, when it is loaded; nothing otherwise.
void playSoundEffect(const std::string &label);
