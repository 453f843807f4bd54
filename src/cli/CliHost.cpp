#include "cli/CliHost.h"

#include <iostream>

#include "cli/Interrupt.h"

namespace tvlc {

void TCliHost::ErrorBox(const std::string& text) { std::cerr << "Error: " << text << "\n"; }

void TCliHost::ProcessPendingInput() {
  if (interruptDelivered_ || !OnInterrupt || !Interrupted()) return;
  interruptDelivered_ = true;
  OnInterrupt();
}

bool TCliHost::Question(const std::string& text) {
  return ConvertColours && text == TMainCore::kConvertColoursQuestion;
}

void TLogPrinter::Flush(std::ostream& out) {
  const auto& lines = core_.Log.Lines();
  // A full log is cleared before a new line: start over.
  if (printed_ > lines.size()) printed_ = 0;
  for (; printed_ < lines.size(); ++printed_) out << lines[printed_] << "\n";
  out.flush();
}

void TLogPrinter::Skip() { printed_ = core_.Log.Lines().size(); }

}  // namespace tvlc
