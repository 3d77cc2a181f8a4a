// The numbers of the program's resources, shared by its resource script and the code that loads
// them: plain macros, as the resource compiler reads nothing else.
#pragma once

#define VORLIX_ICON_ID 1
