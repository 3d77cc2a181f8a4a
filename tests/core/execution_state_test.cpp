// The keep-awake of the Windows build against the system's own execution state.
#include <gtest/gtest.h>
#include <windows.h>

#include "power/execution_state.h"

TEST(ExecutionStateKeepAwake, AsksToStayUpWhileHeldAndClearsItAfterwards) {
    // A request without ES_CONTINUOUS changes nothing lasting and answers with the state in force.
    const auto inForce = [] { return SetThreadExecutionState(ES_SYSTEM_REQUIRED); };
    const EXECUTION_STATE awake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    {
        power::ExecutionStateKeepAwake keepAwake;
        keepAwake.hold();
        keepAwake.hold();
        EXPECT_EQ(inForce(), awake);
        keepAwake.release();
        EXPECT_EQ(inForce() & ES_SYSTEM_REQUIRED, 0u);
        keepAwake.hold();
        EXPECT_EQ(inForce(), awake);
    }
    EXPECT_EQ(inForce() & ES_SYSTEM_REQUIRED, 0u);
}
