// The four coupled fields of the "Generate rectangles..." dialog. Changing a
// size sets the matching count and the other way round; one guard keeps a
// value set by a handler from coupling further. Values persist between uses.
#pragma once

#include <string>

namespace tvlc {

class TRectFields {
 public:
  int XSize = 0, YSize = 0, XCount = 0, YCount = 0;

  // Handlers of the fields; `text` is the field's text after the change and
  // `extent` the picture's width (X) or height (Y). An empty text makes the
  // field's own value 0 and changes no other; an unreadable one changes
  // nothing.
  void XSizeSpinChange(const std::string& text, int width);
  void YSizeSpinChange(const std::string& text, int height);
  void XCountSpinChange(const std::string& text, int width);
  void YCountSpinChange(const std::string& text, int height);

 private:
  void SizeChanged(const std::string& text, int extent, int& size, int& count);
  void CountChanged(const std::string& text, int extent, int& count, int& size);
  bool busy_ = false;
};

}  // namespace tvlc
