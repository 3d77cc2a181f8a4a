#include "power/execution_state.h"

#include <windows.h>

namespace power {

void ExecutionStateKeepAwake::hold() {
    if (!held_) {
        held_ = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
    }
}

void ExecutionStateKeepAwake::release() {
    if (held_) {
        SetThreadExecutionState(ES_CONTINUOUS);
        held_ = false;
    }
}

}  // namespace power
