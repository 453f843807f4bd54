#include "StateView.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "ComparisonDock.h"
#include "ImageWidget.h"
#include "PsnrChart.h"
#include "InfoFields.h"
#include "appcore/MainCore.h"

namespace tvlc {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

void ShowBar(QProgressBar& bar, const TProgressBarState& state) {
  bar.setRange(state.Min, state.Max);
  bar.setValue(state.Position);
  bar.setVisible(state.Visible);
}

}  // namespace

TStateView::TStateView(QMainWindow& window, TMainWidgets& widgets, const TMainCore& core,
                       const TCommandGate& gate)
    : window_(window), w_(widgets), core_(core), gate_(gate), log_(*widgets.Log) {}

void TStateView::Refresh(unsigned changes) {
  if (changes & kLogChanged) log_.Show(core_.Log.Lines());
  if (changes & kViewsChanged)
    ShowViews();
  else if (changes & kShapeViewsChanged)
    ShowShapeViews();
  else if (changes & kSpectrumViewChanged)
    ShowSpectrumView();
  if (changes & kShapeListChanged) ShowShapeList();
  if (changes & kInfoChanged) ShowInfo();
  if (changes & kControlsChanged) ShowControls();
  if (changes & kProgressChanged) ShowProgress();
  if (changes & kCurveChanged) w_.Tabs.PsnrChart->Show(core_.Curves);
  w_.CompareDock->Refresh(core_, changes);
}

// Every image is converted for the screen; the narrower updates below spare
// the large ones that did not change.
void TStateView::ShowViews() {
  w_.Picture->SetImage(core_.Picture);
  w_.Map->SetImage(core_.Map);
  w_.Reconst->SetImages(core_.Reconst, core_.ReconstDrawArea);
  ShowShapeViews();
}

void TStateView::ShowShapeViews() {
  w_.Picture->Overlay().SetImage(core_.PicDrawArea);
  w_.Map->Overlay().SetImage(core_.MapDrawArea);
  w_.Tabs.ViewDrawArea->SetImage(core_.ViewDrawArea);
  ShowSpectrumView();
}

void TStateView::ShowSpectrumView() {
  w_.Tabs.SpecDrawArea->SetImage(core_.SpecDrawArea);
  w_.Tabs.SpecDrawArea->setFixedSize(core_.Spectrum.ViewWidth, core_.Spectrum.ViewHeight);
}

void TStateView::ShowShapeList() {
  QListWidget& list = *w_.List.ShapeList;
  std::vector<std::string> names;
  names.reserve(core_.Shapes.size());
  for (const TShapeItem& item : core_.Shapes) names.push_back(item.Name);
  if (names != listed_) {
    QStringList items;
    items.reserve(qsizetype(names.size()));
    for (const std::string& name : names) items << Text(name);
    list.clear();
    list.addItems(items);
    listed_ = std::move(names);
  }
  // A replaced list has nothing selected, also when its names are the same.
  list.setCurrentRow(core_.SelectedIndex);
}

void TStateView::ShowInfo() {
  for (const TInfoField& field : kInfoFields)
    (w_.Tabs.Info.*field.Label)->setText(Text(core_.Info.*field.Text));
  ShowCoefficients();
}

void TStateView::ShowCoefficients() {
  const TSpectrumTab& s = core_.Spectrum;
  TShapeTabs& t = w_.Tabs;
  t.ZeroLab->setText(Text(s.ZeroLab));
  t.NonZeroLab->setText(Text(s.NonZeroLab));
  t.MinValLab->setText(Text(s.MinValLab));
  t.MaxValLab->setText(Text(s.MaxValLab));
  if (s.CoefList == coefficients_) return;
  QStringList values;
  values.reserve(qsizetype(s.CoefList.size()));
  for (const std::string& value : s.CoefList) values << Text(value);
  t.CoefList->clear();
  t.CoefList->addItems(values);
  coefficients_ = s.CoefList;
}

void TStateView::ShowControls() {
  const TControlState& c = core_.Controls;
  TShapeTabs& t = w_.Tabs;
  window_.setEnabled(c.WindowEnabled);
  w_.Menu.File1->menuAction()->setEnabled(c.FileMenuEnabled);
  w_.Menu.FileItems->setEnabled(c.FileMenuEnabled);
  w_.Menu.Map1->menuAction()->setEnabled(c.MapMenuEnabled);
  gate_.Enable(w_.Menu.Generategrid1, c.MapMenuEnabled);
  gate_.Enable(w_.Menu.GenerateSegmentation1, c.MapMenuEnabled);
  gate_.Enable(w_.Menu.RdStudy1, c.MapMenuEnabled);
  gate_.Enable(w_.Menu.Generaterectangles1, c.MapMenuEnabled);
  gate_.Enable(w_.List.ShowShBtn, c.ShowShBtnEnabled);
  gate_.Enable(w_.List.EncAllBtn, c.EncAllBtnEnabled);
  gate_.Enable(w_.List.DecAllBtn, c.DecAllBtnEnabled);
  w_.List.StopBtn->setVisible(c.StopBtnVisible);
  w_.List.ShowShapInfChck->setChecked(c.ShowShapInfChecked);
  w_.List.BatchProgLab->setText(Text(c.BatchProgLab));

  gate_.Enable(t.Button1, c.Button1Enabled);
  gate_.Enable(t.EncBtn, c.EncBtnEnabled);
  t.EncBtn->setText(Text(c.EncBtnCaption));
  if (t.ReqPSNREd->text() != Text(c.ReqPSNRText)) t.ReqPSNREd->setText(Text(c.ReqPSNRText));
  gate_.Enable(t.DecodeBtn, c.DecodeBtnEnabled);
  t.PSNRLab->setText(Text(c.PSNRLab));
  t.IteratLab->setText(Text(c.IteratLab));
  t.EncSpeedLab->setText(Text(c.EncSpeedLab));
  t.EncoderLab->setText(Text(c.EncoderLab));
  t.ContEncChck->setVisible(c.ContEncChckVisible);
  {
    // Copying the state in must not run the commands behind these controls.
    const QSignalBlocker blockCheck(t.ContEncChck), blockQuant(t.UseQSpecChck),
        blockQuality(t.QuantQuality), blockNorm(t.NormCombo), blockZoom(t.ZoomSpin),
        blockThreads(w_.List.ThreadsSpin);
    w_.List.ThreadsSpin->setValue(int(core_.Threads));
    t.ContEncChck->setChecked(c.ContEncChckChecked);
    t.UseQSpecChck->setChecked(c.UseQSpecChecked);
    t.QuantQuality->setValue(c.QuantQuality);
    t.NormCombo->setCurrentIndex(c.NormComboIndex);
    t.ZoomSpin->setValue(core_.Spectrum.Zoom);
  }
  gate_.Enable(t.QuantQuality, c.UseQSpecChecked);
}

void TStateView::ShowProgress() {
  ShowBar(*w_.Tabs.EncProgBar, core_.Controls.EncProgBar);
  ShowBar(*w_.Tabs.ProgressBar, core_.Controls.ProgressBar);
}

}  // namespace tvlc
