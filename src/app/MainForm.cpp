#include "MainForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <cmath>

#include "About.h"
#include "FileDrop.h"
#include "ImageWidget.h"
#include "MainLayout.h"
#include "Placement.h"
#include "ProgramIcon.h"
#include "PsnrChart.h"
#include "RdStudyFrm.h"
#include "Stats.h"

namespace tvlc {

TMainFrm::TMainFrm(std::unique_ptr<TDialogs> dialogs, const std::string& moduleDirectory)
    : dialogs_(std::move(dialogs)),
      w_(BuildMainLayout(*this)),
      gate_(*this),
      host_(*this, *dialogs_),
      core_(host_, moduleDirectory),
      encSelForm_(core_.Registry, *dialogs_, this),
      genRectFrm_(core_.RectFields, core_.Picture, this),
      segmentFrm_(
          core_.SegmentParams,
          [this](const TSegmentParams& params) { return core_.PreviewSegmentation(params); },
          this),
      view_(*this, w_, core_, gate_) {
  setWindowTitle("Tarvello Picture Codec");
  setWindowIcon(ProgramIcon());
  resize(646, 614);
  CenterOnScreen(*this);

  WireMenus();
  WireShapeCommands();
  WireViews();
  WireCoderTab();
  WireQuantizationTab();
  WireSpectrumTabs();
  gate_.DisableUnwired(w_.Commands());

  host_.Attach(view_);
  view_.Refresh(kAllChanged);
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::WireMenus() {
  const TMenuItems& m = w_.Menu;
  gate_.Wire(m.Open1, &QAction::triggered,
             [this] { OpenThen(kProjectFilter, &TMainCore::Open1Click); });
  gate_.Wire(m.Save1, &QAction::triggered,
             [this] { SaveThen(kProjectFilter, &TMainCore::Save1Click); });
  gate_.Wire(m.LoadPicture1, &QAction::triggered,
             [this] { OpenThen(kPictureOpenFilter, &TMainCore::LoadPicture1Click); });
  gate_.Wire(m.LoadMap1, &QAction::triggered,
             [this] { OpenThen(kPictureOpenFilter, &TMainCore::LoadMap1Click); });
  gate_.Wire(m.SavePicture1, &QAction::triggered,
             [this] { SaveThen(kPictureSaveFilter, &TMainCore::SavePicture1Click); });
  gate_.Wire(m.SaveMap1, &QAction::triggered,
             [this] { SaveThen(kPictureSaveFilter, &TMainCore::SaveMap1Click); });
  gate_.Wire(m.SaveDecodedPicture1, &QAction::triggered,
             [this] { SaveThen(kPictureSaveFilter, &TMainCore::SaveDecodedPicture1Click); });
  // Both compressed picture commands refuse before asking for a file.
  gate_.Wire(m.OpenCompressedPicture1, &QAction::triggered, [this] {
    if (core_.CanOpenCompressedPicture())
      OpenThen(kCompressedFilter, &TMainCore::OpenCompressedPicture1Click);
  });
  gate_.Wire(m.ExportSpectrum1, &QAction::triggered, [this] {
    if (core_.CanExportSpectrum()) SaveThen(kCompressedFilter, &TMainCore::ExportSpectrum1Click);
  });
  gate_.Wire(m.ClearLog1, &QAction::triggered, [this] { core_.ClearLog1Click(); });
  gate_.Wire(m.SaveLog1, &QAction::triggered,
             [this] { SaveThen(kLogFilter, &TMainCore::SaveLog1Click); });
  gate_.Wire(m.Globalstatistics1, &QAction::triggered, [this] { ShowStatistics(); });
  gate_.Wire(m.Exit1, &QAction::triggered, [this] { close(); });
  gate_.Wire(m.Generategrid1, &QAction::triggered, [this] { GenerateRectangles(); });
  gate_.Wire(m.GenerateSegmentation1, &QAction::triggered, [this] { GenerateSegmentation(); });
  gate_.Wire(m.RdStudy1, &QAction::triggered, [this] { StudyRateDistortion(); });
  gate_.Wire(m.About1, &QAction::triggered, [this] { ShowAboutBox(); });
  gate_.Mirror(m.SaveReconst1, m.SaveDecodedPicture1);
  gate_.Mirror(m.Generaterectangles1, m.Generategrid1);
  gate_.Wire(m.Clear1, &QAction::triggered, [this] { core_.ResetDecodedViews(); });
}

void TMainFrm::WireShapeCommands() {
  const TMenuItems& m = w_.Menu;
  const TShapeListPanel& list = w_.List;
  gate_.Wire(list.ShowShBtn, &QPushButton::clicked,
             [this] { core_.ShowShBtnClick(w_.List.ShapeList->currentRow()); });
  connect(list.ShapeList, &QListWidget::itemDoubleClicked, this, [this] {
    if (w_.List.ShowShBtn->isEnabled()) w_.List.ShowShBtn->click();
  });
  gate_.Wire(list.EncAllBtn, &QPushButton::clicked, [this] { core_.EncAllBtnClick(); });
  gate_.Wire(list.DecAllBtn, &QPushButton::clicked, [this] { core_.DecAllBtnClick(); });
  gate_.Wire(list.StopBtn, &QPushButton::clicked, [this] { core_.StopBtnClick(); });
  connect(list.ShowShapInfChck, &QCheckBox::clicked, this,
          [this](bool checked) { core_.ShowShapInfChckClick(checked); });
  connect(list.ThreadsSpin, &QSpinBox::valueChanged, this,
          [this](int threads) { core_.Threads = unsigned(threads); });
  gate_.Mirror(m.Select1, list.ShowShBtn);
  gate_.Mirror(m.Encode1, w_.Tabs.EncBtn);
  gate_.Mirror(m.Decode1, w_.Tabs.DecodeBtn);
  gate_.Mirror(m.EncodeAll1, list.EncAllBtn);
  gate_.Mirror(m.DecodeAll1, list.DecAllBtn);
}

void TMainFrm::WireViews() {
  // All three views select like the map view, each through the rectangle
  // its own picture is drawn in.
  for (TOverlaidView* view : {w_.Picture, w_.Map, w_.Reconst}) {
    connect(&view->Overlay(), &TImageWidget::Pressed, this, [this, view](QPoint at) {
      // The map's extent at this view's scale: the picture view may show a
      // picture larger than the map.
      const TImageWidget& overlay = view->Overlay();
      const QRect shown = overlay.PictureRect();
      if (shown.isEmpty()) return;
      const double scale = double(shown.width()) / overlay.Shown().width();
      core_.MapDrawAreaMouseDown(at.x() - shown.x(), at.y() - shown.y(),
                                 int(std::lround(core_.MapWidth * scale)),
                                 int(std::lround(core_.MapHeight * scale)));
    });
    connect(&view->Overlay(), &TImageWidget::Clicked, this, [this] { core_.MapDrawAreaClick(); });
  }
  // Files dropped on the window; the filter belongs to the window.
  new TFileDrop(*this, *w_.Map, core_);
}

void TMainFrm::WireCoderTab() {
  const TShapeTabs& t = w_.Tabs;
  gate_.Wire(t.Button1, &QPushButton::clicked, [this] { ChooseTransformation(); });
  // While encoding, the same button reads "Stop" and cancels.
  gate_.Wire(t.EncBtn, &QPushButton::clicked, [this] { core_.EncBtnClick(); });
  gate_.Wire(t.ContEncChck, &QCheckBox::clicked,
             [this](bool checked) { core_.ContEncChckClick(checked); });
  connect(t.ReqPSNREd, &QLineEdit::textEdited, this,
          [this](const QString& text) { core_.ReqPSNREdChange(text.toStdString()); });
  gate_.Wire(t.DecodeBtn, &QPushButton::clicked, [this] { core_.DecodeBtnClick(); });
  connect(t.PsnrChart->ExportAction(), &QAction::triggered, this, [this] {
    const std::string path = dialogs_->SaveFile(this, kPngFilter);
    if (path.empty()) return;
    if (w_.Tabs.PsnrChart->SavePng(path))
      core_.AddLog("PSNR chart saved to " + path + ".\r\n");
    else
      core_.AddLog("Error: cannot write " + path + "\r\n");
  });
}

void TMainFrm::WireQuantizationTab() {
  const TShapeTabs& t = w_.Tabs;
  gate_.Wire(t.UseQSpecChck, &QCheckBox::clicked,
             [this](bool checked) { core_.UseQSpecChckClick(checked); });
  gate_.Wire(t.QuantQuality, &QSlider::valueChanged,
             [this](int position) { core_.QuantQualityChange(position); });
  // Only the user's choice applies a kind; showing a shape's kind must not.
  gate_.Wire(t.NormCombo, &QComboBox::activated,
             [this](int index) { core_.NormComboChange(index); });
  gate_.Wire(t.RequantBtn, &QPushButton::clicked, [this] { core_.RequantBtnClick(); });
}

void TMainFrm::WireSpectrumTabs() {
  const TMenuItems& m = w_.Menu;
  const TShapeTabs& t = w_.Tabs;
  gate_.Wire(t.RedrawSpecBtn, &QPushButton::clicked, [this] { core_.RedrawSpecBtnClick(); });
  gate_.Wire(t.ZoomSpin, &QSpinBox::valueChanged, [this](int zoom) { core_.ZoomSpinChange(zoom); });
  gate_.Wire(m.SaveSpectrumPicture1, &QAction::triggered,
             [this] { SaveThen(kPictureSaveFilter, &TMainCore::SaveSpectrumPicture1Click); });
  gate_.Wire(m.MenuItem1, &QAction::triggered,
             [this] { SaveThen(kPictureSaveFilter, &TMainCore::MenuItem1Click); });
}

void TMainFrm::OpenThen(const TFileFilter& filter, TFileCommand command) {
  const std::string path = dialogs_->OpenFile(this, filter);
  if (!path.empty()) (core_.*command)(path);
}

void TMainFrm::SaveThen(const TFileFilter& filter, TFileCommand command) {
  const std::string path = dialogs_->SaveFile(this, filter);
  if (!path.empty()) (core_.*command)(path);
}

void TMainFrm::ShowAboutBox() {
  TAboutBox box(this);
  CenterOver(box, *this);
  box.exec();
}

void TMainFrm::ChooseTransformation() {
  CenterOver(encSelForm_, *this);
  if (encSelForm_.exec() == QDialog::Accepted) core_.TransformationChosen();
}

void TMainFrm::ShowStatistics() {
  const std::vector<std::string> lines = core_.Globalstatistics1Click();
  if (lines.empty()) return;
  TStatForm form(lines, this);
  CenterOver(form, *this);
  form.exec();
}

void TMainFrm::StudyRateDistortion() {
  TRdStudyFrm form(core_, *dialogs_, this);
  CenterOver(form, *this);
  form.exec();
}

void TMainFrm::GenerateRectangles() {
  if (!core_.PicData) return;
  CenterOver(genRectFrm_, *this);
  if (genRectFrm_.exec() == QDialog::Accepted)
    core_.GenerateRectangles(core_.RectFields.XSize, core_.RectFields.YSize);
}

void TMainFrm::GenerateSegmentation() {
  if (!core_.PicData) return;
  CenterOver(segmentFrm_, *this);
  if (segmentFrm_.exec() == QDialog::Accepted) core_.GenerateSegmentation(core_.SegmentParams);
}

}  // namespace tvlc
