#include "transform/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/Arrays.h"
#include "model/Shape.h"
#include "modules/ModuleFolder.h"
#include "transform/InternalModule.h"

namespace tvlc {
namespace {

using test::kVeskaModule;
using test::TestModule;
using test::TLibraryReference;
using test::TModuleFolder;

std::vector<std::string> ModuleTexts(const TModuleRegistry& registry) {
  std::vector<std::string> texts;
  for (const auto& row : registry.Modules()) texts.push_back(row.Text);
  return texts;
}

std::vector<std::string> TransTexts(const TModuleRegistry& registry) {
  std::vector<std::string> texts;
  for (const auto& row : registry.Transformations()) texts.push_back(row.Text);
  return texts;
}

int RowOf(const TModuleRegistry& registry, const std::string& text) {
  const auto& rows = registry.Modules();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].Text == text) return static_cast<int>(i);
  }
  return -1;
}

TShape ShapeWithCodes(uint32_t moduleCode, uint32_t transCode) {
  TShape shape(1, nullptr, 0, nullptr, 0, 0, 0);
  shape.ModuleCode = moduleCode;
  shape.TransCode = transCode;
  return shape;
}

// The labels and selection that a lookup may move, for "unchanged" checks.
struct TSelectionView {
  int32_t SelModule, SelTrans;
  std::string SelName;
  int ModuleRow, TransRow;
  std::string ModVer, ModCode, ModDesc, Author, TransVer, TransCode, TransDesc;
  bool Configure;

  explicit TSelectionView(const TModuleRegistry& r)
      : SelModule(r.SelModuleCode), SelTrans(r.SelTransCode), SelName(r.SelTransName),
        ModuleRow(r.SelectedModuleRow()), TransRow(r.SelectedTransRow()),
        ModVer(r.ModVerText), ModCode(r.ModCodeText), ModDesc(r.ModDescText),
        Author(r.AuthorText), TransVer(r.TransVerText), TransCode(r.TransCodeText),
        TransDesc(r.TransDescText), Configure(r.ConfigureEnabled) {}
  bool operator==(const TSelectionView&) const = default;
};

void ExpectBlankLabels(const TModuleRegistry& registry) {
  EXPECT_EQ(registry.ModVerText, "");
  EXPECT_EQ(registry.ModCodeText, "");
  EXPECT_EQ(registry.ModDescText, "");
  EXPECT_EQ(registry.AuthorText, "");
  EXPECT_EQ(registry.TransVerText, "");
  EXPECT_EQ(registry.TransCodeText, "");
  EXPECT_EQ(registry.TransDescText, "");
  EXPECT_FALSE(registry.ConfigureEnabled);
}

TEST(RegistryTest, FolderWithoutModulesListsOnlyTheBuiltInModule) {
  TModuleFolder folder;
  folder.Add(TestModule("twotrans_unmatched.so"));
  folder.Add(TestModule("tr_readme.txt"));
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  EXPECT_EQ(ModuleTexts(registry), std::vector<std::string>{"Internal Transformations"});
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"DCT II [Default]"});
  EXPECT_EQ(registry.SelectedModuleRow(), 0);
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  EXPECT_EQ(registry.ModVerText, "1.0");
  EXPECT_EQ(registry.ModCodeText, "1");
  EXPECT_EQ(registry.ModDescText, "Built-in internal transformations");
  EXPECT_NE(registry.AuthorText.find('\n'), std::string::npos);
  EXPECT_EQ(registry.TransVerText, "1.0");
  EXPECT_EQ(registry.TransCodeText, "2");
  EXPECT_EQ(registry.TransDescText, "Discrete Cosine Transformation II");
  EXPECT_FALSE(registry.ConfigureEnabled);
  // Loading alone selects nothing for the encoders.
  EXPECT_EQ(registry.SelModuleCode, 0);
  EXPECT_EQ(registry.SelTransCode, 0);
  EXPECT_EQ(registry.SelTransName, "");

  const TTransDescriptor* fft = registry.FindTransformation(kInternalModuleCode, kFftTransCode);
  ASSERT_NE(fft, nullptr);
  EXPECT_EQ(fft->TransCode, kFftTransCode);
  EXPECT_EQ(fft->Listed, 0);
}

TEST(RegistryTest, LoadingWritesTheHostFieldsIntoEveryHeader) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  ASSERT_EQ(registry.Modules().size(), 2u);

  const TModuleHeader& internal = *registry.Modules()[0].Header;
  EXPECT_EQ(&internal, InternalModuleHeader());
  EXPECT_EQ(internal.LibHandle, nullptr);
  EXPECT_EQ(internal.HostVersion, TVLC_INTERFACE_VERSION);
  const TModuleHeader& hartley = *registry.Modules()[1].Header;
  EXPECT_NE(hartley.LibHandle, nullptr);
  EXPECT_EQ(hartley.HostVersion, TVLC_INTERFACE_VERSION);

  // Both headers reach this registry's lookup.
  for (const TModuleHeader* header : {&internal, &hartley}) {
    ASSERT_NE(header->FindTransformation, nullptr);
    const TTransDescriptor* found = header->FindTransformation(2, 3);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->Name, "Hartley transformation");
    EXPECT_EQ(registry.SelModuleCode, 2);
  }
}

TEST(RegistryTest, HartleyModuleIsListedAndShown) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  EXPECT_EQ(ModuleTexts(registry),
            (std::vector<std::string>{"Internal Transformations", "External module"}));
  registry.ModListClick(1);
  EXPECT_EQ(registry.SelectedModuleRow(), 1);
  EXPECT_EQ(registry.ModVerText, "0.9");
  EXPECT_EQ(registry.ModCodeText, "2");
  EXPECT_EQ(registry.ModDescText, "Module for CAS-CAS (Hartley) transformation");
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"Hartley transformation"});
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  EXPECT_EQ(registry.TransVerText, "0.9");
  EXPECT_EQ(registry.TransCodeText, "3");
  EXPECT_EQ(registry.TransDescText, "Fast CAS-CAS transformation");
  EXPECT_FALSE(registry.ConfigureEnabled);
}

TEST(RegistryTest, OnlyModulesOfTheRightNameAndVersionAreLoadedInNameOrder) {
  TModuleFolder folder;
  for (const char* file : {"tr_badversion.so", "tr_noexport.so", "tr_twotrans.so",
                           "twotrans_unmatched.so", "tr_notalibrary.so", "tr_readme.txt"}) {
    folder.Add(TestModule(file));
  }
  folder.Add(kVeskaModule);
  TLibraryReference badVersion(folder.Path() + "tr_badversion.so");
  const int* badVersionInits = badVersion.Symbol<int>("badversion_module_inits");
  ASSERT_NE(badVersionInits, nullptr);

  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  EXPECT_EQ(ModuleTexts(registry), (std::vector<std::string>{"Internal Transformations",
                                                             "Two transformations",
                                                             "External module"}));
  EXPECT_EQ(*badVersionInits, 0);
}

TEST(RegistryTest, ModuleInitAndDoneAreCalledOncePerLoad) {
  TModuleFolder folder;
  folder.Add(TestModule("tr_twotrans.so"));
  TLibraryReference library(folder.Path() + "tr_twotrans.so");
  const int* inits = library.Symbol<int>("twotrans_module_inits");
  const int* dones = library.Symbol<int>("twotrans_module_dones");
  ASSERT_NE(inits, nullptr);
  ASSERT_NE(dones, nullptr);
  const int initsBefore = *inits;
  const int donesBefore = *dones;
  {
    TModuleRegistry registry(folder.Path());
    EXPECT_EQ(*inits - initsBefore, 0);
    registry.LoadModules();
    EXPECT_EQ(*inits - initsBefore, 1);
    EXPECT_EQ(*dones - donesBefore, 0);
    registry.ReloadBtnClick();
    EXPECT_EQ(*dones - donesBefore, 1);
    registry.ReloadBtnClick();
    EXPECT_EQ(*inits - initsBefore, 2);
    EXPECT_EQ(*dones - donesBefore, 1);
    // Loading again while loaded unloads first instead of listing twice.
    registry.LoadModules();
    EXPECT_EQ(*inits - initsBefore, 3);
    EXPECT_EQ(*dones - donesBefore, 2);
    EXPECT_EQ(ModuleTexts(registry),
              (std::vector<std::string>{"Internal Transformations", "Two transformations"}));
  }
  EXPECT_EQ(*inits - initsBefore, 3);
  EXPECT_EQ(*dones - donesBefore, 3);
}

TEST(RegistryTest, ConfigureIsOfferedOnlyWhenTheSlotIsSet) {
  TModuleFolder folder;
  folder.Add(TestModule("tr_twotrans.so"));
  TLibraryReference library(folder.Path() + "tr_twotrans.so");
  const int* configures = library.Symbol<int>("twotrans_configure_calls");
  ASSERT_NE(configures, nullptr);
  const int configuresBefore = *configures;

  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  registry.ModListClick(0);
  EXPECT_FALSE(registry.ConfigureEnabled);
  registry.ConfBtnClick();  // DCT II has no Configure slot: nothing to call
  EXPECT_EQ(*configures, configuresBefore);

  registry.ModListClick(RowOf(registry, "Two transformations"));
  EXPECT_EQ(registry.ModVerText, "1.2");
  EXPECT_EQ(registry.ModCodeText, "7");
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"Configurable transformation"});
  EXPECT_EQ(registry.TransVerText, "2.3");
  EXPECT_EQ(registry.TransCodeText, "71");
  EXPECT_TRUE(registry.ConfigureEnabled);
  registry.ConfBtnClick();
  EXPECT_EQ(*configures - configuresBefore, 1);
}

TEST(RegistryTest, ConfigureBuildsTheRowsAgain) {
  TModuleFolder folder;
  folder.Add(TestModule("tr_relists.so"));
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  registry.ModListClick(RowOf(registry, "Relisting module"));
  ASSERT_EQ(TransTexts(registry), std::vector<std::string>{"Before configuring"});
  registry.ConfBtnClick();
  EXPECT_EQ(TransTexts(registry),
            (std::vector<std::string>{"After configuring", "Offered once configured"}));
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  EXPECT_EQ(registry.TransCodeText, "81");
  registry.TransListClick(1);
  ASSERT_TRUE(registry.SelBtnClick());
  EXPECT_EQ(registry.SelTransCode, 82);
  EXPECT_EQ(registry.SelTransName, "Offered once configured");
}

TEST(RegistryTest, SetAsDefaultMovesTheMark) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  registry.ModListClick(1);
  registry.SetAsDefault();
  EXPECT_EQ(registry.DefModuleCode, 2);
  EXPECT_EQ(registry.DefTransCode, 3);
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"Hartley transformation [Default]"});
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  registry.ModListClick(0);
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"DCT II"});
}

TEST(RegistryTest, SelectTakesTheSelectedRows) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  registry.ModListClick(1);
  ASSERT_TRUE(registry.SelBtnClick());
  EXPECT_EQ(registry.SelModuleCode, 2);
  EXPECT_EQ(registry.SelTransCode, 3);
  EXPECT_EQ(registry.SelTransName, "Hartley transformation");
}

TEST(RegistryTest, LookupFallsBackToAnyModuleWithTheCode) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  registry.ModListClick(1);

  const TTransDescriptor* found = registry.FindTransformation(2, 2);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->Name, "DCT II");
  EXPECT_EQ(found->TransCode, 2);
  EXPECT_EQ(registry.SelModuleCode, 0);
  EXPECT_EQ(registry.SelTransCode, 2);
  EXPECT_EQ(registry.SelTransName, "DCT II");
  EXPECT_EQ(registry.SelectedModuleRow(), 0);
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  EXPECT_EQ(registry.TransCodeText, "2");
}

TEST(RegistryTest, LookupWithTheModuleCodeSelectsItsRows) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  const TTransDescriptor* found = registry.FindTransformation(2, 3);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(registry.SelModuleCode, 2);
  EXPECT_EQ(registry.SelTransCode, 3);
  EXPECT_EQ(registry.SelTransName, "Hartley transformation");
  EXPECT_EQ(registry.SelectedModuleRow(), 1);
  EXPECT_EQ(registry.SelectedTransRow(), 0);
  EXPECT_EQ(registry.Transformations()[0].Descriptor, found);
  EXPECT_EQ(registry.ModCodeText, "2");
  EXPECT_EQ(registry.TransVerText, "0.9");
}

TEST(RegistryTest, FailedLookupLeavesTheSelection) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  registry.FindTransformation(2, 3);
  const TSelectionView before(registry);

  EXPECT_EQ(registry.FindTransformation(5, 9), nullptr);
  EXPECT_EQ(TSelectionView(registry), before);
}

TEST(RegistryTest, UnlistedTransformationIsFoundAndDescribedWithoutRow) {
  TModuleFolder folder;
  folder.Add(TestModule("tr_twotrans.so"));
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();

  const TTransDescriptor* found = registry.FindTransformation(7, -72);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->Name, "Unlisted transformation");
  EXPECT_EQ(registry.SelModuleCode, 7);
  EXPECT_EQ(registry.SelTransCode, -72);
  EXPECT_EQ(registry.SelectedModuleRow(), 1);
  EXPECT_EQ(registry.SelectedTransRow(), -1);
  // Codes show as unsigned 32-bit numbers.
  EXPECT_EQ(registry.TransCodeText, "4294967224");
  EXPECT_EQ(registry.TransDescText, "Found by code only");
  EXPECT_FALSE(registry.ConfigureEnabled);
  EXPECT_FALSE(registry.SelBtnClick());
}

TEST(RegistryTest, FlushAndReload) {
  TModuleFolder folder;
  folder.Add(kVeskaModule);
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  registry.ModListClick(1);
  registry.SetAsDefault();
  registry.FindTransformation(2, 3);
  const TSelectionView chosen(registry);

  TShape shape = ShapeWithCodes(2, 3);
  const TTransDescriptor* hartley = LookUpDescriptor(shape);
  ASSERT_NE(hartley, nullptr);
  EXPECT_EQ(HeldDescriptor(shape), hartley);
  const uint64_t generation = registry.Generation();

  EXPECT_EQ(registry.ReloadCaption, "&Flush Cache");
  registry.ReloadBtnClick();
  EXPECT_EQ(registry.ReloadCaption, "&Reload Modules");
  EXPECT_TRUE(registry.Modules().empty());
  EXPECT_TRUE(registry.Transformations().empty());
  EXPECT_EQ(registry.SelectedModuleRow(), -1);
  EXPECT_EQ(registry.SelectedTransRow(), -1);
  ExpectBlankLabels(registry);
  EXPECT_FALSE(registry.SelBtnClick());
  EXPECT_EQ(registry.FindTransformation(1, 2), nullptr);
  EXPECT_EQ(registry.FindTransformation(2, 3), nullptr);
  EXPECT_NE(registry.Generation(), generation);
  EXPECT_EQ(HeldDescriptor(shape), nullptr);
  EXPECT_EQ(LookUpDescriptor(shape), nullptr);

  registry.ReloadBtnClick();
  EXPECT_EQ(registry.ReloadCaption, "&Flush Cache");
  EXPECT_EQ(ModuleTexts(registry),
            (std::vector<std::string>{"Internal Transformations", "External module"}));
  EXPECT_EQ(registry.DefModuleCode, 2);
  EXPECT_EQ(registry.DefTransCode, 3);
  EXPECT_EQ(registry.SelModuleCode, chosen.SelModule);
  EXPECT_EQ(registry.SelTransCode, chosen.SelTrans);
  EXPECT_EQ(registry.SelTransName, chosen.SelName);
  EXPECT_EQ(registry.SelectedModuleRow(), 0);
  EXPECT_EQ(TransTexts(registry), std::vector<std::string>{"DCT II"});
  const TTransDescriptor* reloaded = LookUpDescriptor(shape);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(HeldDescriptor(shape), reloaded);
  EXPECT_STREQ(reloaded->Name, "Hartley transformation");
}

TEST(RegistryTest, HeldDescriptorNeedsALookUpOfTheCurrentGeneration) {
  TModuleFolder folder;
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  TShape shape = ShapeWithCodes(1, 2);
  EXPECT_EQ(HeldDescriptor(shape), nullptr);

  const TTransDescriptor* dct = LookUpDescriptor(shape);
  ASSERT_NE(dct, nullptr);
  EXPECT_EQ(shape.Descriptor, dct);
  EXPECT_EQ(shape.DescriptorGeneration, registry.Generation());
  EXPECT_EQ(HeldDescriptor(shape), dct);

  shape.DescriptorGeneration = 0;
  EXPECT_EQ(HeldDescriptor(shape), nullptr);
}

TEST(RegistryTest, TheNewestRegistryIsActiveUntilDestroyed) {
  EXPECT_EQ(FindTransformation(1, 2), nullptr);
  TModuleFolder folder;
  TModuleRegistry outer(folder.Path());
  outer.LoadModules();
  TShape shape = ShapeWithCodes(1, 2);
  ASSERT_NE(LookUpDescriptor(shape), nullptr);
  {
    TModuleRegistry inner(folder.Path());
    EXPECT_EQ(TModuleRegistry::Active(), &inner);
    // The inner registry has loaded nothing; it answers the lookups now.
    EXPECT_EQ(FindTransformation(1, 2), nullptr);
    EXPECT_EQ(HeldDescriptor(shape), nullptr);
  }
  EXPECT_EQ(TModuleRegistry::Active(), &outer);
  EXPECT_EQ(HeldDescriptor(shape), shape.Descriptor);
  EXPECT_NE(FindTransformation(1, 2), nullptr);
}

TEST(RegistryTest, DestroyingAnOlderRegistryKeepsTheChain) {
  TModuleFolder folder;
  TModuleRegistry oldest(folder.Path());
  auto middle = std::make_unique<TModuleRegistry>(folder.Path());
  auto newest = std::make_unique<TModuleRegistry>(folder.Path());
  middle.reset();
  EXPECT_EQ(TModuleRegistry::Active(), newest.get());
  // The newest hands over to the oldest, not to the freed middle one.
  newest.reset();
  EXPECT_EQ(TModuleRegistry::Active(), &oldest);
}

TEST(RegistryTest, ProgramDirectoryIsTheFolderOfTheRunningProgram) {
  const std::string expected = std::filesystem::canonical(TVLC_BIN_DIR).string() + "/";
  EXPECT_EQ(ProgramDirectory(), expected);
}

TEST(RegistryTest, DefaultFolderIsTheProgramDirectory) {
  TModuleRegistry registry;
  registry.LoadModules();
  EXPECT_NE(RowOf(registry, "External module"), -1);
}

}  // namespace
}  // namespace tvlc
