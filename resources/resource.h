// Resource identifiers shared by tessary.rc and the code.
#pragma once
#define IDI_TESSARY 1
#define IDB_MONITOR 101
#define IDI_RESAMPLE_PROPORTIONAL 102
#define IDI_RESAMPLE_STRETCH 103
