#include "transform/InternalModule.h"

#include "transform/DCTII.h"
#include "transform/FFTModule.h"

namespace tvlc {

namespace {

void ModuleInit() {}

void ModuleDone() {}

TTransDescriptor* GetTransformation(int32_t index) {
  switch (index) {
    case 0:
      return DctIIDescriptor();
    case 1:
      return FftDescriptor();
    default:
      return nullptr;
  }
}

}  // namespace

TModuleHeader* InternalModuleHeader() {
  static TModuleHeader header = {TVLC_INTERFACE_VERSION,
                                 "Internal Transformations",
                                 "Built-in internal transformations",
                                 "Tarvello codec team, 2026\r\ncodec@tarvello.example",
                                 kInternalModuleCode,
                                 0x0100,
                                 nullptr,
                                 ModuleInit,
                                 ModuleDone,
                                 GetTransformation,
                                 nullptr,
                                 0};
  return &header;
}

}  // namespace tvlc
