// The dialogs the window asks the user with: file choice, questions and
// error boxes.
// The window reaches them through this interface only, so that tests can
// answer in place of the user.
#pragma once

#include <string>

class QWidget;

namespace tvlc {

// A file type list in the form "Description|pattern|Description|pattern",
// several patterns of one type separated by ";", with the extension added to
// a name typed without one.
struct TFileFilter {
  const char* Filter;
  const char* DefaultExt;
};

inline constexpr TFileFilter kPictureOpenFilter{
    "Pictures|*.bmp; *.png; *.jpg; *.jpeg; *.tif; *.tiff; *.pgm; *.ppm; *.pnm|Bitmaps|*.bmp|"
    "All Files|*.*",
    "bmp"};
inline constexpr TFileFilter kPictureSaveFilter{
    "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*", "bmp"};
inline constexpr TFileFilter kLogFilter{"Log File|*.log|Text File|*.txt|All Files|*.*", "log"};
inline constexpr TFileFilter kProjectFilter{"Tarvello Codec Files|*.tvp|All Files|*.*", "tvp"};
inline constexpr TFileFilter kPngFilter{"PNG Image|*.png|All Files|*.*", "png"};
inline constexpr TFileFilter kSvgFilter{"SVG Drawing|*.svg|All Files|*.*", "svg"};
inline constexpr TFileFilter kCsvFilter{
    "Comma Separated Values|*.csv|All Files|*.*", "csv"};
inline constexpr TFileFilter kCompressedFilter{
    "Tarvello Picture Files|*.tvz; *.tvzx|All Files|*.*", "tvzx"};

class TDialogs {
 public:
  virtual ~TDialogs() = default;
  // The chosen file, or an empty text when the user cancelled.
  virtual std::string OpenFile(QWidget* owner, const TFileFilter& filter) = 0;
  virtual std::string SaveFile(QWidget* owner, const TFileFilter& filter) = 0;
  // An error message with an OK button; returns when it is closed.
  virtual void ErrorBox(QWidget* owner, const std::string& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool Question(QWidget* owner, const std::string& text) = 0;
};

}  // namespace tvlc
