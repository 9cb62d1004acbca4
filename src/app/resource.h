// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_TAVLIN 1
#define IDR_LOGO 2
