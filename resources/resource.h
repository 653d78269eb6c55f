// Resource identifiers shared by tessary.rc and the code.
#pragma once
#define IDI_TESSARY 1
