// Whether sound can be heard on this machine, found out once, before the
// first sound or music exists. Without a device every OpenAL call that SFML
// makes writes an error, and a playing music stream writes them without
// pause; sounds and music then load as usual but do not play.
#pragma once

namespace qm {

// Opens SFML's sound device on the first call, quietly, and keeps it open
// for the rest of the run; every call gives the first call's answer. Without
// a device SFML tries to open one again for every sound that is loaded or
// copied and every music that is opened, and each try writes the sound
// libraries' chatter on standard error: such calls are made inside a
// QuietStandardError(!soundDeviceWorks()).
bool soundDeviceWorks();

} // namespace qm
