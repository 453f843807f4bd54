#include "transform/Registry.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/Shape.h"
#include "transform/InternalModule.h"
#include "transform/ModuleLibrary.h"

namespace tvlc {

namespace {

TModuleRegistry* activeRegistry = nullptr;

// Generations are unique across all registries, so a shape that kept a
// descriptor of a registry destroyed since never matches a later one.
uint64_t NextGeneration() {
  static uint64_t last = 0;
  return ++last;
}

// Module texts may be missing; a null pointer shows as an empty text.
std::string Text(const char* text) { return text ? text : ""; }

std::string CodeText(int32_t code) { return std::to_string(static_cast<uint32_t>(code)); }


void ShowTransformation(TModuleRegistry& registry, const TTransDescriptor* descriptor) {
  registry.TransVerText = descriptor ? VersionText(descriptor->Version) : "";
  registry.TransCodeText = descriptor ? CodeText(descriptor->TransCode) : "";
  registry.TransDescText = descriptor ? Text(descriptor->Description) : "";
  registry.ConfigureEnabled = descriptor && descriptor->Configure;
}

void ShowModule(TModuleRegistry& registry, const TModuleHeader* header) {
  registry.ModVerText = header ? VersionText(header->ModuleVersion) : "";
  registry.ModCodeText = header ? CodeText(header->ModuleCode) : "";
  registry.ModDescText = header ? Text(header->Description) : "";
  registry.AuthorText = header ? Text(header->Author) : "";
}

void Attach(TModuleHeader& header) {
  header.FindTransformation = &tvlc::FindTransformation;
  header.HostVersion = TVLC_INTERFACE_VERSION;
}

}  // namespace

std::string VersionText(uint16_t version) {
  return std::to_string(version >> 8) + "." + std::to_string(version & 0xFF);
}

TTransDescriptor* TransformationAt(const TModuleHeader& header, int32_t index) {
  return header.GetTransformation ? header.GetTransformation(index) : nullptr;
}

std::string ProgramDirectory() {
  std::error_code error;
  std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error || program.find('/') == std::string::npos) {
    return "./";
  }
  return program.substr(0, program.rfind('/') + 1);
}

TModuleRegistry::TModuleRegistry(std::string moduleDirectory)
    : moduleDirectory_(std::move(moduleDirectory)),
      generation_(NextGeneration()),
      previous_(activeRegistry) {
  activeRegistry = this;
}

TModuleRegistry::~TModuleRegistry() {
  UnloadModules();
  if (activeRegistry == this) {
    activeRegistry = previous_;
    return;
  }
  for (TModuleRegistry* later = activeRegistry; later; later = later->previous_) {
    if (later->previous_ == this) {
      later->previous_ = previous_;
      break;
    }
  }
}

TModuleRegistry* TModuleRegistry::Active() { return activeRegistry; }

void TModuleRegistry::LoadModules() {
  // Loading twice would list every module twice and leak the first handles.
  if (!modules_.empty()) {
    UnloadModules();
  }
  TModuleHeader* internal = InternalModuleHeader();
  Attach(*internal);
  modules_.push_back({Text(internal->Name), internal});

  for (const std::string& path : FindModuleFiles(moduleDirectory_)) {
    TModuleHeader* header = OpenModuleLibrary(path);
    if (!header) {
      continue;
    }
    Attach(*header);
    if (header->ModuleInit) {
      header->ModuleInit();
    }
    modules_.push_back({Text(header->Name), header});
  }
  ModListClick(0);
}

void TModuleRegistry::UnloadModules() {
  // A row leaves the list only after its library is freed, and rows before
  // it are gone already, so a ModuleDone that looks transformations up never
  // reaches a freed library.
  while (!modules_.empty()) {
    TModuleHeader& header = *modules_.front().Header;
    if (header.ModuleDone) {
      header.ModuleDone();
    }
    CloseModuleLibrary(header);
    modules_.erase(modules_.begin());
  }
  ModListClick(-1);
  generation_ = NextGeneration();
}

std::string TModuleRegistry::SelectionName(const TTransDescriptor& found) {
  return Text(found.Name);
}

TModuleRegistry::TResolved TModuleRegistry::Resolve(int32_t moduleCode, int32_t transCode) const {
  for (size_t row = 0; row < modules_.size(); ++row) {
    const TModuleHeader& header = *modules_[row].Header;
    if (moduleCode != 0 && header.ModuleCode != moduleCode) {
      continue;
    }
    for (int32_t index = 0; TTransDescriptor* found = TransformationAt(header, index); ++index) {
      if (found->TransCode == transCode) {
        return {found, moduleCode, static_cast<int>(row)};
      }
    }
  }
  return moduleCode != 0 ? Resolve(0, transCode) : TResolved();
}

TTransDescriptor* TModuleRegistry::FindTransformation(int32_t moduleCode, int32_t transCode) {
  const TResolved resolved = Resolve(moduleCode, transCode);
  TTransDescriptor* found = resolved.Descriptor;
  if (!found) {
    return nullptr;
  }
  SelTransCode = transCode;
  SelModuleCode = resolved.ModuleCode;
  SelTransName = SelectionName(*found);
  ModListClick(resolved.ModuleRow);
  auto shown = std::find_if(transformations_.begin(), transformations_.end(),
                            [found](const TTransRow& r) { return r.Descriptor == found; });
  if (shown != transformations_.end()) {
    TransListClick(static_cast<int>(shown - transformations_.begin()));
  } else {
    // An unlisted transformation has no row; the fields still describe
    // the transformation that was found.
    selectedTrans_ = -1;
    ShowTransformation(*this, found);
  }
  return found;
}

void TModuleRegistry::ModListClick(int row) {
  transformations_.clear();
  if (row < 0 || row >= static_cast<int>(modules_.size())) {
    selectedModule_ = -1;
    ShowModule(*this, nullptr);
    TransListClick(-1);
    return;
  }
  selectedModule_ = row;
  const TModuleHeader& header = *modules_[row].Header;
  ShowModule(*this, &header);
  for (int32_t index = 0; TTransDescriptor* descriptor = TransformationAt(header, index); ++index) {
    if (!descriptor->Listed) {
      continue;
    }
    std::string text = Text(descriptor->Name);
    if (descriptor->TransCode == DefTransCode && header.ModuleCode == DefModuleCode) {
      text += " [Default]";
    }
    transformations_.push_back({std::move(text), descriptor});
  }
  TransListClick(0);
}

void TModuleRegistry::TransListClick(int row) {
  if (row < 0 || row >= static_cast<int>(transformations_.size())) {
    selectedTrans_ = -1;
    ShowTransformation(*this, nullptr);
    return;
  }
  selectedTrans_ = row;
  ShowTransformation(*this, transformations_[row].Descriptor);
}

bool TModuleRegistry::SelBtnClick() {
  if (selectedModule_ < 0 || selectedTrans_ < 0) {
    return false;
  }
  const TTransDescriptor& descriptor = *transformations_[selectedTrans_].Descriptor;
  SelModuleCode = modules_[selectedModule_].Header->ModuleCode;
  SelTransCode = descriptor.TransCode;
  SelTransName = Text(descriptor.Name);
  return true;
}

void TModuleRegistry::ConfBtnClick() {
  if (selectedTrans_ < 0) {
    return;
  }
  const TTransDescriptor* configured = transformations_[selectedTrans_].Descriptor;
  if (!configured->Configure) {
    return;
  }
  configured->Configure();
  // The module may have renamed, listed or unlisted transformations: the
  // rows are built again, keeping the configured one selected while it is
  // listed, so that Select takes what the user sees.
  ModListClick(selectedModule_);
  for (size_t row = 0; row < transformations_.size(); ++row) {
    if (transformations_[row].Descriptor == configured) {
      TransListClick(static_cast<int>(row));
    }
  }
}

void TModuleRegistry::SetAsDefault() {
  if (selectedModule_ < 0 || selectedTrans_ < 0) {
    return;
  }
  DefModuleCode = modules_[selectedModule_].Header->ModuleCode;
  DefTransCode = transformations_[selectedTrans_].Descriptor->TransCode;
  ModListClick(selectedModule_);
}

void TModuleRegistry::ReloadBtnClick() {
  if (ReloadCaption == "&Flush Cache") {
    UnloadModules();
    ReloadCaption = "&Reload Modules";
  } else {
    LoadModules();
    ReloadCaption = "&Flush Cache";
  }
}

TTransDescriptor* FindTransformation(int32_t moduleCode, int32_t transCode) {
  return activeRegistry ? activeRegistry->FindTransformation(moduleCode, transCode) : nullptr;
}

const TTransDescriptor* HeldDescriptor(const TShape& shape) {
  if (!shape.Descriptor || !activeRegistry ||
      shape.DescriptorGeneration != activeRegistry->Generation()) {
    return nullptr;
  }
  return shape.Descriptor;
}

const TTransDescriptor* LookUpDescriptor(TShape& shape) {
  shape.Descriptor = FindTransformation(static_cast<int32_t>(shape.ModuleCode),
                                        static_cast<int32_t>(shape.TransCode));
  shape.DescriptorGeneration = activeRegistry ? activeRegistry->Generation() : 0;
  return shape.Descriptor;
}

}  // namespace tvlc
