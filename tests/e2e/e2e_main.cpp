// main() of every scenario program: points the prefix's shell associations
// at the recorder before any test runs.
#include <gmock/gmock.h>

#include <cstdio>

#include "e2e_test.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    // A broken test set-up fails the test at hand, with the reason, instead of passing for a
    // probe that quietly read nothing.
    e2e::OnDriverFault([](const std::string& message) { ADD_FAILURE() << "e2e driver: " << message; });
    if (e2e::RecorderExe().empty()) {
        std::fprintf(stderr, "E2E_RECORDER is not set; shell calls will not be recorded\n");
    } else if (!e2e::InstallRecorder(e2e::RecorderExe())) {
        std::fprintf(stderr, "cannot install the shell recorder %s\n", e2e::RecorderExe().c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
