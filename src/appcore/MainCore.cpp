#include "appcore/MainCore.h"

#include <cmath>
#include <utility>

#include "appcore/FloatText.h"
#include "model/MapAnalysis.h"
#include "model/PictureArrays.h"
#include "model/formats/ImageFile.h"
#include "model/formats/PictureAndMap.h"

namespace tvlc {

TMainCore::TMainCore(THost& host, const std::string& moduleDirectory)
    : Registry(moduleDirectory), host_(host) {
  SetInputInterval(std::chrono::milliseconds(15));
  Registry.LoadModules();
}

void TMainCore::SetInputInterval(TInputPump::Clock::duration interval) {
  pump_ = TInputPump([this] { host_.ProcessPendingInput(); }, interval);
  progressPump_ = TInputPump([this] { ShowEncodeProgress(); }, interval);
}

TMainCore::~TMainCore() = default;

void TMainCore::AddLog(const std::string& message) {
  Log.Add(LongTimeText(host_.TimeOfDay()), message);
  host_.Changed(kLogChanged);
}

bool TMainCore::LoadPicture1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  return WithinMemory("load picture " + path, [&] { return LoadPicture(path); });
}

bool TMainCore::LoadPicture(const std::string& path) {
  TLoadedImage loaded;
  try {
    loaded = PictureImage(ReadImageFile(path));
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog("Error: cannot load picture " + path + ": " + e.what() + "\r\n");
    return false;
  }
  if (!IsGrey(loaded.Image) && host_.Question(kConvertColoursQuestion)) {
    loaded.Image = LumaImage(loaded.Image);
    loaded.Notes.push_back(kLumaNote);
  }
  // Everything the picture needs is allocated before the state changes.
  TPicData levels = IsGrey(loaded.Image) ? RedLevels(loaded.Image) : nullptr;
  if (levels) ResetDecodedViews();
  Picture = std::move(loaded.Image);
  PicWidth = Picture.Width();
  PicHeight = Picture.Height();
  PicDrawArea = TImage(PicWidth, PicHeight, kWhite);

  if (!levels) {
    PicData.reset();
    PicWidth = PicHeight = 0;
    AddLog("Cann't load picture. Picture is not grayscale image with 8bit color depth.\r\n");
    host_.Changed(kViewsChanged);
    return false;
  }
  PicData = std::move(levels);
  LogNotes("Picture", path, loaded.Notes);
  AddLog("Picture " + path + " of size " + std::to_string(PicWidth) + "x" +
         std::to_string(PicHeight) + " loaded.\r\n");
  host_.Changed(kViewsChanged);
  return true;
}

void TMainCore::LogNotes(const std::string& what, const std::string& path,
                         const std::vector<std::string>& notes) {
  for (const std::string& note : notes) AddLog(what + " " + path + ": " + note + ".");
}

bool TMainCore::LoadMap1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  TBusy busy(*this, kFileOrMap);
  return WithinMemory("load map " + path, [&] { return LoadMap(path); });
}

bool TMainCore::LoadMap(const std::string& path) {
  auto origin = [&](int width, int height) {
    return "Map " + path + " of size " + std::to_string(width) + "x" + std::to_string(height) +
           " loaded.";
  };
  // The header alone refuses a map larger than the picture, before its
  // pixels cost any memory; the map view keeps what it showed.
  TLoadedImage loaded;
  try {
    const TImageSize size = ProbeImageFile(path);
    if (MapLargerThanPicture(size.Width, size.Height)) {
      AddLog(origin(size.Width, size.Height));
      AddLog("Analyzing map file: locating shapes...");
      return RefuseLargerMap();
    }
    loaded = MapImage(ReadImageFile(path));
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog("Error: cannot load map " + path + ": " + e.what() + "\r\n");
    return false;
  }
  LogNotes("Map", path, loaded.Notes);
  const std::string loadedLine = origin(loaded.Image.Width(), loaded.Image.Height());
  return ReplaceMap(std::move(loaded.Image), loadedLine);
}

bool TMainCore::MapLargerThanPicture(int width, int height) const {
  return PicData && (PicWidth < width || PicHeight < height);
}

bool TMainCore::RefuseLargerMap() {
  DropMap();
  AddLog("Error: height/width of map is larger than height/width of picture\r\n");
  return false;
}

void TMainCore::DropMap() {
  MapData.reset();
  MapWidth = MapHeight = 0;
}

bool TMainCore::ReplaceMap(TImage image, const std::string& origin) {
  TMapData labels = ColorLabels(image);
  // The map is shown while it is analyzed; running out of memory in the
  // analysis brings the previous one back.
  TImage previousMap = std::exchange(Map, std::move(image));
  TImage previousOverlay = std::exchange(MapDrawArea, TImage(Map.Width(), Map.Height(), kWhite));
  TMapData previousLabels = std::exchange(MapData, std::move(labels));
  const int32_t previousWidth = std::exchange(MapWidth, Map.Width());
  const int32_t previousHeight = std::exchange(MapHeight, Map.Height());
  host_.Changed(kViewsChanged);

  AddLog(origin);
  AddLog("Analyzing map file: locating shapes...");
  if (MapLargerThanPicture(MapWidth, MapHeight)) return RefuseLargerMap();

  // Nothing else may replace the shapes while the analysis runs.
  Controls.WindowEnabled = false;
  host_.Changed(kControlsChanged);
  SetProgressRange(int64_t(MapWidth) * MapHeight - 1);
  TShapeList shapes;
  try {
    shapes = LocateShapes(MapData, MapWidth, MapHeight, PicData, PicWidth,
                          [this](int64_t index) {
                            Controls.ProgressBar.Position = int(index);
                            pump_.Poll();
                          });
    // The decoded views of the new map need no more memory than this.
    DecodedMask.reserve(size_t(MapWidth) * size_t(MapHeight));
  } catch (const std::bad_alloc&) {
    Map = std::move(previousMap);
    MapDrawArea = std::move(previousOverlay);
    MapData = std::move(previousLabels);
    MapWidth = previousWidth;
    MapHeight = previousHeight;
    Controls.ProgressBar.Visible = false;
    Controls.WindowEnabled = true;
    host_.Changed(kProgressChanged | kControlsChanged | kViewsChanged);
    throw;
  }
  Controls.ProgressBar.Visible = false;
  Controls.WindowEnabled = true;
  host_.Changed(kProgressChanged | kControlsChanged);

  if (const TShapeItem* oversize = FindOversizeShape(shapes)) {
    DropMap();
    AddLog("Error: " + oversize->Name + " is larger than " + std::to_string(kMaxShapeExtent) +
           "x" + std::to_string(kMaxShapeExtent) + " pixels\r\n");
    return false;
  }
  MapDrawArea.Fill(kWhite);
  ReplaceShapes(std::move(shapes));
  AddLog(std::to_string(Shapes.size()) + " shapes found. Done.\r\n");
  ResetDecodedViews();
  return true;
}

void TMainCore::ReplaceShapes(TShapeList shapes) {
  SelectedShape = nullptr;
  SelectedIndex = -1;
  Shapes = std::move(shapes);
  host_.Changed(kShapeListChanged | kViewsChanged);
}

void TMainCore::SetProgressRange(int64_t max) {
  Controls.ProgressBar = {0, int(std::max<int64_t>(max, 0)), 0, true};
  host_.Changed(kProgressChanged);
}

void TMainCore::ClearOverlays() {
  MapDrawArea.Fill(kWhite);
  PicDrawArea.Fill(kWhite);
}

void TMainCore::ResetDecodedViews() {
  Reconst = TImage(MapWidth, MapHeight, kWhite);
  ReconstDrawArea = TImage(MapWidth, MapHeight, kWhite);
  DecodedMask.assign(size_t(MapWidth) * MapHeight, 0);
  host_.Changed(kViewsChanged);
}

void TMainCore::UpdateEnabledStates() {
  const bool selecting = activity_[kSelecting] > 0;
  const bool coding = activity_[kCoding] > 0;
  const bool batch = activity_[kBatch] > 0;
  const bool filing = activity_[kFileOrMap] > 0;
  Controls.ShowShBtnEnabled = Controls.DecodeBtnEnabled = !selecting && !coding && !filing;
  Controls.Button1Enabled = !coding && !filing;
  // During an encode the button is its own "Stop".
  Controls.EncBtnEnabled = !selecting && !filing && activity_[kWorkers] == 0;
  // Coding is not re-entrant, and nothing may replace the shapes under it.
  Controls.FileMenuEnabled = Controls.MapMenuEnabled = !selecting && !coding && !batch && !filing;
  Controls.EncAllBtnEnabled = Controls.DecAllBtnEnabled =
      !selecting && !coding && !batch && !filing;
  host_.Changed(kControlsChanged);
}

bool TMainCore::MayStart(bool controlEnabled) {
  if (!controlEnabled) AddLog("Error: another command is running; try again when it ends\r\n");
  return controlEnabled;
}

void TMainCore::ShowShBtnClick(int markedIndex) {
  if (markedIndex < 0 || markedIndex >= int(Shapes.size())) return;
  if (!MayStart(Controls.ShowShBtnEnabled)) return;
  WithinMemory("select the shape", [&] { SelectShape(markedIndex); });
}

void TMainCore::SelectShape(int markedIndex) {
  TBusy busy(*this, kSelecting);

  const TShapeItem& item = Shapes[size_t(markedIndex)];
  AddLog("Shape '" + item.Name + "' selected\r\n...analyzing it");
  SelectedIndex = markedIndex;
  SelectedShape = item.Shape.get();
  host_.Changed(kShapeListChanged);
  ClearOverlays();

  AddLog("...drawing boundaries");
  pump_.Force();
  SelectedShape->DrawBounds(PicDrawArea, MapDrawArea);

  AddLog("...updating encoder input area");
  pump_.Force();
  const int rw = SelectedShape->RoundedWidth();
  const int rh = SelectedShape->RoundedHeight();
  ViewDrawArea = TImage(rw, rh);
  ViewDrawArea.CopyRect(0, 0, Picture, SelectedShape->Left, SelectedShape->Top, rw, rh);
  ViewDrawArea.CopyRectAnd(0, 0, PicDrawArea, SelectedShape->Left, SelectedShape->Top, rw, rh);
  host_.Changed(kShapeViewsChanged);

  RedrawSpecBtnClick();
  UpdateInfo();
  AddLog("Done.\r\n");
}

void TMainCore::UpdateInfo() {
  if (!SelectedShape) return;
  const TShape& s = *SelectedShape;
  Info.IDLab = std::to_string(s.ID);
  Info.XLab = std::to_string(s.Left);
  Info.YLab = std::to_string(s.Top);
  Info.RWLab = std::to_string(s.BoxWidth());
  Info.RHLab = std::to_string(s.BoxHeight());
  Info.WLab = std::to_string(s.RoundedWidth());
  Info.HLab = std::to_string(s.RoundedHeight());
  Info.SlackLab = Fixed2(s.RoundingSlack()) + " %";
  Info.PCLab = std::to_string(s.PointCount);
  Info.TSLab = Fixed2(s.TotalSlack()) + " %";
  Info.SpecAvalLab = s.HasSpectrum() ? "Yes" : "No";
  Info.IterDoneLab = std::to_string(s.Iterations);
  Info.CurrPSNRLab = Fixed2(s.PSNR);
  Info.QuantLab = s.Quality == 0 ? "Not quantized" : std::to_string(s.Quality);
  Info.NormTypeLab = kNormKindNames[s.NormKind <= 4 ? s.NormKind : 2];
  Controls.NormComboIndex = s.NormKind <= 4 ? s.NormKind : 2;
  Controls.ContEncChckVisible = s.HasSpectrum();
  ContEncChckClick(Controls.ContEncChckChecked);
  const TTransDescriptor* found =
      Registry.FindTransformation(int32_t(s.ModuleCode), int32_t(s.TransCode));
  Controls.EncoderLab = found && found->Name ? found->Name : "<Codec not selected or found>";
  host_.Changed(kInfoChanged | kControlsChanged);
}

void TMainCore::ContEncChckClick(bool checked) {
  Controls.ContEncChckChecked = checked;
  Controls.IteratLab = checked ? Info.IterDoneLab : "0";
  Controls.PSNRLab = checked ? Info.CurrPSNRLab : "0";
  host_.Changed(kControlsChanged);
}

void TMainCore::MapDrawAreaMouseDown(int x, int y, int viewWidth, int viewHeight) {
  if (viewWidth <= 0 || viewHeight <= 0) return;
  ClickX = int32_t(std::nearbyint(double(MapWidth) / viewWidth * x));
  ClickY = int32_t(std::nearbyint(double(MapHeight) / viewHeight * y));
}

int TMainCore::MapDrawAreaClick() {
  if (!Controls.ShowShBtnEnabled) return -1;
  for (size_t i = 0; i < Shapes.size(); ++i)
    if (Shapes[i].Shape->Contains(ClickX, ClickY)) {
      ShowShBtnClick(int(i));
      return int(i);
    }
  return -1;
}

bool TMainCore::WriteImage(const TImage& image, const std::string& path) {
  try {
    WriteImageFile(path, image);
    return true;
  } catch (const std::bad_alloc&) {
    AddLog("Error: not enough memory to write " + path + "\r\n");
    return false;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
}

bool TMainCore::SaveDecodedPicture1Click(const std::string& path) {
  if (!WriteImage(Reconst, path)) return false;
  AddLog("Decoded picture and spectrum saved ... :-) ZUVI.\r\n");
  return true;
}

bool TMainCore::SaveSpectrumPicture1Click(const std::string& path) {
  return WriteImage(SpecDrawArea, path);
}

bool TMainCore::MenuItem1Click(const std::string& path) { return WriteImage(ViewDrawArea, path); }

void TMainCore::TransformationChosen() {
  Controls.EncoderLab = Registry.SelTransName;
  host_.Changed(kControlsChanged);
}

void TMainCore::ShowShapInfChckClick(bool checked) {
  Controls.ShowShapInfChecked = checked;
  host_.Changed(kControlsChanged);
}

void TMainCore::ReqPSNREdChange(const std::string& text) { Controls.ReqPSNRText = text; }

bool TMainCore::SavePicture1Click(const std::string& path) {
  if (!WriteImage(Picture, path)) return false;
  AddLog("Picture saved.\r\n");
  return true;
}

bool TMainCore::SaveMap1Click(const std::string& path) {
  if (!WriteImage(Map, path)) return false;
  AddLog("Map saved.\r\n");
  return true;
}

void TMainCore::ClearLog1Click() {
  Log.Clear();
  host_.Changed(kLogChanged);
}

bool TMainCore::SaveLog1Click(const std::string& path) {
  try {
    Log.SaveToFile(path);
    return true;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
}

}  // namespace tvlc
