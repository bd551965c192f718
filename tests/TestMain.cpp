#include <gtest/gtest.h>

#include <cstdlib>

// Every test program runs headless and keeps LAN traffic on loopback, however it is started
// (through CTest or by hand). The desktop libraries keep caches until exit on purpose, so leak
// reports are off.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("GLYPHOR_LAN_BROADCAST", "127.255.255.255", 0);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 0);  // for the programs the tests start
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
