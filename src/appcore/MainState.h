// What the main window shows besides its images: label texts, enabled
// states, captions and progress bars. The command logic writes it; the shell
// copies it into its widgets when told that it changed.
#pragma once

#include <string>

namespace tvlc {

struct TProgressBarState {
  int Min = 0;
  int Max = 100;
  int Position = 0;
  bool Visible = true;
};

// Value labels of the Info tab.
struct TInfoTexts {
  std::string IDLab, XLab, YLab, RWLab, RHLab, WLab, HLab, SlackLab, PCLab, TSLab, SpecAvalLab,
      IterDoneLab, CurrPSNRLab, QuantLab, NormTypeLab;
};

struct TControlState {
  // Shape list buttons and the File and Map menus.
  bool ShowShBtnEnabled = true;
  bool FileMenuEnabled = true;
  bool MapMenuEnabled = true;
  bool EncAllBtnEnabled = true;
  bool DecAllBtnEnabled = true;
  bool StopBtnVisible = false;
  // Coder tab. "Select" (Button1) opens the module dialog, whose "Flush
  // Cache" would unload a module that a running encode is calling.
  bool Button1Enabled = true;
  bool EncBtnEnabled = true;
  std::string EncBtnCaption = "Encode";
  bool DecodeBtnEnabled = true;
  std::string ReqPSNRText = "30";
  std::string PSNRLab = "0";
  std::string IteratLab = "0";
  std::string EncSpeedLab = "0";
  std::string EncoderLab;
  bool ContEncChckVisible = false;
  bool ContEncChckChecked = false;
  TProgressBarState EncProgBar;
  // Quantizaton tab.
  bool UseQSpecChecked = false;
  int QuantQuality = 15;
  int NormComboIndex = 2;
  // "Update info" beside the shape list.
  bool ShowShapInfChecked = false;
  // Progress of Encode All / Decode All on worker threads: shapes done and
  // the PSNR of each shape in work; empty otherwise.
  std::string BatchProgLab;
  // The window-wide progress bar under the tabs.
  TProgressBarState ProgressBar{0, 100, 0, false};
  // The whole window refuses input while a command that replaces the map runs.
  bool WindowEnabled = true;
};

}  // namespace tvlc
