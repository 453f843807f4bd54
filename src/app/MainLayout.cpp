#include "MainLayout.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ComparisonDock.h"
#include "ImageWidget.h"
#include "LogView.h"
#include "MainMenus.h"
#include "MainTabs.h"
#include "Named.h"
#include "ViewPanel.h"
#include "appcore/ShapeWorkers.h"

namespace tvlc {

namespace {

QGroupBox* Captioned(const char* caption, QWidget* content) {
  auto* group = new QGroupBox(caption);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(content);
  return group;
}

QGroupBox* BuildShapeList(TShapeListPanel& p) {
  auto* group = new QGroupBox("Shape list");
  auto* layout = new QVBoxLayout(group);
  p.ShapeList = new QListWidget;
  p.ShapeList->setObjectName("ShapeList");
  p.ShapeList->setUniformItemSizes(true);
  layout->addWidget(p.ShapeList, 1);

  p.ShowShBtn = NamedButton("ShowShBtn", "Select shape");
  p.EncAllBtn = NamedButton("EncAllBtn", "Encode All");
  p.DecAllBtn = NamedButton("DecAllBtn", "Decode All");
  p.StopBtn = NamedButton("StopBtn", "Stop");
  p.ShowShapInfChck = new QCheckBox("Update info");
  p.ShowShapInfChck->setObjectName("ShowShapInfChck");
  for (QWidget* control : std::initializer_list<QWidget*>{p.ShowShBtn, p.EncAllBtn, p.DecAllBtn,
                                                          p.StopBtn, p.ShowShapInfChck})
    layout->addWidget(control);

  auto* threads = new QHBoxLayout;
  p.ThreadsSpin = new QSpinBox;
  p.ThreadsSpin->setObjectName("ThreadsSpin");
  p.ThreadsSpin->setRange(1, int(std::max(64u, AllCores())));
  p.ThreadsSpin->setToolTip("Shapes Encode All and Decode All code at once");
  auto* threadsLabel = new QLabel("Threads");
  threadsLabel->setBuddy(p.ThreadsSpin);
  threads->addWidget(threadsLabel);
  threads->addWidget(p.ThreadsSpin, 1);
  layout->addLayout(threads);
  p.BatchProgLab = new QLabel;
  p.BatchProgLab->setObjectName("BatchProgLab");
  p.BatchProgLab->setWordWrap(true);
  layout->addWidget(p.BatchProgLab);
  return group;
}

QGroupBox* BuildLog(QPlainTextEdit*& log) {
  log = new QPlainTextEdit;
  log->setObjectName("Log");
  log->setReadOnly(true);
  log->setLineWrapMode(QPlainTextEdit::NoWrap);
  log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  KeepLinesVisible(*log, 5);
  return Captioned("Log", log);
}

}  // namespace

QList<QObject*> TMainWidgets::Commands() const {
  const TMenuItems& m = Menu;
  const TShapeTabs& t = Tabs;
  return {m.Open1, m.Save1, m.LoadPicture1, m.LoadMap1, m.SavePicture1, m.SaveMap1,
          m.SaveDecodedPicture1, m.OpenCompressedPicture1, m.ExportSpectrum1, m.ClearLog1,
          m.SaveLog1, m.Globalstatistics1, m.Exit1, m.Select1, m.Encode1, m.Decode1,
          m.EncodeAll1, m.DecodeAll1, m.Generategrid1, m.GenerateSegmentation1, m.RdStudy1,
          m.About1, m.Generaterectangles1, m.SaveReconst1, m.Clear1, m.SaveSpectrumPicture1,
          m.MenuItem1, List.ShowShBtn, List.EncAllBtn, List.DecAllBtn, List.StopBtn, t.Button1,
          t.EncBtn, t.ContEncChck, t.NormCombo, t.RequantBtn, t.UseQSpecChck, t.QuantQuality,
          t.RedrawSpecBtn, t.ZoomSpin, t.DecodeBtn};
}

TMainWidgets BuildMainLayout(QMainWindow& window) {
  TMainWidgets w{};
  w.Menu = BuildMenus(window);

  w.Picture = new TOverlaidView("Picture", "PicDrawArea");
  w.Map = new TOverlaidView("Map", "MapDrawArea");
  w.Reconst = new TOverlaidView("Reconst", "ReconstDrawArea");
  w.Map->setContextMenuPolicy(Qt::ActionsContextMenu);
  w.Map->addAction(w.Menu.Generaterectangles1);
  w.Reconst->setContextMenuPolicy(Qt::ActionsContextMenu);
  w.Reconst->addActions({w.Menu.SaveReconst1, w.Menu.Clear1});
  auto* views = new TViewPanel(Captioned("Input picture", w.Picture),
                               Captioned("Segmentation map", w.Map),
                               Captioned("Decoded picture", w.Reconst));

  QGroupBox* shapeTabs = BuildShapeTabs(w.Tabs);
  w.Tabs.ViewDrawArea->addAction(w.Menu.MenuItem1);
  w.Tabs.SpecDrawArea->addAction(w.Menu.SaveSpectrumPicture1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildShapeList(w.List), 1);
  middle->addWidget(shapeTabs, 3);

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(views, 3);
  layout->addLayout(middle, 4);
  layout->addWidget(BuildLog(w.Log), 2);
  window.setCentralWidget(central);
  w.CompareDock = AddComparisonDock(window, w.PixelInfo);
  return w;
}

}  // namespace tvlc
