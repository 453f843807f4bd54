// The controls of the main window that the shell reads, fills or wires,
// under the names the commands and tests know them by.
#pragma once

#include <QList>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QObject;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace tvlc {

class TComparisonDock;
class TImageWidget;
class TOverlaidView;
class TPsnrChart;

struct TMenuItems {
  QMenu* File1;
  // Every item of the File menu; disabled as a whole while a command runs.
  QActionGroup* FileItems;
  QAction *Open1, *Save1, *LoadPicture1, *LoadMap1, *SavePicture1, *SaveMap1,
      *SaveDecodedPicture1, *OpenCompressedPicture1, *ExportSpectrum1, *ClearLog1, *SaveLog1,
      *Globalstatistics1, *Exit1;
  QAction *Select1, *Encode1, *Decode1, *EncodeAll1, *DecodeAll1;
  QMenu* Map1;
  QAction *Generategrid1, *GenerateSegmentation1, *RdStudy1;
  QAction* About1;
  // Context menus of the views.
  QAction *Generaterectangles1, *SaveReconst1, *Clear1, *SaveSpectrumPicture1, *MenuItem1;
};

struct TShapeListPanel {
  QListWidget* ShapeList;
  QPushButton *ShowShBtn, *EncAllBtn, *DecAllBtn, *StopBtn;
  QCheckBox* ShowShapInfChck;
  // Worker threads of Encode All and Decode All, and their progress.
  QSpinBox* ThreadsSpin;
  QLabel* BatchProgLab;
};

// Value labels of the Info tab, in the order of TInfoTexts.
struct TInfoLabels {
  QLabel *IDLab, *XLab, *YLab, *RWLab, *RHLab, *WLab, *HLab, *SlackLab, *PCLab, *TSLab,
      *SpecAvalLab, *IterDoneLab, *CurrPSNRLab, *QuantLab, *NormTypeLab;
};

struct TShapeTabs {
  QTabWidget* Tabs;
  TInfoLabels Info;
  TImageWidget* ViewDrawArea;
  // Coder.
  QLabel *PSNRLab, *IteratLab, *EncoderLab, *EncSpeedLab;
  QLineEdit* ReqPSNREd;
  QPushButton *Button1, *EncBtn;
  QCheckBox* ContEncChck;
  QProgressBar* EncProgBar;
  TPsnrChart* PsnrChart;
  // Quantizaton.
  QComboBox* NormCombo;
  QPushButton* RequantBtn;
  QCheckBox* UseQSpecChck;
  QSlider* QuantQuality;
  // Spectrum.
  QPushButton* RedrawSpecBtn;
  QSpinBox* ZoomSpin;
  QScrollArea* SpecScroll;
  TImageWidget* SpecDrawArea;
  // Coeficients.
  QLabel *ZeroLab, *NonZeroLab, *MinValLab, *MaxValLab;
  QListWidget* CoefList;
  // Decoder.
  QPushButton* DecodeBtn;
  // The window-wide progress bar under the tabs.
  QProgressBar* ProgressBar;
};

struct TMainWidgets {
  TMenuItems Menu;
  TOverlaidView *Picture, *Map, *Reconst;
  TShapeListPanel List;
  TShapeTabs Tabs;
  QPlainTextEdit* Log;
  // The comparison dock, and the status bar's text of the pixel under its
  // pointer.
  TComparisonDock* CompareDock;
  QLabel* PixelInfo;

  // Every control that starts a command, for the command gate.
  QList<QObject*> Commands() const;
};

}  // namespace tvlc
