/* A module of a later interface version: the loader must free it unused. */
#include "test_module.h"

/* ModuleInit calls; stays 0 when the loader refuses the module. */
TEST_MODULE_EXPORT int badversion_module_inits;

static void module_init(void)
{
    ++badversion_module_inits;
}

static TTransDescriptor *get_transformation(int32_t index)
{
    (void)index;
    return NULL;
}

static TModuleHeader header = {
    .InterfaceVersion = 0x0101,
    .Name = "Later interface module",
    .Description = "Speaks interface version 1.1",
    .Author = "TVLC tests",
    .ModuleCode = 6,
    .ModuleVersion = 0x0100,
    .ModuleInit = module_init,
    .GetTransformation = get_transformation,
};

TEST_MODULE_EXPORT TModuleHeader *GetModuleHeader(void)
{
    return &header;
}
