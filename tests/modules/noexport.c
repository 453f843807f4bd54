/* A library without GetModuleHeader: the loader must free it unused. */
#include "test_module.h"

TEST_MODULE_EXPORT int NotAModuleHeader(void)
{
    return 0;
}
