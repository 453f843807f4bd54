/* The module header of tr_veska, shared by the descriptor's slots. */
#ifndef TR_VESKA_HARTLEY_MODULE_H
#define TR_VESKA_HARTLEY_MODULE_H

#include "tvlc/module.h"

#define HARTLEY_MODULE_CODE 2

/* The header that GetModuleHeader hands out, with the program's lookup
 * written into it once the module is loaded. */
TModuleHeader *hartley_module_header(void);

#endif
