// Where the window and its dialogs open.
#pragma once

class QWidget;

namespace tvlc {

// Centres `dialog` over `owner`: left = owner left + (owner width - dialog
// width) / 2, halves cut towards zero; the top likewise.
void CenterOver(QWidget& dialog, const QWidget& owner);
// Centres a top-level window on its screen's available area.
void CenterOnScreen(QWidget& window);

}  // namespace tvlc
