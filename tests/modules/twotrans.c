/* Module 7 with a listed, configurable transformation (code 71) and an
 * unlisted one (code -72). It counts the calls of its entry points in
 * exported variables that a test reads through dlsym. */
#include "test_module.h"

TEST_MODULE_EXPORT int twotrans_module_inits;
TEST_MODULE_EXPORT int twotrans_module_dones;
TEST_MODULE_EXPORT int twotrans_configure_calls;

static void module_init(void)
{
    ++twotrans_module_inits;
}

static void module_done(void)
{
    ++twotrans_module_dones;
}

static void configure(void)
{
    ++twotrans_configure_calls;
}

static TTransDescriptor transformations[] = {
    {
        .Name = "Configurable transformation",
        .Description = "Listed, with a Configure slot",
        .TransCode = 71,
        .Version = 0x0203,
        .Listed = 1,
        .Configure = configure,
    },
    {
        .Name = "Unlisted transformation",
        .Description = "Found by code only",
        .TransCode = -72,
        .Version = 0x0100,
        .Listed = 0,
    },
};

static TTransDescriptor *get_transformation(int32_t index)
{
    const int32_t count = (int32_t)(sizeof transformations / sizeof transformations[0]);
    return index >= 0 && index < count ? &transformations[index] : NULL;
}

static TModuleHeader header = {
    .InterfaceVersion = TVLC_INTERFACE_VERSION,
    .Name = "Two transformations",
    .Description = "Test module",
    .Author = "TVLC tests",
    .ModuleCode = 7,
    .ModuleVersion = 0x0102,
    .ModuleInit = module_init,
    .ModuleDone = module_done,
    .GetTransformation = get_transformation,
};

TEST_MODULE_EXPORT TModuleHeader *GetModuleHeader(void)
{
    return &header;
}
