// Map > Generate rectangles... and the map view's copy of it: the dialog's
// coupled fields and the grid it generates.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "GenRect.h"
#include "MainFormFixture.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

QLineEdit* Field(TGenRectFrm& form, const char* name) {
  auto* field = form.findChild<QLineEdit*>(name);
  EXPECT_NE(field, nullptr) << name;
  return field;
}

// Types over the field's text as the user would; an empty text clears it.
void Type(TGenRectFrm& form, const char* name, const char* text) {
  QLineEdit* field = Field(form, name);
  field->selectAll();
  if (*text)
    QTest::keyClicks(field, text);
  else
    QTest::keyClick(field, Qt::Key_Backspace);
}

QStringList Values(TGenRectFrm& form) {
  QStringList values;
  for (const char* name : {"XSizeSpin", "YSizeSpin", "XCountSpin", "YCountSpin"})
    values << Field(form, name)->text();
  return values;
}

void Press(TGenRectFrm& form, const char* button) { form.findChild<QPushButton*>(button)->click(); }

class GenRectFrmTest : public MainFormTest {
 protected:
  QStringList ShapeNames() {
    auto* list = Find<QListWidget>("ShapeList");
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }
};

TEST_F(GenRectFrmTest, FieldsAreCoupledOverThePicturesExtents) {
  LoadPicture(kSamplePicture);
  bool seen = false;
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    seen = true;
    EXPECT_EQ(form.windowTitle(), "Generate rectangles...");
    EXPECT_EQ(Values(form), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(form.findChild<QPushButton*>("GenBtn")->text(), "&Generate");
    EXPECT_EQ(form.findChild<QPushButton*>("CancelBtn")->text(), "&Cancel");
    const QRect owner = frm_->frameGeometry();
    EXPECT_EQ(form.x(), owner.x() + (owner.width() - form.width()) / 2);
    EXPECT_EQ(form.y(), owner.y() + (owner.height() - form.height()) / 2);

    Type(form, "XCountSpin", "8");
    EXPECT_EQ(Values(form), QStringList({"64", "0", "8", "0"}));
    Type(form, "XSizeSpin", "64");
    EXPECT_EQ(Values(form), QStringList({"64", "0", "9", "0"}));
    Type(form, "YSizeSpin", "100");
    EXPECT_EQ(Values(form), QStringList({"64", "100", "9", "6"}));
    // Values below 1 become 0 and leave the partner alone.
    Type(form, "YCountSpin", "-3");
    EXPECT_EQ(Values(form), QStringList({"64", "100", "9", "0"}));
    Press(form, "CancelBtn");
  });
  Trigger("Generategrid1");
  EXPECT_TRUE(seen);
  EXPECT_EQ(frm_->Core().RectFields.XSize, 64);
  EXPECT_EQ(frm_->Core().RectFields.YCount, 0);
  EXPECT_TRUE(ShapeNames().isEmpty());
}

TEST_F(GenRectFrmTest, ClearedFieldChangesNothing) {
  LoadPicture(kSamplePicture);
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    Type(form, "YCountSpin", "4");
    EXPECT_EQ(Values(form), QStringList({"0", "128", "0", "4"}));
    Type(form, "YCountSpin", "");
    EXPECT_EQ(Values(form), QStringList({"0", "128", "0", ""}));
    // The count cleared before shows the 0 it stands for now.
    Type(form, "XSizeSpin", "");
    EXPECT_EQ(Values(form), QStringList({"", "128", "0", "0"}));
    Press(form, "CancelBtn");
  });
  Trigger("Generategrid1");
  // A cleared field counts as 0, whatever it showed before.
  EXPECT_EQ(frm_->Core().RectFields.YCount, 0);
  EXPECT_EQ(frm_->Core().RectFields.YSize, 128);
  EXPECT_EQ(frm_->Core().RectFields.XSize, 0);
}

TEST_F(GenRectFrmTest, ClearedSizeIsRefusedNotItsOldValue) {
  LoadPicture(kPicture64);
  Trigger("ClearLog1");
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    Type(form, "XSizeSpin", "16");
    Type(form, "YSizeSpin", "16");
    Type(form, "YSizeSpin", "");
    EXPECT_EQ(Values(form), QStringList({"16", "", "5", "4"}));
    Press(form, "GenBtn");
  });
  Trigger("Generategrid1");
  EXPECT_EQ(LogMessages(),
            Lines({"Error: rectangle size 16x0 is not between 1x1 and 16384x16384", ""}));
  EXPECT_TRUE(ShapeNames().isEmpty());
}

TEST_F(GenRectFrmTest, GenerateCoversThePictureWithNumberedShapes) {
  LoadPicture(kPicture64);
  Trigger("ClearLog1");
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    Type(form, "XSizeSpin", "16");
    Type(form, "YSizeSpin", "16");
    Press(form, "GenBtn");
  });
  Trigger("Generategrid1");
  QStringList expected;
  for (int n = 0; n < 12; ++n) expected << QString("Shape %1").arg(n);
  EXPECT_EQ(ShapeNames(), expected);
  EXPECT_EQ(LogMessages(), Lines({"Generating rectangle map...", "...adding shapes of size 16x16",
                                  "...done.", ""}));
  EXPECT_EQ(frm_->Core().MapWidth, 64);
  EXPECT_EQ(frm_->Core().MapHeight, 48);
  EXPECT_TRUE(frm_->isEnabled());
}

TEST_F(GenRectFrmTest, SizeBelowOneIsRefusedAndTheValuesStay) {
  LoadPicture(kPicture64);
  Trigger("ClearLog1");
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    Type(form, "XSizeSpin", "0");
    Type(form, "YSizeSpin", "16");
    Press(form, "GenBtn");
  });
  Trigger("Generategrid1");
  EXPECT_EQ(LogMessages(),
            Lines({"Error: rectangle size 0x16 is not between 1x1 and 16384x16384", ""}));
  EXPECT_TRUE(ShapeNames().isEmpty());

  bool seen = false;
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    seen = true;
    EXPECT_EQ(Values(form), QStringList({"0", "16", "0", "4"}));
    Press(form, "CancelBtn");
  });
  Trigger("Generategrid1");
  EXPECT_TRUE(seen);
}

TEST_F(GenRectFrmTest, MapViewsItemRunsTheSameCommand) {
  LoadSmallInputs();
  WhenModal<TGenRectFrm>([&](TGenRectFrm& form) {
    Type(form, "XSizeSpin", "32");
    Type(form, "YSizeSpin", "16");
    Press(form, "GenBtn");
  });
  Trigger("Generaterectangles1");
  EXPECT_EQ(ShapeNames(),
            QStringList({"Shape 0", "Shape 1", "Shape 2", "Shape 3", "Shape 4", "Shape 5"}));
}

TEST_F(GenRectFrmTest, NothingHappensWithoutAPicture) {
  bool shown = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      shown = true;
      dialog->reject();
    }
  });
  Trigger("Generategrid1");
  Trigger("Generaterectangles1");
  QApplication::processEvents();
  EXPECT_FALSE(shown);
  EXPECT_TRUE(LogMessages().empty());
}

}  // namespace
}  // namespace tvlc::test
