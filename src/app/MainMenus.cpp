#include "MainMenus.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenuBar>

namespace tvlc {

namespace {

QAction* Item(QObject* owner, const char* name, const char* text, const char* shortcut = nullptr) {
  auto* action = new QAction(QString::fromUtf8(text), owner);
  action->setObjectName(name);
  if (shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
  return action;
}

void BuildFileMenu(QMainWindow& window, TMenuItems& m) {
  m.File1 = window.menuBar()->addMenu("&File");
  m.File1->setObjectName("File1");
  m.FileItems = new QActionGroup(&window);
  m.FileItems->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
  auto add = [&](QAction*& slot, const char* name, const char* text,
                 const char* shortcut = nullptr) {
    slot = Item(&window, name, text, shortcut);
    m.FileItems->addAction(slot);
    m.File1->addAction(slot);
  };
  add(m.Open1, "Open1", "&Open", "Ctrl+O");
  add(m.Save1, "Save1", "&Save", "Ctrl+S");
  m.File1->addSeparator();
  add(m.LoadPicture1, "LoadPicture1", "Load &Picture", "Ctrl+P");
  add(m.LoadMap1, "LoadMap1", "Load &Map", "Ctrl+M");
  add(m.SavePicture1, "SavePicture1", "S&ave Picture");
  add(m.SaveMap1, "SaveMap1", "Sa&ve Map");
  add(m.SaveDecodedPicture1, "SaveDecodedPicture1", "Export &Decoded Picture", "Alt+D");
  m.File1->addSeparator();
  add(m.OpenCompressedPicture1, "OpenCompressedPicture1", "Open &Compressed Picture", "Alt+O");
  add(m.ExportSpectrum1, "ExportSpectrum1", "Save Com&pressed Picture", "Alt+S");
  m.File1->addSeparator();
  add(m.ClearLog1, "ClearLog1", "Clear Log");
  add(m.SaveLog1, "SaveLog1", "Save &Log", "Ctrl+L");
  add(m.Globalstatistics1, "Globalstatistics1", "Global s&tatistics");
  m.File1->addSeparator();
  add(m.Exit1, "Exit1", "E&xit", "Alt+X");
}

void BuildShapeMenu(QMainWindow& window, TMenuItems& m) {
  QMenu* menu = window.menuBar()->addMenu("S&hape");
  menu->setObjectName("Shape1");
  auto add = [&](QAction*& slot, const char* name, const char* text,
                 const char* shortcut = nullptr) {
    slot = Item(&window, name, text, shortcut);
    menu->addAction(slot);
  };
  add(m.Select1, "Select1", "&Select");
  add(m.Encode1, "Encode1", "&Encode");
  add(m.Decode1, "Decode1", "&Decode");
  menu->addSeparator();
  add(m.EncodeAll1, "EncodeAll1", "E&ncode All", "Ctrl+E");
  add(m.DecodeAll1, "DecodeAll1", "De&code All", "Ctrl+D");
}

}  // namespace

TMenuItems BuildMenus(QMainWindow& window) {
  TMenuItems m{};
  BuildFileMenu(window, m);
  BuildShapeMenu(window, m);

  m.Map1 = window.menuBar()->addMenu("&Map");
  m.Map1->setObjectName("Map1");
  m.Generategrid1 = Item(&window, "Generategrid1", "Generate rectangles...");
  m.Map1->addAction(m.Generategrid1);
  m.GenerateSegmentation1 =
      Item(&window, "GenerateSegmentation1", "Generate segmentation...");
  m.Map1->addAction(m.GenerateSegmentation1);
  m.Map1->addSeparator();
  m.RdStudy1 = Item(&window, "RdStudy1", "Rate-distortion study...");
  m.Map1->addAction(m.RdStudy1);

  m.About1 = Item(&window, "About1", "&About");
  window.menuBar()->addAction(m.About1);

  m.Generaterectangles1 = Item(&window, "Generaterectangles1", "Generate rectangles...");
  m.SaveReconst1 = Item(&window, "SaveReconst1", "Save");
  m.Clear1 = Item(&window, "Clear1", "Clear");
  m.SaveSpectrumPicture1 =
      Item(&window, "SaveSpectrumPicture1", "Export spectrum to Bitmap...");
  m.MenuItem1 = Item(&window, "MenuItem1", "Export shape to Bitmap...");
  return m;
}

}  // namespace tvlc
