// The main window as it opens: caption, size, tabs, menus with their
// shortcuts, the controls of every tab and their first states.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "ImageWidget.h"
#include "MainFormFixture.h"

namespace tvlc::test {
namespace {

TEST_F(MainFormTest, OpensWithCaptionAndSizeCentredOnTheScreen) {
  EXPECT_EQ(frm_->windowTitle(), "Tarvello Picture Codec");
  EXPECT_EQ(frm_->size(), QSize(646, 614));
  const QRect area = frm_->screen()->availableGeometry();
  EXPECT_EQ(frm_->x(), area.x() + (area.width() - 646) / 2);
  EXPECT_EQ(frm_->y(), area.y() + (area.height() - 614) / 2);
}

TEST_F(MainFormTest, TabsComeInOrderWithDecoderShown) {
  auto* tabs = Find<QTabWidget>("ShapeTabs");
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
  EXPECT_EQ(captions, QStringList({"Info", "Shape", "Coder", "Quantizaton", "Spectrum",
                                   "Coeficients", "Decoder"}));
  EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Decoder");
  EXPECT_EQ(tabs->widget(1)->objectName(), "TabSheet1");
  EXPECT_EQ(tabs->widget(4)->objectName(), "TabSheet3");
  EXPECT_EQ(tabs->widget(5)->objectName(), "TabSheet6");
}

TEST_F(MainFormTest, MenuBarHoldsTheFourMenus) {
  QStringList titles;
  for (QAction* action : frm_->menuBar()->actions()) titles << action->text();
  EXPECT_EQ(titles, QStringList({"&File", "S&hape", "&Map", "&About"}));
  EXPECT_EQ(frm_->menuBar()->actions().last()->objectName(), "About1");
}

struct TMenuEntry {
  const char* Name;
  const char* Text;
  const char* Shortcut;
};

QStringList EntriesOf(QMenu* menu) {
  QStringList entries;
  for (QAction* action : menu->actions())
    if (!action->isSeparator())
      entries << action->objectName() + "|" + action->text() + "|" +
                     action->shortcut().toString(QKeySequence::PortableText);
  return entries;
}

QStringList Expected(std::initializer_list<TMenuEntry> entries) {
  QStringList expected;
  for (const TMenuEntry& e : entries)
    expected << QString("%1|%2|%3").arg(e.Name, e.Text, e.Shortcut);
  return expected;
}

TEST_F(MainFormTest, FileMenuHasEveryCommandWithItsShortcut) {
  EXPECT_EQ(EntriesOf(Find<QMenu>("File1")),
            Expected({{"Open1", "&Open", "Ctrl+O"},
                      {"Save1", "&Save", "Ctrl+S"},
                      {"LoadPicture1", "Load &Picture", "Ctrl+P"},
                      {"LoadMap1", "Load &Map", "Ctrl+M"},
                      {"SavePicture1", "S&ave Picture", ""},
                      {"SaveMap1", "Sa&ve Map", ""},
                      {"SaveDecodedPicture1", "Export &Decoded Picture", "Alt+D"},
                      {"OpenCompressedPicture1", "Open &Compressed Picture", "Alt+O"},
                      {"ExportSpectrum1", "Save Com&pressed Picture", "Alt+S"},
                      {"ClearLog1", "Clear Log", ""},
                      {"SaveLog1", "Save &Log", "Ctrl+L"},
                      {"Globalstatistics1", "Global s&tatistics", ""},
                      {"Exit1", "E&xit", "Alt+X"}}));
}

TEST_F(MainFormTest, ShapeAndMapMenusHaveTheirCommands) {
  EXPECT_EQ(EntriesOf(Find<QMenu>("Shape1")),
            Expected({{"Select1", "&Select", ""},
                      {"Encode1", "&Encode", ""},
                      {"Decode1", "&Decode", ""},
                      {"EncodeAll1", "E&ncode All", "Ctrl+E"},
                      {"DecodeAll1", "De&code All", "Ctrl+D"}}));
  EXPECT_EQ(EntriesOf(Find<QMenu>("Map1")),
            Expected({{"Generategrid1", "Generate rectangles...", ""},
                      {"GenerateSegmentation1", "Generate segmentation...", ""},
                      {"RdStudy1", "Rate-distortion study...", ""}}));
}

QStringList ContextTexts(QWidget* widget) {
  QStringList texts;
  for (QAction* action : widget->actions())
    texts << action->text() + (action->isEnabled() ? "" : " (disabled)");
  return texts;
}

TEST_F(MainFormTest, ViewsHaveTheirContextMenus) {
  EXPECT_EQ(Find<QWidget>("Map")->contextMenuPolicy(), Qt::ActionsContextMenu);
  EXPECT_EQ(ContextTexts(Find<QWidget>("Map")), QStringList({"Generate rectangles..."}));
  EXPECT_EQ(ContextTexts(Find<QWidget>("Reconst")), QStringList({"Save", "Clear"}));
  EXPECT_EQ(ContextTexts(Find<QWidget>("SpecDrawArea")),
            QStringList({"Export spectrum to Bitmap..."}));
  EXPECT_EQ(ContextTexts(Find<QWidget>("ViewDrawArea")),
            QStringList({"Export shape to Bitmap..."}));
}

// A command without a handler would stay disabled; at start only the quality
// slider waits for its check box.
TEST_F(MainFormTest, EveryCommandIsEnabledAtStart) {
  for (const char* name :
       {"Open1", "Save1", "LoadPicture1", "LoadMap1", "SavePicture1", "SaveMap1",
        "SaveDecodedPicture1", "OpenCompressedPicture1", "ExportSpectrum1", "ClearLog1",
        "SaveLog1", "Globalstatistics1", "Exit1", "Select1", "Encode1", "Decode1", "EncodeAll1",
        "DecodeAll1", "Generategrid1", "About1", "Generaterectangles1", "SaveReconst1", "Clear1",
        "SaveSpectrumPicture1", "MenuItem1"})
    EXPECT_TRUE(Find<QAction>(name)->isEnabled()) << name;
  for (const char* name : {"ShowShBtn", "EncAllBtn", "DecAllBtn", "StopBtn", "Button1", "EncBtn",
                           "RequantBtn", "RedrawSpecBtn", "DecodeBtn"})
    EXPECT_TRUE(Find<QPushButton>(name)->isEnabled()) << name;
  EXPECT_TRUE(Find<QCheckBox>("ContEncChck")->isEnabled());
  EXPECT_TRUE(Find<QComboBox>("NormCombo")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>("UseQSpecChck")->isEnabled());
  EXPECT_TRUE(Find<QSpinBox>("ZoomSpin")->isEnabled());
  EXPECT_FALSE(Find<QSlider>("QuantQuality")->isEnabled());
  for (const char* menu : {"File1", "Shape1", "Map1"})
    EXPECT_TRUE(Find<QMenu>(menu)->menuAction()->isEnabled()) << menu;
}

TEST_F(MainFormTest, ControlsStartInTheirFirstStates) {
  EXPECT_EQ(Find<QLineEdit>("ReqPSNREd")->text(), "30");
  auto* quality = Find<QSlider>("QuantQuality");
  EXPECT_EQ(quality->value(), 15);
  EXPECT_EQ(quality->minimum(), 1);
  EXPECT_EQ(quality->maximum(), 99);
  EXPECT_FALSE(quality->isEnabled());
  auto* norm = Find<QComboBox>("NormCombo");
  QStringList items;
  for (int i = 0; i < norm->count(); ++i) items << norm->itemText(i);
  EXPECT_EQ(items, QStringList({"None", "Orthogonal", "Orthonormal", "8*Orthogonal",
                                "64*Orthogonal"}));
  EXPECT_EQ(norm->currentText(), "Orthonormal");
  EXPECT_FALSE(Find<QCheckBox>("UseQSpecChck")->isChecked());
  EXPECT_EQ(Find<QCheckBox>("UseQSpecChck")->text(), "Quantize spectrum with quality:");
  EXPECT_EQ(Find<QPushButton>("RequantBtn")->text(), "Requantize all");

  EXPECT_TRUE(Find<QPushButton>("StopBtn")->isHidden());
  EXPECT_EQ(Find<QPushButton>("StopBtn")->text(), "Stop");
  EXPECT_TRUE(Find<QCheckBox>("ContEncChck")->isHidden());
  EXPECT_EQ(Find<QCheckBox>("ContEncChck")->text(), "Continue encoding");
  EXPECT_TRUE(Find<QProgressBar>("ProgressBar")->isHidden());
  EXPECT_FALSE(Find<QCheckBox>("ShowShapInfChck")->isChecked());
  EXPECT_EQ(Find<QCheckBox>("ShowShapInfChck")->text(), "Update info");

  EXPECT_EQ(Find<QPushButton>("ShowShBtn")->text(), "Select shape");
  EXPECT_EQ(Find<QPushButton>("EncAllBtn")->text(), "Encode All");
  EXPECT_EQ(Find<QPushButton>("DecAllBtn")->text(), "Decode All");
  EXPECT_EQ(Find<QPushButton>("EncBtn")->text(), "Encode");
  EXPECT_EQ(Find<QPushButton>("Button1")->text(), "Select");
  EXPECT_EQ(Find<QPushButton>("DecodeBtn")->text(), "Decode");
  EXPECT_EQ(Find<QPushButton>("RedrawSpecBtn")->text(), "Refresh");
  EXPECT_EQ(Find<QLabel>("PSNRLab")->text(), "0");
  EXPECT_EQ(Find<QLabel>("IteratLab")->text(), "0");
  EXPECT_EQ(Find<QLabel>("EncSpeedLab")->text(), "0");
  EXPECT_EQ(Find<QLabel>("EncoderLab")->text(), "");

  auto* zoom = Find<QSpinBox>("ZoomSpin");
  EXPECT_EQ(zoom->value(), 1);
  EXPECT_EQ(zoom->minimum(), 1);
  EXPECT_EQ(zoom->maximum(), 10);

  auto* log = Find<QPlainTextEdit>("Log");
  EXPECT_TRUE(log->isReadOnly());
  EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(log->toPlainText().isEmpty());
  EXPECT_EQ(Find<QListWidget>("ShapeList")->count(), 0);
}

// The caption beside a value label in its grid.
QString CaptionOf(QLabel* value) {
  auto* grid = qobject_cast<QGridLayout*>(value->parentWidget()->layout());
  int row, column, rows, columns;
  grid->getItemPosition(grid->indexOf(value), &row, &column, &rows, &columns);
  return qobject_cast<QLabel*>(grid->itemAtPosition(row, column - 1)->widget())->text();
}

TEST_F(MainFormTest, ValueLabelsStandBesideTheirCaptions) {
  const std::pair<const char*, const char*> pairs[] = {
      {"IDLab", "ID"},
      {"XLab", "X"},
      {"YLab", "Y"},
      {"RWLab", "Width"},
      {"RHLab", "Height"},
      {"WLab", "Rounded Width"},
      {"HLab", "Rounded Height"},
      {"SlackLab", "Rounding Slack"},
      {"PCLab", "Points in shape"},
      {"TSLab", "Total slack"},
      {"SpecAvalLab", "Spectrum avaliable"},
      {"IterDoneLab", "Iterations done"},
      {"CurrPSNRLab", "Current PSNR [dB]"},
      {"QuantLab", "Quantization"},
      {"NormTypeLab", "Normalization"},
      {"PSNRLab", "Current PSNR [dB]"},
      {"IteratLab", "Current Iteration"},
      {"EncSpeedLab", "Transforming speed [pixels/s]"},
      {"ZeroLab", "Zero count"},
      {"NonZeroLab", "Non-Zero count"},
      {"MinValLab", "Min value"},
      {"MaxValLab", "Max value"},
  };
  for (const auto& [name, caption] : pairs) EXPECT_EQ(CaptionOf(Find<QLabel>(name)), caption);
  auto* edit = Find<QLineEdit>("ReqPSNREd");
  auto* grid = qobject_cast<QGridLayout*>(edit->parentWidget()->layout());
  int row, column, rows, columns;
  grid->getItemPosition(grid->indexOf(edit), &row, &column, &rows, &columns);
  EXPECT_EQ(qobject_cast<QLabel*>(grid->itemAtPosition(row, column - 1)->widget())->text(),
            "Requested PSNR [dB]");
}

TEST_F(MainFormTest, ViewsCarryTheirOverlaysAndCaptions) {
  const std::pair<const char*, const char*> views[] = {
      {"Picture", "PicDrawArea"}, {"Map", "MapDrawArea"}, {"Reconst", "ReconstDrawArea"}};
  QStringList captions;
  for (const auto& [view, overlay] : views) {
    auto* image = Find<QWidget>(view);
    auto* top = image->findChild<QWidget*>(overlay);
    ASSERT_NE(top, nullptr) << overlay;
    EXPECT_EQ(top->geometry(), image->rect());
    captions << qobject_cast<QGroupBox*>(image->parentWidget())->title();
  }
  EXPECT_EQ(captions, QStringList({"Input picture", "Segmentation map", "Decoded picture"}));
  EXPECT_NE(Find<QWidget>("TabSheet3")->findChild<QScrollArea*>(), nullptr);
  EXPECT_NE(Find<QWidget>("TabSheet3")->findChild<QWidget*>("SpecDrawArea"), nullptr);
  EXPECT_NE(Find<QWidget>("TabSheet6")->findChild<QWidget*>("CoefList"), nullptr);
  EXPECT_NE(Find<QWidget>("TabSheet1")->findChild<QWidget*>("ViewDrawArea"), nullptr);
}

TEST_F(MainFormTest, FirstTwoViewsTakeAThirdOfTheWidthEach) {
  for (int width : {646, 701, 900}) {
    frm_->resize(width, 614);
    QApplication::processEvents();
    QWidget* first = Find<QWidget>("Picture")->parentWidget();
    QWidget* second = Find<QWidget>("Map")->parentWidget();
    QWidget* third = Find<QWidget>("Reconst")->parentWidget();
    const int panel = first->parentWidget()->width();
    EXPECT_EQ(first->geometry().left(), 0);
    EXPECT_EQ(first->width(), panel / 3);
    EXPECT_EQ(second->geometry().left(), panel / 3);
    EXPECT_EQ(second->width(), panel / 3);
    EXPECT_EQ(third->geometry().left(), 2 * (panel / 3));
    EXPECT_EQ(third->width(), panel - 2 * (panel / 3));
  }
}

TEST_F(MainFormTest, DisabledFileMenuComesBackWithItsItems) {
  frm_->Core().Controls.FileMenuEnabled = false;
  frm_->Core().Notify(kControlsChanged);
  EXPECT_FALSE(Find<QAction>("LoadPicture1")->isEnabled());
  EXPECT_FALSE(Find<QAction>("Open1")->isEnabled());
  EXPECT_FALSE(Find<QMenu>("File1")->menuAction()->isEnabled());
  frm_->Core().Controls.FileMenuEnabled = true;
  frm_->Core().Notify(kControlsChanged);
  EXPECT_TRUE(Find<QAction>("LoadPicture1")->isEnabled());
  EXPECT_TRUE(Find<QAction>("Open1")->isEnabled());
  EXPECT_TRUE(Find<QMenu>("File1")->menuAction()->isEnabled());
}

TEST_F(MainFormTest, DisabledMapMenuTakesTheViewsItemAlong) {
  frm_->Core().Controls.MapMenuEnabled = false;
  frm_->Core().Notify(kControlsChanged);
  EXPECT_FALSE(Find<QMenu>("Map1")->menuAction()->isEnabled());
  EXPECT_FALSE(Find<QAction>("Generategrid1")->isEnabled());
  EXPECT_FALSE(Find<QAction>("Generaterectangles1")->isEnabled());
  frm_->Core().Controls.MapMenuEnabled = true;
  frm_->Core().Notify(kControlsChanged);
  EXPECT_TRUE(Find<QMenu>("Map1")->menuAction()->isEnabled());
  EXPECT_TRUE(Find<QAction>("Generategrid1")->isEnabled());
  EXPECT_TRUE(Find<QAction>("Generaterectangles1")->isEnabled());
}

TEST_F(MainFormTest, DisabledFileMenuRefusesItsShortcuts) {
  frm_->Core().Controls.FileMenuEnabled = false;
  frm_->Core().Notify(kControlsChanged);
  QTest::keyClick(frm_.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(dialogs_->Asked.empty());
  frm_->Core().Controls.FileMenuEnabled = true;
  frm_->Core().Notify(kControlsChanged);
  QTest::keyClick(frm_.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(dialogs_->Asked.size(), 1u);
}

}  // namespace
}  // namespace tvlc::test

namespace tvlc::test {
namespace {

TEST_F(MainFormTest, EveryShapeTabIsReachableAtTheFirstSize) {
  frm_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_.get()));
  ASSERT_EQ(frm_->size(), QSize(646, 614));
  QApplication::processEvents();
  auto* tabs = Find<QTabWidget>("ShapeTabs");
  QTabBar* bar = tabs->tabBar();
  const QStringList texts = {"Info", "Shape", "Coder", "Quantizaton", "Spectrum", "Coeficients",
                             "Decoder"};
  ASSERT_EQ(bar->count(), int(texts.size()));
  for (int i = 0; i < bar->count(); ++i) {
    EXPECT_EQ(bar->tabText(i), texts[i]);
    EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << texts[i].toStdString() << " at "
                                                       << bar->tabRect(i).x() << "+"
                                                       << bar->tabRect(i).width() << " of "
                                                       << bar->width();
  }
  // No scroll arrows are needed.
  for (QToolButton* arrow : bar->findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isVisible());
}

}  // namespace
}  // namespace tvlc::test
