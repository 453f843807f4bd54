// The "Select Transformation" dialog over a registry that loaded the modules
// beside the program, and the Coder tab's "Select" that opens it.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "EncSelFrm.h"
#include "MainFormFixture.h"
#include "../modules/ModuleFolder.h"
#include "transform/Registry.h"

namespace tvlc::test {
namespace {

QStringList Rows(QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

class EncSelFrmTest : public ::testing::Test {
 protected:
  EncSelFrmTest() : registry_(std::string(TVLC_BIN_DIR) + "/"), form_(registry_, dialogs_) {}

  void SetUp() override {
    registry_.LoadModules();
    form_.ShowRegistry();
  }

  template <class T>
  T* Find(const char* name) {
    T* found = form_.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  QStringList ModRows() { return Rows(Find<QListWidget>("ModList")); }
  QStringList TransRows() { return Rows(Find<QListWidget>("TransList")); }
  void ChooseModule(int row) { Find<QListWidget>("ModList")->setCurrentRow(row); }

  TModuleRegistry registry_;
  TScriptedDialogs dialogs_;
  TEncSelForm form_;
};

TEST_F(EncSelFrmTest, ListsTheInternalModuleThenTheExternalOne) {
  EXPECT_EQ(form_.windowTitle(), "Select Transformation");
  EXPECT_EQ(ModRows(), QStringList({"Internal Transformations", "External module"}));
  EXPECT_EQ(Find<QListWidget>("ModList")->currentRow(), 0);
  EXPECT_EQ(TransRows(), QStringList({"DCT II [Default]"}));
  EXPECT_EQ(Find<QListWidget>("TransList")->currentRow(), 0);
  EXPECT_EQ(Text("ModVerLab"), "1.0");
  EXPECT_EQ(Text("ModCodeLab"), "1");
  EXPECT_EQ(Find<QPlainTextEdit>("ModDescMemo")->toPlainText(),
            "Built-in internal transformations");
  EXPECT_TRUE(Find<QPlainTextEdit>("ModDescMemo")->isReadOnly());
  EXPECT_TRUE(Find<QPlainTextEdit>("AuthorMemo")->isReadOnly());
  EXPECT_EQ(Text("TransVerLab"), "1.0");
  EXPECT_EQ(Text("TransCodeLab"), "2");
  EXPECT_EQ(Find<QPlainTextEdit>("TransDescMemo")->toPlainText(),
            "Discrete Cosine Transformation II");
  EXPECT_EQ(Find<QPushButton>("ReloadBtn")->text(), "&Flush Cache");
  EXPECT_EQ(Find<QPushButton>("SelBtn")->text(), "&Select");
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), "&Cancel");
  EXPECT_EQ(Find<QPushButton>("Button1")->text(), "Set as Default");
  EXPECT_EQ(Find<QCheckBox>("ForceDefModule")->text(), "Force use default module");
  EXPECT_FALSE(Find<QCheckBox>("ForceDefModule")->isChecked());
}

TEST_F(EncSelFrmTest, HartleyRowShowsItsVersionCodeAndNoConfiguration) {
  ChooseModule(1);
  EXPECT_EQ(Text("ModVerLab"), "0.9");
  EXPECT_EQ(Text("ModCodeLab"), "2");
  EXPECT_EQ(Find<QPlainTextEdit>("AuthorMemo")->toPlainText(), "TVLC project\ntvlc@example.org");
  EXPECT_EQ(TransRows(), QStringList({"Hartley transformation"}));
  EXPECT_EQ(Text("TransVerLab"), "0.9");
  EXPECT_EQ(Text("TransCodeLab"), "3");
  auto* configure = Find<QPushButton>("ConfBtn");
  EXPECT_EQ(configure->text(), "C&onfigure");
  EXPECT_FALSE(configure->isEnabled());
}

TEST_F(EncSelFrmTest, SetAsDefaultMovesTheDefaultMark) {
  ChooseModule(1);
  Find<QPushButton>("Button1")->click();
  EXPECT_EQ(TransRows(), QStringList({"Hartley transformation [Default]"}));
  EXPECT_EQ(registry_.DefModuleCode, 2);
  EXPECT_EQ(registry_.DefTransCode, 3);
  ChooseModule(0);
  EXPECT_EQ(TransRows(), QStringList({"DCT II"}));
}

TEST_F(EncSelFrmTest, SelectTakesTheChosenTransformation) {
  ChooseModule(1);
  Find<QPushButton>("SelBtn")->click();
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  EXPECT_EQ(registry_.SelTransName, "Hartley transformation");
  EXPECT_EQ(registry_.SelModuleCode, 2);
  EXPECT_EQ(registry_.SelTransCode, 3);
  EXPECT_TRUE(dialogs_.Errors.empty());
}

TEST_F(EncSelFrmTest, DoubleClickOnATransformationSelectsIt) {
  form_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
  QApplication::processEvents();  // lets the list lay its items out
  auto* list = Find<QListWidget>("TransList");
  DoubleClick(list->viewport(), list->visualItemRect(list->item(0)).center());
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(registry_.SelTransName, "DCT II");
  EXPECT_EQ(registry_.SelTransCode, 2);
}

TEST(EncSelFrmConfigureTest, ConfigureShowsWhatTheModuleListsAfterwards) {
  TModuleFolder folder;
  folder.Add(TestModule("tr_relists.so"));
  TModuleRegistry registry(folder.Path());
  registry.LoadModules();
  TScriptedDialogs dialogs;
  TEncSelForm form(registry, dialogs);
  auto* modules = form.findChild<QListWidget*>("ModList");
  auto* transformations = form.findChild<QListWidget*>("TransList");
  ASSERT_TRUE(modules && transformations);
  modules->setCurrentRow(1);
  ASSERT_EQ(Rows(transformations), QStringList({"Before configuring"}));
  form.findChild<QPushButton*>("ConfBtn")->click();
  EXPECT_EQ(Rows(transformations), QStringList({"After configuring", "Offered once configured"}));
  EXPECT_EQ(transformations->currentRow(), 0);
  transformations->setCurrentRow(1);
  EXPECT_EQ(form.findChild<QLabel*>("TransCodeLab")->text(), "82");
  form.findChild<QPushButton*>("SelBtn")->click();
  EXPECT_EQ(registry.SelTransName, "Offered once configured");
}

TEST_F(EncSelFrmTest, CancelKeepsTheSelection) {
  ChooseModule(1);
  Find<QPushButton>("Button2")->click();
  EXPECT_EQ(form_.result(), QDialog::Rejected);
  EXPECT_EQ(registry_.SelTransName, "");
  EXPECT_EQ(registry_.SelTransCode, 0);
}

TEST_F(EncSelFrmTest, ForceDefaultModuleReachesTheRegistry) {
  Find<QCheckBox>("ForceDefModule")->click();
  EXPECT_TRUE(registry_.ForceDefModule);
  Find<QCheckBox>("ForceDefModule")->click();
  EXPECT_FALSE(registry_.ForceDefModule);
}

TEST_F(EncSelFrmTest, SelectAfterFlushCacheReportsNoTransformation) {
  auto* reload = Find<QPushButton>("ReloadBtn");
  reload->click();
  EXPECT_EQ(reload->text(), "&Reload Modules");
  EXPECT_TRUE(ModRows().isEmpty());
  EXPECT_TRUE(TransRows().isEmpty());
  EXPECT_EQ(Text("ModVerLab"), "");
  EXPECT_EQ(Text("TransCodeLab"), "");
  Find<QPushButton>("SelBtn")->click();
  EXPECT_EQ(dialogs_.Errors, std::vector<std::string>({"No transformation selected"}));
  EXPECT_EQ(form_.result(), QDialog::Accepted);
  EXPECT_EQ(registry_.SelTransName, "");

  reload->click();
  EXPECT_EQ(reload->text(), "&Flush Cache");
  EXPECT_EQ(ModRows(), QStringList({"Internal Transformations", "External module"}));
}

TEST_F(EncSelFrmTest, ShowingTheDialogPicksUpLookupsMadeMeanwhile) {
  registry_.FindTransformation(2, 3);
  form_.show();
  EXPECT_EQ(Find<QListWidget>("ModList")->currentRow(), 1);
  EXPECT_EQ(TransRows(), QStringList({"Hartley transformation"}));
  form_.hide();
}

// The dialog opened from the window's Coder tab.
TEST_F(MainFormTest, CoderSelectShowsTheChosenTransformation) {
  bool seen = false;
  WhenModal<TEncSelForm>([&](TEncSelForm& form) {
    seen = true;
    const QRect owner = frm_->frameGeometry();
    EXPECT_EQ(form.x(), owner.x() + (owner.width() - form.width()) / 2);
    EXPECT_EQ(form.y(), owner.y() + (owner.height() - form.height()) / 2);
    form.findChild<QListWidget*>("ModList")->setCurrentRow(1);
    form.findChild<QPushButton*>("SelBtn")->click();
  });
  Find<QPushButton>("Button1")->click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(Find<QLabel>("EncoderLab")->text(), "Hartley transformation");
}

TEST_F(MainFormTest, CoderSelectCancelledLeavesTheEncoderLabel) {
  WhenModal<TEncSelForm>(
      [](TEncSelForm& form) { form.findChild<QPushButton*>("Button2")->click(); });
  Find<QPushButton>("Button1")->click();
  EXPECT_EQ(Find<QLabel>("EncoderLab")->text(), "");
}

}  // namespace
}  // namespace tvlc::test
