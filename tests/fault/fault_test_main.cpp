// main() of the fault tests: the program runs again under the fault library when it was not
// started under it, so every test meets the faults it sets; then one QApplication on the
// offscreen platform, as for the other widget tests.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    const char *preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, YORIMO_FAULT_SHIM)) {
        setenv("LD_PRELOAD", YORIMO_FAULT_SHIM, 1);
        // The library comes before the sanitizers' runtime in a sanitized build.
        setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
        execv("/proc/self/exe", argv);
        std::perror("execv");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
