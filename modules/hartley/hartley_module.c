#include "hartley_module.h"

#include "hartley_transform.h"

static void module_init(void) {}

static void module_done(void) {}

static TTransDescriptor *get_transformation(int32_t index)
{
    return index == 0 ? hartley_descriptor() : NULL;
}

static TModuleHeader header = {
    .InterfaceVersion = TVLC_INTERFACE_VERSION,
    .Name = "External module",
    .Description = "Module for CAS-CAS (Hartley) transformation",
    .Author = "TVLC project\r\ntvlc@example.org",
    .ModuleCode = HARTLEY_MODULE_CODE,
    .ModuleVersion = 0x0009,
    .ModuleInit = module_init,
    .ModuleDone = module_done,
    .GetTransformation = get_transformation,
};

TModuleHeader *hartley_module_header(void)
{
    return &header;
}

__attribute__((visibility("default"))) TModuleHeader *GetModuleHeader(void)
{
    return &header;
}
