#pragma once
// Resource numbers, shared by app.rc and the code (the resource compiler reads only macros).

#define TV_IDI_APP 1
