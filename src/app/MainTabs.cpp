#include "MainTabs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ColumnList.h"
#include "ImageWidget.h"
#include "InfoFields.h"
#include "Named.h"
#include "PsnrChart.h"
#include "model/Shape.h"

namespace tvlc {

namespace {

QLabel* ValueLabel(const char* name) { return Named(new QLabel, name); }

QWidget* InfoPage(TInfoLabels& labels) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  constexpr int kRowsPerColumn = 8;
  int index = 0;
  for (const TInfoField& field : kInfoFields) {
    QLabel* value = ValueLabel(field.LabelName);
    labels.*field.Label = value;
    const int row = index % kRowsPerColumn;
    const int column = 2 * (index / kRowsPerColumn);
    grid->addWidget(new QLabel(field.Caption), row, column);
    grid->addWidget(value, row, column + 1);
    ++index;
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(kRowsPerColumn, 1);
  return page;
}

QWidget* ShapePage(TShapeTabs& t) {
  auto* page = Named(new QWidget, "TabSheet1");
  auto* layout = new QVBoxLayout(page);
  t.ViewDrawArea = Named(new TImageWidget, "ViewDrawArea");
  t.ViewDrawArea->setContextMenuPolicy(Qt::ActionsContextMenu);
  layout->addWidget(t.ViewDrawArea);
  return page;
}

QWidget* CoderPage(TShapeTabs& t) {
  auto* page = new QWidget;
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(0, 0, 0, 0);
  // The controls keep the width they need; the chart on their right takes
  // the rest of what the enlarged window gives the tab.
  auto* controls = new QWidget;
  auto* grid = new QGridLayout(controls);
  t.PSNRLab = ValueLabel("PSNRLab");
  t.IteratLab = ValueLabel("IteratLab");
  t.ReqPSNREd = Named(new QLineEdit, "ReqPSNREd");
  t.EncoderLab = ValueLabel("EncoderLab");
  t.Button1 = NamedButton("Button1", "Select");
  t.EncBtn = NamedButton("EncBtn", "Encode");
  t.ContEncChck = Named(new QCheckBox("Continue encoding"), "ContEncChck");
  t.EncSpeedLab = ValueLabel("EncSpeedLab");
  t.EncProgBar = Named(new QProgressBar, "EncProgBar");
  t.EncProgBar->setTextVisible(false);

  grid->addWidget(new QLabel("Current PSNR [dB]"), 0, 0);
  grid->addWidget(t.PSNRLab, 0, 1);
  grid->addWidget(new QLabel("Current Iteration"), 0, 2);
  grid->addWidget(t.IteratLab, 0, 3);
  grid->addWidget(new QLabel("Requested PSNR [dB]"), 1, 0);
  grid->addWidget(t.ReqPSNREd, 1, 1);
  grid->addWidget(t.EncoderLab, 1, 2, 1, 2);
  grid->addWidget(t.Button1, 2, 0);
  grid->addWidget(t.EncBtn, 2, 1);
  grid->addWidget(t.ContEncChck, 2, 2, 1, 2);
  grid->addWidget(new QLabel("Transforming speed [pixels/s]"), 3, 0, 1, 2);
  grid->addWidget(t.EncSpeedLab, 3, 2, 1, 2);
  grid->addWidget(new QLabel("Encoding status"), 4, 0);
  grid->addWidget(t.EncProgBar, 4, 1, 1, 3);
  grid->setRowStretch(5, 1);
  controls->setMaximumWidth(controls->minimumSizeHint().width());
  t.PsnrChart = new TPsnrChart;
  row->addWidget(controls);
  row->addWidget(t.PsnrChart, 1);
  t.PsnrChart->PlaceBeside(*controls);
  return page;
}

QWidget* QuantizationPage(TShapeTabs& t) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  t.NormCombo = Named(new QComboBox, "NormCombo");
  for (const char* name : kNormKindNames) t.NormCombo->addItem(name);
  t.RequantBtn = NamedButton("RequantBtn", "Requantize all");
  t.UseQSpecChck = Named(new QCheckBox("Quantize spectrum with quality:"), "UseQSpecChck");
  t.QuantQuality = Named(new QSlider(Qt::Horizontal), "QuantQuality");
  t.QuantQuality->setRange(1, 99);
  t.QuantQuality->setTickInterval(2);
  t.QuantQuality->setTickPosition(QSlider::TicksBelow);

  grid->addWidget(new QLabel("Normalization"), 0, 0);
  grid->addWidget(t.NormCombo, 0, 1);
  grid->addWidget(t.RequantBtn, 0, 2);
  grid->addWidget(t.UseQSpecChck, 1, 0, 1, 3);
  grid->addWidget(t.QuantQuality, 2, 0, 1, 3);
  grid->setRowStretch(3, 1);
  return page;
}

QWidget* SpectrumPage(TShapeTabs& t) {
  auto* page = Named(new QWidget, "TabSheet3");
  auto* layout = new QVBoxLayout(page);
  auto* bar = new QHBoxLayout;
  t.RedrawSpecBtn = NamedButton("RedrawSpecBtn", "Refresh");
  t.ZoomSpin = Named(new QSpinBox, "ZoomSpin");
  t.ZoomSpin->setRange(1, 10);
  bar->addWidget(t.RedrawSpecBtn);
  bar->addWidget(new QLabel("Zoom"));
  bar->addWidget(t.ZoomSpin);
  bar->addStretch(1);
  layout->addLayout(bar);

  t.SpecDrawArea = Named(new TImageWidget, "SpecDrawArea");
  t.SpecDrawArea->setContextMenuPolicy(Qt::ActionsContextMenu);
  t.SpecScroll = Named(new QScrollArea, "SpecScroll");
  t.SpecScroll->setAlignment(Qt::AlignCenter);
  t.SpecScroll->setWidget(t.SpecDrawArea);
  layout->addWidget(t.SpecScroll, 1);
  return page;
}

QWidget* CoefficientsPage(TShapeTabs& t) {
  auto* page = Named(new QWidget, "TabSheet6");
  auto* grid = new QGridLayout(page);
  t.ZeroLab = ValueLabel("ZeroLab");
  t.NonZeroLab = ValueLabel("NonZeroLab");
  t.MinValLab = ValueLabel("MinValLab");
  t.MaxValLab = ValueLabel("MaxValLab");
  grid->addWidget(new QLabel("Zero count"), 0, 0);
  grid->addWidget(t.ZeroLab, 0, 1);
  grid->addWidget(new QLabel("Non-Zero count"), 0, 2);
  grid->addWidget(t.NonZeroLab, 0, 3);
  grid->addWidget(new QLabel("Min value"), 1, 0);
  grid->addWidget(t.MinValLab, 1, 1);
  grid->addWidget(new QLabel("Max value"), 1, 2);
  grid->addWidget(t.MaxValLab, 1, 3);
  t.CoefList = Named(new TColumnList(6), "CoefList");
  grid->addWidget(t.CoefList, 2, 0, 1, 4);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* DecoderPage(TShapeTabs& t) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  t.DecodeBtn = NamedButton("DecodeBtn", "Decode");
  layout->addWidget(t.DecodeBtn, 0, Qt::AlignLeft);
  layout->addStretch(1);
  return page;
}

}  // namespace

QGroupBox* BuildShapeTabs(TShapeTabs& t) {
  auto* group = new QGroupBox("Selected shape");
  group->setMinimumWidth(31);
  auto* layout = new QVBoxLayout(group);
  t.Tabs = Named(new QTabWidget, "ShapeTabs");
  t.Tabs->addTab(InfoPage(t.Info), "Info");
  t.Tabs->addTab(ShapePage(t), "Shape");
  t.Tabs->addTab(CoderPage(t), "Coder");
  t.Tabs->addTab(QuantizationPage(t), "Quantizaton");
  t.Tabs->addTab(SpectrumPage(t), "Spectrum");
  t.Tabs->addTab(CoefficientsPage(t), "Coeficients");
  t.Tabs->addTab(DecoderPage(t), "Decoder");
  t.Tabs->setCurrentIndex(t.Tabs->count() - 1);
  // All seven tabs in view at the window's first size: narrow padding and no
  // scroll arrows, so that the tab bar asks for the room it needs.
  t.Tabs->tabBar()->setStyleSheet("QTabBar::tab { padding: 3px 5px; }");
  t.Tabs->setUsesScrollButtons(false);
  layout->addWidget(t.Tabs, 1);

  t.ProgressBar = Named(new QProgressBar, "ProgressBar");
  layout->addWidget(t.ProgressBar);
  return group;
}

}  // namespace tvlc
