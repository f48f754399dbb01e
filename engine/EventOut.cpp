#include "EventOut.h"

namespace qm {

EventOut::EventOut() {
  setType(OUT_EVENT);
}

} // namespace qm
