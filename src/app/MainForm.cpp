#include "MainForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "About.h"
#include "ImageWidget.h"
#include "MainLayout.h"
#include "Placement.h"
#include "ProgramIcon.h"

namespace tvlc {

TMainFrm::TMainFrm(std::unique_ptr<TDialogs> dialogs, const std::string& moduleDirectory)
    : dialogs_(std::move(dialogs)),
      w_(BuildMainLayout(*this)),
      gate_(*this),
      host_(*this, *dialogs_),
      core_(host_, moduleDirectory),
      encSelForm_(core_.Registry, *dialogs_, this),
      view_(*this, w_, core_, gate_) {
  setWindowTitle("Tarvello Picture Codec");
  setWindowIcon(ProgramIcon());
  resize(646, 614);
  CenterOnScreen(*this);

  WireFileMenu();
  WireShapeCommands();
  WireViews();
  WireCoderTab();
  gate_.DisableUnwired(w_.Commands());

  host_.Attach(view_);
  view_.Refresh(kAllChanged);
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::WireFileMenu() {
  const TMenuItems& m = w_.Menu;
  gate_.Wire(m.LoadPicture1, &QAction::triggered,
             [this] { OpenThen(kBitmapOpenFilter, &TMainCore::LoadPicture1Click); });
  gate_.Wire(m.LoadMap1, &QAction::triggered,
             [this] { OpenThen(kBitmapOpenFilter, &TMainCore::LoadMap1Click); });
  gate_.Wire(m.SavePicture1, &QAction::triggered,
             [this] { SaveThen(kBitmapSaveFilter, &TMainCore::SavePicture1Click); });
  gate_.Wire(m.SaveMap1, &QAction::triggered,
             [this] { SaveThen(kBitmapSaveFilter, &TMainCore::SaveMap1Click); });
  gate_.Wire(m.ClearLog1, &QAction::triggered, [this] { core_.ClearLog1Click(); });
  gate_.Wire(m.SaveLog1, &QAction::triggered,
             [this] { SaveThen(kLogFilter, &TMainCore::SaveLog1Click); });
  gate_.Wire(m.Exit1, &QAction::triggered, [this] { close(); });
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
  connect(list.ShowShapInfChck, &QCheckBox::clicked, this,
          [this](bool checked) { core_.Controls.ShowShapInfChecked = checked; });
  gate_.Mirror(m.Select1, list.ShowShBtn);
  gate_.Mirror(m.Encode1, w_.Tabs.EncBtn);
  gate_.Mirror(m.Decode1, w_.Tabs.DecodeBtn);
  gate_.Mirror(m.EncodeAll1, list.EncAllBtn);
  gate_.Mirror(m.DecodeAll1, list.DecAllBtn);
}

void TMainFrm::WireViews() {
  // All three views select like the map view, in the map view's scale.
  for (TOverlaidView* view : {w_.Picture, w_.Map, w_.Reconst}) {
    connect(&view->Overlay(), &TImageWidget::Pressed, this, [this](QPoint at) {
      core_.MapDrawAreaMouseDown(at.x(), at.y(), w_.Map->width(), w_.Map->height());
    });
    connect(&view->Overlay(), &TImageWidget::Clicked, this, [this] { core_.MapDrawAreaClick(); });
  }
  gate_.Wire(w_.Tabs.ZoomSpin, &QSpinBox::valueChanged,
             [this](int zoom) { core_.ZoomSpinChange(zoom); });
}

void TMainFrm::WireCoderTab() {
  const TShapeTabs& t = w_.Tabs;
  gate_.Wire(t.Button1, &QPushButton::clicked, [this] { ChooseTransformation(); });
  gate_.Wire(t.ContEncChck, &QCheckBox::clicked,
             [this](bool checked) { core_.ContEncChckClick(checked); });
  connect(t.ReqPSNREd, &QLineEdit::textEdited, this,
          [this](const QString& text) { core_.Controls.ReqPSNRText = text.toStdString(); });
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
  if (encSelForm_.exec() != QDialog::Accepted) return;
  core_.Controls.EncoderLab = core_.Registry.SelTransName;
  core_.Notify(kControlsChanged);
}

}  // namespace tvlc
