#include "EventSpeed.h"

EventSpeed::EventSpeed() {
  setType(SPEED_EVENT);
}
