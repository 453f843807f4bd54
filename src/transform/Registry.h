// The module registry: the built-in module and every tr_*.so beside the
// program, the lookup of transformations by code, and the current and
// default selection. It is the model of the "Select Transformation" dialog;
// the Qt dialog only shows it and forwards clicks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tvlc/module.h"

namespace tvlc {

class TShape;

// Directory of the running executable, with a trailing '/'.
std::string ProgramDirectory();

// A module or transformation version as shown: 0x0100 gives "1.0", 0x0009 "0.9".
std::string VersionText(uint16_t version);

// The module's transformation at a zero-based index, or null past the last.
TTransDescriptor* TransformationAt(const TModuleHeader& header, int32_t index);

class TModuleRegistry {
 public:
  struct TModuleRow {
    std::string Text;
    TModuleHeader* Header;
  };
  struct TTransRow {
    std::string Text;
    TTransDescriptor* Descriptor;
  };

  // Becomes the active registry, the one that FindTransformation and every
  // module's header reach. Loads nothing yet.
  explicit TModuleRegistry(std::string moduleDirectory = ProgramDirectory());
  // Unloads every module; the registry made before it becomes active again.
  ~TModuleRegistry();
  TModuleRegistry(const TModuleRegistry&) = delete;
  TModuleRegistry& operator=(const TModuleRegistry&) = delete;

  static TModuleRegistry* Active();

  void LoadModules();
  void UnloadModules();
  // Lookup by codes with the fallback to any module; makes the found
  // transformation the current selection.
  TTransDescriptor* FindTransformation(int32_t moduleCode, int32_t transCode);
  // What FindTransformation would find and select, without selecting it:
  // the transformation, the module code it selects (0 after the fallback)
  // and the module's row.
  struct TResolved {
    TTransDescriptor* Descriptor = nullptr;
    int32_t ModuleCode = 0;
    int ModuleRow = -1;
  };
  TResolved Resolve(int32_t moduleCode, int32_t transCode) const;
  // The name FindTransformation gives SelTransName for a found transformation.
  static std::string SelectionName(const TTransDescriptor& found);

  // Bumped by every unload: descriptors found before it may point into a
  // freed library.
  uint64_t Generation() const { return generation_; }

  // Selection state.
  int32_t SelModuleCode = 0;
  int32_t SelTransCode = 0;
  std::string SelTransName;
  int32_t DefModuleCode = 1;
  int32_t DefTransCode = 2;
  bool ForceDefModule = false;

  // Dialog model: rows, selected rows (-1 for none) and the label texts.
  const std::vector<TModuleRow>& Modules() const { return modules_; }
  const std::vector<TTransRow>& Transformations() const { return transformations_; }
  int SelectedModuleRow() const { return selectedModule_; }
  int SelectedTransRow() const { return selectedTrans_; }
  std::string ModVerText, ModCodeText, ModDescText, AuthorText;
  std::string TransVerText, TransCodeText, TransDescText;
  bool ConfigureEnabled = false;
  std::string ReloadCaption = "&Flush Cache";

  void ModListClick(int row);
  void TransListClick(int row);
  // False when no row is selected: the caller shows "No transformation selected".
  bool SelBtnClick();
  // Configure of the selected row's descriptor; the rows are built again
  // afterwards, since the module may change what it lists.
  void ConfBtnClick();
  void SetAsDefault();
  void ReloadBtnClick();

 private:
  // ... implementation state
  std::string moduleDirectory_;
  std::vector<TModuleRow> modules_;
  std::vector<TTransRow> transformations_;
  int selectedModule_ = -1;
  int selectedTrans_ = -1;
  uint64_t generation_ = 1;
  TModuleRegistry* previous_ = nullptr;
};

// FindTransformation of the active registry; null when there is none.
TTransDescriptor* FindTransformation(int32_t moduleCode, int32_t transCode);

// The shape's kept descriptor, or null when it was found before the last
// unload of modules (or never).
const TTransDescriptor* HeldDescriptor(const TShape& shape);
// Looks the shape's codes up afresh and keeps the result in the shape.
const TTransDescriptor* LookUpDescriptor(TShape& shape);

}  // namespace tvlc
