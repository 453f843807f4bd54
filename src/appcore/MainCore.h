// The main window's state and the logic of its commands, without any user
// interface: the Qt window, the command-line front end and the tests drive
// the same code through a THost.
#pragma once

#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "appcore/Host.h"
#include "appcore/Log.h"
#include "appcore/MainState.h"
#include "appcore/RectFields.h"
#include "appcore/SpectrumTab.h"
#include "model/Image.h"
#include "model/InputPump.h"
#include "model/Shape.h"
#include "transform/Registry.h"

namespace tvlc {

class TMainCore {
 public:
  // Loads the transformation modules found in moduleDirectory.
  explicit TMainCore(THost& host, const std::string& moduleDirectory = ProgramDirectory());
  ~TMainCore();

  // Picture, map and shapes.
  TPicData PicData;
  int32_t PicWidth = 0, PicHeight = 0;
  TMapData MapData;
  int32_t MapWidth = 0, MapHeight = 0;
  TShapeList Shapes;
  TShape* SelectedShape = nullptr;
  int SelectedIndex = -1;
  std::vector<uint8_t> DecodedMask;
  int32_t ClickX = 0, ClickY = 0;
  bool CancelEncode = false;  // stop request of the running single encode
  bool StopAll = false;       // stop request of Encode All / Decode All
  int32_t IterationStart = 0;
  int EncodeFailures = 0;  // encodes that ended with an exception, since start
  // Names of the shapes that could not be decoded since Decode All began.
  std::vector<std::string> UndecodedShapes;
  double TickTimes[8] = {};  // time of day of the last eight notifications
  uint8_t TickIndex = 0;

  // Images of the three views with their overlays, the shape view and the
  // spectrum view.
  TImage Picture, PicDrawArea;
  TImage Map, MapDrawArea;
  TImage Reconst, ReconstDrawArea;
  TImage ViewDrawArea;
  TImage SpecDrawArea;

  TModuleRegistry Registry;
  TLog Log;
  TInfoTexts Info;
  TControlState Controls;

  // Log line with the time of day in front.
  void AddLog(const std::string& message);

  // File > Load Picture and Load Map, after a file was chosen. False when
  // the file was refused (the log says why).
  bool LoadPicture1Click(const std::string& path);
  bool LoadMap1Click(const std::string& path);

  // Select shape: the marked list item becomes the selected shape.
  void ShowShBtnClick(int markedIndex);
  // Mouse press at (x, y) on a view of viewWidth x viewHeight pixels on
  // screen, and the click that follows it.
  void MapDrawAreaMouseDown(int x, int y, int viewWidth, int viewHeight);
  // The list index the click selected, or -1.
  int MapDrawAreaClick();
  void UpdateInfo();
  // "Continue encoding" toggled: the coder labels follow the Info tab.
  void ContEncChckClick(bool checked);
  // Decoded picture and its overlay sized to the map and cleared; no pixel
  // decoded.
  void ResetDecodedViews();

  // File > Save and Open: the project file, after a file was chosen.
  bool Save1Click(const std::string& path);
  bool Open1Click(const std::string& path);

  // File > Save Compressed Picture: CanExportSpectrum is asked before the
  // file dialog (false, with a log line when a shape lacks a spectrum).
  bool CanExportSpectrum();
  bool ExportSpectrum1Click(const std::string& path);
  // File > Open Compressed Picture: CanOpenCompressedPicture is asked before
  // the file dialog (false, with an error box, without a map).
  bool CanOpenCompressedPicture();
  bool OpenCompressedPicture1Click(const std::string& path);

  // Map > Generate rectangles, after the dialog closed with "&Generate".
  // False (with a log line for a size below 1) when nothing was generated.
  bool GenerateRectangles(int32_t xSize, int32_t ySize);
  TRectFields RectFields;  // the dialog's values, kept between uses

  // File > Global statistics: the dialog's lines, or none (and a log line)
  // without a picture.
  std::vector<std::string> Globalstatistics1Click();

  // Exports of the decoded picture (File > Export Decoded Picture and the
  // decoded view's "Save"), the spectrum view and the shape view.
  bool SaveDecodedPicture1Click(const std::string& path);
  bool SaveSpectrumPicture1Click(const std::string& path);
  bool MenuItem1Click(const std::string& path);

  // The Coder tab's "Select" dialog closed with OK.
  void TransformationChosen();
  // "Update info" toggled; the requested PSNR edited.
  void ShowShapInfChckClick(bool checked);
  void ReqPSNREdChange(const std::string& text);

  // File > Save Picture / Save Map / Clear Log / Save Log.
  bool SavePicture1Click(const std::string& path);
  bool SaveMap1Click(const std::string& path);
  void ClearLog1Click();
  bool SaveLog1Click(const std::string& path);

  // Encode (or, while encoding, stop) the selected shape; Decode it.
  void EncBtnClick();
  void DecodeBtnClick();
  // Encode All / Decode All and the batch "Stop".
  void EncAllBtnClick();
  void DecAllBtnClick();
  void StopBtnClick() { StopAll = true; }
  // The progress handler an encode hands to the shape.
  void EncodeProgress(int32_t iteration, const TShapeData& spectrum, double psnr,
                      const TShapeData& residual, uint16_t u, uint16_t v, bool& stop);

  // Spectrum view and coefficient tab: "Refresh", and the zoom.
  void RedrawSpecBtnClick();
  void ZoomSpinChange(int zoom);
  TSpectrumTab Spectrum;

  // Quantizaton tab.
  void UseQSpecChckClick(bool checked);
  void QuantQualityChange(int position);
  void NormComboChange(int index);
  void RequantBtnClick();
  // The quality the controls apply to a shape: the slider when quantizing.
  uint8_t UiQuality() const;

  // How often long commands let the user interface in; 0 makes every
  // notification update the labels (tests).
  void SetInputInterval(TInputPump::Clock::duration interval);

  // Lets the user interface process pending input, throttled by time.
  void ServeInput() { pump_.Poll(); }
  THost& Host() { return host_; }
  void Notify(unsigned changes) { host_.Changed(changes); }

 private:
  // Runs a command; running out of memory refuses it with the log line
  // "Error: not enough memory to " + task instead of ending the program.
  // Commands allocate what they need before they change any state, so a
  // refused command leaves the state as it was.
  template <class Command>
  auto WithinMemory(const std::string& task, Command command) -> decltype(command()) {
    try {
      return command();
    } catch (const std::bad_alloc&) {
      AddLog("Error: not enough memory to " + task + "\r\n");
      if constexpr (!std::is_void_v<decltype(command())>) return {};
    }
  }
  // The commands of the same names without the memory guard.
  bool LoadPicture(const std::string& path);
  bool LoadMap(const std::string& path);
  void SelectShape(int markedIndex);
  bool SaveProject(const std::string& path);
  bool OpenProject(const std::string& path);
  bool SaveCompressed(const std::string& path);
  bool OpenCompressed(const std::string& path);
  bool GenerateRectangleMap(int32_t xSize, int32_t ySize);
  void ReplaceShapes(TShapeList shapes);
  // What runs now; the enabled states of the controls follow from it.
  enum TActivity { kSelecting, kCoding, kBatch, kActivityCount };
  void UpdateEnabledStates();
  // Marks an activity as running for the lifetime of the object.
  class TBusy {
   public:
    TBusy(TMainCore& core, TActivity activity) : core_(core), activity_(activity) {
      ++core_.activity_[activity_];
      core_.UpdateEnabledStates();
    }
    ~TBusy() {
      --core_.activity_[activity_];
      core_.UpdateEnabledStates();
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

   private:
    TMainCore& core_;
    TActivity activity_;
  };
  void SelectForBatch(int index);
  void RunBatch(const char* verb, const char* done, void (TMainCore::*command)());
  void ShowEncodeProgress();
  std::string SpeedText() const;
  void SetProgressRange(int64_t max);
  void ClearOverlays();
  bool WriteImage(const TImage& image, const std::string& path);

  THost& host_;
  TInputPump pump_;
  int activity_[kActivityCount] = {};
  // Lets the user interface in during an encode, with the labels brought
  // up to date first; throttled so that it never dominates the encode.
  TInputPump progressPump_;
  int32_t lastIteration_ = 0;
  double lastPSNR_ = 0.0;
};

}  // namespace tvlc
