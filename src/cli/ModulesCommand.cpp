#include <iostream>

#include "cli/CliCommands.h"

namespace tvlc {

int ModulesCommand(const TCliOptions& options) {
  if (!options.files.empty()) return UsageError("modules takes no files");
  TCliSession session(options);
  const TModuleRegistry& registry = session.core.Registry;
  if (options.csv)
    std::cout << "module_code,module_name,module_version,trans_code,trans_name,trans_version,"
                 "listed\n";
  for (const TModuleRegistry::TModuleRow& row : registry.Modules()) {
    const TModuleHeader& header = *row.Header;
    if (!options.csv)
      std::cout << row.Text << " (code " << uint32_t(header.ModuleCode) << ", version "
                << VersionText(header.ModuleVersion) << ")\n";
    for (int32_t i = 0; const TTransDescriptor* d = TransformationAt(header, i); ++i) {
      const std::string name = d->Name ? d->Name : "";
      if (options.csv)
        std::cout << uint32_t(header.ModuleCode) << ',' << row.Text << ','
                  << VersionText(header.ModuleVersion) << ',' << uint32_t(d->TransCode) << ','
                  << name << ',' << VersionText(d->Version) << ',' << (d->Listed ? 1 : 0) << "\n";
      else
        std::cout << "  " << uint32_t(header.ModuleCode) << ':' << uint32_t(d->TransCode) << "  "
                  << name << " (version " << VersionText(d->Version) << ")"
                  << (d->Listed ? "" : " [not listed]") << "\n";
    }
  }
  return 0;
}

}  // namespace tvlc
