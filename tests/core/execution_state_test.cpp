// The keep-awake of the Windows build against the system's own execution state.
#include <gtest/gtest.h>
#include <windows.h>

#include "power/execution_state.h"

namespace {

// A request without ES_CONTINUOUS changes nothing lasting and answers with the state in force.
EXECUTION_STATE stateInForce() {
    return SetThreadExecutionState(ES_SYSTEM_REQUIRED);
}

constexpr EXECUTION_STATE kAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;

TEST(ExecutionStateKeepAwake, AsksToStayUpWhileHeldAndClearsItAfterwards) {
    {
        power::ExecutionStateKeepAwake keepAwake;
        keepAwake.hold();
        keepAwake.hold();
        EXPECT_EQ(stateInForce(), kAwake);

        keepAwake.release();
        EXPECT_EQ(stateInForce() & ES_SYSTEM_REQUIRED, 0u);

        keepAwake.hold();
        EXPECT_EQ(stateInForce(), kAwake);
    }
    EXPECT_EQ(stateInForce() & ES_SYSTEM_REQUIRED, 0u);
}

}  // namespace
