// What the command logic needs from the shell it runs in: the Qt window,
// the command-line front end or a test.
#pragma once

#include <string>

namespace tvlc {

// Parts of the window state that a command changed, for the shell to redraw.
enum TChange : unsigned {
  kLogChanged = 1u << 0,
  kViewsChanged = 1u << 1,      // any image: the three views, overlays, shape and spectrum views
  kShapeListChanged = 1u << 2,  // list items and the marked item
  kInfoChanged = 1u << 3,       // Info tab and selected-shape tabs
  kControlsChanged = 1u << 4,   // enabled states, captions, coder labels
  kProgressChanged = 1u << 5,   // progress bars
  kCurveChanged = 1u << 6,      // PSNR curves of the encodes
  // Narrower than kViewsChanged, for changes that come often (selecting
  // shapes, encoding with "Update info"): the shell redraws only these.
  kShapeViewsChanged = 1u << 7,    // picture and map overlays, shape and spectrum views
  kSpectrumViewChanged = 1u << 8,  // the spectrum view alone
  kAllChanged = ~0u,
};

class THost {
 public:
  virtual ~THost() = default;
  // Lets the user interface process pending input. Called from long loops
  // through a time-throttled pump.
  virtual void ProcessPendingInput() {}
  // The state the shell shows changed.
  virtual void Changed(unsigned /*changes*/) {}
  // An error message box with an OK button.
  virtual void ErrorBox(const std::string& /*text*/) {}
  // A question with Yes and No buttons; true for Yes.
  virtual bool Question(const std::string& /*text*/) { return false; }
  // Time of day as a fraction of a day (log stamps and encoding speed).
  virtual double TimeOfDay() const;
};

}  // namespace tvlc
