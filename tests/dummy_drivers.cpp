// Linked into every library-level test: the real SDL on its dummy drivers,
// no window and no sound card, whether CTest or a developer starts the test.
// A test that wants another driver sets it itself.
#include <cstdlib>

namespace {

const bool dummyDrivers = setenv("SDL_VIDEODRIVER", "dummy", 0) == 0 && setenv("SDL_AUDIODRIVER", "dummy", 0) == 0;

}  // namespace
