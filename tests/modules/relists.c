/* Module 8, whose Configure changes what it offers: at first one listed
 * transformation (code 81); after Configure it is renamed and a second
 * one (code 82) is listed too, as a module may do once the user has set
 * it up. */
#include "test_module.h"

static void configure(void);

static TTransDescriptor transformations[] = {
    {
        .Name = "Before configuring",
        .Description = "Listed from the start",
        .TransCode = 81,
        .Version = 0x0100,
        .Listed = 1,
        .Configure = configure,
    },
    {
        .Name = "Offered once configured",
        .Description = "Listed after Configure",
        .TransCode = 82,
        .Version = 0x0100,
        .Listed = 0,
    },
};

static void configure(void)
{
    transformations[0].Name = "After configuring";
    transformations[1].Listed = 1;
}

static TTransDescriptor *get_transformation(int32_t index)
{
    const int32_t count = (int32_t)(sizeof transformations / sizeof transformations[0]);
    return index >= 0 && index < count ? &transformations[index] : NULL;
}

static TModuleHeader header = {
    .InterfaceVersion = TVLC_INTERFACE_VERSION,
    .Name = "Relisting module",
    .Description = "Test module",
    .Author = "TVLC tests",
    .ModuleCode = 8,
    .ModuleVersion = 0x0100,
    .GetTransformation = get_transformation,
};

TEST_MODULE_EXPORT TModuleHeader *GetModuleHeader(void)
{
    return &header;
}
